#include "editor/syntax_spans.h"

#include <algorithm>
#include <string>

#include "code/builtin_names.h"
#include "code/keywords.h"

namespace ostrac::ui {

namespace {

using Kind = SyntaxSpan::Kind;

// ASCII classes, as the scanner has them.
bool is_letter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool is_digit(QChar c) { return c >= u'0' && c <= u'9'; }
bool is_alnum(QChar c) { return is_letter(c) || is_digit(c); }

bool equal_ignoring_case(QStringView word, std::string_view name) {
    return word.size() == static_cast<qsizetype>(name.size()) &&
           word.compare(QLatin1StringView(name.data(), static_cast<qsizetype>(name.size())),
                        Qt::CaseInsensitive) == 0;
}

bool is_keyword(QStringView word) {
    return std::any_of(code::keywords.begin(), code::keywords.end(),
                       [&](const code::Keyword& k) { return equal_ignoring_case(word, k.spelling); });
}

bool is_builtin(QStringView word) {
    return std::any_of(code::builtin_table.begin(), code::builtin_table.end(),
                       [&](const code::BuiltinName& b) { return equal_ignoring_case(word, b.name); });
}

// End of a word of the first identifier form: a letter, letters and
// digits, then optionally one run of underscores and letters and digits.
qsizetype word_end(QStringView line, qsizetype i) {
    ++i;
    while (i < line.size() && is_alnum(line[i])) ++i;
    if (i < line.size() && line[i] == u'_') {
        while (i < line.size() && line[i] == u'_') ++i;
        while (i < line.size() && is_alnum(line[i])) ++i;
    }
    return i;
}

// End of an identifier of the second form at i ("_km_", "_m/s_"): an
// underscore, a letter, then letters, digits, slashes and underscores up to
// the last underscore; i when there is none.
qsizetype underscore_identifier_end(QStringView line, qsizetype i) {
    if (i + 1 >= line.size() || line[i] != u'_' || !is_letter(line[i + 1])) return i;
    qsizetype end = i;
    for (qsizetype j = i + 2; j < line.size() && (is_alnum(line[j]) || line[j] == u'/' || line[j] == u'_'); ++j) {
        if (line[j] == u'_') end = j + 1;
    }
    return end;
}

// End of a mantissa at i, or i when there is none.
qsizetype mantissa_end(QStringView line, qsizetype i) {
    const qsizetype start = i;
    while (i < line.size() && is_digit(line[i])) ++i;
    if (i > start) {
        if (i < line.size() && line[i] == u'.') {
            ++i;
            while (i < line.size() && is_digit(line[i])) ++i;
        }
        return i;
    }
    if (i + 1 < line.size() && line[i] == u'.' && is_digit(line[i + 1])) {
        i += 2;
        while (i < line.size() && is_digit(line[i])) ++i;
    }
    return i;
}

// End of a number (with its exponent parts and an imaginary suffix) at i,
// or i when there is none.
qsizetype number_end(QStringView line, qsizetype i) {
    qsizetype end = mantissa_end(line, i);
    if (end == i) return i;
    for (;;) {
        if (end >= line.size() || (line[end] != u'e' && line[end] != u'E')) break;
        qsizetype next = end + 1;
        if (next < line.size() && (line[next] == u'+' || line[next] == u'-')) ++next;
        const qsizetype exponent_end = mantissa_end(line, next);
        if (exponent_end == next) break;
        end = exponent_end;
    }
    if (end < line.size() && (line[end] == u'i' || line[end] == u'I')) ++end;
    return end;
}

}  // namespace

std::vector<SyntaxSpan> syntax_spans(QStringView line) {
    std::vector<SyntaxSpan> spans;
    qsizetype i = 0;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c == u'/' && i + 1 < line.size() && line[i + 1] == u'/') {
            spans.push_back({i, line.size() - i, Kind::Comment});
            break;
        }
        if (c == u'"') {
            const qsizetype close = line.indexOf(u'"', i + 1);
            if (close < 0) {
                ++i;  // an unclosed quote is skipped
                continue;
            }
            spans.push_back({i, close + 1 - i, Kind::String});
            i = close + 1;
            continue;
        }
        if (is_letter(c)) {
            const qsizetype end = word_end(line, i);
            const QStringView word = line.sliced(i, end - i);
            if (is_keyword(word)) {
                spans.push_back({i, end - i, Kind::Keyword});
            } else if (is_builtin(word)) {
                spans.push_back({i, end - i, Kind::Builtin});
            }
            i = end;
            continue;
        }
        if (const qsizetype end = underscore_identifier_end(line, i); end > i) {
            i = end;
            continue;
        }
        if (const qsizetype end = number_end(line, i); end > i) {
            spans.push_back({i, end - i, Kind::Number});
            i = end;
            continue;
        }
        ++i;
    }
    return spans;
}

}  // namespace ostrac::ui

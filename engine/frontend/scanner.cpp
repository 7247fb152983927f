#include "frontend/scanner.h"

#include <array>
#include <charconv>
#include <limits>
#include <string_view>
#include <utility>

#include "code/keywords.h"
#include "code/names.h"

namespace ostrac::frontend {

using code::Keyword;
using code::keywords;
using code::single_characters;
using code::Token;
using code::TokenKind;

namespace {

// ASCII classes only: bytes of 128 and above are never letters.
constexpr bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_alnum(char c) { return is_letter(c) || is_digit(c); }

// Decimal exponent of the first significant digit of a literal's text, for
// telling an overflow from an underflow. The exponent part saturates far
// beyond the range of a double.
long magnitude(std::string_view text) {
    const std::size_t mantissa_end = text.find_first_not_of("0123456789.");
    const std::string_view mantissa = text.substr(0, mantissa_end);
    const std::size_t point = mantissa.find('.');
    // Exponent of the first digit: one less than the digits before the point.
    long digit_exponent =
        static_cast<long>(point == std::string_view::npos ? mantissa.size() : point) - 1;
    long leading = 0;
    bool found = false;
    for (const char c : mantissa) {
        if (c == '.') continue;
        if (c != '0') {
            leading = digit_exponent;
            found = true;
            break;
        }
        --digit_exponent;
    }
    if (!found) return std::numeric_limits<long>::min();
    long exponent = 0;
    std::size_t i = mantissa.size();
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
        for (; i < text.size() && is_digit(text[i]); ++i) {
            if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    return leading + exponent;
}

}  // namespace

double literal_value(const std::string& text) {
    // from_chars converts exactly like strtod in the C locale (correct
    // rounding, same leading-prefix rule) and is immune to the process
    // locale. Out of range it leaves the value alone, where strtod gives
    // HUGE_VAL for an overflow and 0 for an underflow.
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        return magnitude(text) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

Scanner::Scanner() = default;

void Scanner::restart() noexcept {
    selected_.reset();
    console_.rewind();
    exhausted_ = false;
    ended_ = false;
    buffer_.clear();
    pos_ = 0;
    searched_ = 0;
}

void Scanner::select(std::unique_ptr<Source> source) {
    restart();
    selected_ = std::move(source);
}

bool Scanner::fill_line(state::Machine& s) {
    for (;;) {
        if (searched_ < pos_) searched_ = pos_;
        const std::size_t line_end = buffer_.find('\n', searched_);
        if (line_end != std::string::npos) {
            searched_ = line_end;
            return true;
        }
        searched_ = buffer_.size();
        if (exhausted_) return pos_ < buffer_.size();
        buffer_.erase(0, pos_);  // consumed text is not kept across a refill
        searched_ -= pos_;
        pos_ = 0;
        if (!source().read_piece(s, buffer_)) exhausted_ = true;
    }
}

Token Scanner::next_token(state::Machine& s) {
    Token token;
    while (!ended_) {
        if (!fill_line(s)) break;
        const char c = buffer_[pos_];
        const char next = at(pos_ + 1);
        if (c == '\n') {
            ++pos_;
            token.kind = TokenKind::Newline;
            return token;
        }
        if (is_letter(c)) {
            token = scan_word();
            if (token.kind == TokenKind::End) break;
            return token;
        }
        if (is_digit(c) || (c == '.' && is_digit(next))) return scan_number();
        if (c == '_' && scan_underscore_identifier(token)) return token;
        if (c == '"' && scan_string(token)) return token;
        if (c == '/' && next == '/') {
            pos_ = buffer_.find('\n', pos_);
            if (pos_ == std::string::npos) pos_ = buffer_.size();
            continue;
        }
        const auto two = [&](TokenKind kind) {
            pos_ += 2;
            token.kind = kind;
            return token;
        };
        if ((c == '>' && next == '=') || (c == '=' && next == '>')) return two(TokenKind::Ge);
        if ((c == '<' && next == '=') || (c == '=' && next == '<')) return two(TokenKind::Le);
        if (c == '<' && next == '>') return two(TokenKind::Ne);
        ++pos_;
        if (c != '\0' && single_characters.find(c) != std::string_view::npos) {
            token.kind = TokenKind::Char;
            token.ch = c;
            return token;
        }
        // Anything else (spaces, tabs, carriage returns, stray quotes and
        // underscores, bytes above 127, ...) is dropped without a message.
    }
    ended_ = true;
    return Token{};
}

Token Scanner::scan_word() {
    // A letter, letters and digits, then optionally one run of underscores
    // followed by letters and digits.
    std::size_t i = pos_ + 1;
    while (is_alnum(at(i))) ++i;
    if (at(i) == '_') {
        while (at(i) == '_') ++i;
        while (is_alnum(at(i))) ++i;
    }
    Token token;
    token.value.text = buffer_.substr(pos_, i - pos_);
    pos_ = i;
    for (const Keyword& keyword : keywords) {
        if (code::names_equal(keyword.spelling, token.value.text)) {
            token.kind = keyword.kind;
            token.value.text.clear();
            return token;
        }
    }
    token.kind = TokenKind::Identifier;
    return token;
}

Token Scanner::scan_number() {
    // mantissa: digits ["." digits] | "." digits ; exponent: e [+-] mantissa
    const auto mantissa_end = [this](std::size_t i) {
        if (is_digit(at(i))) {
            while (is_digit(at(i))) ++i;
            if (at(i) == '.') {
                ++i;
                while (is_digit(at(i))) ++i;
            }
        } else if (at(i) == '.' && is_digit(at(i + 1))) {
            i += 2;
            while (is_digit(at(i))) ++i;
        }
        return i;
    };
    std::size_t i = mantissa_end(pos_);
    for (;;) {
        if (at(i) != 'e' && at(i) != 'E') break;
        std::size_t j = i + 1;
        if (at(j) == '+' || at(j) == '-') ++j;
        const std::size_t k = mantissa_end(j);
        if (k == j) break;
        i = k;
    }
    Token token;
    token.kind = TokenKind::Number;
    token.value.number = literal_value(buffer_.substr(pos_, i - pos_));
    if (at(i) == 'i' || at(i) == 'I') {
        token.kind = TokenKind::Imaginary;
        ++i;
    }
    pos_ = i;
    return token;
}

bool Scanner::scan_underscore_identifier(Token& token) {
    // "_", a letter, then letters, digits, "/" and "_", ending with "_";
    // the longest such text ("_km_", "_m/s_").
    if (!is_letter(at(pos_ + 1))) return false;
    std::size_t last_underscore = 0;
    for (std::size_t i = pos_ + 2; is_alnum(at(i)) || at(i) == '/' || at(i) == '_'; ++i) {
        if (at(i) == '_') last_underscore = i;
    }
    if (last_underscore == 0) return false;
    token.kind = TokenKind::Identifier;
    token.value.text = buffer_.substr(pos_, last_underscore + 1 - pos_);
    pos_ = last_underscore + 1;
    return true;
}

bool Scanner::scan_string(Token& token) {
    const std::size_t close = buffer_.find_first_of("\"\n", pos_ + 1);
    if (close == std::string::npos || buffer_[close] != '"') return false;
    token.kind = TokenKind::String;
    token.value.text = buffer_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    return true;
}

}  // namespace ostrac::frontend

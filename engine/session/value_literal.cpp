#include "session/value_literal.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace ostrac::session {

namespace {

using numeric::Complex;
using state::ValueType;

// Seventeen significant digits tell any two doubles apart.
constexpr int round_trip_digits = 17;
constexpr std::string_view infinity_literal = "1e999";
constexpr std::string_view not_a_number_literal = "(1e999-1e999)";

void append_magnitude(std::string& out, double x) {
    if (std::isinf(x)) {
        out += infinity_literal;
        return;
    }
    char buffer[32];  // "-d.<16 digits>e-308"
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, round_trip_digits);
    out.append(buffer, result.ptr);
}

void append_real(std::string& out, double x) {
    if (std::isnan(x)) {
        out += not_a_number_literal;
        return;
    }
    if (std::isinf(x) && x < 0) out += '-';
    append_magnitude(out, std::isinf(x) ? std::fabs(x) : x);
}

// A real when the imaginary part is zero; otherwise the real part plus or
// minus an imaginary literal, which adds nothing to the real part.
bool append_number(std::string& out, Complex z) {
    append_real(out, z.re);
    if (z.im == 0.0) return true;
    if (std::isnan(z.im)) return false;
    out += std::signbit(z.im) ? '-' : '+';
    append_magnitude(out, std::fabs(z.im));
    out += 'i';
    return true;
}

bool readable_text(std::string_view text) { return text.find_first_of(std::string_view("\"\n\r\0", 4)) == std::string_view::npos; }

}  // namespace

std::optional<std::string> value_literal(const state::SymbolEntry& entry) {
    std::string out;
    switch (entry.type) {
    case ValueType::Real:
        append_real(out, entry.number.re);
        return out;
    case ValueType::Complex:
        if (!append_number(out, entry.number)) return std::nullopt;
        return out;
    case ValueType::String:
        if (!entry.text || !readable_text(*entry.text)) return std::nullopt;
        return "\"" + *entry.text + "\"";
    case ValueType::Matrix:
        if (!entry.matrix) return std::nullopt;
        out += '[';
        for (int i = 1; i <= entry.matrix->rows(); ++i) {
            if (i > 1) out += "; ";
            for (int j = 1; j <= entry.matrix->cols(); ++j) {
                if (j > 1) out += ", ";
                if (!append_number(out, entry.matrix->at(i, j))) return std::nullopt;
            }
        }
        out += ']';
        return out;
    case ValueType::Reference:
    case ValueType::Procedure:
        break;
    }
    return std::nullopt;
}

std::optional<std::string> ans_literal(const Session& session) { return value_literal(session.symbols[slot::ANS]); }

}  // namespace ostrac::session

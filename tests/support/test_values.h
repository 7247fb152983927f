// Stack cells and matrices written compactly, for tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>

#include "state/value.h"

namespace ostrac::test {

inline state::Value f(double x) { return state::Value{x}; }
inline state::Value i(std::int32_t x) { return state::Value{state::IntCell{x}}; }
inline state::Value c(double re, double im) { return state::Value{numeric::Complex{re, im}}; }
inline state::Value str(std::string t) { return state::Value{std::make_shared<const std::string>(std::move(t))}; }

// A matrix entry written as a real number or as {re, im}.
struct Element {
    Element(double re) : z{re, 0} {}  // NOLINT(google-explicit-constructor)
    Element(double re, double im) : z{re, im} {}
    numeric::Complex z;
};

inline state::MatrixRef make_matrix(std::initializer_list<std::initializer_list<Element>> rows) {
    auto m = std::make_shared<numeric::Matrix>(static_cast<int>(rows.size()),
                                               static_cast<int>(rows.begin()->size()));
    int r = 0;
    for (const auto& row : rows) {
        int k = 0;
        ++r;
        for (const Element& e : row) m->at(r, ++k) = e.z;
    }
    return m;
}

inline state::Value mat(std::initializer_list<std::initializer_list<Element>> rows) {
    return state::Value{make_matrix(rows)};
}

// "float 2", "int 1", "complex 0 -0.5", "string ab", "matrix [1 (0,2); 3 4]".
inline std::string describe(const state::Value& v) {
    std::ostringstream out;
    out.precision(17);
    const auto number = [&out](numeric::Complex z) {
        if (z.im == 0.0) out << z.re; else out << '(' << z.re << ',' << z.im << ')';
    };
    if (const auto* d = state::get_if<double>(&v)) out << "float " << *d;
    if (const auto* n = state::get_if<state::IntCell>(&v)) out << "int " << n->value;
    if (const auto* z = state::get_if<numeric::Complex>(&v)) out << "complex " << z->re << ' ' << z->im;
    if (const auto* t = state::get_if<state::Text>(&v)) out << "string " << **t;
    if (const auto* m = state::get_if<state::MatrixRef>(&v)) {
        out << "matrix [";
        for (int r = 1; r <= (*m)->rows(); ++r) {
            for (int k = 1; k <= (*m)->cols(); ++k) {
                out << (k > 1 ? " " : r > 1 ? "; " : "");
                number((*m)->at(r, k));
            }
        }
        out << ']';
    }
    return out.str();
}

}  // namespace ostrac::test

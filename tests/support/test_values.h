// Stack cells and matrices written compactly, for tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
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

}  // namespace ostrac::test

// Stack cells and matrices written compactly, for tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "vm/value.h"

namespace ostrac::test {

inline vm::Value f(double x) { return vm::Value{x}; }
inline vm::Value i(std::int32_t x) { return vm::Value{vm::IntCell{x}}; }
inline vm::Value c(double re, double im) { return vm::Value{numeric::Complex{re, im}}; }
inline vm::Value str(std::string t) { return vm::Value{std::make_shared<const std::string>(std::move(t))}; }

// A matrix entry written as a real number or as {re, im}.
struct Element {
    Element(double re) : z{re, 0} {}  // NOLINT(google-explicit-constructor)
    Element(double re, double im) : z{re, im} {}
    numeric::Complex z;
};

inline vm::MatrixRef make_matrix(std::initializer_list<std::initializer_list<Element>> rows) {
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

inline vm::Value mat(std::initializer_list<std::initializer_list<Element>> rows) {
    return vm::Value{make_matrix(rows)};
}

}  // namespace ostrac::test

#include "vm/matrix_ops.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "code/names.h"
#include "state/conversions.h"
#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbols.h"

namespace ostrac::vm {

using code::names_equal;
using numeric::Complex;
using numeric::Matrix;
using state::expect_args;
using state::floor_to_int32;
using state::get_if;
using state::get_ref;
using state::IdentCell;
using state::Machine;
using state::MatrixRef;
using state::pop;
using state::pop_id;
using state::pop_int;
using state::pop_number;
using state::pop_real;
using state::pop_string;
using state::push_matrix;
using state::push_number;
using state::push_text;
using state::SymbolEntry;
using state::Text;
using state::truncate_to_int32;
using state::ValueType;

namespace {

[[noreturn]] void matrix_out_of_bounds(Machine& s) {
    s.fatal_error("Acceso fuera de limites de matriz");
}
[[noreturn]] void string_out_of_bounds(Machine& s) { s.fatal_error("Index string out of bounds"); }
[[noreturn]] void wrong_count(Machine& s) { s.fatal_error("Number of parameters is incorrect"); }

// A row or column count of a literal. The compiler never emits one below 1,
// and each counted item occupies a cell still on the stack, so anything else
// comes from damaged code and is refused before allocating.
int literal_count(Machine& s) {
    const std::int32_t count = pop_int(s);
    if (count < 1 || count > s.stack.depth()) s.fatal_error("Invalid dimensions");
    return count;
}

// Whether the argument `below_top` cells under the top of the stack is an
// identifier reference to an entry named "all".
bool is_all(Machine& s, int below_top) {
    const int position = s.stack.depth() - 1 - below_top;
    if (position < 0) return false;
    const auto* id = get_if<IdentCell>(&s.stack.at(position));
    return id != nullptr && s.symbols.valid_index(id->index) &&
           names_equal(s.symbols[id->index].name, "all");
}

// A matrix index as the user wrote it, truncated toward zero.
int matrix_index(Machine& s) { return truncate_to_int32(pop_real(s)); }

// A string position, rounded down.
int string_index(Machine& s) { return floor_to_int32(pop_real(s)); }

void set_string_char(Machine& s, std::int32_t target) {
    const Text value = pop_string(s);
    if (pop_int(s) != 1) wrong_count(s);
    const int k = string_index(s);
    SymbolEntry& e = s.symbols[target];
    const std::string& old = *e.text;
    if (k < 1 || static_cast<std::size_t>(k) > old.size()) string_out_of_bounds(s);
    // The stored text is immutable and may be shared: build the new one.
    std::string changed = old;
    if (value->empty()) {
        changed.resize(static_cast<std::size_t>(k - 1));
    } else {
        changed[static_cast<std::size_t>(k - 1)] = value->front();
    }
    e.text = std::make_shared<const std::string>(std::move(changed));
}

void set_matrix_element(Machine& s, std::int32_t target) {
    const Complex value = pop_number(s);
    if (pop_int(s) != 2) wrong_count(s);
    const int j = matrix_index(s);
    const int i = matrix_index(s);
    if (i < 1 || j < 1 || i > Matrix::max_dimension || j > Matrix::max_dimension) {
        matrix_out_of_bounds(s);
    }
    MatrixRef& m = s.symbols[target].matrix;
    if (i > m->rows() || j > m->cols()) {
        auto grown = std::make_shared<Matrix>(std::max(m->rows(), i), std::max(m->cols(), j));
        for (int r = 1; r <= m->rows(); ++r) {
            for (int c = 1; c <= m->cols(); ++c) grown->at(r, c) = m->at(r, c);
        }
        m = std::move(grown);
    } else if (m.use_count() > 1) {
        m = std::make_shared<Matrix>(*m);
    }
    m->at(i, j) = value;
}

}  // namespace

void op_matrix(Machine& s) {
    const int rows = literal_count(s);
    Matrix m;
    for (int i = rows; i >= 1; --i) {
        const int cols = literal_count(s);
        if (i == rows) {
            m = Matrix(rows, cols);
        } else if (cols != m.cols()) {
            s.fatal_error("Error: number of columns varies");
        }
        for (int j = cols; j >= 1; --j) m.at(i, j) = pop_number(s);
    }
    push_matrix(s, std::move(m));
}

void op_setcell(Machine& s) {
    const std::int32_t target = get_ref(s, pop_id(s));
    const SymbolEntry& e = s.symbols[target];
    if (e.type == ValueType::String && e.text) {
        set_string_char(s, target);
    } else if (e.type == ValueType::Matrix && e.matrix) {
        set_matrix_element(s, target);
    } else {
        s.fatal_error("MATRIX expected");
    }
}

void matrix_element_read(Machine& s, MatrixRef m) {
    expect_args(s, 2);
    const bool all_columns = is_all(s, 0);
    const bool all_rows = is_all(s, 1);
    if (all_columns && all_rows) matrix_out_of_bounds(s);
    if (all_columns) {
        pop(s);
        const int i = matrix_index(s);
        if (i < 1 || i > m->rows()) matrix_out_of_bounds(s);
        push_matrix(s, numeric::matrix_row(*m, i));
        return;
    }
    if (all_rows) {
        const int j = matrix_index(s);
        pop(s);
        if (j < 1 || j > m->cols()) matrix_out_of_bounds(s);
        push_matrix(s, numeric::matrix_column(*m, j));
        return;
    }
    const int j = matrix_index(s);
    const int i = matrix_index(s);
    if (i < 1 || i > m->rows() || j < 1 || j > m->cols()) matrix_out_of_bounds(s);
    push_number(s, m->at(i, j));
}

void string_char_read(Machine& s, Text text) {
    expect_args(s, 1);
    const int k = string_index(s);
    if (k < 1 || static_cast<std::size_t>(k) > text->size()) string_out_of_bounds(s);
    push_text(s, std::string(1, (*text)[static_cast<std::size_t>(k - 1)]));
}

}  // namespace ostrac::vm

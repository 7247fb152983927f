#include "vm/graph_commands.h"

#include <cstddef>
#include <new>
#include <vector>

#include "code/opcodes.h"
#include "graph/series_table.h"
#include "numeric/matrix.h"
#include "state/conversions.h"
#include "state/machine.h"
#include "state/stack_ops.h"

namespace ostrac::vm {

namespace {

using code::Op;
using graph::GraphType;
using graph::Point;
using graph::Series;
using graph::SeriesTable;
using numeric::Matrix;
using state::Machine;

void expect_args_of(Machine& s, Op op) {
    state::expect_args(s, code::op_table[static_cast<std::size_t>(op)].argc);
}

// A series number, graph type or column number: rounded down.
int pop_whole(Machine& s) { return state::floor_to_int32(state::pop_real(s)); }

void check_series_number(Machine& s, int n) {
    if (n < 0 || n >= SeriesTable::slot_count) {
        s.fatal_error("Error: number of serie must be between 1 and 9");
    }
}

void check_column(Machine& s, const Matrix& m, int column) {
    if (column < 1 || column > m.cols()) s.fatal_error("Fuera de límites de la matriz \n");
}

float real_part(const Matrix& m, int i, int j) { return static_cast<float>(m.at(i, j).re); }

void redraw_chart(Machine& s) { s.host.chart_redraw(s.series); }

// Replaces slot n's points with point_at(1) .. point_at(count) and redraws.
// The old points are released first, so a failed allocation leaves the slot
// empty.
template <class PointAt>
void fill_slot(Machine& s, int n, int count, PointAt point_at) {
    std::vector<Point>& points = s.series[n].points;
    points = {};
    try {
        points.reserve(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        s.fatal_error("Memoria Insuficiente\n");
    }
    for (int i = 1; i <= count; ++i) points.push_back(point_at(i));
    redraw_chart(s);
}

}  // namespace

void op_seriexym(Machine& s) {
    expect_args_of(s, Op::SERIEXYM);
    const int cy = pop_whole(s);
    const int cx = pop_whole(s);
    const state::MatrixRef a = state::pop_matrix(s);
    const int n = pop_whole(s);

    check_series_number(s, n);
    check_column(s, *a, cx);
    check_column(s, *a, cy);
    fill_slot(s, n, a->rows(), [&](int i) { return Point{real_part(*a, i, cx), real_part(*a, i, cy)}; });
    state::push_id(s, state::slot::SUB0);
}

void op_seriexy(Machine& s) {
    expect_args_of(s, Op::SERIEXY);
    const state::MatrixRef y = state::pop_matrix(s);
    const state::MatrixRef x = state::pop_matrix(s);
    const int n = pop_whole(s);

    check_series_number(s, n);
    if (x->cols() != y->cols()) s.fatal_error("Las columnas de la matrices no coinciden \n");
    if (x->rows() != 1 || y->rows() != 1) s.fatal_error("Se esperaban un vectores \n");
    fill_slot(s, n, x->cols(), [&](int i) { return Point{real_part(*x, 1, i), real_part(*y, 1, i)}; });
    state::push_id(s, state::slot::SUB0);
}

void op_seriey(Machine& s) {
    expect_args_of(s, Op::SERIEY);
    const state::MatrixRef v = state::pop_matrix(s);
    const int n = pop_whole(s);

    check_series_number(s, n);
    if (v->rows() != 1) s.fatal_error("Se esperaba un vector \n");
    fill_slot(s, n, v->cols(), [&](int i) { return Point{static_cast<float>(i), real_part(*v, 1, i)}; });
    state::push_id(s, state::slot::SUB0);
}

void op_titles(Machine& s) {
    expect_args_of(s, Op::TITLES);
    const state::Text y_title = state::pop_string(s);
    const state::Text x_title = state::pop_string(s);
    const state::Text main = state::pop_string(s);

    s.host.chart_titles(*main, *x_title, *y_title);
    state::push_id(s, state::slot::SUB0);
}

void op_setserie(Machine& s) {
    expect_args_of(s, Op::SETSERIE);
    const state::Text name = state::pop_string(s);
    const int type = pop_whole(s);
    const int n = pop_whole(s);

    check_series_number(s, n);
    if (type < 0 || type > static_cast<int>(GraphType::Area)) {
        s.fatal_error("Error: type of graph must be between 0 and 3");
    }
    Series& series = s.series[n];
    series.type = static_cast<GraphType>(type);
    series.set_title(*name);
    state::push_id(s, state::slot::SUB0);
}

void op_gclear(Machine& s) {
    expect_args_of(s, Op::GCLEAR);
    const int n = pop_whole(s);

    check_series_number(s, n);
    if (n == 0) {
        for (int i = 1; i < SeriesTable::slot_count; ++i) s.series[i].points = {};
    } else {
        s.series[n].points = {};
    }
    redraw_chart(s);
    state::push_id(s, state::slot::SUB0);
}

void op_graph(Machine& s) { redraw_chart(s); }

}  // namespace ostrac::vm

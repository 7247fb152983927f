#include "vm/value_print.h"

#include "state/machine.h"
#include "vm/number_format.h"

namespace ostrac::vm {

using numeric::Matrix;
using state::Operand;
using state::ValueType;

namespace {

void append_row(std::string& out, const Matrix& m, int i, int coord_mode, int angle_unit,
                const state::DisplaySettings& display) {
    out += "[ ";
    for (int j = 1; j <= m.cols(); ++j) {
        if (j > 1) out += ", ";
        format_number(out, m.at(i, j), coord_mode, angle_unit, display);
    }
    out += "] \n";
}

}  // namespace

void append_printed(std::string& out, const Operand& v, int coord_mode, int angle_unit,
                    const state::DisplaySettings& display) {
    switch (v.type) {
    case ValueType::Real:
        format_real(out, v.number.re, display);
        break;
    case ValueType::Complex:
        format_number(out, v.number, coord_mode, angle_unit, display);
        break;
    case ValueType::String:
        if (v.text) out += *v.text;
        break;
    case ValueType::Matrix:
        if (!v.matrix) break;
        for (int i = 1; i <= v.matrix->rows(); ++i) {
            append_row(out, *v.matrix, i, coord_mode, angle_unit, display);
        }
        break;
    default:
        break;  // references and procedure markers have no printed form
    }
}

void print_value(state::Machine& s, const Operand& v) {
    std::string text;
    if (v.type != ValueType::Matrix || !v.matrix) {
        append_printed(text, v, s.coord_mode(), s.angle_unit(), s.display);
        s.console_print(text);
        return;
    }
    for (int i = 1; i <= v.matrix->rows(); ++i) {
        text.clear();
        append_row(text, *v.matrix, i, s.coord_mode(), s.angle_unit(), s.display);
        s.console_print(text);
    }
}

}  // namespace ostrac::vm

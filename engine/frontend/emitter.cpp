#include "frontend/emitter.h"

#include "code/builtin_names.h"
#include "state/machine.h"

namespace ostrac::frontend {

using code::Op;

Emitter::Emitter(state::Machine& s, std::span<std::uint8_t> block, bool line_markers)
    : session_(s), code_(s, block), constructs_(s), labels_(s), line_markers_(line_markers) {
    marker_slot_ = code_.pc();
    if (line_markers_) code_.open_slot(marker_size);
}

void Emitter::number(double value) { code_.push_double(Op::PUSHF, value); }
void Emitter::imaginary(double value) { code_.push_double(Op::PUSHIMAG, value); }
void Emitter::identifier(std::string_view name) { code_.push_text(Op::PUSHID, name); }
void Emitter::string(std::string_view text) { code_.push_text(Op::PUSHSTR, text); }
void Emitter::instruction(Op op) { code_.op(op); }

void Emitter::begin_counted_list() {
    constructs_.push(Construct::Count, arg_count_);
    arg_count_ = 1;
}

void Emitter::list_item() { ++arg_count_; }

void Emitter::end_counted_list() {
    code_.push_int(arg_count_);
    arg_count_ = constructs_.pop(Construct::Count);
}

void Emitter::begin_statement_list() { arg_count_ = 1; }

void Emitter::end_statement_list(Op op) {
    code_.push_int(arg_count_);
    code_.op(op);
}

void Emitter::call(std::string_view name) {
    // A built-in's name in call syntax always means the built-in.
    if (const auto builtin = code::find_builtin(name)) {
        code_.op(*builtin);
        return;
    }
    code_.push_text(Op::PUSHID, name);
    code_.op(Op::CALL);
}

void Emitter::call_with_value(std::string_view name) {
    code_.push_int(1);
    call(name);
}

void Emitter::begin_matrix() { row_counts_.push_back(1); }

void Emitter::matrix_row() { ++row_counts_.back(); }

void Emitter::end_matrix() {
    code_.push_int(row_counts_.back());
    row_counts_.pop_back();
    code_.op(Op::MATRIX);
}

void Emitter::assign(std::string_view name) {
    code_.push_text(Op::PUSHID, name);
    code_.op(Op::ASSIGN);
}

void Emitter::set_cell(std::string_view name) {
    code_.push_text(Op::PUSHID, name);
    code_.op(Op::SETCELL);
}

void Emitter::label(std::string_view name) { labels_.add_label(code_.pc(), name, label_scope_); }

void Emitter::jump_to_label(std::string_view name, Op jump) {
    labels_.add_reference(code_.pc(), name, label_scope_);
    code_.push_int(0);
    code_.op(jump);
}

void Emitter::patch_forward_jump(std::int32_t placeholder) {
    code_.patch_int(placeholder, code_.pc() - placeholder - CodeWriter::jump_size);
}

void Emitter::backward_jump(std::int32_t target, Op jump) {
    code_.push_int(target - code_.pc() - CodeWriter::jump_size);
    code_.op(jump);
}

// FOR: start, end, step, PUSHID v, PUSHI skip, FOR, body, NEXT. The skip
// distance leads past NEXT.
void Emitter::for_header(std::string_view variable) {
    code_.push_text(Op::PUSHID, variable);
    constructs_.push(Construct::For, code_.pc());
    code_.push_int(0);
    code_.op(Op::FOR);
}

void Emitter::for_next() {
    code_.op(Op::NEXT);
    patch_forward_jump(constructs_.pop(Construct::For));
}

// IF: condition, PUSHI d, IF, then-branch [PUSHI d', JUMP, else-branch].
// A false condition lands after the then-branch's closing JUMP.
void Emitter::if_then() {
    constructs_.push(Construct::If, code_.pc());
    code_.push_int(0);
    code_.op(Op::IF);
}

void Emitter::if_else() {
    const std::int32_t condition_jump = constructs_.pop(Construct::If);
    constructs_.push(Construct::If, code_.pc());
    code_.push_int(0);
    code_.op(Op::JUMP);
    patch_forward_jump(condition_jump);
}

void Emitter::if_end() { patch_forward_jump(constructs_.pop(Construct::If)); }

// WHILE: start: condition, PUSHI d, JFALSE, body, PUSHI back, JUMP.
void Emitter::while_start() { constructs_.push(Construct::While, code_.pc()); }

void Emitter::while_do() {
    constructs_.push(Construct::While, code_.pc());
    code_.push_int(0);
    code_.op(Op::JFALSE);
}

void Emitter::while_end() {
    const std::int32_t exit_jump = constructs_.pop(Construct::While);
    const std::int32_t start = constructs_.pop(Construct::While);
    backward_jump(start, Op::JUMP);
    patch_forward_jump(exit_jump);
}

// REPEAT: start: body, condition, PUSHI back, JFALSE.
void Emitter::repeat_start() { constructs_.push(Construct::Repeat, code_.pc()); }

void Emitter::repeat_until() { backward_jump(constructs_.pop(Construct::Repeat), Op::JFALSE); }

// Definitions: PUSHI end, PUSHID name, DEFFUNC|DEFSUB, parameters, PUSHI n,
// PARAMS, body, ENDFUNC. `end` is the absolute position after ENDFUNC.
void Emitter::routine_header(std::string_view name, Construct kind) {
    constructs_.push(kind, code_.pc());
    code_.push_int(0);
    code_.push_text(Op::PUSHID, name);
    code_.op(kind == Construct::Function ? Op::DEFFUNC : Op::DEFSUB);
}

void Emitter::no_parameters() {
    code_.push_int(0);
    code_.op(Op::PARAMS);
}

void Emitter::parameters_end() { code_.op(Op::PARAMS); }

void Emitter::enter_routine_body(std::string_view name) { label_scope_ = name; }

void Emitter::routine_end(Construct kind) {
    code_.op(Op::ENDFUNC);
    code_.patch_int(constructs_.pop(kind), code_.pc());
    label_scope_ = "PROC0";
}

void Emitter::line_end() {
    ++session_.current_line;
    if (!line_markers_) return;
    code_.patch_int(marker_slot_, session_.current_line);
    code_.patch_op(marker_slot_ + marker_size - 1, Op::LINE);
    marker_slot_ = code_.open_slot(marker_size);
}

void Emitter::empty_line() { ++session_.current_line; }

void Emitter::end_of_input() { code_.op(Op::END); }

void Emitter::resolve_labels() { labels_.resolve(code_); }

}  // namespace ostrac::frontend

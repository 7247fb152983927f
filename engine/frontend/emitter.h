// Code emission for the grammar's actions. The parser decides what has been
// recognised; these functions decide which bytes it becomes. Everything is
// written in postfix order as soon as it is recognised, in a single pass:
//
//   jumps     PUSHI distance + jump opcode (6 bytes); the distance counts
//             from the end of the jump opcode. Forward jumps are emitted as
//             PUSHI 0 and patched when the target is known. A routine's end
//             operand (DEFFUNC/DEFSUB) is an absolute position instead.
//   lists     a counted list saves the enclosing count on the construct
//             stack and ends with PUSHI n; PRINT and INPUT count without
//             saving, being statements that no list encloses.
//   markers   in debug mode every counted line end fills the open 6-byte
//             slot with PUSHI line + LINE and opens a new one at the
//             emission position; an open slot starts with END.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "code/opcodes.h"
#include "frontend/code_writer.h"
#include "frontend/construct_stack.h"
#include "frontend/label_table.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::frontend {

class Emitter {
public:
    static constexpr std::int32_t marker_size = 6;  // PUSHI line + LINE

    // Starts emission at offset 0 of `block`; with line markers the first
    // marker slot is reserved at once.
    Emitter(state::Machine& s, std::span<std::uint8_t> block, bool line_markers);

    // Values and operators.
    void number(double value);
    void imaginary(double value);
    void identifier(std::string_view name);
    void string(std::string_view text);
    void instruction(code::Op op);  // any one-byte instruction

    // Lists.
    void begin_counted_list();
    void list_item();  // one more "," in the list being compiled
    void end_counted_list();
    void begin_statement_list();          // PRINT, INPUT
    void end_statement_list(code::Op op);   // count, then PRINT or INPUT

    // Calls: the arguments and their count have been emitted.
    void call(std::string_view name);
    // A call without parentheses: its one value has been emitted.
    void call_with_value(std::string_view name);

    void begin_matrix();
    void matrix_row();  // one more ";"
    void end_matrix();

    void assign(std::string_view name);
    void set_cell(std::string_view name);  // indexes, count and value emitted

    void label(std::string_view name);
    void jump_to_label(std::string_view name, code::Op jump);  // GOTO or GOSUB

    void for_header(std::string_view variable);  // start, end, step emitted
    void for_next();
    void if_then();   // condition emitted
    void if_else();
    void if_end();
    void while_start();
    void while_do();  // condition emitted
    void while_end();
    void repeat_start();
    void repeat_until();  // condition emitted

    // FUNCTION (Construct::Function) or SUB (Construct::Sub) definitions.
    void routine_header(std::string_view name, Construct kind);
    void no_parameters();
    void parameters_end();  // parameters and their count emitted
    void enter_routine_body(std::string_view name);
    void routine_end(Construct kind);

    // A line end that ends a statement or follows THEN, ELSE, DO, REPEAT.
    void line_end();
    // A line with no statement: counted, no marker.
    void empty_line();
    // "exit" or the end of a file: the block's END.
    void end_of_input();

    // Patches every GOTO and GOSUB distance; after a successful parse.
    void resolve_labels();

private:
    void patch_forward_jump(std::int32_t placeholder);  // to the emission position
    void backward_jump(std::int32_t target, code::Op jump);

    state::Machine& session_;
    CodeWriter code_;
    ConstructStack constructs_;
    LabelTable labels_;
    bool line_markers_;
    std::int32_t marker_slot_ = 0;
    std::int32_t arg_count_ = 0;
    std::vector<std::int32_t> row_counts_;  // one per open matrix literal
    std::string label_scope_ = "PROC0";
};

}  // namespace ostrac::frontend

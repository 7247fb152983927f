// The decoded form of a code block: its instructions read once, with their
// inline operands converted, names tied to the symbol table's list of their
// slots, jump targets found, and the busy sequences of instructions joined
// into single steps. The byte code stays the stored form (state files, the
// disassembler and the debugger read it); a decoded block is only a faster
// way of running it, thrown away when the code changes (vm/decoded_blocks.h).
//
// A block has one step for every instruction from its start up to its first
// END, each standing for the instruction at its offset and, when it joins
// them, the ones that follow. Every step either performs all its
// instructions exactly as the byte code would, or refuses, having changed
// nothing; the byte code then runs its first instruction (vm/decoded_steps.h).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "code/opcodes.h"
#include "state/symbol_table.h"

namespace ostrac::vm {

class DecodedBlock;

enum class Form : std::uint8_t {
    Bytecode,    // run by the byte code dispatcher
    PushNumber,  // PUSHF
    PushInt,     // PUSHI
    PushName,    // PUSHID
    Expression,  // a chain of operations, and where its value goes (below)
    Jump,        // PUSHI distance, JUMP
    Call,        // pushes of names and numbers, PUSHI count, PUSHID routine, CALL
    Params,      // PUSHID of each formal, PUSHI count, PARAMS
    EndFunc,     // ENDFUNC
    Next,        // NEXT
};

// Where an operand comes from.
enum class From : std::uint8_t {
    Stack,   // a cell already on the stack
    Number,  // a PUSHF (or, in an expression, a PUSHI)
    Name,    // a PUSHID: in an expression the variable's real value
    Same,    // in an expression, the name the link before read (as in x*x)
};

// A name the block's instructions read, one for all of them, tied to the
// list of its slots. The slot found visible (or -1) is remembered with the
// list's change count, and holds while the count stays the same
// (state/symbol_table.h). A step only runs in its own block, so the block
// that looks is always the same.
struct NameRef {
    state::NameSlots* list = nullptr;
    std::string_view text;  // to create it
    std::uint64_t seen = ~std::uint64_t{0};
    std::int32_t slot = -1;
};

struct Operand {
    From from = From::Stack;
    double number = 0.0;      // Number
    NameRef* name = nullptr;  // Name
};

// One operation of an expression's chain: the value so far `op` the operand.
// The chain's first link holds the first operand, with END for op.
struct Link {
    code::Op op = code::Op::END;
    Operand operand;
};

// Where an expression's value goes.
enum class Result : std::uint8_t {
    Push,    // onto the stack, as the last operator pushes it
    Store,   // PUSHID name, ASSIGN
    Branch,  // PUSHI distance, IF or JFALSE: jump when the value is 0
};

// Bounds of what decoding joins: the links of a chain, the pushes before a
// CALL and the formals of PARAMS.
inline constexpr int max_links = 4;
inline constexpr int max_pushes = 3;
// The most instructions a step stands for, and the most cells it pushes
// (a chain: 3 + 2 per further link + 2 for its result; a call: its pushes
// and two more).
inline constexpr int max_step_count = 3 + 2 * (max_links - 1) + 2;
inline constexpr int max_step_reach = max_pushes + 2;
// A call runs the routine's PARAMS with it, a function's end the caller's
// next expression, NEXT the body's first call or expression (its PARAMS
// included) (vm/decoded_steps.h): at most NEXT's one instruction and two
// steps, or ENDFUNC's and one.
inline constexpr int max_joined_count = 2 * max_step_count + 1;

struct Step {
    Form form = Form::Bytecode;
    std::uint8_t count = 1;    // instructions of the byte code it performs
    std::uint8_t last_op = 0;  // the opcode of the last of them
    // The most cells its instructions hold above the depth it starts at:
    // the byte code stops with "MAXSTACK Reached!!" where this reaches the
    // stack's capacity, so the step leaves such cases to it.
    std::uint8_t reach = 0;
    std::int32_t pc = 0;       // offset of its first instruction
    std::int32_t next_pc = 0;  // offset after its last instruction

    // Expression: the chain; Call: the pushes; Params: the formals.
    const Link* links = nullptr;
    std::uint8_t link_count = 0;
    Result result = Result::Push;

    double number = 0.0;        // PushNumber
    std::int32_t integer = 0;   // PushInt; Call and Params: the count
    NameRef* name = nullptr;    // PushName; Call: the routine; Store: the target
    std::int32_t target_pc = 0;    // Branch and Jump: the offset reached
    const Step* target = nullptr;  // the step there
    const DecodedBlock* block = nullptr;  // the block it belongs to
};

class DecodedBlock {
public:
    // Reads `code` afresh. Names get their lists from `table`, empty ones
    // for names not yet created.
    void decode(std::span<const std::uint8_t> code, state::SymbolTable& table);

    // The step for the instruction at `pc`; the block's "elsewhere" step
    // (the byte code) where no decoded instruction starts.
    const Step* at(std::int32_t pc) const {
        const auto at = static_cast<std::uint32_t>(pc);  // a negative pc becomes large
        if (at >= step_at_.size() || step_at_[at] < 0) return &steps_.back();
        return &steps_[static_cast<std::size_t>(step_at_[at])];
    }
    // at(0): the first instruction's step, or the elsewhere step of an
    // empty block.
    const Step* first() const { return &steps_.front(); }

    std::uint64_t epoch = 0;  // the table's epoch at which it was last found valid; 0: never read

private:
    // An instruction as decoding reads it.
    struct Instruction {
        code::Op op;
        std::int32_t pc;
        std::int32_t next_pc;
        double number;
        std::int32_t integer;
        std::string_view text;
    };

    void read_instructions(std::span<const std::uint8_t> code);
    Step join(std::size_t i, state::SymbolTable& table);
    bool expression(std::size_t i, Step& step, state::SymbolTable& table);
    bool call(std::size_t i, Step& step, state::SymbolTable& table);
    bool params(std::size_t i, Step& step, state::SymbolTable& table);
    bool operand(std::size_t i, Operand& out, state::SymbolTable& table);
    // Adds a link after the first of a chain.
    void add_link(code::Op op, Operand operand);
    NameRef* name_at(std::size_t i, state::SymbolTable& table);
    code::Op op_at(std::size_t i) const;
    bool is_operator(std::size_t i) const;
    bool is_short_name(std::size_t i) const;
    // Ends `step` with instruction k.
    void end_at(Step& step, std::size_t first, std::size_t k, Form form, int reach) const;

    std::int32_t size_ = 0;  // of the code: jumps past it lead to its end
    std::vector<Instruction> instructions_;
    // One step per instruction, then the elsewhere step.
    std::vector<Step> steps_{Step{}};
    std::vector<std::int32_t> step_at_;  // by offset: the index of the step starting there, or -1
    // The links of every step, in order; each step's `links` points here
    // once the block is read.
    std::vector<Link> links_;
    // One per name, reserved for as many as there are instructions, so that
    // their addresses hold while the block is read.
    std::vector<NameRef> names_;
    std::unordered_map<const state::NameSlots*, NameRef*> name_of_list_;  // while reading
};

}  // namespace ostrac::vm

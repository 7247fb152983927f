#include "vm/decoded_block.h"

#include <algorithm>

#include "code/code_reader.h"
#include "code/names.h"
#include "vm/control_flow.h"

namespace ostrac::vm {

using code::Op;
using state::SymbolTable;

namespace {

// The operators whose reals an expression step computes; the others (DIV
// and POW with their faults among them) stay with the byte code.
bool computes(Op op) {
    switch (op) {
    case Op::ADD: case Op::SUB: case Op::MUL: case Op::MOD:
    case Op::EQ: case Op::NE: case Op::GT: case Op::LT: case Op::GE: case Op::LE:
    case Op::OR: case Op::AND:
        return true;
    default:
        return false;
    }
}

}  // namespace

void DecodedBlock::read_instructions(std::span<const std::uint8_t> code) {
    instructions_.clear();
    const auto size = static_cast<std::int32_t>(code.size());
    std::int32_t pc = 0;
    // An operand cut off by the block's end ends the decoding: the byte code
    // reports it when it gets there.
    while (pc < size) {
        Instruction in{static_cast<Op>(code[pc]), pc, pc + 1, 0.0, 0, {}};
        const code::OpInfo* info = code::op_info(code[pc]);
        switch (info != nullptr ? info->operand : code::Inline::None) {
        case code::Inline::None:
            break;
        case code::Inline::Double:
            if (size - in.next_pc < 8) return;
            in.number = code::read_f64(&code[in.next_pc]);
            in.next_pc += 8;
            break;
        case code::Inline::Int32:
            if (size - in.next_pc < 4) return;
            in.integer = code::read_i32(&code[in.next_pc]);
            in.next_pc += 4;
            break;
        case code::Inline::Text: {
            // The length byte is skipped: the text runs to its zero byte.
            const std::int32_t start = in.next_pc + 1;
            std::int32_t end = start;
            while (end < size && code[end] != 0) ++end;
            if (end >= size) return;
            in.text = std::string_view(reinterpret_cast<const char*>(code.data()) + start, static_cast<std::size_t>(end - start));
            in.next_pc = end + 1;
            break;
        }
        }
        instructions_.push_back(in);
        if (in.op == Op::END) return;
        pc = in.next_pc;
    }
}

Op DecodedBlock::op_at(std::size_t i) const {
    return i < instructions_.size() ? instructions_[i].op : Op::UNUSED22;
}

bool DecodedBlock::is_operator(std::size_t i) const { return computes(op_at(i)); }

// Longer names stop the byte code with an error of their own.
bool DecodedBlock::is_short_name(std::size_t i) const {
    return op_at(i) == Op::PUSHID && instructions_[i].text.size() <= code::max_name_length;
}

bool DecodedBlock::operand(std::size_t i, Operand& out, SymbolTable& table) {
    switch (op_at(i)) {
    case Op::PUSHF:
        out = {From::Number, instructions_[i].number, nullptr};
        return true;
    case Op::PUSHI:
        out = {From::Number, static_cast<double>(instructions_[i].integer), nullptr};
        return true;
    case Op::PUSHID:
        if (!is_short_name(i)) return false;
        out = {From::Name, 0.0, name_at(i, table)};
        return true;
    default:
        return false;
    }
}

// A name read again right after itself needs no second lookup: reading
// a variable changes nothing.
void DecodedBlock::add_link(Op op, Operand operand) {
    const Operand& before = links_.back().operand;
    if (operand.from == From::Name && before.from == From::Name && before.name == operand.name) {
        operand.from = From::Same;
    }
    links_.push_back({op, operand});
}

NameRef* DecodedBlock::name_at(std::size_t i, SymbolTable& table) {
    state::NameSlots* list = &table.slots_for(instructions_[i].text);
    NameRef*& name = name_of_list_[list];
    if (name == nullptr) name = &names_.emplace_back(NameRef{list, instructions_[i].text});
    return name;
}

void DecodedBlock::end_at(Step& step, std::size_t first, std::size_t k, Form form, int reach) const {
    step.form = form;
    step.count = static_cast<std::uint8_t>(k - first + 1);
    step.last_op = static_cast<std::uint8_t>(instructions_[k].op);
    step.next_pc = instructions_[k].next_pc;
    step.reach = static_cast<std::uint8_t>(reach);
}

// A chain: two operands and an operator, one operand and an operator (the
// left one on the stack), an operator alone (both on the stack), or a value
// alone; then further operands each with its operator; then a store, a
// branch, or nothing (the value is pushed).
bool DecodedBlock::expression(std::size_t i, Step& step, SymbolTable& table) {
    const std::size_t mark = links_.size();
    Operand a;
    Operand b;
    std::size_t k = i;  // the next instruction
    int held = 0;       // the cells the byte code holds above the start, there
    int reach = 0;
    if (operand(k, a, table) && operand(k + 1, b, table) && is_operator(k + 2)) {
        links_.push_back({Op::END, a});
        add_link(op_at(k + 2), b);
        k += 3;
        held = 1;
        reach = 2;
    } else if (operand(k, a, table) && is_operator(k + 1)) {
        links_.push_back({Op::END, {}});
        links_.push_back({op_at(k + 1), a});
        k += 2;
        reach = 1;
    } else if (is_operator(k)) {
        links_.push_back({Op::END, {}});
        links_.push_back({op_at(k), {}});
        k += 1;
        held = -1;
    } else if (operand(k, a, table)) {
        links_.push_back({Op::END, a});
        k += 1;
        held = 1;
        reach = 1;
    } else {
        links_.push_back({Op::END, {}});
    }
    while (links_.size() - mark >= 2 && links_.size() - mark < max_links && operand(k, a, table) &&
           is_operator(k + 1)) {
        add_link(op_at(k + 1), a);
        k += 2;
        reach = std::max(reach, held + 1);
    }

    const std::size_t links = links_.size() - mark;
    const bool alone = links == 1;
    if (is_short_name(k) && op_at(k + 1) == Op::ASSIGN) {
        // A variable copied into another takes its type and payload along:
        // only numbers are stored here.
        if (alone && links_[mark].operand.from == From::Name) {
            links_.resize(mark);
            return false;
        }
        step.result = Result::Store;
        step.name = name_at(k, table);
        end_at(step, i, k + 1, Form::Expression, std::max(reach, held + 1));
    } else if (op_at(k) == Op::PUSHI && (op_at(k + 1) == Op::IF || op_at(k + 1) == Op::JFALSE)) {
        step.result = Result::Branch;
        step.target_pc = jump_target(instructions_[k + 1].next_pc, instructions_[k].integer, size_);
        end_at(step, i, k + 1, Form::Expression, std::max(reach, held + 1));
    } else {
        // A value alone is a plain push.
        if (alone) {
            links_.resize(mark);
            return false;
        }
        step.result = Result::Push;
        end_at(step, i, k - 1, Form::Expression, reach);
    }
    step.link_count = static_cast<std::uint8_t>(links);
    return true;
}

// Pushes of names and numbers (the arguments, most often), then PUSHI
// count, PUSHID routine, CALL.
bool DecodedBlock::call(std::size_t i, Step& step, SymbolTable& table) {
    const std::size_t mark = links_.size();
    std::size_t k = i;
    Operand a;
    while (k - i < max_pushes && (op_at(k) == Op::PUSHF || is_short_name(k)) && operand(k, a, table)) {
        links_.push_back({Op::END, a});
        ++k;
    }
    if (op_at(k) != Op::PUSHI || !is_short_name(k + 1) || op_at(k + 2) != Op::CALL) {
        links_.resize(mark);
        return false;
    }
    step.integer = instructions_[k].integer;
    step.name = name_at(k + 1, table);
    step.link_count = static_cast<std::uint8_t>(k - i);
    end_at(step, i, k + 2, Form::Call, static_cast<int>(k - i) + 2);
    return true;
}

// PUSHID of each formal (distinct names), PUSHI their count, PARAMS.
bool DecodedBlock::params(std::size_t i, Step& step, SymbolTable& table) {
    const std::size_t mark = links_.size();
    std::size_t k = i;
    Operand a;
    while (k - i < max_pushes && is_short_name(k) && operand(k, a, table)) {
        for (std::size_t j = mark; j < links_.size(); ++j) {
            if (links_[j].operand.name == a.name) {
                links_.resize(mark);
                return false;
            }
        }
        links_.push_back({Op::END, a});
        ++k;
    }
    const auto formals = static_cast<std::int32_t>(k - i);
    if (op_at(k) != Op::PUSHI || op_at(k + 1) != Op::PARAMS || instructions_[k].integer != formals) {
        links_.resize(mark);
        return false;
    }
    step.integer = formals;
    step.link_count = static_cast<std::uint8_t>(formals);
    end_at(step, i, k + 1, Form::Params, formals + 1);
    return true;
}

Step DecodedBlock::join(std::size_t i, SymbolTable& table) {
    const Instruction& first = instructions_[i];
    Step step;
    step.pc = first.pc;
    if (expression(i, step, table) || call(i, step, table) || params(i, step, table)) return step;
    switch (first.op) {
    case Op::PUSHI:
        step.integer = first.integer;
        if (op_at(i + 1) == Op::JUMP) {
            step.target_pc = jump_target(instructions_[i + 1].next_pc, first.integer, size_);
            end_at(step, i, i + 1, Form::Jump, 1);
        } else {
            end_at(step, i, i, Form::PushInt, 1);
        }
        break;
    case Op::PUSHF:
        step.number = first.number;
        end_at(step, i, i, Form::PushNumber, 1);
        break;
    case Op::PUSHID:
        step.name = name_at(i, table);
        end_at(step, i, i, is_short_name(i) ? Form::PushName : Form::Bytecode, 1);
        break;
    case Op::ENDFUNC:
        end_at(step, i, i, Form::EndFunc, 0);
        break;
    case Op::NEXT:
        end_at(step, i, i, Form::Next, 0);
        break;
    default:
        end_at(step, i, i, Form::Bytecode, 0);
        break;
    }
    return step;
}

void DecodedBlock::decode(std::span<const std::uint8_t> code, SymbolTable& table) {
    size_ = static_cast<std::int32_t>(code.size());
    read_instructions(code);
    const std::int32_t extent = instructions_.empty() ? 0 : instructions_.back().next_pc;
    step_at_.assign(static_cast<std::size_t>(extent), -1);
    steps_.clear();
    links_.clear();
    names_.clear();
    names_.reserve(instructions_.size());
    name_of_list_.clear();
    for (std::size_t i = 0; i < instructions_.size(); ++i) {
        step_at_[static_cast<std::size_t>(instructions_[i].pc)] = static_cast<std::int32_t>(i);
        steps_.push_back(join(i, table));
    }
    steps_.push_back(Step{});  // elsewhere
    // The links of each step follow those of the step before.
    const Link* links = links_.data();
    for (Step& step : steps_) {
        step.block = this;
        step.links = links;
        links += step.link_count;
        if (step.form == Form::Jump || (step.form == Form::Expression && step.result == Result::Branch)) {
            step.target = at(step.target_pc);
        }
    }
}

}  // namespace ostrac::vm

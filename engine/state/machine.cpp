#include "state/machine.h"

#include <string>

#include "state/symbols.h"

namespace ostrac::state {

namespace {

// PI as the calculator has always stored it: 3.14159265358979, seven units of
// the last place below the double nearest to pi.
constexpr double stored_pi = 3.14159265358979;
static_assert(stored_pi == 0x1.921fb54442d11p+1);

}  // namespace

void Machine::create_predefined_symbols() {
    const std::int32_t proc0 = lookup_or_create(*this, "PROC0", kind::global);
    symbols.set_code(proc0, std::vector<std::uint8_t>(proc0_size, 0));

    const std::int32_t eval0 = lookup_or_create(*this, "EVAL0", kind::global);
    symbols.set_code(eval0, std::vector<std::uint8_t>(eval0_size, 0));

    create_with_value(*this, "PI", kind::constant, stored_pi);
    const std::int32_t sub0 = create_with_value(*this, "SUB0", kind::constant, 0.0);
    symbols[sub0].type = ValueType::Procedure;
    create_with_value(*this, "ANS", kind::global, 0.0);
    for (SystemVariable& row : system_variables_) {
        row.index = create_with_value(*this, row.name, kind::system, 0.0);
        row.current = 0;
    }
}

void Machine::report_fatal(std::string_view message) {
    std::string text(message.substr(0, 255));
    if (!text.empty() && text.back() == '\n') text.pop_back();
    text += " line=" + std::to_string(current_line) + "\n";
    console_print(text);
}

void Machine::fatal_error(std::string_view message) {
    report_fatal(message);
    throw FatalError{};
}

void Machine::fatal_error_fmt(std::string_view format, std::string_view argument) {
    std::string text(format);
    if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, argument);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (console_.has_pending()) host.pane_add_line(console_.take_pending());
    host.pane_add_line(text);
    throw FatalError{};
}

void Machine::halt_if_break() {
    if (!break_requested()) return;
    console_print(user_halted);
    throw FatalError{};
}

void Machine::console_print(std::string_view text) {
    std::string line;
    if (console_.print(text, line)) host.pane_add_line(line);
}

void Machine::set_prompt(std::string_view text) {
    prompt_text = text;
    host.set_prompt(prompt_text);
}

void Machine::refresh_modes() {
    for (const SystemVariable& row : system_variables_) {
        if (symbols.valid_index(row.index)) symbols[row.index].set_real(row.current);
    }
    host.show_modes(system_variables_[0].current, system_variables_[1].current);
}

}  // namespace ostrac::state

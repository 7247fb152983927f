// The interpreter session: the driver on top of the machine. It brings the
// engine up, compiles the pending command line and steps the dispatcher,
// takes the console's lines, and saves and loads the whole state. Front ends
// enter the engine here.
//
// A Session is the machine it drives (state::Machine), so front ends read the
// session variables, the symbol table and the run state through it.
// fatal_error() unwinds to run(), which reports nothing more and resets the
// session; the other calls below catch what they start themselves.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "state/machine.h"

namespace ostrac::session {

// The machine's vocabulary, as front ends name it.
using state::DebugMode;
using state::FatalError;
using state::Host;
using state::RunState;
using state::SystemVariable;
namespace slot = state::slot;

class Session : public state::Machine {
public:
    explicit Session(Host& host);
    ~Session();

    // Leaves out the greeting of init() and the ">> line" echo of submit():
    // only what programs print and the error reports reach the host.
    bool quiet = false;

    // Brings the engine up; `search_paths[0]` is the home folder.
    void init(const std::array<std::string, search_path_count>& search_paths);

    // One step: compiles the pending command line or executes one
    // instruction. Returns the running flag: 0 once the command or program
    // has ended, 1 while it goes on.
    int step();
    // Up to `max_steps` steps in a row, exactly as that many calls of step()
    // would run them; returns early after a step that leaves the session
    // other than Running or ends a block. Front ends run programs this way:
    // a call per instruction costs as much as a simple instruction.
    int run(int max_steps);

    // Back to Idle with an empty stack at the start of PROC0.
    void reset();

    // The Enter key of the console. While Idle the line (at most 254
    // characters) is echoed and becomes the next command, or the answer to a
    // waiting INPUT; while Paused it is evaluated inside the paused program;
    // while Running, or while a line typed at a stop still runs, it is
    // ignored. Returns whether the worker should be resumed.
    bool submit(std::string_view line);

    // Enters PROC0 at offset 0 with the command's return frame, as after a
    // compilation; the code already in PROC0 runs from the next step.
    void enter_main_block();

    // The editor's run: the next compilation reads these program lines.
    void select_editor_feed(std::vector<std::string> lines);

    // Reports a fault that unwound a call into the engine without a fatal
    // error, as a step reports it: an exhausted heap as the allocation
    // message, anything else as "Math error;". Front ends use it for what
    // escapes their calls, so that no fault ends the program.
    void report_exception(const std::exception& e);

    // The Save and Load buttons: the whole engine state to and from
    // "data.bin" in the home folder. They act only while the session is idle
    // with no program in progress (no INPUT waiting); otherwise they are
    // refused with a message. A failure is reported in the pane and leaves
    // the session idle. `also` is the front end's own part (the pane's memo
    // file), run once the state file is done; "State Saved." or "State
    // Loaded." follows when it succeeds too.
    enum class StateFileOutcome { Done, Refused, Failed };
    bool state_file_allowed() const;
    StateFileOutcome save_state(const std::function<bool()>& also = {});
    StateFileOutcome load_state(const std::function<bool()>& also = {});

    // How many commands since init() ended in a report instead of running to
    // their end: a fatal error (HALT's included), a fault, a Break, a refused
    // or failed Save or Load. Front ends take an exit status from it.
    int failed_commands() const { return failed_commands_; }

private:
    // A failure has been reported: count it and go back to Idle.
    void reset_after_failure();
    StateFileOutcome state_file_command(void (*operation)(state::Machine&), const std::function<bool()>& also,
                                        std::string_view done);

    std::unique_ptr<frontend::Frontend> frontend_;
    std::unique_ptr<vm::DecodedBlocks> decoded_;
    int failed_commands_ = 0;
};

}  // namespace ostrac::session

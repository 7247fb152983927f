// The engine's host on a terminal or a pipe: every pane line goes to standard
// output as one line, flushed at once.
#pragma once

#include <cstdio>
#include <string>

#include "state/host.h"

namespace ostrac::cli {

class TerminalHost : public state::Host {
public:
    TerminalHost(std::FILE* out, bool interactive) : out_(out), interactive_(interactive) {}

    void pane_add_line(std::string_view line) override;
    void set_prompt(std::string_view text) override { prompt_ = text; }
    void show_modes(int, int) override {}
    void clear_console() override;
    void worker_suspend() override { suspended_ = true; }
    void editor_show_line(int) override {}
    void editor_reset() override {}

    const std::string& prompt() const { return prompt_; }
    bool interactive() const { return interactive_; }

    // The session asked its worker to wait since the last call.
    bool take_suspended() {
        const bool was = suspended_;
        suspended_ = false;
        return was;
    }

private:
    std::FILE* out_;
    bool interactive_;
    bool suspended_ = false;
    std::string prompt_ = ">>";
};

}  // namespace ostrac::cli

// Line editing at a terminal, through libedit: arrow keys and the usual
// Emacs keys, Ctrl-R to search the history, Tab to complete function names.
// The history keeps the last 1,000 lines in a file (history_file.h) across
// runs. Only made when both standard input and output are terminals.
#pragma once

#include <histedit.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace ostrac::cli {

class LineEditor {
public:
    // Reads the history kept in `history_file`, when there is one.
    explicit LineEditor(std::filesystem::path history_file);
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    // Shows `prompt` and reads one line, without its line end; nothing once
    // the input has ended (Ctrl-D on an empty line). Ctrl-C drops the line
    // and asks again. A line that is not empty enters the history.
    // The line comes back with Ctrl-C held: a Ctrl-C pressed after Enter
    // reaches the process only at release_interrupt(), which the caller
    // calls once the line's command has started, so that it breaks it.
    std::optional<std::string> read_line(std::string prompt);
    void release_interrupt();
    ~LineEditor() { release_interrupt(); }

    // Writes the history file; "" when done, else why not.
    std::string save_history();

    static constexpr int history_size = 1000;

private:
    static const char* prompt_of(EditLine* el);
    static unsigned char complete(EditLine* el, int key);

    std::filesystem::path history_file_;
    std::unique_ptr<History, void (*)(History*)> history_;
    std::unique_ptr<EditLine, void (*)(EditLine*)> editor_;
    std::string prompt_;
    bool interrupt_held_ = false;
};

}  // namespace ostrac::cli

#include "line_editor.h"

#include <signal.h>

#include <csignal>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "history_file.h"
#include "name_completion.h"

namespace ostrac::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void on_interrupt(int) { interrupted = 1; }

void mask_interrupt(int how) {
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    ::pthread_sigmask(how, &interrupt, nullptr);
}

// Ctrl-C at the prompt: our handler in place of the Break of a running
// program while a line is read. Installed without SA_RESTART so that the
// read returns and the line can be dropped.
class InterruptCatcher {
public:
    InterruptCatcher() {
        struct sigaction catcher {};
        catcher.sa_handler = on_interrupt;
        sigemptyset(&catcher.sa_mask);
        ::sigaction(SIGINT, &catcher, &previous_);
    }
    ~InterruptCatcher() { ::sigaction(SIGINT, &previous_, nullptr); }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    struct sigaction previous_ {};
};

}  // namespace

LineEditor::LineEditor(std::filesystem::path history_file)
    : history_file_(std::move(history_file)),
      history_(::history_init(), ::history_end),
      editor_(::el_init("ostrac-cli", stdin, stdout, stderr), ::el_end) {
    HistEvent event;
    ::history(history_.get(), &event, H_SETSIZE, history_size);
    ::history(history_.get(), &event, H_SETUNIQUE, 1);
    for (const std::string& line : read_history_file(history_file_)) {
        ::history(history_.get(), &event, H_ENTER, line.c_str());
    }

    EditLine* el = editor_.get();
    ::el_set(el, EL_CLIENTDATA, this);
    ::el_set(el, EL_PROMPT, &LineEditor::prompt_of);
    ::el_set(el, EL_EDITOR, "emacs");
    ::el_set(el, EL_HIST, ::history, history_.get());
    // libedit's own handlers put the terminal back in order around Ctrl-Z
    // and window size changes, and hand Ctrl-C on to ours.
    ::el_set(el, EL_SIGNAL, 1);
    ::el_set(el, EL_BIND, "^R", "em-inc-search-prev", nullptr);
    // The wide form keeps the names as given; the narrow one copies them and
    // never frees the copies.
    ::el_wset(el, EL_ADDFN, L"ostrac-complete", L"Complete a function name", &LineEditor::complete);
    ::el_set(el, EL_BIND, "^I", "ostrac-complete", nullptr);
    ::el_source(el, nullptr);  // the user's ~/.editrc may change all of the above
}

const char* LineEditor::prompt_of(EditLine* el) {
    LineEditor* self = nullptr;
    ::el_get(el, EL_CLIENTDATA, &self);
    return self->prompt_.c_str();
}

unsigned char LineEditor::complete(EditLine* el, int) {
    const LineInfo* line = ::el_line(el);
    const NameCompletion completion =
        complete_name(std::string_view(line->buffer, static_cast<std::size_t>(line->cursor - line->buffer)));
    if (completion.text.empty()) return CC_REFRESH_BEEP;
    ::el_deletestr(el, static_cast<int>(completion.replaced));
    ::el_insertstr(el, completion.text.c_str());
    if (completion.candidates.empty()) return CC_REFRESH;
    std::string list;
    for (const std::string& name : completion.candidates) list += (list.empty() ? "\n" : "  ") + name;
    std::puts(list.c_str());
    return CC_REDISPLAY;  // the prompt and the line again, below the list
}

std::optional<std::string> LineEditor::read_line(std::string prompt) {
    prompt_ = std::move(prompt);
    release_interrupt();
    for (;;) {
        int count = 0;
        const char* text = nullptr;
        {
            const InterruptCatcher catcher;
            interrupted = 0;
            text = ::el_gets(editor_.get(), &count);
            // Held before our handler goes: a Ctrl-C from here on waits for
            // the line's command instead of finding the session idle.
            mask_interrupt(SIG_BLOCK);
            interrupt_held_ = true;
        }
        const bool entered = text != nullptr && count > 0 && text[count - 1] == '\n';
        if (interrupted && !entered) {
            std::fputs("^C\n", stdout);
            release_interrupt();
            continue;
        }
        // Pressed just after Enter: pending until released, then a Break.
        if (interrupted) std::raise(SIGINT);
        if (text == nullptr || count <= 0) {
            release_interrupt();
            return std::nullopt;
        }
        std::string line(text, static_cast<std::size_t>(count));
        if (line.ends_with('\n')) line.pop_back();
        HistEvent event;
        if (!line.empty()) ::history(history_.get(), &event, H_ENTER, line.c_str());
        return line;
    }
}

void LineEditor::release_interrupt() {
    if (!interrupt_held_) return;
    interrupt_held_ = false;
    mask_interrupt(SIG_UNBLOCK);
}

std::string LineEditor::save_history() {
    std::vector<std::string> lines;
    HistEvent event;
    for (int more = ::history(history_.get(), &event, H_LAST); more != -1;
         more = ::history(history_.get(), &event, H_PREV)) {
        lines.emplace_back(event.str);
    }
    return write_history_file(history_file_, lines);
}

}  // namespace ostrac::cli

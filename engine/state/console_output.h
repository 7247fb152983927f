// Line buffering of engine output: text is collected until it ends with a
// line break, then the collected text becomes one line of the output pane.
// Only the last character is examined, so breaks in the middle stay inside
// the pane line. Lines are kept whole, whatever their length.
#pragma once

#include <string>
#include <string_view>

namespace ostrac::state {

class ConsoleOutput {
public:
    // Appends text; returns true and moves the finished line into `line`
    // when the text completed one.
    bool print(std::string_view text, std::string& line) {
        pending_.append(text);
        if (pending_.size() == 2 && pending_[0] == '\n') {
            pending_.clear();  // a break followed by one character shows nothing
            return false;
        }
        if (pending_.empty() || pending_.back() != '\n') return false;
        pending_.pop_back();
        line = std::move(pending_);
        pending_.clear();
        return true;
    }

    bool has_pending() const { return !pending_.empty(); }

    // Hands out the unfinished text (to complete it as a line of its own).
    std::string take_pending() {
        std::string text = std::move(pending_);
        pending_.clear();
        return text;
    }

    void clear() { pending_.clear(); }

private:
    std::string pending_;
};

}  // namespace ostrac::state

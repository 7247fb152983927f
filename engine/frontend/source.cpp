#include "frontend/source.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "state/machine.h"

namespace ostrac::frontend {
namespace {

// A copy of the editor's lines taken when the run started.
class EditorFeed final : public Source {
public:
    explicit EditorFeed(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    bool read_piece(state::Machine&, std::string& out) override {
        if (next_ < lines_.size()) {
            out += lines_[next_++];
            out += '\n';
            return true;
        }
        if (finished_) return false;
        finished_ = true;
        out += "\nexit\n";  // an empty line, then the closing keyword
        return true;
    }

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    bool finished_ = false;
};

class FileSource final : public Source {
public:
    explicit FileSource(ProgramFile file) : file_(std::move(file)) {}

    bool read_piece(state::Machine& s, std::string& out) override {
        if (!file_.stream) return false;
        std::array<char, piece_size> piece;
        file_.stream->read(piece.data(), piece.size());
        const auto got = static_cast<std::size_t>(file_.stream->gcount());
        if (file_.stream->bad()) s.fatal_error("Cannot read the program file " + file_.name);
        // A zero byte never occurs in text: the file is binary (a state file,
        // an image) and would only give a stream of syntax errors.
        if (std::memchr(piece.data(), '\0', got) != nullptr) {
            s.fatal_error("Cannot load " + file_.name + ": not a text file");
        }
        if (got == 0) {
            // The end of the file ends its last line, whether or not the
            // file does: a program saved without a final line break runs
            // like the same program with one.
            if (ended_line_) return false;
            ended_line_ = true;
            out += '\n';
            return true;
        }
        ended_line_ = piece[got - 1] == '\n';
        std::string_view text(piece.data(), got);
        if (at_start_) {
            at_start_ = false;
            in_interpreter_line_ = text.starts_with("#!");
        }
        if (in_interpreter_line_) {
            // An executable script's "#!" line is left out but its line end
            // kept, so that messages still count it.
            const std::size_t end = text.find('\n');
            in_interpreter_line_ = end == std::string_view::npos;
            text.remove_prefix(in_interpreter_line_ ? text.size() : end);
        }
        out += text;
        return true;
    }

private:
    static constexpr std::size_t piece_size = 1024;
    ProgramFile file_;
    bool ended_line_ = true;  // an empty file has no line to end
    bool at_start_ = true;
    bool in_interpreter_line_ = false;
};

}  // namespace

// The command line (or the EVAL text, or an INPUT answer) in one piece.
bool ConsoleFeed::read_piece(state::Machine& s, std::string& out) {
    if (delivered_) return false;
    delivered_ = true;
    out += s.input_line;
    out += "\nexit\n";
    return true;
}

std::unique_ptr<Source> make_editor_feed(std::vector<std::string> lines) {
    return std::make_unique<EditorFeed>(std::move(lines));
}

std::unique_ptr<Source> make_file_source(ProgramFile file) {
    return std::make_unique<FileSource>(std::move(file));
}

}  // namespace ostrac::frontend

// The three inputs a compilation can read from. Each hands out its text in
// pieces; the scanner keeps whatever it has not consumed yet.
//
//   console feed  the text of `input_line`, a line end, "exit", a line end
//   editor feed   each program line with a line end, then an empty line,
//                 then "exit" and a line end
//   file source   the file in pieces of at most 1024 bytes, and a line end
//                 when the file does not end with one; its end is the end
//                 of input; a zero byte in it refuses it as not text
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace ostrac::state {
class Machine;
}

namespace ostrac::frontend {

// A program file opened by LOAD, handed to the front end for one
// compilation. The stream is closed when the front end drops it, which
// happens when that compilation ends, however it ends.
struct ProgramFile {
    std::string name;                      // as shown in a read-failure message
    std::unique_ptr<std::istream> stream;  // open for reading, in text mode
};

class Source {
public:
    virtual ~Source() = default;

    // Appends the next piece of text to `out`. Returns false, appending
    // nothing, when the source has no more text. A read failure goes
    // through fatal_error.
    virtual bool read_piece(state::Machine& s, std::string& out) = 0;
};

// The console feed: the text of `input_line` once, then nothing.
class ConsoleFeed final : public Source {
public:
    bool read_piece(state::Machine& s, std::string& out) override;
    // Makes the next read deliver the command line again.
    void rewind() noexcept { delivered_ = false; }

private:
    bool delivered_ = false;
};

std::unique_ptr<Source> make_editor_feed(std::vector<std::string> lines);
std::unique_ptr<Source> make_file_source(ProgramFile file);

}  // namespace ostrac::frontend

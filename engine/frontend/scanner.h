// The hand-written scanner: longest match at each position, the earlier rule
// winning a tie. Rules, in order:
//   1. a space: skipped            6. a string on one line, no escapes
//   2. a line end: NEWLINE         7. "//" up to the line end: skipped
//   3. operators and punctuation   8. a number (atof value of its text)
//   4. keywords (any letter case)  9. a number followed by "i" or "I"
//   5. identifiers (two forms)    10. any other character: dropped
// No token spans a line end, so the scanner keeps the current line whole in
// its buffer; the buffer grows to any line length. "exit" and the end of a
// file source both end the input.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "code/token.h"
#include "frontend/source.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::frontend {

using code::Token;

class Scanner {
public:
    Scanner();

    // Discards buffered text and reads the console feed from now on; a
    // selected editor feed or file source is dropped (a file is closed).
    void restart() noexcept;

    // Discards buffered text and reads `source` from now on.
    void select(std::unique_ptr<Source> source);

    // The next token. Once the input has ended every call returns End.
    Token next_token(state::Machine& s);

private:
    // Makes the rest of the current line available from pos_. Returns false
    // when the source is exhausted and nothing is left.
    bool fill_line(state::Machine& s);

    char at(std::size_t i) const { return i < buffer_.size() ? buffer_[i] : '\0'; }
    Token scan_word();
    Token scan_number();
    bool scan_underscore_identifier(Token& token);
    bool scan_string(Token& token);

    Source& source() { return selected_ ? *selected_ : console_; }

    ConsoleFeed console_;
    std::unique_ptr<Source> selected_;  // editor feed or file source, if any
    bool exhausted_ = false;  // the source has no more text
    bool ended_ = false;      // End was returned
    std::string buffer_;
    std::size_t pos_ = 0;       // next unconsumed character
    std::size_t searched_ = 0;  // buffer_[pos_, searched_) holds no line end
};

// The value of a numeric literal's text as the C library's strtod gives it:
// the longest leading decimal constant counts, the rest is ignored.
double literal_value(const std::string& text);

}  // namespace ostrac::frontend

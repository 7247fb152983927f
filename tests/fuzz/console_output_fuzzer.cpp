// The console's line buffer fed arbitrary pieces: each byte below 64 starts
// a piece of that many following bytes. Every finished line must be the text
// fed since the previous one, without its final line break.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_session.h"
#include "state/console_output.h"

using namespace ostrac;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    state::ConsoleOutput out;
    std::string fed;  // fed since the last finished line
    std::string line;
    std::size_t i = 0;
    while (i < size) {
        const std::size_t length = data[i] % 64;
        ++i;
        const std::string_view piece = fuzz::as_text(data + i, std::min(length, size - i));
        i += piece.size();
        fed.append(piece);
        if (out.print(piece, line)) {
            if (fed.empty() || fed.back() != '\n' || line != fed.substr(0, fed.size() - 1)) std::abort();
            fed.clear();
        } else if (out.has_pending() && fed.empty()) {
            std::abort();
        }
        if (!out.has_pending()) fed.clear();
    }
    if (out.take_pending() != fed || out.has_pending()) std::abort();
    return 0;
}

// Any bytes as a command line typed into a fresh session, run for at most
// 100,000 steps and then stopped with Break; the output is discarded.
#include <cstddef>
#include <cstdint>

#include "fuzz_session.h"

using namespace ostrac;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzSession fs;
    if (!fs.session.submit(fuzz::as_text(data, size))) return 0;
    fuzz::run_bounded(fs.session, fs.host, 100000);
    return 0;
}

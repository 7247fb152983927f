// Any bytes as a state file: loaded into a fresh session and, when the load
// succeeds, saved again and loaded back.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "fuzz_session.h"
#include "vm/state_file.h"

using namespace ostrac;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzSession fs;
    {
        std::ofstream file(std::filesystem::path(fuzz::fuzz_home()) / "fuzz.bin", std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        vm::state_load(fs.session, "fuzz.bin");
    } catch (const session::FatalError&) {
        return 0;
    }
    try {
        vm::state_save(fs.session);
        vm::state_load(fs.session, "data.bin");
    } catch (const session::FatalError&) {
    }
    return 0;
}

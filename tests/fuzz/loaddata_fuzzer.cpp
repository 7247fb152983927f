// Any bytes as a matrix text file read by loaddata in a fresh session.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "fuzz_session.h"

using namespace ostrac;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzSession fs;
    {
        std::ofstream file(std::filesystem::path(fuzz::fuzz_home()) / "fuzz.txt", std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    if (fs.session.submit("m = loaddata(\"fuzz.txt\")")) fuzz::run_bounded(fs.session, fs.host, 100000);
    return 0;
}

#include "files/file_replacement.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "support/test_session.h"

namespace ostrac {
namespace {

namespace fs = std::filesystem;

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_text(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

unsigned mode_of(const fs::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// Every row replaces "dir/data.bin" with "new" after `prepare`, then `check`
// looks at the folder; no temporary file may be left in it.
TEST(FileReplacementTest, TargetsLinksAndPlantedFiles) {
    struct Case {
        int line;
        std::function<void(const fs::path&)> prepare;
        std::string error;  // "" when the file is replaced
        std::function<void(const fs::path&)> check;
    };
    const auto old_file = [](const fs::path& dir) { write_text(dir / "data.bin", "old"); };
    const auto holds = [](const char* expected) {
        return [expected](const fs::path& dir) { EXPECT_EQ(read_text(dir / "data.bin"), expected); };
    };
    const mode_t umask_before = ::umask(022);
    const std::vector<Case> cases = {
        {__LINE__, [](const fs::path&) {}, "",
         [](const fs::path& dir) { EXPECT_EQ(mode_of(dir / "data.bin"), 0644u); }},
        {__LINE__, [&](const fs::path& dir) { old_file(dir); fs::permissions(dir / "data.bin", fs::perms::owner_read | fs::perms::owner_write); }, "",
         [](const fs::path& dir) { EXPECT_EQ(mode_of(dir / "data.bin"), 0600u); }},
        // A link is followed: the file it names is replaced and the link stays.
        {__LINE__, [](const fs::path& dir) {
             fs::create_directory(dir / "real");
             write_text(dir / "real" / "state", "old");
             fs::create_symlink("real/state", dir / "data.bin");
         }, "",
         [](const fs::path& dir) {
             EXPECT_TRUE(fs::is_symlink(dir / "data.bin"));
             EXPECT_EQ(read_text(dir / "real" / "state"), "new");
             EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 1);
         }},
        {__LINE__, [](const fs::path& dir) { fs::create_symlink("absent", dir / "data.bin"); }, "",
         [](const fs::path& dir) { EXPECT_EQ(read_text(dir / "absent"), "new"); }},
        // Whatever lies under the name a save once used is left alone.
        {__LINE__, [&](const fs::path& dir) {
             old_file(dir);
             write_text(dir / "victim", "victim");
             fs::create_symlink(dir / "victim", dir / "data.bin.tmp");
         }, "",
         [](const fs::path& dir) {
             EXPECT_EQ(read_text(dir / "victim"), "victim");
             EXPECT_TRUE(fs::is_symlink(dir / "data.bin.tmp"));
             EXPECT_FALSE(fs::is_symlink(dir / "data.bin"));
             EXPECT_EQ(read_text(dir / "data.bin"), "new");
         }},
        {__LINE__, [&](const fs::path& dir) { old_file(dir); ::mkfifo((dir / "data.bin.tmp").c_str(), 0600); }, "",
         [](const fs::path& dir) { EXPECT_TRUE(fs::is_fifo(dir / "data.bin.tmp")); }},
        {__LINE__, [&](const fs::path& dir) { old_file(dir); fs::create_directory(dir / "data.bin.tmp"); }, "",
         [](const fs::path& dir) { EXPECT_TRUE(fs::is_directory(dir / "data.bin.tmp")); }},
        // Refused: the target stays as it was.
        {__LINE__, [&](const fs::path& dir) { old_file(dir); fs::permissions(dir / "data.bin", fs::perms::owner_read); },
         "the file is read-only", holds("old")},
        {__LINE__, [](const fs::path& dir) { ::mkfifo((dir / "data.bin").c_str(), 0600); },
         "it is not a regular file", [](const fs::path& dir) { EXPECT_TRUE(fs::is_fifo(dir / "data.bin")); }},
        {__LINE__, [](const fs::path& dir) { fs::create_directory(dir / "data.bin"); },
         "it is not a regular file", [](const fs::path& dir) { EXPECT_TRUE(fs::is_directory(dir / "data.bin")); }},
        {__LINE__, [](const fs::path& dir) { fs::create_symlink("data.bin", dir / "data.bin"); },
         "Too many levels of symbolic links", [](const fs::path&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        test::TempFolder folder;
        const fs::path dir = folder.path();
        c.prepare(dir);
        EXPECT_EQ(files::replace_file(dir / "data.bin", "new"), c.error);
        if (c.error.empty()) {
            EXPECT_EQ(read_text(dir / "data.bin"), "new");
        }
        c.check(dir);
        for (const auto& e : fs::directory_iterator(dir)) {
            EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << "a temporary file is left";
        }
    }
    ::umask(umask_before);
}

}  // namespace
}  // namespace ostrac

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "session/home_folder.h"
#include "support/test_session.h"

namespace ostrac {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(HomeFolderTest, FirstStartInstallsTheSharedFilesWithoutOverwriting) {
    test::TempFolder shared;
    test::TempFolder parent;
    for (const char* name : session::home_files) std::ofstream(shared.path() / name) << "shared " << name;

    const fs::path home = parent.path() / "a" / "b";
    std::string error;
    ASSERT_TRUE(session::install_home_files(home, shared.path(), error)) << error;
    for (const char* name : session::home_files) EXPECT_EQ(read(home / name), std::string("shared ") + name);

    // A user's edited tutorial and state survive the next start.
    std::ofstream(home / "tutorial") << "edited";
    std::ofstream(home / "data.bin") << "state";
    fs::remove(home / "data0.bin");
    ASSERT_TRUE(session::install_home_files(home, shared.path(), error));
    EXPECT_EQ(read(home / "tutorial"), "edited");
    EXPECT_EQ(read(home / "data.bin"), "state");
    EXPECT_EQ(read(home / "data0.bin"), "shared data0.bin") << "a missing file comes back";
}

TEST(HomeFolderTest, AnImpossibleFolderIsReported) {
    test::TempFolder parent;
    std::ofstream(parent.path() / "file") << "x";
    std::string error;
    EXPECT_FALSE(session::install_home_files(parent.path() / "file" / "home", parent.path(), error));
    EXPECT_NE(error.find("cannot create"), std::string::npos);
}

TEST(HomeFolderTest, DefaultFolderFollowsTheDataHome) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("XDG_DATA_HOME", "/some/where", 1);
    EXPECT_EQ(session::default_home_folder(), fs::path("/some/where/ostrac"));
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(session::default_home_folder().filename(), "ostrac");
    EXPECT_EQ(session::default_home_folder().parent_path().filename(), "share");
    if (saved != nullptr) ::setenv("XDG_DATA_HOME", restore.c_str(), 1);
}

}  // namespace
}  // namespace ostrac

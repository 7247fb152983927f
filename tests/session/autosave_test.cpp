#include "session/autosave.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "state/symbols.h"
#include "support/test_session.h"
#include "vm/state_file.h"

namespace ostrac {
namespace {

namespace fs = std::filesystem;
using session::RunState;
using test::TestSession;

std::string read_all(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_all(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The value of a global as the console shows it.
std::string shown(TestSession& ts, const std::string& name) {
    const auto lines = ts.command(name);
    return lines.size() == 2 ? lines[1] : "<" + std::to_string(lines.size()) + " lines>";
}

TEST(AutosaveTest, TheWholeStateComesBackInTheNextSessionAndDataBinIsLeftAlone) {
    TestSession first;
    first.command("x = 42: s = \"text\": m = [1, 2i]");
    first.command("function twice(a): twice = 2 * a: endfn");
    first.command("sysangle = 1");
    write_all(first.home.path() / "data.bin", "the user's own");
    ASSERT_TRUE(session::save_autosave(*first.session));
    EXPECT_EQ(first.take_lines(), std::vector<std::string>{});
    EXPECT_EQ(read_all(first.home.path() / "data.bin"), "the user's own");

    TestSession next;
    fs::copy_file(first.home.path() / "autosave.bin", next.home.path() / "autosave.bin");
    EXPECT_TRUE(session::load_autosave(*next.session));
    EXPECT_EQ(next.take_lines(), std::vector<std::string>{});
    EXPECT_EQ(shown(next, "x"), "42");
    EXPECT_EQ(shown(next, "s"), "text");
    EXPECT_EQ(shown(next, "twice(4)"), "8");
    EXPECT_EQ(shown(next, "sin(30)"), "0.5") << "the angle unit came back";
    EXPECT_EQ(next.host.modes.back(), (test::RecordingHost::Modes{1, 0}));

    TestSession none;
    EXPECT_FALSE(session::load_autosave(*none.session));
    EXPECT_EQ(none.take_lines(), std::vector<std::string>{}) << "no file, no message";
}

TEST(AutosaveTest, AnUnusableFileIsMovedAsideWithOneLineAndTheSessionGoesOn) {
    TestSession writer;
    writer.command("x = 1");
    ASSERT_TRUE(session::save_autosave(*writer.session));
    const std::string valid = read_all(writer.home.path() / "autosave.bin");
    // The same session with a routine protected as start-up protects the
    // library: its file holds a library this session never had.
    writer.command("function lib(a): lib = a: endfn");
    writer.session->symbols.set_kind(state::lookup_or_create(*writer.session, "lib", 0), state::kind::protected_function);
    ASSERT_TRUE(session::save_autosave(*writer.session));
    const std::string other_library = read_all(writer.home.path() / "autosave.bin");

    struct Case {
        int line;
        std::function<void(const fs::path&)> make;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {__LINE__, [](const fs::path& p) { write_all(p, "x = 1\n"); },
         "Fichero de estado corrupto: header past the end of the file"},
        {__LINE__, [&](const fs::path& p) { write_all(p, valid.substr(0, valid.size() / 2)); },
         "Fichero de estado corrupto: slot 0, code past the end of the file"},
        {__LINE__, [](const fs::path& p) { write_all(p, ""); fs::resize_file(p, vm::max_state_file_size + 1); },
         "Fichero de estado corrupto: file too large"},
        {__LINE__, [](const fs::path& p) { fs::create_directory(p); }, "Imposible abrir fichero de estado"},
        {__LINE__, [&](const fs::path& p) { write_all(p, other_library); },
         "written by another version: its start-up library differs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        TestSession ts;
        const fs::path home = ts.home.path();
        ts.command("y = 7");
        write_all(home / "data.bin", "the user's own");
        write_all(home / "autosave.bin.broken", "an older one");
        c.make(home / "autosave.bin");

        EXPECT_FALSE(session::load_autosave(*ts.session));
        EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"autosave.bin not loaded (" + c.reason +
                                                            "); moved to autosave.bin.broken"});
        EXPECT_FALSE(fs::exists(home / "autosave.bin"));
        EXPECT_TRUE(fs::exists(home / "autosave.bin.broken"));
        EXPECT_EQ(read_all(home / "data.bin"), "the user's own");
        EXPECT_EQ(ts.session->run_state, RunState::Idle);
        EXPECT_EQ(shown(ts, "y"), "7") << "the table is the one start-up left";
    }
}

TEST(AutosaveTest, AtQuitARunningProgramOrAWaitingInputIsBrokenFirst) {
    for (const char* program : {"y = 5: while 1 do y = y + 1: endwhile", "y = 5: input z"}) {
        SCOPED_TRACE(program);
        TestSession ts;
        ts.command(program, 10000);
        ASSERT_FALSE(ts.session->state_file_allowed());
        ts.take_lines();

        EXPECT_TRUE(session::save_autosave_at_quit(*ts.session));
        EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"User Halted!"});
        EXPECT_EQ(ts.session->run_state, RunState::Idle);
        EXPECT_EQ(ts.session->stack.depth(), 0);

        TestSession next;
        fs::copy_file(ts.home.path() / "autosave.bin", next.home.path() / "autosave.bin");
        ASSERT_TRUE(session::load_autosave(*next.session));
        EXPECT_EQ(next.command("print y >= 5"), (std::vector<std::string>{">> print y >= 5", "1"}));
    }
}

}  // namespace
}  // namespace ostrac

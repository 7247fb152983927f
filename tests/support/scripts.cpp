#include "support/scripts.h"

#include <gtest/gtest.h>

#include "support/test_session.h"

namespace ostrac::test {

void run_scripts(const std::vector<Script>& scripts) {
    for (const Script& script : scripts) {
        SCOPED_TRACE(script.line);
        TestSession ts;
        std::vector<std::string> out;
        for (const auto& command : script.commands) out = ts.command(command);
        std::erase(out, "Alocated New Space For Vars");
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.front(), ">> " + script.commands.back());
        out.erase(out.begin());
        EXPECT_EQ(out, script.output);
        EXPECT_EQ(ts.session->stack.depth(), 0) << "the stack is balanced after every command";
    }
}

}  // namespace ostrac::test

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "code/names.h"
#include "state/stack_ops.h"
#include "state/symbols.h"
#include "support/code_builder.h"
#include "support/test_session.h"
#include "vm/dispatcher.h"

namespace ostrac {
namespace {

using session::FatalError;
using session::slot::EVAL0;
using test::TestSession;

class SymbolTableTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    std::int32_t global(const char* name) { return state::lookup_or_create(s(), name, 0); }
    // A user function entry, as a definition leaves it.
    std::int32_t function(const char* name) {
        const auto f = global(name);
        s().symbols.set_kind(f, state::kind::function);
        s().symbols.set_code(f, std::vector<std::uint8_t>(1, 0));
        return f;
    }

    // The specified lookup: the first visible slot with the name in a scan
    // from slot 0, or -1.
    std::int32_t scan(std::string_view name, std::int32_t scope) {
        const bool in_eval = s().current_block == EVAL0;
        const std::int32_t eval_scope = s().symbols[EVAL0].kind;
        if (scope != 0 && in_eval) scope = eval_scope;
        for (int i = 0; i < s().symbols.capacity(); ++i) {
            const state::SymbolEntry& e = s().symbols[i];
            if (e.is_free() || !code::names_equal(code::name_key(e.name), code::name_key(name))) continue;
            if (e.kind == scope || e.has_code || e.kind == -2 || e.kind == -3 ||
                (in_eval && e.kind == eval_scope))
                return i;
        }
        return -1;
    }

    // What a lookup that finds nothing creates: the lowest free slot, or the
    // first one growth adds.
    std::int32_t lowest_free() {
        for (int i = 0; i < s().symbols.capacity(); ++i) {
            if (s().symbols[i].is_free()) return i;
        }
        return s().symbols.capacity();
    }

    TestSession ts;
};

TEST_F(SymbolTableTest, StartsWithTheEightPredefinedSymbols) {
    struct Row {
        const char* name;
        std::int32_t kind;
        state::ValueType type;
        bool code;
    };
    const Row rows[] = {
        {"PROC0", 0, state::ValueType::Real, true},     {"EVAL0", 0, state::ValueType::Real, true},
        {"PI", -2, state::ValueType::Real, false},      {"SUB0", -2, state::ValueType::Procedure, false},
        {"ANS", 0, state::ValueType::Real, false},      {"sysangle", -3, state::ValueType::Real, false},
        {"syscoord", -3, state::ValueType::Real, false}, {"sysgraph", -3, state::ValueType::Real, false},
    };
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(rows[i].name);
        const state::SymbolEntry& e = s().symbols[i];
        EXPECT_EQ(e.name, rows[i].name);
        EXPECT_EQ(e.kind, rows[i].kind);
        EXPECT_EQ(e.type, rows[i].type);
        EXPECT_EQ(e.has_code, rows[i].code);
    }
    EXPECT_EQ(s().symbols[0].code.size(), 32000u);
    EXPECT_EQ(s().symbols[1].code.size(), 2000u);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s().symbols[2].number.re), 0x400921FB54442D11u);
    EXPECT_EQ(s().symbols.capacity(), 10);
}

TEST_F(SymbolTableTest, TheEleventhNameGrowsTheTableOnce) {
    global("a");
    global("b");
    EXPECT_TRUE(ts.take_lines().empty());
    const auto c = global("c");
    EXPECT_EQ(c, 10);
    EXPECT_EQ(s().symbols.capacity(), 110);
    EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"Alocated New Space For Vars"});
    for (int i = 0; i < 99; ++i) global(("v" + std::to_string(i)).c_str());
    EXPECT_EQ(s().symbols.capacity(), 110) << "the hundred new slots suffice";
    EXPECT_TRUE(ts.take_lines().empty());
}

TEST_F(SymbolTableTest, NamesIgnoreCaseAndKeepTenCharacters) {
    EXPECT_EQ(global("Ans"), session::slot::ANS);
    EXPECT_EQ(global("ans"), session::slot::ANS);
    EXPECT_EQ(global("pi"), session::slot::PI);

    const auto ten = global("abcdefghij");
    s().symbols[ten].type = state::ValueType::String;
    s().symbols[ten].text = std::make_shared<const std::string>("x");
    EXPECT_EQ(global("ABCDEFGHIJ"), ten);
    s().symbols[ten].type = state::ValueType::Complex;
    EXPECT_EQ(global("abcdefghij"), ten);
    EXPECT_EQ(global("abcdefghijk"), ten) << "only ten characters are compared";
}

TEST_F(SymbolTableTest, LocalsAndGlobalsFollowTheirScopes) {
    const auto f = function("f");
    const auto gx = global("x");
    const auto lx = state::lookup_or_create(s(), "x", f);
    EXPECT_NE(lx, gx) << "inside f a global x is not visible";
    EXPECT_EQ(s().symbols[lx].kind, f);
    EXPECT_EQ(global("x"), gx) << "at the top level the local is not visible";

    // Functions, constants and system variables are visible in every scope.
    EXPECT_EQ(state::lookup_or_create(s(), "f", f), f);
    EXPECT_EQ(state::lookup_or_create(s(), "PI", f), session::slot::PI);
    EXPECT_EQ(state::lookup_or_create(s(), "sysangle", f), session::slot::sysangle);
    // A global that is not a function is not.
    EXPECT_NE(state::lookup_or_create(s(), "ANS", f), session::slot::ANS);
}

TEST_F(SymbolTableTest, EvalSeesTheScopeOfItsCaller) {
    const auto f = function("f");
    const auto local = state::lookup_or_create(s(), "y", f);
    const auto gy = global("y");

    s().symbols.set_kind(EVAL0, f);  // EVAL performed inside f
    s().set_position(EVAL0, 0);
    EXPECT_EQ(state::lookup_or_create(s(), "y", EVAL0), local);
    const auto fresh = state::lookup_or_create(s(), "z", EVAL0);
    EXPECT_EQ(s().symbols[fresh].kind, f) << "new names become locals of the caller";

    s().symbols.set_kind(EVAL0, 0);  // EVAL performed at the top level
    EXPECT_EQ(state::lookup_or_create(s(), "y", EVAL0), gy);
}

TEST_F(SymbolTableTest, ReleaseScopeFreesOnlyTheRoutinesLocals) {
    const auto f = function("f");
    const auto gx = global("x");
    state::set_float(s(), gx, 5);
    const auto lx = state::lookup_or_create(s(), "x", f);
    state::set_float(s(), lx, 7);
    s().symbols.set_kind(EVAL0, f);

    state::release_scope(s(), f);
    EXPECT_TRUE(s().symbols[lx].is_free());
    EXPECT_EQ(s().symbols[EVAL0].kind, f) << "EVAL0 is never freed";
    EXPECT_EQ(s().symbols[gx].number.re, 5);
    EXPECT_EQ(global("x"), gx);
    EXPECT_EQ(state::lookup_or_create(s(), "q", 0), lx) << "the lowest free slot is reused";
}

TEST_F(SymbolTableTest, ReferenceChainsResolveUpToTenSteps) {
    std::vector<std::int32_t> chain{global("r0")};
    for (int i = 1; i <= 11; ++i) {
        const auto e = global(("r" + std::to_string(i)).c_str());
        s().symbols[e].type = state::ValueType::Reference;
        s().symbols[e].ref = chain.back();
        chain.push_back(e);
    }
    EXPECT_EQ(state::get_ref(s(), chain[10]), chain[0]);
    ts.take_lines();
    EXPECT_THROW(state::get_ref(s(), chain[11]), FatalError);
    EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"internal_error en get_ref, too deep in "});
}

TEST_F(SymbolTableTest, ConstantsAndSystemVariablesGuardTheirValues) {
    EXPECT_EQ(ts.fatal_report([&] { state::checknoconst(s(), session::slot::PI, state::Value{3.0}); }),
              "Constant value cannot be modified line=0");

    state::checknoconst(s(), session::slot::sysangle, state::Value{2.9});
    EXPECT_EQ(s().angle_unit(), 2);
    EXPECT_EQ(s().symbols[session::slot::sysangle].number.re, 2.0);
    EXPECT_EQ(ts.host.modes.back(), (test::RecordingHost::Modes{2, 0}));

    for (double refused : {3.0, -1.0}) {
        SCOPED_TRACE(refused);
        ts.take_lines();
        EXPECT_THROW(state::checknoconst(s(), session::slot::sysangle, state::Value{refused}), FatalError);
        EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"Value not allowed for sysangle"});
        EXPECT_EQ(s().angle_unit(), 2) << "the unit is unchanged";
    }
    EXPECT_EQ(ts.fatal_report([&] {
                  state::checknoconst(s(), session::slot::syscoord,
                                   state::Value{std::make_shared<const std::string>("1")});
              }),
              "Constant value cannot be modified line=0");
    EXPECT_EQ(ts.fatal_report([&] {
                  state::checknoconst(s(), session::slot::syscoord, state::Value{state::IntCell{1}});
              }),
              "Constant value cannot be modified line=0");

    const auto one = global("one");
    state::set_float(s(), one, 1);
    state::checknoconst(s(), session::slot::syscoord, state::Value{state::IdentCell{one}});
    EXPECT_EQ(s().coord_mode(), 1);
}

// The name index must return exactly what scanning every slot from index 0
// and taking the first visible one with the name would return.
TEST_F(SymbolTableTest, IndexedLookupAgreesWithAScanOfTheTable) {
    std::mt19937 rng(12345);
    const char* names[] = {"a", "B", "c", "x", "X", "long_name1", "LONG_NAME1x", "pi", "ans", "f", "g"};
    std::vector<std::int32_t> routines;
    for (int round = 0; round < 4000; ++round) {
        const std::string name = names[rng() % std::size(names)];
        std::int32_t scope = 0;
        if (!routines.empty() && rng() % 2) scope = routines[rng() % routines.size()];
        const int action = static_cast<int>(rng() % 10);
        if (action == 0 && !routines.empty()) {
            state::release_scope(s(), routines[rng() % routines.size()]);
            continue;
        }
        if (action == 1) {
            const auto e = state::lookup_or_create(s(), name, 0);
            if (s().symbols[e].kind == 0 && e > 7) {
                s().symbols.set_kind(e, state::kind::function);
                s().symbols.set_code(e, std::vector<std::uint8_t>(1, 0));
                routines.push_back(e);
            }
            continue;
        }
        if (action == 2) {
            s().set_position(rng() % 2 ? EVAL0 : session::slot::PROC0, 0);
            if (!routines.empty()) s().symbols.set_kind(EVAL0, rng() % 2 ? 0 : routines[0]);
        }
        std::int32_t expected = scan(name, scope);
        if (expected < 0) expected = lowest_free();
        ASSERT_EQ(state::lookup_or_create(s(), name, scope), expected) << "round " << round << " name " << name;
    }
}

// Identifier operands remember where their name's candidates are kept; what
// they push must still be what the scan finds, whatever happened to the table
// and the code since the operand last ran.
TEST_F(SymbolTableTest, IdentifierOperandsAgreeWithAScanOfTheTable) {
    const std::vector<std::string> names = {"a", "B", "c", "x", "X", "f", "g", "y", "ans", "long_name1"};
    std::vector<std::int32_t> sites;  // offset of each name's PUSHID in every block's code
    test::CodeBuilder code;
    for (const std::string& name : names) {
        sites.push_back(static_cast<std::int32_t>(code.bytes.size()));
        code.pushid(name);
    }
    // PROC0 and EVAL0 keep their buffers: the code is written over them, as
    // compiling does.
    auto write_over = [&](std::int32_t block, const std::vector<std::uint8_t>& bytes) {
        std::copy(bytes.begin(), bytes.end(), s().symbols[block].code.begin());
        s().symbols.note_code_written(block);
    };
    write_over(session::slot::PROC0, code.bytes);
    write_over(EVAL0, code.bytes);

    std::mt19937 rng(2024);
    std::vector<std::int32_t> routines;
    for (int round = 0; round < 6000; ++round) {
        switch (rng() % 12) {
        case 0:
            if (!routines.empty()) state::release_scope(s(), routines[rng() % routines.size()]);
            break;
        case 1: {  // a function defined over a global of that name
            const auto e = state::lookup_or_create(s(), names[rng() % names.size()], 0);
            if (s().symbols[e].kind == 0 && e > 7) {
                s().symbols.set_kind(e, state::kind::function);
                s().symbols.set_code(e, code.bytes);
                routines.push_back(e);
            }
            break;
        }
        case 2:
            if (!routines.empty()) s().symbols.set_kind(EVAL0, rng() % 2 ? 0 : routines[rng() % routines.size()]);
            break;
        case 3: {  // the one-letter names of a block change places
            std::vector<std::string> shuffled = names;
            std::shuffle(shuffled.begin(), shuffled.begin() + 8, rng);
            test::CodeBuilder other;
            for (const std::string& name : shuffled) other.pushid(name);
            write_over(rng() % 2 ? EVAL0 : session::slot::PROC0, other.bytes);
            break;
        }
        case 4:
            if (!routines.empty() && rng() % 4 == 0) {  // a routine's slot freed and reused
                const auto r = routines[rng() % routines.size()];
                state::release_scope(s(), r);
                s().symbols.release(r);
                std::erase(routines, r);
            }
            break;
        default:
            break;
        }

        std::vector<std::int32_t> blocks = {session::slot::PROC0, EVAL0};
        blocks.insert(blocks.end(), routines.begin(), routines.end());
        const std::int32_t block = blocks[rng() % blocks.size()];
        const std::int32_t site = sites[rng() % sites.size()];
        s().set_position(block, site);
        // The name at the site, read back from the code itself.
        const auto* at = s().symbols[block].code.data() + site + 2;
        const std::string name(reinterpret_cast<const char*>(at));

        std::int32_t expected = scan(name, block);
        if (expected < 0) expected = lowest_free();
        vm::execute_one(s());
        ASSERT_EQ(state::pop_id(s()), expected) << "round " << round << " name " << name << " block " << block;
    }
}

}  // namespace
}  // namespace ostrac

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "state/stack_ops.h"
#include "state/symbols.h"
#include "support/test_session.h"
#include "vm/state_file.h"

namespace ostrac {
namespace {

namespace fs = std::filesystem;
using session::FatalError;
using test::TestSession;
using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

Bytes read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Little-endian field of `width` bytes at `at`.
void put(Bytes& b, std::size_t at, std::int64_t v, int width) {
    for (int i = 0; i < width; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i));
}
std::int64_t bits(double v) { return static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(v)); }

// State file images built by hand from the layout: header (depth +0,
// capacity +4, angle +8, coord +12, EVAL0 index +16), 20-byte cells, 40-byte
// records (name +0, type +10, kind +12, code pointer +16, code length +20,
// payload +24) each followed by its code, characters and elements.
struct Record {
    Bytes head = Bytes(40, 0);
    Bytes tail;
};

struct Image {
    Bytes header = Bytes(20, 0);
    std::vector<Bytes> cells;
    std::vector<Record> records;
    Bytes trailing;

    Bytes bytes() const {
        Bytes b = header;
        for (const Bytes& c : cells) b.insert(b.end(), c.begin(), c.end());
        for (const Record& r : records) {
            b.insert(b.end(), r.head.begin(), r.head.end());
            b.insert(b.end(), r.tail.begin(), r.tail.end());
        }
        b.insert(b.end(), trailing.begin(), trailing.end());
        return b;
    }
};

Record rec(std::string_view name, std::uint8_t type, std::int32_t kind, double re = 0, double im = 0) {
    Record r;
    std::copy(name.begin(), name.end(), r.head.begin());
    r.head[10] = type;
    put(r.head, 12, kind, 4);
    put(r.head, 24, bits(re), 8);
    put(r.head, 32, bits(im), 8);
    return r;
}

Record with_code(Record r, std::uint32_t pointer, const Bytes& code) {
    put(r.head, 16, pointer, 4);
    put(r.head, 20, static_cast<std::int64_t>(code.size()), 4);
    r.tail.insert(r.tail.end(), code.begin(), code.end());
    return r;
}

Record text_rec(std::string_view name, const std::string& text, std::uint32_t pointer = 1,
                std::uint8_t count = 2) {
    Record r = rec(name, 3, 0);
    put(r.head, 24, pointer, 4);
    r.head[28] = count;
    put(r.head, 32, static_cast<std::int64_t>(text.size() + 1), 2);
    r.tail.assign(text.begin(), text.end());
    r.tail.push_back(0);
    return r;
}

Record matrix_rec(std::string_view name, std::int16_t rows, std::int16_t cols,
                  const std::vector<numeric::Complex>& elements, std::uint32_t pointer = 1) {
    Record r = rec(name, 4, 0);
    put(r.head, 24, pointer, 4);
    r.head[28] = 1;
    put(r.head, 30, rows, 2);
    put(r.head, 32, cols, 2);
    r.tail.resize(elements.size() * 16);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        put(r.tail, i * 16, bits(elements[i].re), 8);
        put(r.tail, i * 16 + 8, bits(elements[i].im), 8);
    }
    return r;
}

Image image_of(std::vector<Record> records, std::uint32_t proc0 = 1, std::uint32_t eval0 = 1) {
    Image im;
    im.records = {with_code(rec("PROC0", 0, 0), proc0, Bytes(32000, 7)),
                  with_code(rec("EVAL0", 0, 0), eval0, Bytes(2000, 7)),
                  rec("PI", 0, -2, 3.14159265358979),
                  rec("SUB0", 6, -2),
                  rec("ANS", 0, 0),
                  rec("sysangle", 0, -3),
                  rec("syscoord", 0, -3),
                  rec("sysgraph", 0, -3)};
    im.records.insert(im.records.end(), records.begin(), records.end());
    put(im.header, 4, static_cast<std::int64_t>(im.records.size()), 4);
    put(im.header, 16, 1, 4);
    return im;
}

// "" when the entries hold the same symbol, else the first difference. Free
// slots compare by kind and their stale name.
std::string entry_difference(const state::SymbolEntry& a, const state::SymbolEntry& b) {
    if (a.name != b.name || a.kind != b.kind) return "name or kind";
    if (a.is_free()) return "";
    if (a.type != b.type || a.has_code != b.has_code || a.code != b.code) return "type or code";
    if (a.code_length != b.code_length) return "code length";
    if (a.type == state::ValueType::Reference) return a.ref == b.ref ? "" : "reference";
    if (a.type == state::ValueType::String) return *a.text == *b.text ? "" : "text";
    if (a.type == state::ValueType::Matrix) return *a.matrix == *b.matrix ? "" : "matrix";
    return bits(a.number.re) == bits(b.number.re) && bits(a.number.im) == bits(b.number.im) ? "" : "number";
}

struct Snapshot {
    std::vector<state::SymbolEntry> entries;
    int angle;
    int coord;
};

Snapshot snapshot(session::Session& s) {
    Snapshot out{{}, s.angle_unit(), s.coord_mode()};
    for (int i = 0; i < s.symbols.capacity(); ++i) out.entries.push_back(s.symbols[i]);
    return out;
}

// "" when the session still holds the snapshot's table and modes.
std::string difference_from(const Snapshot& before, session::Session& s) {
    if (s.angle_unit() != before.angle || s.coord_mode() != before.coord) return "modes";
    if (s.symbols.capacity() != static_cast<int>(before.entries.size())) return "capacity";
    for (int i = 0; i < s.symbols.capacity(); ++i) {
        const std::string d = entry_difference(before.entries[static_cast<std::size_t>(i)], s.symbols[i]);
        if (!d.empty()) return "slot " + std::to_string(i) + ": " + d;
    }
    return "";
}

class StateFileTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    fs::path home() const { return ts.home.path(); }
    state::SymbolEntry& entry(const char* name, std::int32_t scope = 0) {
        return s().symbols[state::lookup_or_create(s(), name, scope)];
    }
    void set_modes(std::uint8_t angle, std::uint8_t coord) {
        s().system_variable(0).current = angle;
        s().system_variable(1).current = coord;
        s().refresh_modes();
    }
    void fill_every_kind() {
        entry("x").set_real(2.5);
        entry("x").code_length = 77;  // no code: the stored length is kept
        entry("z").type = state::ValueType::Complex;
        entry("z").number = {1.0, -2.0};
        entry("str").type = state::ValueType::String;
        entry("str").text = std::make_shared<const std::string>("hello");
        auto matrix = std::make_shared<numeric::Matrix>(2, 3);
        for (int i = 1; i <= 2; ++i) {
            for (int j = 1; j <= 3; ++j) matrix->at(i, j) = {i * 10.0 + j, -0.5 * j};
        }
        entry("m").type = state::ValueType::Matrix;
        entry("m").matrix = matrix;
        entry("r").type = state::ValueType::Reference;
        entry("r").ref = state::lookup_or_create(s(), "x", 0);
        // A function whose result variable holds a string, with a local.
        state::SymbolEntry& f = entry("longname10");
        f.kind = state::kind::function;
        f.has_code = true;
        f.code = {1, 2, 3, 4, 0};
        f.code_length = 5;
        f.type = state::ValueType::String;
        f.text = std::make_shared<const std::string>("result");
        const auto fi = state::lookup_or_create(s(), "longname10", 0);
        entry("a", fi).set_real(-0.0);
        state::SymbolEntry& p = entry("p");
        p.kind = state::kind::procedure;
        p.type = state::ValueType::Procedure;
        p.has_code = true;
        p.code = {9, 8, 7};
        p.code_length = 3;
        state::SymbolEntry& q = entry("q");  // protected, holding a matrix
        q.kind = state::kind::protected_function;
        q.has_code = true;
        q.code = {5};
        q.code_length = 1;
        q.type = state::ValueType::Matrix;
        q.matrix = std::make_shared<numeric::Matrix>(1, 1);
        entry("nan").set_real(std::nan(""));
        gone_slot = state::lookup_or_create(s(), "gone", fi);
        s().symbols.release(gone_slot);  // keeps its name in the free slot
        set_modes(2, 1);
        ts.take_lines();
    }

    TestSession ts;
    std::int32_t gone_slot = -1;
};

TEST_F(StateFileTest, SaveThenLoadRestoresEverythingAndSavesAgainByteForByte) {
    fill_every_kind();
    ASSERT_EQ(s().symbols.capacity(), 110);
    vm::state_save(s());
    EXPECT_TRUE(ts.take_lines().empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(home()), fs::directory_iterator()), 1) << "data.bin alone";
    const Bytes first = read_bytes(home() / "data.bin");

    TestSession other;
    write_bytes(other.home.path() / "data.bin", first);
    vm::state_load(*other.session, "data.bin");
    EXPECT_TRUE(other.take_lines().empty());
    EXPECT_EQ(difference_from(snapshot(s()), *other.session), "");
    EXPECT_EQ(other.session->symbols[gone_slot].name, "gone");

    vm::state_save(*other.session);
    EXPECT_EQ(read_bytes(other.home.path() / "data.bin"), first);

    EXPECT_EQ(other.command("print x * 2"), (Lines{">> print x * 2", "5"}));
    EXPECT_EQ(other.command("print str"), (Lines{">> print str", "hello"}));
    EXPECT_EQ(other.command("print r + 1"), (Lines{">> print r + 1", "3.5"}));
}

TEST_F(StateFileTest, StackCellsAreWrittenInTheirLayoutAndDroppedOnLoad) {
    // Each cell: tag, three zero bytes, then the payload fields given as
    // {offset, value, width}.
    struct Field {
        std::size_t at;
        std::int64_t value;
        int width;
    };
    struct Row {
        int line;
        state::Value value;
        std::vector<Field> payload;
    };
    const std::vector<Row> rows = {
        {__LINE__, state::Value{1.5}, {{0, bits(1.5), 8}}},
        {__LINE__, state::Value{state::IntCell{-7}}, {{0, -7, 4}}},
        {__LINE__, state::Value{numeric::Complex{1.0, 2.0}}, {{0, bits(1.0), 8}, {8, bits(2.0), 8}}},
        {__LINE__, state::Value{state::IdentCell{4}}, {{0, 4, 4}}},
        {__LINE__, state::Value{state::BlockCell{9}}, {{0, 9, 4}}},
        {__LINE__, state::Value{state::ReturnOffsetCell{12}}, {{0, 12, 4}}},
        {__LINE__, state::Value{std::make_shared<const std::string>("hey")}, {{0, 1, 4}, {4, 1, 1}, {8, 4, 2}}},
        {__LINE__, state::Value{std::make_shared<numeric::Matrix>(2, 3)}, {{0, 1, 4}, {4, 1, 1}, {6, 2, 2}, {8, 3, 2}}},
        {__LINE__, state::Value{state::GosubCell{33}}, {{0, 33, 4}}},
        {__LINE__, state::Value{state::LoopFrameCell{44, 17, 1, 3, 100, 200}}, {{0, 44, 1}, {4, 17, 4}, {8, 1, 4}, {12, 3, 4}}},
    };
    for (const Row& row : rows) state::push(s(), row.value);
    vm::state_save(s());
    const Bytes saved = read_bytes(home() / "data.bin");
    ASSERT_GE(saved.size(), 20u + rows.size() * 20u);
    EXPECT_EQ(saved[0], rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].line);
        Bytes expected(20, 0);
        expected[0] = static_cast<std::uint8_t>(i);
        for (const Field& f : rows[i].payload) put(expected, 4 + f.at, f.value, f.width);
        const auto cell = saved.begin() + 20 + static_cast<std::ptrdiff_t>(i * 20);
        EXPECT_EQ(Bytes(cell, cell + 20), expected);
    }
    vm::state_load(s(), "data.bin");
    EXPECT_EQ(s().stack.depth(), 0);
}

TEST_F(StateFileTest, AHandBuiltImageLoadsAndIsSavedBackByteForByte) {
    Record stale = rec("old", 0, -1, 3.5);  // a free slot keeps its stale fields
    put(stale.head, 20, 40, 4);
    Record ref = rec("r", 5, 0);
    put(ref.head, 24, 8, 4);
    put(ref.head, 20, 12, 4);  // the length field of an entry without code
    Image im = image_of({text_rec("greeting", "hola"),
                         matrix_rec("m", 2, 1, {{1.0, 2.0}, {-3.0, 0.25}}),
                         with_code(rec("f", 0, -7), 1, {10, 20, 30, 0}), ref, stale,
                         rec("oldtext", 3, -1)});
    im.header[8] = 1;
    im.header[12] = 1;
    put(im.records[5].head, 24, bits(1.0), 8);  // sysangle as the modes left it
    put(im.records[6].head, 24, bits(1.0), 8);
    write_bytes(home() / "data.bin", im.bytes());

    vm::state_load(s(), "data.bin");
    EXPECT_TRUE(ts.take_lines().empty());
    vm::state_save(s());
    EXPECT_EQ(read_bytes(home() / "data.bin"), im.bytes());
}

TEST_F(StateFileTest, AFileFromA32BitWriterLoadsAndItsVariablesWork) {
    // Real pointer values, string counts of stored copies, uninitialised
    // padding and a never-used slot full of fill bytes.
    Record never_used{Bytes(40, 0xCD), {}};
    put(never_used.head, 12, -1, 4);
    Image im = image_of({text_rec("greeting", "hola", 0x0093F2A0, 2), rec("x", 0, 0, 2.5),
                         rec("z", 2, 0, 1.0, -2.0),
                         matrix_rec("m", 2, 1, {{1.0, 0.0}, {0.0, 1.0}}, 0x0093F3B0),
                         with_code(rec("twice", 0, -7), 0x0093F5E0, {1, 2, 0}), never_used},
                        0x00A21008, 0x00A2ED58);
    for (Record& r : im.records) r.head[11] = 0xCD;
    im.records[8].head[29] = 0xCD;
    put(im.header, 0, 2, 4);
    put(im.header, 8, 0xCDCDCD01, 4);  // the three bytes after each mode are ignored
    put(im.header, 12, 0xCDCDCD01, 4);
    im.cells = {Bytes(20, 0), Bytes(20, 0xCD)};
    im.cells[1][0] = 6;  // a string cell with a pointer that means nothing now
    write_bytes(home() / "data.bin", im.bytes());

    state::push_float(s(), 1.0);
    vm::state_load(s(), "data.bin");
    EXPECT_TRUE(ts.take_lines().empty());
    EXPECT_EQ(s().stack.depth(), 0);
    EXPECT_EQ(s().angle_unit(), 1);
    EXPECT_EQ(s().coord_mode(), 1);
    EXPECT_EQ(s().symbols.capacity(), 14);
    EXPECT_EQ(s().symbols[12].kind, state::kind::protected_function);
    EXPECT_EQ(s().symbols[12].code, (Bytes{1, 2, 0}));
    EXPECT_TRUE(s().symbols[13].is_free());
    EXPECT_EQ(ts.command("print greeting"), (Lines{">> print greeting", "hola"}));
    EXPECT_EQ(ts.command("print x + 1"), (Lines{">> print x + 1", "3.5"}));
    state::push_id_by_name(s(), "z");
    EXPECT_EQ(state::pop_number(s()), (numeric::Complex{1.0, -2.0}));
    state::push_id_by_name(s(), "m");
    numeric::Matrix expected(2, 1);
    expected.at(2, 1) = {0.0, 1.0};
    expected.at(1, 1) = {1.0, 0.0};
    EXPECT_EQ(*state::pop_matrix(s()), expected);
}

TEST_F(StateFileTest, EveryTruncationOfASmallStateFileIsRefusedWithTheTableUnchanged) {
    entry("a").type = state::ValueType::String;
    entry("a").text = std::make_shared<const std::string>("text");
    entry("b").type = state::ValueType::Matrix;
    entry("b").matrix = std::make_shared<numeric::Matrix>(1, 2);
    state::push_float(s(), 3.0);
    set_modes(2, 1);
    vm::state_save(s());
    const fs::path path = home() / "data.bin";
    const auto size = fs::file_size(path);

    set_modes(1, 0);  // the session now differs from the file
    entry("keep").set_real(7.0);
    const Snapshot before = snapshot(s());
    for (auto length = size; length-- > 0;) {
        fs::resize_file(path, length);
        const std::string report = ts.fatal_report([&] { vm::state_load(s(), "data.bin"); });
        ASSERT_EQ(report.rfind("Fichero de estado corrupto: ", 0), 0u) << length << ": " << report;
        ASSERT_EQ(difference_from(before, s()), "") << "length " << length;
    }
}

TEST_F(StateFileTest, CorruptFieldsAreRefusedWithTheTableAndModesUnchanged) {
    // Slots 8 to 12: string, matrix, function, reference to 8, free slot.
    const auto valid = [] {
        Record r = rec("r", 5, 0);
        put(r.head, 24, 8, 4);
        return image_of({text_rec("s", "abc"), matrix_rec("m", 1, 2, {{1.0, 0.0}, {2.0, 0.0}}),
                         with_code(rec("f", 0, -5), 1, {1, 2, 0}), r, rec("gone", 0, -1)});
    };
    struct Case {
        int line;
        std::function<void(Image&)> damage;
        std::string what;
    };
    auto at = [](int slot, std::size_t offset, std::int64_t v, int width) {
        return [=](Image& im) { put(im.records[static_cast<std::size_t>(slot)].head, offset, v, width); };
    };
    auto header = [](std::size_t offset, std::int64_t v) {
        return [=](Image& im) { put(im.header, offset, v, 4); };
    };
    const std::vector<Case> cases = {
        {__LINE__, [](Image&) {}, ""},
        {__LINE__, header(0, -1), "stack depth"},
        {__LINE__, header(0, 100), "stack depth"},
        {__LINE__, header(4, 7), "capacity"},
        {__LINE__, header(4, 1'000'001), "capacity"},
        {__LINE__, header(4, 100'000), "capacity past the end of the file"},
        {__LINE__, header(4, 14), "slot 13, record past the end of the file"},
        {__LINE__, header(8, 3), "angle unit"},
        {__LINE__, header(12, 2), "coordinate mode"},
        {__LINE__, header(16, 0), "index of EVAL0"},
        {__LINE__, [](Image& im) { put(im.header, 0, 1, 4); im.cells = {Bytes(20, 10)}; }, "stack cell 0, tag"},
        {__LINE__, at(8, 12, -8, 4), "slot 8, kind"},
        {__LINE__, at(8, 12, 13, 4), "slot 8, kind"},
        {__LINE__, at(8, 10, 1, 1), "slot 8, value type"},
        {__LINE__, at(8, 10, 7, 1), "slot 8, value type"},
        {__LINE__, at(8, 32, 0, 2), "slot 8, string length"},
        {__LINE__, at(8, 32, -3, 2), "slot 8, string length"},
        {__LINE__, at(8, 32, 30000, 2), "slot 8, string past the end of the file"},
        {__LINE__, [](Image& im) { im.records[8].tail.back() = 'd'; }, "slot 8, string without its terminating zero"},
        {__LINE__, at(9, 30, 0, 2), "slot 9, matrix dimensions"},
        {__LINE__, at(9, 32, -1, 2), "slot 9, matrix dimensions"},
        {__LINE__, [&](Image& im) { at(9, 30, 32767, 2)(im); at(9, 32, 32767, 2)(im); }, "slot 9, matrix elements past the end of the file"},
        {__LINE__, at(10, 12, 8, 4), "slot 10, code outside a routine"},  // a local's code
        {__LINE__, at(10, 20, -1, 4), "slot 10, code length"},
        {__LINE__, at(10, 20, 1'000'000, 4), "slot 10, code past the end of the file"},
        {__LINE__, at(11, 24, 13, 4), "slot 11, reference"},
        {__LINE__, at(11, 24, -1, 4), "slot 11, reference"},
        {__LINE__, [](Image& im) { im.trailing = {0}; }, "bytes after the last slot"},
        {__LINE__, [&](Image& im) { at(0, 20, 31999, 4)(im); im.records[0].tail.pop_back(); }, "slot 0, predefined symbol PROC0"},
        {__LINE__, [&](Image& im) { at(0, 16, 0, 4)(im); im.records[0].tail.clear(); }, "slot 0, predefined symbol PROC0"},
        {__LINE__, at(1, 4, '1', 1), "slot 1, predefined symbol EVAL0"},
        {__LINE__, at(1, 12, -2, 4), "slot 1, kind"},
        {__LINE__, at(2, 12, 0, 4), "slot 2, predefined symbol PI"},
        {__LINE__, at(3, 10, 0, 1), "slot 3, value type"},
        {__LINE__, at(4, 12, -1, 4), "slot 4, predefined symbol ANS"},
        {__LINE__, at(5, 12, 0, 4), "slot 5, predefined symbol sysangle"},
    };
    entry("keep").set_real(7.0);
    set_modes(1, 1);
    const Snapshot before = snapshot(s());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Image im = valid();
        c.damage(im);
        write_bytes(home() / "bad.bin", im.bytes());
        if (c.what.empty()) {  // the undamaged image loads, into another session
            TestSession other;
            write_bytes(other.home.path() / "bad.bin", im.bytes());
            vm::state_load(*other.session, "bad.bin");
            EXPECT_EQ(*other.session->symbols[8].text, "abc");
            EXPECT_EQ(other.session->symbols[11].ref, 8);
            continue;
        }
        EXPECT_EQ(ts.fatal_report([&] { vm::state_load(s(), "bad.bin"); }),
                  "Fichero de estado corrupto: " + c.what + " line=0");
        EXPECT_EQ(difference_from(before, s()), "");
    }
}

TEST_F(StateFileTest, AFileThatCannotBeOpenedIsReportedAndChangesNothing) {
    entry("keep").set_real(7.0);
    const Snapshot before = snapshot(s());
    fs::create_directory(home() / "folder.bin");
    for (const char* name : {"missing.bin", "folder.bin"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ts.fatal_report([&] { vm::state_load(s(), name); }), "Imposible abrir fichero de estado line=0");
        EXPECT_EQ(difference_from(before, s()), "");
    }
}

TEST_F(StateFileTest, ARefusedSaveKeepsThePreviousFileAndLeavesNoTemporaryFile) {
    const fs::path data = home() / "data.bin";
    const Bytes previous{1, 2, 3};
    struct Case {
        int line;
        std::function<void()> prepare;
        std::string report;
    };
    const std::vector<Case> cases = {
        {__LINE__, [&] { fs::create_directories(data / "inside"); },
         "Imposible guardar fichero de estado line=0"},
        {__LINE__, [&] { write_bytes(data, previous); fs::permissions(data, fs::perms::owner_read); },
         "Imposible guardar fichero de estado line=0"},
        // One matrix as large as a matrix may be takes more than the loader reads.
        {__LINE__, [&] {
             write_bytes(data, previous);
             entry("big").type = state::ValueType::Matrix;
             entry("big").matrix = std::make_shared<numeric::Matrix>(4096, 4096);
         }, "Cannot save more than 256 MiB in the state file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        c.prepare();
        const auto before = fs::is_directory(data) ? Bytes{} : read_bytes(data);
        EXPECT_EQ(ts.fatal_report([&] { vm::state_save(s()); }), c.report);
        EXPECT_EQ(fs::is_directory(data) ? Bytes{} : read_bytes(data), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(home()), fs::directory_iterator()), 1) << "data.bin alone";
        fs::remove_all(data);
    }
}

// Two processes save and load one home folder at the same time: every load
// finds a complete state, the one or the other. The two states differ in
// size, so a torn file is a prefix, a mix, or a state with stale bytes behind.
TEST_F(StateFileTest, TwoProcessesSavingAndLoadingOneFolderAlwaysLeaveACompleteFile) {
    constexpr int pairs = 100;
    const std::array<std::string, 2> texts = {std::string(3000, 'p'), std::string(20, 'c')};
    entry("m").type = state::ValueType::Matrix;
    entry("m").matrix = std::make_shared<numeric::Matrix>(200, 200);
    vm::state_save(s());
    // Each side saves its own state and loads the folder's into a second session.
    const auto save_and_load = [&](const std::string& own) {
        entry("who").type = state::ValueType::String;
        entry("who").text = std::make_shared<const std::string>(own);
        TestSession reader;
        reader.session->search_path[0] = home().string();
        int torn = 0;
        for (int i = 0; i < pairs; ++i) {
            try {
                vm::state_save(s());
                vm::state_load(*reader.session, "data.bin");
                state::push_id_by_name(*reader.session, "who");
                const std::string found = *state::pop_string(*reader.session);
                if (found != texts[0] && found != texts[1]) ++torn;
            } catch (const FatalError&) {
                ++torn;
            }
        }
        return torn;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(std::min(save_and_load(texts[1]), 100));
    EXPECT_EQ(save_and_load(texts[0]), 0) << "loads in this process that found no complete state";
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "loads in the other process that found no complete state";
}

TEST_F(StateFileTest, AValueTheFormatCannotHoldIsRefusedBeforeAnythingIsWritten) {
    entry("empty").type = state::ValueType::Matrix;
    entry("empty").matrix = std::make_shared<numeric::Matrix>();
    EXPECT_EQ(ts.fatal_report([&] { vm::state_save(s()); }), "Cannot save empty in the state file");
    EXPECT_TRUE(fs::is_empty(home()));
}

TEST_F(StateFileTest, ReloadRestoresTheSavedStateShowsItsModesAndResetsThePosition) {
    entry("x").set_real(1.0);
    set_modes(2, 1);
    vm::state_save(s());
    entry("x").set_real(99.0);
    set_modes(0, 0);
    for (int i = 0; i < 5; ++i) state::push_float(s(), i);
    s().set_position(session::slot::EVAL0, 12);
    ts.host.modes.clear();

    vm::session_reload(s());
    EXPECT_EQ(entry("x").number.re, 1.0);
    EXPECT_EQ(ts.host.modes, (std::vector<test::RecordingHost::Modes>{{2, 1}}));
    EXPECT_EQ(s().current_block, session::slot::PROC0);
    EXPECT_EQ(s().pc, 0);
    EXPECT_EQ(s().code, s().symbols[session::slot::PROC0].code.data());
    EXPECT_EQ(s().stack.depth(), 0);
}

TEST_F(StateFileTest, StartUpLoadsTheStartupFileAndProtectsItsDefinitions) {
    for (const char* name : {"f", "p"}) {
        state::SymbolEntry& e = entry(name);
        e.kind = name[0] == 'f' ? state::kind::function : state::kind::procedure;
        e.has_code = true;
        e.code = {0};
    }
    vm::state_save(s());
    test::TempFolder folder;
    fs::copy_file(home() / "data.bin", folder.path() / "data0.bin");
    test::RecordingHost host;
    session::Session started(host);
    std::array<std::string, session::Session::search_path_count> paths;
    paths[0] = folder.path().string();
    started.init(paths);
    EXPECT_EQ(host.lines, (Lines{"Ostrac initialized ok", "Type load \"tutorial\" to see the tutorial"}));
    EXPECT_EQ(started.symbols[8].kind, state::kind::protected_function);
    EXPECT_EQ(started.symbols[9].kind, state::kind::protected_procedure);
}

}  // namespace
}  // namespace ostrac

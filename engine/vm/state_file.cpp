#include "vm/state_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "code/code_reader.h"
#include "code/names.h"
#include "files/file_replacement.h"
#include "state/machine.h"
#include "state/operand_stack.h"
#include "state/symbol_table.h"

namespace ostrac::vm {

namespace kind = state::kind;
using code::max_name_length;
using code::read_f64;
using code::read_i32;
using code::write_f64;
using code::write_i32;
using numeric::Complex;
using numeric::Matrix;
using state::BlockCell;
using state::GosubCell;
using state::IdentCell;
using state::IntCell;
using state::LoopFrameCell;
using state::MatrixRef;
using state::OperandStack;
using state::ReturnOffsetCell;
using state::SymbolEntry;
using state::tag_of;
using state::Text;
using state::Value;
using state::ValueTag;
using state::ValueType;
using state::visit;

namespace {

namespace fs = std::filesystem;
namespace slot = state::slot;
using state::Machine;

constexpr std::size_t header_size = 20;
constexpr std::size_t cell_size = 20;
constexpr std::size_t record_size = 40;
constexpr std::size_t payload_size = 16;
constexpr std::size_t element_size = 16;

// Offsets inside a symbol record.
constexpr std::size_t at_type = 10;
constexpr std::size_t at_kind = 12;
constexpr std::size_t at_code = 16;
constexpr std::size_t at_code_length = 20;
constexpr std::size_t at_payload = 24;

// Offsets inside a payload.
constexpr std::size_t at_count = 4;
constexpr std::size_t at_rows = 6;
constexpr std::size_t at_cols = 8;
constexpr std::size_t at_text_length = 8;

// The value written into pointer fields when the thing exists.
constexpr std::int32_t present = 1;
// A stored string's count as an assignment leaves it (a new string's 1,
// raised by one when stored); a string on the stack is a temporary.
constexpr std::uint8_t stored_text_count = 2;
constexpr std::uint8_t cell_text_count = 1;
constexpr std::uint8_t matrix_count = 1;

// Length fields are int16 and count the terminating zero.
constexpr std::size_t max_text_field = 32767;
constexpr int predefined_count = 8;
constexpr std::int32_t max_capacity = 1'000'000;
constexpr std::uint8_t last_tag = static_cast<std::uint8_t>(ValueTag::LoopFrame);

constexpr std::string_view save_failed = "Imposible guardar fichero de estado";
constexpr std::string_view open_failed = "Imposible abrir fichero de estado";
constexpr std::string_view corrupt_prefix = "Fichero de estado corrupto: ";
constexpr std::string_view memory_failed = "memory error";

using Payload = std::array<std::uint8_t, payload_size>;

void write_i16(std::uint8_t* p, std::int16_t value) {
    const auto v = static_cast<std::uint16_t>(value);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::int16_t read_i16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

// ---------------------------------------------------------------- writing

Payload number_payload(Complex z) {
    Payload p{};
    write_f64(p.data(), z.re);
    write_f64(p.data() + 8, z.im);
    return p;
}

Payload int_payload(std::int32_t v) {
    Payload p{};
    write_i32(p.data(), v);
    return p;
}

Payload text_payload(std::uint8_t count, const std::string& text) {
    Payload p{};
    write_i32(p.data(), present);
    p[at_count] = count;
    write_i16(p.data() + at_text_length, static_cast<std::int16_t>(text.size() + 1));
    return p;
}

Payload matrix_payload(const Matrix& m) {
    Payload p{};
    write_i32(p.data(), present);
    p[at_count] = matrix_count;
    write_i16(p.data() + at_rows, static_cast<std::int16_t>(m.rows()));
    write_i16(p.data() + at_cols, static_cast<std::int16_t>(m.cols()));
    return p;
}

Payload loop_payload(const LoopFrameCell& f) {
    Payload p{};
    p[0] = f.kind;
    write_i32(p.data() + 4, f.skip);
    write_i32(p.data() + 8, f.block);
    write_i32(p.data() + 12, f.depth);
    return p;
}

bool text_fits(const Text& t) { return t && t->size() + 1 <= max_text_field; }

bool matrix_fits(const MatrixRef& m) {
    return m && m->rows() >= 1 && m->rows() <= Matrix::max_dimension && m->cols() >= 1 &&
           m->cols() <= Matrix::max_dimension;
}

[[noreturn]] void unsaveable(Machine& s, std::string_view what) {
    s.fatal_error_fmt("Cannot save %s in the state file\n", what);
}

// Takes the file's bytes in order. Without a file it only counts them; with
// one it hands them on a block at a time, so that a save never holds a copy
// of the whole state.
class Writer {
public:
    Writer() = default;
    explicit Writer(files::FileReplacement& file) : file_(&file) { buffer_.reserve(block_size); }

    void u8(std::uint8_t v) { append(std::span(&v, 1)); }
    void zeros(std::size_t n) {
        static constexpr std::array<std::uint8_t, 4> none{};
        append(std::span(none).first(n));
    }
    void i32(std::int32_t v) {
        std::array<std::uint8_t, 4> raw{};
        write_i32(raw.data(), v);
        append(raw);
    }
    void f64(double v) {
        std::array<std::uint8_t, 8> raw{};
        write_f64(raw.data(), v);
        append(raw);
    }
    void append(std::span<const std::uint8_t> raw) {
        size_ += raw.size();
        if (file_ == nullptr) return;
        buffer_.insert(buffer_.end(), raw.begin(), raw.end());
        if (buffer_.size() >= block_size) flush();
    }

    // Hands on what is left; false when a write to the file failed.
    bool flush() {
        if (file_ == nullptr) return true;
        file_->write(std::as_bytes(std::span(buffer_)));
        buffer_.clear();
        return file_->ok();
    }

    std::uintmax_t size() const { return size_; }

private:
    static constexpr std::size_t block_size = std::size_t{1} << 16;

    files::FileReplacement* file_ = nullptr;
    std::vector<std::uint8_t> buffer_;
    std::uintmax_t size_ = 0;
};

void write_cell(Machine& s, Writer& w, const Value& v) {
    const Payload payload = visit(
        [&s](const auto& cell) -> Payload {
            using T = std::decay_t<decltype(cell)>;
            if constexpr (std::is_same_v<T, double>) {
                return number_payload({cell, 0.0});
            } else if constexpr (std::is_same_v<T, Complex>) {
                return number_payload(cell);
            } else if constexpr (std::is_same_v<T, IntCell> || std::is_same_v<T, BlockCell>) {
                return int_payload(cell.value);
            } else if constexpr (std::is_same_v<T, IdentCell>) {
                return int_payload(cell.index);
            } else if constexpr (std::is_same_v<T, ReturnOffsetCell> || std::is_same_v<T, GosubCell>) {
                return int_payload(cell.offset);
            } else if constexpr (std::is_same_v<T, Text>) {
                if (!text_fits(cell)) unsaveable(s, "the operand stack");
                return text_payload(cell_text_count, *cell);
            } else if constexpr (std::is_same_v<T, MatrixRef>) {
                if (!matrix_fits(cell)) unsaveable(s, "the operand stack");
                return matrix_payload(*cell);
            } else {
                static_assert(std::is_same_v<T, LoopFrameCell>);
                return loop_payload(cell);
            }
        },
        v);
    w.u8(static_cast<std::uint8_t>(tag_of(v)));
    w.zeros(3);
    w.append(payload);
}

// A free slot carries nothing after its record, so it writes no pointers:
// what it holds is exactly what a load gives back.
Payload entry_payload(Machine& s, const SymbolEntry& e) {
    switch (e.type) {
    case ValueType::Reference:
        return int_payload(e.ref);
    case ValueType::String:
        if (e.is_free()) return {};
        if (!text_fits(e.text)) unsaveable(s, e.name);
        return text_payload(stored_text_count, *e.text);
    case ValueType::Matrix:
        if (e.is_free()) return {};
        if (!matrix_fits(e.matrix)) unsaveable(s, e.name);
        return matrix_payload(*e.matrix);
    case ValueType::Real:
    case ValueType::Complex:
    case ValueType::Procedure:
        break;
    }
    return number_payload(e.number);
}

void write_record(Machine& s, Writer& w, const SymbolEntry& e) {
    const bool with_code = !e.is_free() && e.has_code;
    const Payload payload = entry_payload(s, e);

    std::array<std::uint8_t, max_name_length> name{};
    std::copy_n(e.name.begin(), std::min(e.name.size(), max_name_length), name.begin());
    w.append(name);
    w.u8(static_cast<std::uint8_t>(e.type));
    w.zeros(1);
    w.i32(e.kind);
    w.i32(with_code ? present : 0);
    // The length field of an entry without code keeps whatever it held.
    w.i32(with_code ? static_cast<std::int32_t>(e.code.size()) : e.code_length);
    w.append(payload);
    if (e.is_free()) return;

    if (with_code) w.append(e.code);
    if (e.type == ValueType::String) {
        w.append(std::span(reinterpret_cast<const std::uint8_t*>(e.text->data()), e.text->size()));
        w.u8(0);
    }
    if (e.type == ValueType::Matrix) {
        const Matrix& m = *e.matrix;
        for (int i = 1; i <= m.rows(); ++i) {
            for (int j = 1; j <= m.cols(); ++j) {
                w.f64(m.at(i, j).re);
                w.f64(m.at(i, j).im);
            }
        }
    }
}

void encode_state(Machine& s, Writer& w) {
    if (s.symbols.capacity() > max_capacity) unsaveable(s, "a table this large");
    w.i32(s.stack.depth());
    w.i32(s.symbols.capacity());
    w.u8(static_cast<std::uint8_t>(s.angle_unit()));
    w.zeros(3);
    w.u8(static_cast<std::uint8_t>(s.coord_mode()));
    w.zeros(3);
    w.i32(slot::EVAL0);
    for (int i = 0; i < s.stack.depth(); ++i) write_cell(s, w, s.stack.at(i));
    for (int i = 0; i < s.symbols.capacity(); ++i) write_record(s, w, s.symbols[i]);
}

// ---------------------------------------------------------------- reading

// Thrown inside the parser only; state_load turns it into the user's message.
struct CorruptFile {
    std::string what;
};

[[noreturn]] void corrupt(std::string what) { throw CorruptFile{std::move(what)}; }

std::string in_slot(int index, std::string_view what) {
    return "slot " + std::to_string(index) + ", " + std::string(what);
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }

    // The next n bytes; a file that ends before them is corrupt.
    std::span<const std::uint8_t> take(std::size_t n, const std::string& what) {
        if (n > remaining()) corrupt(what + " past the end of the file");
        const auto out = bytes_.subspan(position_, n);
        position_ += n;
        return out;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

std::optional<ValueType> known_type(std::uint8_t byte) {
    switch (byte) {
    case static_cast<std::uint8_t>(ValueType::Real):
    case static_cast<std::uint8_t>(ValueType::Complex):
    case static_cast<std::uint8_t>(ValueType::String):
    case static_cast<std::uint8_t>(ValueType::Matrix):
    case static_cast<std::uint8_t>(ValueType::Reference):
    case static_cast<std::uint8_t>(ValueType::Procedure):
        return static_cast<ValueType>(byte);
    default:
        return std::nullopt;
    }
}

// Kinds of a slot in use: the fixed negative kinds, global, or the index of
// the routine a local belongs to.
bool known_kind(std::int32_t k, std::int32_t capacity) {
    return (k >= kind::protected_function && k <= kind::constant) || (k >= 0 && k < capacity);
}

Complex read_number(const std::uint8_t* payload) {
    return {read_f64(payload), read_f64(payload + 8)};
}

// A free slot keeps the fields its record carries, so that saving it again
// writes the same bytes; a value type the engine does not know (the bytes of
// a never-used slot can be anything) becomes a float.
void read_free_slot(SymbolEntry& e, std::uint8_t type_byte, const std::uint8_t* payload) {
    e.type = known_type(type_byte).value_or(ValueType::Real);
    if (e.type == ValueType::Reference) {
        e.ref = read_i32(payload);
    } else if (e.type != ValueType::String && e.type != ValueType::Matrix) {
        e.number = read_number(payload);
    }
}

void read_text(Reader& r, SymbolEntry& e, int index, const std::uint8_t* payload) {
    const std::int16_t length = read_i16(payload + at_text_length);
    if (length < 1) corrupt(in_slot(index, "string length"));
    const auto chars = r.take(static_cast<std::size_t>(length), in_slot(index, "string"));
    if (chars.back() != 0) corrupt(in_slot(index, "string without its terminating zero"));
    e.text = std::make_shared<const std::string>(chars.begin(), chars.end() - 1);
}

void read_matrix(Reader& r, SymbolEntry& e, int index, const std::uint8_t* payload) {
    const std::int16_t rows = read_i16(payload + at_rows);
    const std::int16_t cols = read_i16(payload + at_cols);
    if (rows < 1 || cols < 1) corrupt(in_slot(index, "matrix dimensions"));
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    if (count > r.remaining() / element_size) corrupt(in_slot(index, "matrix elements past the end of the file"));
    const auto raw = r.take(count * element_size, in_slot(index, "matrix elements"));
    auto m = std::make_shared<Matrix>(rows, cols);
    const std::uint8_t* p = raw.data();
    for (int i = 1; i <= rows; ++i) {
        for (int j = 1; j <= cols; ++j, p += element_size) m->at(i, j) = read_number(p);
    }
    e.matrix = std::move(m);
}

SymbolEntry read_record(Reader& r, int index, std::int32_t capacity) {
    const auto record = r.take(record_size, in_slot(index, "record"));
    const std::uint8_t* payload = record.data() + at_payload;
    SymbolEntry e;
    const auto name_end = std::find(record.begin(), record.begin() + max_name_length, std::uint8_t{0});
    e.name.assign(record.begin(), name_end);
    e.kind = read_i32(record.data() + at_kind);
    e.code_length = read_i32(record.data() + at_code_length);
    if (e.is_free()) {
        read_free_slot(e, record[at_type], payload);
        return e;
    }

    if (!known_kind(e.kind, capacity)) corrupt(in_slot(index, "kind"));
    const std::optional<ValueType> type = known_type(record[at_type]);
    if (!type) corrupt(in_slot(index, "value type"));
    e.type = *type;

    if (read_i32(record.data() + at_code) != 0) {
        // Besides the two main blocks only routines own code: a local's slot,
        // and its code with it, is freed when its routine ends, even while
        // that code runs.
        if (index > slot::EVAL0 && (e.kind < kind::protected_function || e.kind > kind::procedure)) {
            corrupt(in_slot(index, "code outside a routine"));
        }
        if (e.code_length < 0) corrupt(in_slot(index, "code length"));
        const auto code = r.take(static_cast<std::size_t>(e.code_length), in_slot(index, "code"));
        e.code.assign(code.begin(), code.end());
        e.has_code = true;
    }
    switch (e.type) {
    case ValueType::Reference:
        e.ref = read_i32(payload);
        if (e.ref < 0 || e.ref >= capacity) corrupt(in_slot(index, "reference"));
        break;
    case ValueType::String:
        read_text(r, e, index, payload);
        break;
    case ValueType::Matrix:
        read_matrix(r, e, index, payload);
        break;
    case ValueType::Real:
    case ValueType::Complex:
    case ValueType::Procedure:
        e.number = read_number(payload);
        break;
    }
    return e;
}

// The engine relies on the predefined symbols keeping their indexes, the two
// code blocks their sizes, and the constants and system variables their kinds.
void check_predefined(const std::vector<SymbolEntry>& entries) {
    struct Expected {
        std::string_view name;
        std::int32_t kind;  // free_slot: any kind in use
        std::size_t code_size;
    };
    static constexpr std::array<Expected, predefined_count> expected{{
        {"PROC0", kind::global, Machine::proc0_size},
        {"EVAL0", kind::free_slot, Machine::eval0_size},
        {"PI", kind::constant, 0},
        {"SUB0", kind::constant, 0},
        {"ANS", kind::free_slot, 0},
        {"sysangle", kind::system, 0},
        {"syscoord", kind::system, 0},
        {"sysgraph", kind::system, 0},
    }};
    for (int i = 0; i < predefined_count; ++i) {
        const Expected& x = expected[static_cast<std::size_t>(i)];
        const SymbolEntry& e = entries[static_cast<std::size_t>(i)];
        const bool ok = !e.is_free() && e.name == x.name &&
                        (x.kind == kind::free_slot || e.kind == x.kind) &&
                        (x.code_size == 0 || (e.has_code && e.code.size() == x.code_size));
        if (!ok) corrupt(in_slot(i, "predefined symbol " + std::string(x.name)));
    }
    // EVAL0's kind is the block that last performed EVAL.
    if (entries[slot::EVAL0].kind < 0) corrupt(in_slot(slot::EVAL0, "kind"));
    if (entries[slot::SUB0].type != ValueType::Procedure) corrupt(in_slot(slot::SUB0, "value type"));
}

StateImage parse_state(std::span<const std::uint8_t> file, std::uint8_t max_angle,
                       std::uint8_t max_coord) {
    Reader r(file);
    const auto header = r.take(header_size, "header");
    const std::int32_t depth = read_i32(header.data());
    const std::int32_t capacity = read_i32(header.data() + 4);
    StateImage out;
    out.angle = header[8];
    out.coord = header[12];
    const std::int32_t eval0 = read_i32(header.data() + 16);

    if (depth < 0 || depth >= OperandStack::capacity) corrupt("stack depth");
    if (capacity < predefined_count || capacity > max_capacity) corrupt("capacity");
    if (out.angle > max_angle) corrupt("angle unit");
    if (out.coord > max_coord) corrupt("coordinate mode");
    if (eval0 != slot::EVAL0) corrupt("index of EVAL0");
    // Every slot takes at least its record: refuse a capacity the file cannot
    // hold before reserving the table.
    const std::size_t least = static_cast<std::size_t>(depth) * cell_size +
                              static_cast<std::size_t>(capacity) * record_size;
    if (least > r.remaining()) corrupt("capacity past the end of the file");

    // Restored cells would refer to memory that no longer exists: they are
    // checked and dropped.
    for (int i = 0; i < depth; ++i) {
        const auto cell = r.take(cell_size, "stack cell");
        if (cell[0] > last_tag) corrupt("stack cell " + std::to_string(i) + ", tag");
    }

    out.entries.reserve(static_cast<std::size_t>(capacity));
    for (int i = 0; i < capacity; ++i) out.entries.push_back(read_record(r, i, capacity));
    if (r.remaining() != 0) corrupt("bytes after the last slot");
    check_predefined(out.entries);
    return out;
}

enum class ReadResult { Ok, CannotOpen, TooLarge };

ReadResult read_file(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return ReadResult::CannotOpen;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ReadResult::CannotOpen;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return ReadResult::CannotOpen;
    if (static_cast<std::uintmax_t>(size) > max_state_file_size) return ReadResult::TooLarge;
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    return in.gcount() == size ? ReadResult::Ok : ReadResult::CannotOpen;
}

}  // namespace

void state_save(Machine& s) { state_save_to(s, "data.bin"); }

void state_save_to(Machine& s, std::string_view name) {
    try {
        // The whole state is measured, and every value checked, before
        // anything is written.
        Writer measure;
        encode_state(s, measure);
        if (measure.size() > max_state_file_size) {
            unsaveable(s, "more than " + std::to_string(max_state_file_size >> 20) + " MiB");
        }

        files::FileReplacement file(fs::path(s.home_folder()) / name);
        Writer out(file);
        if (file.ok()) encode_state(s, out);
        if (!out.flush() || !file.commit()) s.fatal_error(save_failed);
    } catch (const std::bad_alloc&) {
        s.fatal_error(memory_failed);
    }
}

std::string read_state(const Machine& s, std::string_view name, StateImage& image) {
    try {
        std::vector<std::uint8_t> bytes;
        switch (read_file(fs::path(s.home_folder()) / name, bytes)) {
        case ReadResult::CannotOpen:
            return std::string(open_failed);
        case ReadResult::TooLarge:
            return std::string(corrupt_prefix) + "file too large";
        case ReadResult::Ok:
            image = parse_state(bytes, s.system_variables()[0].largest, s.system_variables()[1].largest);
            return {};
        }
    } catch (const CorruptFile& c) {
        return std::string(corrupt_prefix) + c.what;
    } catch (const std::bad_alloc&) {
        return std::string(memory_failed);
    }
    return {};
}

void apply_state(Machine& s, StateImage image) {
    // The table is replaced whole or not at all.
    s.symbols.assign(std::move(image.entries));
    s.stack.clear();
    s.system_variable(0).current = image.angle;
    s.system_variable(1).current = image.coord;
    // The old code blocks are gone: the position must not point into them.
    s.set_position(slot::PROC0, 0);
}

void state_load(Machine& s, std::string_view name) {
    StateImage image;
    const std::string problem = read_state(s, name, image);
    if (!problem.empty()) s.fatal_error(problem);
    try {
        apply_state(s, std::move(image));
    } catch (const std::bad_alloc&) {
        s.fatal_error(memory_failed);
    }
}

void session_reload(Machine& s) {
    state_load(s, "data.bin");
    // Whatever was in progress (an INPUT waiting for its answer) ran code
    // that no longer exists: the next line starts a new command.
    s.running_flag = 0;
    s.input_answer_phase = false;
    s.set_prompt(">>");
    s.refresh_modes();
}

}  // namespace ostrac::vm

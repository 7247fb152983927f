#include "vm/data_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "files/file_descriptor.h"
#include "files/file_replacement.h"
#include "state/machine.h"
#include "state/stack_ops.h"
#include "state/symbol_table.h"

namespace ostrac::vm {

using numeric::Matrix;
using state::expect_args;
using state::MatrixRef;
using state::pop;
using state::pop_matrix;
using state::pop_string;
using state::push_id;
using state::push_matrix;
using state::SymbolEntry;
using state::Text;

namespace {

namespace fs = std::filesystem;
using state::Machine;

fs::path data_file_path(const Machine& s, const std::string& name) {
    const fs::path given(name);
    return given.is_absolute() ? given : fs::path(s.home_folder()) / given;
}

[[noreturn]] void cannot_open(Machine& s, const std::string& name) {
    s.fatal_error_fmt("Imposible encontrar fichero %s\n", name);
}

// The C format "%f": six decimals.
std::string fixed_six(double v) {
    const int n = std::snprintf(nullptr, 0, "%f", v);
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), "%f", v);
    out.pop_back();
    return out;
}

// Text is read and scanned in blocks of this many bytes, with a look at the
// Break between two blocks.
constexpr std::size_t block_size = std::size_t{1} << 20;

// The whole file. Anything but a regular file is refused: a FIFO would wait
// for a writer and a device may never end, and nothing could stop either.
std::optional<std::string> read_text_file(Machine& s, const fs::path& path) {
    const files::FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;

    std::string text;
    std::size_t length = 0;
    for (;;) {
        s.halt_if_break();
        text.resize(length + block_size);
        const ::ssize_t n = ::read(fd.get(), text.data() + length, block_size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        length += static_cast<std::size_t>(n);
    }
    // A line break written as "\r\n" is one line break, as text reading on
    // the calculator's home platform gives it.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if ((i & (block_size - 1)) == 0) s.halt_if_break();
        if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') continue;
        text[kept++] = text[i];
    }
    text.resize(kept);
    return text;
}

// White space as the C library's token reader knows it.
bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The value atof gives the token [first, last), which ends at white space or
// at the end of the text (a NUL byte there). A plain decimal number goes to
// from_chars, which reads it as strtod does but several times faster;
// anything else (a '+' sign, hexadecimal, infinities, not-a-numbers, values
// out of range, text) and every token under a locale whose decimal point is
// not '.' goes to strtod itself.
double token_value(const char* first, const char* last, bool decimal_dot) {
    const char* digits = first + (*first == '-' ? 1 : 0);
    if (decimal_dot && digits != last && (is_digit(*digits) || *digits == '.')) {
        double value = 0.0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc() && (end == last || (*end != 'x' && *end != 'X'))) return value;
    }
    return std::strtod(first, nullptr);
}

// What the two reading passes find in a matrix text file.
//
// A line break read where a token could start ends the line: the line becomes
// a row when it holds numbers, and an empty line counts as a row of zeros once
// any number has been read. Elsewhere the token reader skips white space,
// line breaks included, so white space before a line break joins the next
// line to the current one, and white space at the end of the file ends the
// reading. A last line without a line break is a row when it holds numbers.
struct DataLines {
    std::vector<std::vector<double>> lines;  // the lines that hold numbers
    std::size_t empty_rows = 0;              // empty lines after the first number

    std::size_t rows() const { return lines.size() + empty_rows; }
    std::size_t cols() const {
        std::size_t n = 0;
        for (const auto& line : lines) n = std::max(n, line.size());
        return n;
    }
};

DataLines scan_data(Machine& s, const std::string& text) {
    const bool decimal_dot = std::string_view(std::localeconv()->decimal_point) == ".";
    DataLines out;
    std::vector<double> line;
    std::size_t i = 0;
    std::size_t next_look = 0;
    while (i < text.size()) {
        if (i >= next_look) {
            s.halt_if_break();
            next_look = i + block_size;
        }
        if (text[i] == '\n') {
            ++i;
            if (!line.empty()) {
                out.lines.push_back(std::move(line));
                line.clear();
            } else if (!out.lines.empty()) {
                ++out.empty_rows;
            }
            continue;
        }
        while (i < text.size() && is_space(text[i])) ++i;
        if (i == text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && !is_space(text[i])) ++i;
        // As atof: the longest prefix that is a number, 0 when there is none.
        line.push_back(token_value(text.c_str() + start, text.c_str() + i, decimal_dot));
    }
    if (!line.empty()) out.lines.push_back(std::move(line));
    return out;
}

}  // namespace

void op_savedata(Machine& s) {
    expect_args(s, 2);
    const Text name = pop_string(s);
    const MatrixRef m = pop_matrix(s);

    files::FileReplacement file(data_file_path(s, *name));
    std::string line;
    for (int i = 1; i <= m->rows() && file.ok(); ++i) {
        s.halt_if_break();
        line.clear();
        for (int j = 1; j <= m->cols(); ++j) {
            if (j > 1) line += '\t';
            line += fixed_six(m->at(i, j).re);
        }
        line += '\n';
        file.write(line);
    }
    if (!file.commit()) cannot_open(s, *name);
    push_id(s, state::slot::SUB0);
}

void op_loaddata(Machine& s) {
    expect_args(s, 1);
    const Text name = pop_string(s);
    const std::optional<std::string> text = read_text_file(s, data_file_path(s, *name));
    if (!text) cannot_open(s, *name);

    const DataLines data = scan_data(s, *text);
    const std::size_t rows = data.rows();
    const std::size_t cols = data.cols();
    if (rows == 0) s.fatal_error_fmt("No numbers in file %s\n", *name);
    const auto limit = static_cast<std::size_t>(Matrix::max_dimension);
    if (rows > limit || cols > limit || rows * cols > Matrix::max_elements) {
        s.fatal_error_fmt("Matrix too large in file %s\n", *name);
    }

    Matrix m(static_cast<int>(rows), static_cast<int>(cols));
    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        const auto& line = data.lines[i];
        for (std::size_t j = 0; j < line.size(); ++j) {
            m.at(static_cast<int>(i) + 1, static_cast<int>(j) + 1).re = line[j];
        }
    }
    push_matrix(s, std::move(m));
}

void op_flist(Machine& s) {
    expect_args(s, 1);
    pop(s);
    for (int i = 0; i < s.symbols.capacity(); ++i) {
        const SymbolEntry& e = s.symbols[i];
        if (!e.is_free()) s.console_print("[" + e.name + "]\n");
    }
    push_id(s, state::slot::SUB0);
}

void op_fcls(Machine& s) {
    expect_args(s, 1);
    s.host.clear_console();
}

}  // namespace ostrac::vm

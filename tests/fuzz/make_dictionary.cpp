// Writes the fuzzing dictionary from the engine's own tables: keywords,
// operators, built-in function names, unit names and predefined symbols, so that it never falls
// behind the language.
#include <cstdio>
#include <string>
#include <string_view>

#include "bench_host.h"
#include "code/builtin_names.h"
#include "code/keywords.h"
#include "code/token.h"
#include "numeric/unit_table.h"
#include "session/session.h"

namespace {

void entry(std::FILE* out, std::string_view text) {
    std::string quoted;
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    std::fprintf(out, "\"%s\"\n", quoted.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) return 1;
    for (const auto& k : ostrac::code::keywords) entry(out, k.spelling);
    for (const char c : ostrac::code::single_characters) entry(out, std::string_view(&c, 1));
    // Two-character comparisons and the comment and string marks.
    for (const std::string_view op : {">=", "=>", "<=", "=<", "<>", "//", "\""}) entry(out, op);
    for (const auto& b : ostrac::code::builtin_table) entry(out, b.name);
    for (const auto& u : ostrac::numeric::units()) entry(out, "\"" + std::string(u.name) + "\"");
    // The predefined symbols, as a session starting without a start-up file has them.
    ostrac::bench::NullHost host;
    ostrac::session::Session session(host);
    session.init({});
    for (int i = 0; i < session.symbols.capacity(); ++i) {
        if (!session.symbols[i].is_free()) entry(out, session.symbols[i].name);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

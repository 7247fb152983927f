// Labels and GOTO/GOSUB references of one compilation (the sstack), matched
// after the whole source has been parsed.
//
// A reference finds the labels with the same name in the same scope (the
// main program "PROC0", or the name of the routine whose body holds both),
// letters compared without case; when several match, the one recorded last
// wins. Names and scopes keep at most 24 characters, as fixed fields would:
// longer ones are cut, so two labels differing only past the 24th character
// are the same label.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrac::state {
class Machine;
}

namespace ostrac::frontend {

class CodeWriter;

class LabelTable {
public:
    static constexpr std::size_t max_entries = 100;
    static constexpr std::size_t name_length = 24;

    explicit LabelTable(state::Machine& s) : session_(s) {}

    // A GOTO or GOSUB whose distance placeholder (PUSHI 0) is at `position`.
    void add_reference(std::int32_t position, std::string_view name, std::string_view scope);

    // A LABEL statement at code position `position`.
    void add_label(std::int32_t position, std::string_view name, std::string_view scope);

    // Patches every reference with the distance to its label; a reference
    // without one is a fatal error.
    void resolve(CodeWriter& code) const;

private:
    enum class Kind : std::uint8_t { Reference = 1, Label = 2 };
    struct Entry {
        Kind kind;
        std::int32_t position;
        std::string name;
        std::string scope;
    };

    void add(Kind kind, std::int32_t position, std::string_view name, std::string_view scope);

    state::Machine& session_;
    std::vector<Entry> entries_;
};

}  // namespace ostrac::frontend

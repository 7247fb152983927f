#include "session/autosave.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "vm/state_file.h"

namespace ostrac::session {

namespace {

namespace fs = std::filesystem;
namespace kind = state::kind;
using state::SymbolEntry;

bool is_library_routine(const SymbolEntry* e) {
    return e != nullptr && (e->kind == kind::protected_function || e->kind == kind::protected_procedure);
}

// Start-up protects the routines of "data0.bin", and nothing can change or
// move them afterwards, so an autosave written over the same library holds
// them in the same slots with the same code. Any difference means another
// library or another instruction set: its routines would replace the ones
// this version started with.
bool same_library(const state::SymbolTable& table, const std::vector<SymbolEntry>& saved) {
    const int slots = std::max(table.capacity(), static_cast<int>(saved.size()));
    for (int i = 0; i < slots; ++i) {
        const SymbolEntry* now = i < table.capacity() ? &table[i] : nullptr;
        const SymbolEntry* then = i < static_cast<int>(saved.size()) ? &saved[static_cast<std::size_t>(i)] : nullptr;
        if (is_library_routine(now) != is_library_routine(then)) return false;
        if (is_library_routine(now) && (now->name != then->name || now->kind != then->kind || now->code != then->code)) {
            return false;
        }
    }
    return true;
}

// Moves the unusable file out of the way, so that the next start does not
// meet it again and the user can still look at it.
void set_aside(Session& s, const std::string& problem) {
    const fs::path home(s.home_folder());
    std::error_code ec;
    fs::remove(home / broken_autosave_file, ec);  // a file and a folder do not replace each other
    fs::rename(home / autosave_file, home / broken_autosave_file, ec);
    std::string line = std::string(autosave_file) + " not loaded (" + problem + "); ";
    line += ec ? "it could not be renamed: " + ec.message() : "moved to " + std::string(broken_autosave_file);
    s.console_print(line + "\n");
}

}  // namespace

bool load_autosave(Session& s) {
    if (!s.state_file_allowed()) return false;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(fs::path(s.home_folder()) / autosave_file, ec))) return false;

    vm::StateImage image;
    std::string problem = vm::read_state(s, autosave_file, image);
    if (problem.empty() && !same_library(s.symbols, image.entries)) {
        problem = "written by another version: its start-up library differs";
    }
    if (!problem.empty()) {
        set_aside(s, problem);
        return false;
    }
    try {
        vm::apply_state(s, std::move(image));
    } catch (const std::exception& e) {
        s.report_exception(e);
        s.reset();
        return false;
    }
    s.refresh_modes();
    return true;
}

bool save_autosave(Session& s) {
    if (!s.state_file_allowed()) {
        s.console_print("Not possible while a program is paused\n");
        return false;
    }
    try {
        vm::state_save_to(s, autosave_file);
        return true;
    } catch (const FatalError&) {
        // reported in the pane
    } catch (const std::exception& e) {
        s.report_exception(e);
    }
    s.reset();
    return false;
}

bool save_autosave_at_quit(Session& s) {
    if (!s.state_file_allowed()) {
        s.console_print(state::user_halted);
        s.reset();
    }
    return save_autosave(s);
}

}  // namespace ostrac::session

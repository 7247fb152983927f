// The engine state as a binary file: every symbol with its value and code,
// the angle and coordinate modes, and the operand stack.
//
// Layout, little-endian, written field by field:
//   header   int32 stack depth, int32 table capacity, angle unit (1 byte and
//            3 zero bytes), coordinate mode (likewise), int32 index of EVAL0
//   cells    depth stack cells of 20 bytes: tag, 3 padding bytes, payload
//   records  capacity symbol records of 40 bytes: name[10], value type,
//            padding, int32 kind, int32 code pointer, int32 code length,
//            16-byte payload; a slot in use is followed by its code (when the
//            code pointer is not 0), its string's bytes with the terminating
//            zero, and its matrix elements (16 bytes each, row by row).
// Pointer fields only tell whether a code block, string or matrix follows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "state/symbol_table.h"

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// The largest state file: a save that would write more is refused, a larger
// file is not loaded.
inline constexpr std::uintmax_t max_state_file_size = std::uintmax_t{256} << 20;

// Writes the state to "data.bin" in the home folder, safely (see
// files/file_replacement.h): a failed save leaves the previous file as it
// was. Failure: "Imposible guardar fichero de estado"; a value the format
// cannot hold: "Cannot save <name> in the state file"; a state above the
// size limit: "Cannot save more than 256 MiB in the state file"; no memory:
// "memory error". Each is checked before anything is written.
void state_save(state::Machine& s);

// The same, into the named file of the home folder.
void state_save_to(state::Machine& s, std::string_view name);

// A state file read and checked, not yet given to a machine.
struct StateImage {
    std::uint8_t angle = 0;
    std::uint8_t coord = 0;
    std::vector<state::SymbolEntry> entries;  // every slot, in index order
};

// Reads and checks the named file of the home folder into `image` without
// touching the machine. Returns what state_load would report ("Imposible
// abrir fichero de estado", "Fichero de estado corrupto: <what>", "memory
// error"), or an empty text when the image is sound.
std::string read_state(const state::Machine& s, std::string_view name, StateImage& image);

// Replaces the symbol table and the angle and coordinate modes with the
// image's; the operand stack is emptied and the machine stands at the start
// of PROC0.
void apply_state(state::Machine& s, StateImage image);

// Reads the named file from the home folder and replaces the symbol table and
// the angle and coordinate modes with its contents. The whole file is checked
// before anything changes: a file that cannot be opened is reported as
// "Imposible abrir fichero de estado", a truncated or inconsistent one as
// "Fichero de estado corrupto: <what>", and the session keeps its table and
// modes. After a load the operand stack is empty (restored cells are dropped)
// and the machine stands at the start of PROC0.
void state_load(state::Machine& s, std::string_view name);

// The console's Load button: loads "data.bin", which leaves the machine at the
// start of PROC0 with an empty stack, and shows the loaded modes.
void session_reload(state::Machine& s);

}  // namespace ostrac::vm

// Values written back as the language's own literals, for "Copy value of
// ANS": compiled and evaluated, the text gives back the same value.
//
//   real      17 significant digits ("0.10000000000000001", "-0", "1e-300");
//             infinities as "1e999" and "-1e999" (the scanner reads an
//             out-of-range literal as infinity); not-a-number as
//             "(1e999-1e999)", which gives a not-a-number but not
//             necessarily the same sign and payload bits
//   complex   "re+imi" or "re-imi" ("1+2i", "0-1e-05i")
//   string    the text between double quotes
//   matrix    "[a, b; c, d]", each element a real or a complex as above
//
// No literal exists, and nothing is returned, for a string holding a double
// quote, a line break, a carriage return or a zero byte (the language has
// no escapes and no function that makes a character), for a not-a-number
// imaginary part, and for values that are not data (procedures, references).
// The sign of a zero real part beside a positive imaginary part, and of a
// zero imaginary part of a matrix element, is not kept: adding an imaginary
// literal gives a zero part its plus sign.
#pragma once

#include <optional>
#include <string>

#include "session/session.h"
#include "state/symbol_table.h"

namespace ostrac::session {

std::optional<std::string> value_literal(const state::SymbolEntry& entry);

// The literal of ANS, the last result shown.
std::optional<std::string> ans_literal(const Session& session);

}  // namespace ostrac::session

// How a long computation of the numeric library learns that its caller wants
// it abandoned. Elimination, the matrix product and the root finder ask the
// check between blocks of work; once it says yes they return at once, and
// what they return then means nothing: the caller knows why it asked them to
// stop. An empty check never stops. The calculator hands down a look at its
// Break button.
#pragma once

#include <functional>

namespace ostrac::numeric {

using StopCheck = std::function<bool()>;

inline bool stop_requested(const StopCheck& stop) { return stop && stop(); }

}  // namespace ostrac::numeric

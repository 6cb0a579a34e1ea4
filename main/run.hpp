// The main program's run, from the opening screen to the stop.
#pragma once

namespace kolven {

// One whole run. It never returns: it ends through the orderly stop (status 0) or the fatal-error
// path of the record engine.
[[noreturn]] void KOLVEN();

}  // namespace kolven

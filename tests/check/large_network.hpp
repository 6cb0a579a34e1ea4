// The largest network a data file can hold, 99999 buses and 99999 branches, as a power-flow
// results file and the typed session that makes KOLVEN copy it with no generator.
#pragma once

#include <string>

namespace kolven::check_test {

inline constexpr int kLargestCount = 99999;

// `buses` bus lines followed by `branches` branch lines, in the columns the network transfer reads,
// with values that vary from line to line.
std::string power_flow_text(int buses, int branches);

// The typed lines of a session on "rede.din" writing "rede.dad": NB and NL as given, NG 0, a
// three-phase fault.
std::string session_input(int buses, int branches);

}  // namespace kolven::check_test

// Data files for the checker's tests: the worked example of a whole run (two buses, one branch, one
// generator of model 1 with a one-stage speed-derived stabiliser) and its power-flow results file,
// as lines to be edited and joined.
#pragma once

#include <string>
#include <vector>

#include "tests/support/worked_example.hpp"

namespace kolven::check_test {

// The 20 records of the worked example, without line ends.
inline std::vector<std::string> worked_example() {
  return testing::kRecords;
}

// Its power-flow results file: two bus lines and one branch line, LF line ends, with text in the
// columns that the transfer skips.
inline std::string worked_example_din() {
  return "BUS-A    1   1.05000   0.00000   0.90000   0.10000    2 1.00   0.00000   0.00000\n"
         "BUS-B    2   1.00000  -5.00000  -0.90000  -0.30000    0 0.00   0.00000   0.00000\n"
         "LT-01    1DE BARRA 1PARA BAR 2   0.00000   0.10000   0.00000   0.05000\n";
}

// The lines joined, each ended by `end`.
inline std::string join(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string out;
  for (const std::string& l : lines) out += l + end;
  return out;
}

}  // namespace kolven::check_test

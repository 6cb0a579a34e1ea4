// Data files for the checker's tests: the worked example of a whole run (two buses, one branch, one
// generator of model 1 with a one-stage speed-derived stabiliser) and its power-flow results file,
// as lines to be edited and joined.
#pragma once

#include <string>
#include <vector>

namespace kolven::check_test {

// The 20 records of the worked example, without line ends.
inline std::vector<std::string> worked_example() {
  return {
      "CASO EXEMPLO" + std::string(68, ' '),
      "dimsist  2         1         1         0         0         0",
      "tipfalt  1",
      "tempo  0.0     0.010     0.010     2.000     0.010     0.010       2.0",
      "locfalt  1         1         2     0.000     0.100     0.100",
      "",
      "barra 1  1   1.05000   0.00000   0.90000   0.10000    2 1.00   0.00000   0.00000",
      "barra 2  2   1.00000  -5.00000  -0.90000  -0.30000    0 0.00   0.00000   0.00000",
      "ramo 1   1         1         2   0.00000   0.10000   0.00000   0.05000",
      "maq 1    1         1         1   0.00000   0.30000   1.70000   1.80000   3.00000",
      "   0.00000   1.00000   1.00000   6.00000   0.00000   0.00000   0.00000",
      "RV       0   0.00000   0.00000   0.00000   0.00000   0.00000   0.00000   0.00000",
      "   0.00000   0.00000   0.00000   0.00000   0.00000   0.00000",
      "CO       0   0.00000   0.00000   0.00000",
      "exc 1    1  50.00000   0.05000   5.00000  -5.00000   1.00000   0.50000   0.00000",
      "   0.00000   0.04000   1.00000   0.00000   0.00000   0.02000   0.00000   0.00000",
      "   0.00000   0.00000   5.00000  -5.00000         1",
      "esp 1    1         0         0         0   0.10000  -0.10000",
      "    20.000    10.000     0.500     0.050",
      "     0.000     0.000     0.000     0.000",
  };
}

// Its power-flow results file: two bus lines and one branch line, LF line ends.
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

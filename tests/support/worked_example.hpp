// The worked example of a whole run: two buses, one generator of model 1 with a one-stage
// speed-derived stabiliser, one branch, a three-phase fault. Its typed lines, its power-flow
// results file and the data file it gives, shared by the tests that cut it short, break it or
// check it.
#pragma once

#include <string>
#include <vector>

namespace kolven::testing {

// A whole session of two buses, one generator and one branch: the typed lines, one per screen...
inline const std::vector<std::string> kTyped = {
    "CASO EXEMPLO",
    "              2     1     1",
    "               1",
    "            0.010   2.000",
    "             1    1    2   0.100",
    "   1 1   0.00   0.30   1.70   1.80   3.00   0.00   6.00",
    " 1  50.00   0.05   5.00  -5.00   1.00   0.50   0.00   0.00",
    "  0.04   1.00   0.00   0.00   0.02   0.00   0.00   0.00   0.00",
    "  5.00  -5.00      1",
    "   1     0    0    0    0.100  -0.100",
    "  20.00  10.00   0.50   0.05",
};

// ...its power-flow results file...
inline const std::string kBus1 =
    "BARRA1   1   1.05000   0.00000   0.90000   0.10000    2 1.00   0.00000   0.00000\n";
inline const std::string kBus2 =
    "BARRA2   2   1.00000  -5.00000  -0.90000  -0.30000    0 0.00   0.00000   0.00000\n";
inline const std::string kBranch =
    "LT-1     1         1         2   0.00000   0.10000   0.00000   0.05000\n";

// ...and the data file it gives.
inline const std::vector<std::string> kRecords = {
    "CASO EXEMPLO                                                                    ",
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

}  // namespace kolven::testing

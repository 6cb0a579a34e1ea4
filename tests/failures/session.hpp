// A small whole session (two buses, one generator, one branch) that the failure tests cut short
// or feed hostile input into: its typed lines, its power-flow results file and its data file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run.hpp"

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

// Records in the data file once typed line k (1-based) has been read: the fault line completes the
// fault records and the whole network; the generator line its "maq", "RV" and "CO" records.
inline const int kRecordsAfterLine[] = {0, 1, 2, 3, 4, 9, 14, 15, 16, 17, 18, 20};

// The first `n` records, each with its CR LF.
inline std::string records(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += kRecords[i] + "\r\n";
  return s;
}

// Standard input of a session: the two pauses, the file names, then `lines`.
inline std::string session(const std::vector<std::string>& lines,
                           const std::string& dad = "saida") {
  std::string s = "\n\ncaso\n" + dad + "\n";
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

inline std::vector<std::string> first(std::size_t n) {
  return std::vector<std::string>(kTyped.begin(), kTyped.begin() + static_cast<long>(n));
}

inline std::string diagnostic(int number, const std::string& message, int unit,
                              const std::string& file) {
  return "tavrek: severe (" + std::to_string(number) + "): " + message + ", unit " +
         std::to_string(unit) + ", file " + file + "\n";
}

inline const std::string kEndOfInput = diagnostic(24, "end-of-file during read", -4, "CONIN$");
inline const std::string kBadTyped = diagnostic(64, "input conversion error", -4, "CONIN$");

// A scratch folder with the power-flow results file of the session.
struct Case {
  Scratch dir;
  explicit Case(const std::string& din = kBus1 + kBus2 + kBranch) {
    write_file(dir.path() / "caso.din", din);
  }
  std::filesystem::path dad() const { return dir.path() / "saida.dad"; }
};

}  // namespace kolven::testing

// A small whole session (two buses, one generator, one branch) that the failure tests cut short
// or feed hostile input into: its typed lines, its power-flow results file and its data file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run.hpp"
#include "tests/support/worked_example.hpp"

namespace kolven::testing {

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

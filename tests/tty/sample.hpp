// The sample case of examples/: its files, and runs of the real binary on its recorded sessions.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run.hpp"

namespace kolven::testing {

inline const std::filesystem::path kExamples =
    std::filesystem::path(KOLVEN_SOURCE_DIR) / "examples";

// The lines of a text file, without their line ends (LF or CR LF).
std::vector<std::string> lines_of(const std::string& text);

// The bytes a console gives for these typed lines: each followed by LF.
std::string typed(const std::vector<std::string>& lines);

// The records of a data file: its lines without CR LF.
std::vector<std::string> records_of(const std::string& bytes);

// A scratch folder holding the sample power-flow results file, as a user's working folder.
class SampleFolder {
 public:
  SampleFolder();
  const std::filesystem::path& path() const { return scratch_.path(); }
  // Runs kolven there with these typed lines.
  Result run(const std::vector<std::string>& lines) const;
  // The bytes of a file of the folder ("" when it is missing).
  std::string file(const std::string& name) const;

 private:
  Scratch scratch_;
};

}  // namespace kolven::testing

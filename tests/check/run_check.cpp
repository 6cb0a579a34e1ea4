#include "tests/check/run_check.hpp"

#include <cstdlib>
#include <sstream>

namespace kolven::check_test {

testing::Result run_check(const std::filesystem::path& dir, const std::vector<std::string>& args) {
  testing::RunOptions options;
  options.binary = KOLVEN_CHECK_BINARY;
  options.args = args;
  return testing::run_kolven(dir, options);
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

}  // namespace kolven::check_test

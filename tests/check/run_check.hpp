// Runs the real kolven-check binary and collects what it prints and how it ends.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run.hpp"

namespace kolven::check_test {

// kolven-check with `args`, started in `dir`.
testing::Result run_check(const std::filesystem::path& dir, const std::vector<std::string>& args);

// The lines of a text, without their line ends.
std::vector<std::string> lines_of(const std::string& text);

}  // namespace kolven::check_test

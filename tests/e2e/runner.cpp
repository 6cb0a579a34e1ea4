// Runs the real kolven binary on every case folder under tests/e2e/cases and compares, byte for
// byte, what it shows, what it writes and how it ends with what the case expects.
//
// A case folder holds:
//   stdin                the typed lines, fed to standard input (absent: an empty input)
//   files/               files and folders placed in the scratch folder before the run
//   expected/stdout      exact bytes of standard output; or, instead,
//   expected/stdout.parts  the names of screen fragments of tests/e2e/screens, one a line ('#'
//                        starts a comment), whose bytes, in that order, make standard output
//   expected/stderr      exact bytes of standard error (absent: nothing)
//   expected/status      the exit status in decimal (absent: 0)
//   expected/files/      files that must hold exactly these bytes after the run
//   expected/absent      names, one a line, that must not exist after the run
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run.hpp"

namespace fs = std::filesystem;

namespace kolven::testing {
namespace {

const fs::path kCases = fs::path(KOLVEN_SOURCE_DIR) / "tests/e2e/cases";
const fs::path kScreens = fs::path(KOLVEN_SOURCE_DIR) / "tests/e2e/screens";

std::vector<std::string> discover() {
  std::vector<std::string> cases;
  if (!fs::exists(kCases)) return cases;
  for (const auto& entry : fs::recursive_directory_iterator(kCases))
    if (entry.is_directory() && entry.path().filename() == "expected")
      cases.push_back(fs::relative(entry.path().parent_path(), kCases).string());
  std::sort(cases.begin(), cases.end());
  return cases;
}

std::string expected_stdout(const fs::path& expected) {
  if (fs::exists(expected / "stdout")) return read_file(expected / "stdout");
  std::string out;
  std::istringstream parts(read_file(expected / "stdout.parts"));
  std::string name;
  while (std::getline(parts, name)) {
    name.erase(std::find(name.begin(), name.end(), '#'), name.end());
    while (!name.empty() && (name.back() == ' ' || name.back() == '\r')) name.pop_back();
    if (name.empty()) continue;
    const fs::path fragment = kScreens / name;
    if (!fs::exists(fragment)) ADD_FAILURE() << "no screen fragment " << fragment;
    out += read_file(fragment);
  }
  return out;
}

class Case : public ::testing::TestWithParam<std::string> {};

TEST_P(Case, MatchesExpected) {
  const fs::path dir = kCases / GetParam();
  const fs::path expected = dir / "expected";
  Scratch scratch;
  if (fs::exists(dir / "files"))
    fs::copy(dir / "files", scratch.path(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  const std::string input = fs::exists(dir / "stdin") ? read_file(dir / "stdin") : "";
  const Result r = run_kolven(scratch.path(), input);

  ASSERT_TRUE(fs::exists(expected / "stdout") || fs::exists(expected / "stdout.parts"))
      << "the case gives no expected/stdout";
  expect_same_bytes("standard output", expected_stdout(expected), r.out);
  const std::string err = fs::exists(expected / "stderr") ? read_file(expected / "stderr") : "";
  expect_same_bytes("standard error", err, r.err);
  const int status =
      fs::exists(expected / "status") ? std::stoi(read_file(expected / "status")) : 0;
  EXPECT_EQ(status, r.status) << "exit status";

  if (fs::exists(expected / "files"))
    for (const auto& entry : fs::recursive_directory_iterator(expected / "files")) {
      if (!entry.is_regular_file()) continue;
      const fs::path name = fs::relative(entry.path(), expected / "files");
      const fs::path got = scratch.path() / name;
      if (!fs::exists(got)) {
        ADD_FAILURE() << name << " was not written";
        continue;
      }
      expect_same_bytes(name.string(), read_file(entry.path()), read_file(got));
    }
  if (fs::exists(expected / "absent")) {
    std::istringstream absent(read_file(expected / "absent"));
    std::string name;
    while (std::getline(absent, name)) {
      if (!name.empty()) {
        EXPECT_FALSE(fs::exists(scratch.path() / name)) << name << " exists";
      }
    }
  }
}

std::string case_name(const ::testing::TestParamInfo<std::string>& info) {
  std::string s = info.param;
  for (char& c : s)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return s;
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, Case, ::testing::ValuesIn(discover()), case_name);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Case);

}  // namespace
}  // namespace kolven::testing

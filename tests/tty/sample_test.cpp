// The recorded sessions of examples/, replayed as README.md tells a newcomer to: each must end with
// status 0 and write, byte for byte, the data file kept next to it.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/tty/sample.hpp"

namespace kolven::testing {
namespace {

struct Sample {
  std::string session;   // the file of typed lines in examples/
  std::string expected;  // the data file in examples/ that it must write
  std::string written;   // the name the session gives its data file
  std::size_t records;   // lines of that data file
};

void PrintTo(const Sample& s, std::ostream* os) {
  *os << s.session;
}

class Replay : public ::testing::TestWithParam<Sample> {};

TEST_P(Replay, WritesTheDataFileKeptInExamples) {
  const Sample& s = GetParam();
  const std::vector<std::string> lines = lines_of(read_file(kExamples / s.session));
  ASSERT_GE(lines.size(), 4u);
  // Two empty lines for the console pauses, the power-flow file, then the data file.
  EXPECT_EQ("", lines[0]);
  EXPECT_EQ("", lines[1]);
  EXPECT_EQ("caso", lines[2]);
  ASSERT_EQ(s.written, lines[3] + ".dad");

  SampleFolder folder;
  const Result r = folder.run(lines);
  EXPECT_EQ(0, r.status);
  EXPECT_EQ("", r.err);
  const std::string expected = read_file(kExamples / s.expected);
  EXPECT_EQ(s.records, records_of(expected).size());
  expect_same_bytes(s.written, expected, folder.file(s.written));
}

TEST_P(Replay, EveryLineOfTheSessionIsRead) {
  // One line fewer must leave the run waiting for it: the session holds no line too many.
  const Sample& s = GetParam();
  std::vector<std::string> lines = lines_of(read_file(kExamples / s.session));
  lines.pop_back();
  SampleFolder folder;
  const Result r = folder.run(lines);
  EXPECT_EQ(24, r.status);
  EXPECT_EQ("tavrek: severe (24): end-of-file during read, unit -4, file CONIN$\n", r.err);
}

INSTANTIATE_TEST_SUITE_P(Examples, Replay,
                         ::testing::Values(Sample{"caso.txt", "caso.dad", "caso1.dad", 49},
                                           Sample{"angulo.txt", "angulo.dad", "angulo1.dad", 29}),
                         [](const auto& info) {
                           std::string name = info.param.session;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace kolven::testing

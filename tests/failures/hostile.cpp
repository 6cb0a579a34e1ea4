// Input meant to break the program: huge and odd typed lines, power-flow files with other line
// ends and tabs, numbers at the ends of their ranges. Each run must end as a user expects: no
// crash, no hang, every byte where the rules put it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/failures/session.hpp"
#include "tests/support/run.hpp"

namespace kolven::testing {
namespace {

// A title record: the typed characters, cut or padded to 80 columns.
std::string title_record(const std::string& typed) {
  std::string t = typed.substr(0, 80);
  t.resize(80, ' ');
  return t;
}

TEST(Hostile, OddTitleLinesPassThroughByteForByte) {
  const std::string megabyte(1 << 20, 'M');
  const std::string odd_bytes = std::string("A\0B\xff\xe9\x7f", 6) + "Z";
  const std::string lone_cr = "AB\rCD";
  for (const std::string& title : {megabyte + "tail", odd_bytes, lone_cr, std::string()}) {
    SCOPED_TRACE(visible(title.substr(0, 20)));
    Case c;
    std::vector<std::string> lines = kTyped;
    lines[0] = title;
    const Result r = run_kolven(c.dir.path(), session(lines));
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", r.err);
    std::string expected = records(kRecords.size());
    expected.replace(0, 80, title_record(title));
    expect_same_bytes("saida.dad", expected, read_file(c.dad()));
  }
}

TEST(Hostile, ByteTwentySixAloneEndsTheTypedInput) {
  Case c;
  std::vector<std::string> lines = first(1);
  lines.push_back("\x1a");
  lines.push_back(kTyped[1]);  // never read: the input has ended for good
  const Result r = run_kolven(c.dir.path(), session(lines));
  EXPECT_EQ(24, r.status);
  EXPECT_EQ(diagnostic(24, "end-of-file during read", -4, "CONIN$"), r.err);
  expect_same_bytes("saida.dad", records(1), read_file(c.dad()));
}

TEST(Hostile, TypedLinesEndingInCarriageReturns) {
  // A session typed on a console that ends lines with CR LF gives the same data file.
  Case c;
  std::string input = session(kTyped);
  std::string crlf;
  for (const char ch : input) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  const Result r = run_kolven(c.dir.path(), crlf);
  EXPECT_EQ(0, r.status);
  expect_same_bytes("saida.dad", records(kRecords.size()), read_file(c.dad()));
}

TEST(Hostile, PowerFlowFilesWithOtherLineEndsAndTabs) {
  const auto crlf = [](std::string s) {
    s.insert(s.size() - 1, "\r");
    return s;
  };
  std::string no_final_end = kBus1 + kBus2 + kBranch;
  no_final_end.pop_back();
  // A tab in front of a number inside a real field is skipped like a blank.
  std::string tabbed = kBus1;
  tabbed[12] = '\t';
  const std::string rows[] = {crlf(kBus1) + crlf(kBus2) + crlf(kBranch), no_final_end,
                              tabbed + kBus2 + kBranch};
  for (const std::string& din : rows) {
    SCOPED_TRACE(visible(din));
    Case c(din);
    const Result r = run_kolven(c.dir.path(), session(kTyped));
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", r.err);
    expect_same_bytes("saida.dad", records(kRecords.size()), read_file(c.dad()));
  }
  // A tab in an integer field is not a number.
  std::string bad = kBus1;
  bad[7] = '\t';
  Case c(bad + kBus2 + kBranch);
  const Result r = run_kolven(c.dir.path(), session(kTyped));
  EXPECT_EQ(64, r.status);
  EXPECT_EQ(diagnostic(64, "input conversion error", 44, "caso.din"), r.err);
  expect_same_bytes("saida.dad", records(6), read_file(c.dad()));
}

// Typed line `line` of the session with `text` typed from column `column` on, over what stood
// there.
std::vector<std::string> typed_over(std::size_t line, std::size_t column, const std::string& text) {
  std::vector<std::string> lines = kTyped;
  std::string& l = lines[line];
  if (l.size() < column - 1 + text.size()) l.resize(column - 1 + text.size(), ' ');
  l.replace(column - 1, text.size(), text);
  return lines;
}

TEST(Hostile, NumbersAtTheEndsOfTheirRanges) {
  struct Row {
    std::size_t line;    // typed line changed
    std::size_t column;  // where the new text is typed
    std::string text;
    std::size_t record;   // data-file line that changes
    std::string written;  // what it then holds
  };
  const std::string exc = "exc 1    1";
  const std::string exc_rest = "   5.00000  -5.00000   1.00000   0.50000   0.00000";
  const Row rows[] = {
      // EXTY is typed in six columns and written in two.
      {8, 15, "999999", 16, "   0.00000   0.00000   5.00000  -5.00000        **"},
      {8, 15, "-99999", 16, "   0.00000   0.00000   5.00000  -5.00000        **"},
      {8, 15, "    -9", 16, "   0.00000   0.00000   5.00000  -5.00000        -9"},
      // Reals far beyond their fields (1E308 typed without a point has two implied decimals).
      {6, 4, "1E308  -1E307", 14, exc + std::string(20, '*') + exc_rest},
      // A value too small for a double rounds to zero.
      {6, 4, "1E-400", 14, exc + "   0.00000   0.05000" + exc_rest},
      // The words for infinities and not-a-number.
      {6, 4, "   Inf   -INF    nan", 14,
       exc + "  Infinity -Infinity       NaN  -5.00000   1.00000   0.50000   0.00000"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    Case c;
    const Result r = run_kolven(c.dir.path(), session(typed_over(row.line, row.column, row.text)));
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("", r.err);
    std::vector<std::string> expected(kRecords);
    expected[row.record] = row.written;
    std::string bytes;
    for (const std::string& e : expected) bytes += e + "\r\n";
    expect_same_bytes("saida.dad", bytes, read_file(c.dad()));
  }
}

TEST(Hostile, RealBeyondTheRangeOfADoubleIsRefused) {
  Case c;
  std::vector<std::string> lines = typed_over(6, 4, " 9E999");
  lines.resize(7);
  const Result r = run_kolven(c.dir.path(), session(lines));
  EXPECT_EQ(64, r.status);
  EXPECT_EQ(diagnostic(64, "input conversion error", -4, "CONIN$"), r.err);
  expect_same_bytes("saida.dad", records(kRecordsAfterLine[6]), read_file(c.dad()));
}

}  // namespace
}  // namespace kolven::testing

// Input statements: records of the power-flow file cut into fields by a layout, line ends, and the
// end of the stream.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "record/record.hpp"
#include "tests/engine/helpers.hpp"
#include "tests/support/run.hpp"

namespace kolven::engine_test {
namespace {

using record::InStream;
using record::Text;
using testing::visible;

template <std::size_t N>
std::string str(const Text<N>& t) {
  return std::string(t.data(), N);
}

TEST(EngineInput, FieldsByColumns) {
  std::int32_t i = -1, j = -1;
  double x = -1, y = -1;
  Text<4> label{};
  read_from("dim 12  1.5  15\n", "(A4,I3,F5.1,F5.2)", {label, i, x, y});
  EXPECT_EQ(str(label), "dim ");
  EXPECT_EQ(i, 12);
  EXPECT_EQ(x, 1.5);
  EXPECT_EQ(y, 0.15);

  // The columns after the last field are never looked at.
  read_from("  7xyz\n", "(I3)", {i});
  EXPECT_EQ(i, 7);

  // X and T move the current column, also to the left.
  read_from("12345678\n", "(T5,I2,T1,I2,2X,F1.0)", {i, j, x});
  EXPECT_EQ(i, 56);
  EXPECT_EQ(j, 12);
  EXPECT_EQ(x, 5.0);
}

TEST(EngineInput, ShortAndEmptyRecordsReadAsBlanks) {
  std::int32_t i = -1, j = -1;
  double x = -1, y = -1;
  Text<4> t{};
  read_from("12\n", "(I5,F6.2,A4)", {i, x, t});
  EXPECT_EQ(i, 12);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(str(t), "    ");

  read_from("\n", "(I5,F6.2,A4,I2)", {i, x, t, j});
  EXPECT_EQ(i, 0);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(str(t), "    ");
  EXPECT_EQ(j, 0);

  // The end of the record cuts a field; a last line without line feed is a record too.
  read_from("  1.5", "(F3.1,F6.2)", {x, y});
  EXPECT_EQ(x, 0.1);
  EXPECT_EQ(y, 0.5);
}

TEST(EngineInput, CommaEndsANumericFieldAndShiftsTheNextOnes) {
  std::int32_t i = -1, j = -1, k = -1;
  double x = -1, y = -1;
  Text<3> t{};

  read_from("1,5\n", "(F6.2,I3)", {x, i});
  EXPECT_EQ(x, 0.01);
  EXPECT_EQ(i, 5);

  read_from("1,5   2.5\n", "(F6.2,F6.2)", {x, y});
  EXPECT_EQ(x, 0.01);
  EXPECT_EQ(y, 52.0);  // "5   2." from column 3

  read_from(",5\n", "(I3,I3)", {i, j});
  EXPECT_EQ(i, 0);
  EXPECT_EQ(j, 5);

  read_from("12,34,56\n", "(3I5)", {i, j, k});
  EXPECT_EQ(i, 12);
  EXPECT_EQ(j, 34);
  EXPECT_EQ(k, 56);

  // A comma beyond the field's width belongs to a later field, which it ends at once.
  std::int32_t l = -1;
  read_from("123456,7\n", "(4I3)", {i, j, k, l});
  EXPECT_EQ(i, 123);
  EXPECT_EQ(j, 456);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(l, 7);

  // In a text field a comma is a character like any other.
  read_from("a,b12\n", "(A3,I2)", {t, i});
  EXPECT_EQ(str(t), "a,b");
  EXPECT_EQ(i, 12);
}

TEST(EngineInput, TextTargets) {
  Text<12> name{};
  Text<1> answer{};
  Text<4> group{};
  read_from("abcdefghijkl\n", "(A8)", {name});
  EXPECT_EQ(str(name), "abcdefgh    ");
  read_from("yes\n", "(A)", {answer});
  EXPECT_EQ(str(answer), "y");
  read_from("\n", "(A)", {answer});
  EXPECT_EQ(str(answer), " ");
  read_from("abcdef\n", "(A6)", {group});
  EXPECT_EQ(str(group), "cdef");
  read_from("ab\r\n", "(A4)", {group});
  EXPECT_EQ(visible(str(group)), "ab  ");

  std::array<Text<4>, 20> title{};
  read_from("Caso base   de teste\n", "(20A4)", {title});
  EXPECT_EQ(str(title[0]), "Caso");
  EXPECT_EQ(str(title[1]), " bas");
  EXPECT_EQ(str(title[2]), "e   ");
  EXPECT_EQ(str(title[4]), "este");
  EXPECT_EQ(str(title[5]), "    ");
  EXPECT_EQ(str(title[19]), "    ");
}

TEST(EngineInput, ComplexAndArrayTargets) {
  Complex z{};
  std::array<double, 3> v{-1, -1, -1};
  double last = -1;
  read_from("  1.5 -2.0  3.0  4.0  5.0  6.0\n", "(2F5.1,4F5.1)", {z, std::span<double>(v), last});
  EXPECT_EQ(z.re, 1.5);
  EXPECT_EQ(z.im, -2.0);
  EXPECT_EQ(v, (std::array<double, 3>{3.0, 4.0, 5.0}));
  EXPECT_EQ(last, 6.0);
}

TEST(EngineInput, EachStatementTakesItsOwnRecordsSlashTakesOneMore) {
  std::int32_t i = -1, j = -1, k = -1;
  PowerFlowFile file("1 2\n3\n4\n5\n6\n7\n8\n9\n");
  file.read("(I1)", {i});
  EXPECT_EQ(i, 1);
  file.read("(I1)", {j});  // the rest of "1 2" is gone
  EXPECT_EQ(j, 3);
  file.read("(I1,/,I1)", {i, j});
  EXPECT_EQ(i, 4);
  EXPECT_EQ(j, 5);
  file.read("(I1,/)", {i});  // the / after the last field still reads a record
  EXPECT_EQ(i, 6);
  file.read("(I1)");  // no target: the record is consumed all the same
  file.read("(I1)", {k});
  EXPECT_EQ(k, 9);
}

TEST(EngineInput, TargetsLeftAtTheEndReadOnInTheNextRecord) {
  std::int32_t a = -1, b = -1, c = -1, d = -1;
  read_from("1\n2\n", "(I2)", {a, b});
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);

  // At the last top-level group.
  read_from("5 7 8\n 9\n", "(I1,(I2))", {a, b, c});
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 7);
  EXPECT_EQ(c, 9);

  read_from("123\n45\n", "(I1,2(I1))", {a, b, c, d});
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(d, 4);
}

TEST(EngineInput, RecordsEndAtLineFeedsOnlyCrBeforeLfIsDropped) {
  const struct {
    std::string content;
    std::vector<std::string> records;
  } cases[] = {
      {"ab\r\ncd\n", {"ab", "cd"}},
      {"ab\ncd", {"ab", "cd"}},
      {"a\rb\r\n", {"a\rb"}},  // a lone CR is a data byte
      {"ab\r", {"ab\r"}},
      {"ab\r\r\n", {"ab\r"}},
      {"\r\n\n\r\n", {"", "", ""}},
      {"", {}},
      {"\n", {""}},
      // A record of the single byte 26 ends the stream for good.
      {"\x1a\nab\n", {}},
      {"ab\n\x1a\r\ncd\n", {"ab"}},
      {"ab\n\x1a", {"ab"}},
      {"\x1a\x1a\n", {"\x1a\x1a"}},
      {"a\x1a\nb\n", {"a\x1a", "b"}},
      {std::string(300000, 'x') + "\nyz\n", {std::string(300000, 'x'), "yz"}},
  };
  for (const auto& c : cases) {
    PowerFlowFile file(c.content);
    std::vector<std::string> records;
    std::string line;
    while (record::read_line(InStream::PowerFlow, line)) records.push_back(line);
    EXPECT_FALSE(record::read_line(InStream::PowerFlow, line));  // and it stays ended
    ASSERT_EQ(records.size(), c.records.size()) << visible(c.content.substr(0, 40));
    for (std::size_t k = 0; k < records.size(); ++k)
      EXPECT_EQ(visible(records[k]), visible(c.records[k])) << visible(c.content.substr(0, 40));
  }
}

TEST(EngineInput, OverlongRecordIsCutAndTheNextOneIsWhole) {
  // Memory stays bounded however long a line is: what no layout can reach is read and dropped.
  const std::size_t length = std::size_t{5} << 20;
  PowerFlowFile file("12" + std::string(length, 'x') + "\nyz\n");
  std::string line;
  ASSERT_TRUE(record::read_line(InStream::PowerFlow, line));
  EXPECT_EQ(line.substr(0, 3), "12x");
  EXPECT_GE(line.size(), std::size_t{4} << 20);
  EXPECT_LT(line.size(), length);
  ASSERT_TRUE(record::read_line(InStream::PowerFlow, line));
  EXPECT_EQ(line, "yz");
  EXPECT_FALSE(record::read_line(InStream::PowerFlow, line));
}

// Targets that match the fields one for one are read by the layout's flat plan; the same reals
// as an array by the walk. Both read the same values and stop at the same field.
TEST(EngineInputRecords, FlatPlanReadsWhatTheWalkReads) {
  struct Case {
    const char* layout;
    std::string record;
  };
  const std::vector<Case> cases = {
      {"(7X,I3,4F10.5,I5,F5.2,2F10.5)",
       "GER1     1   1.07036   0.00000   4.74685   0.13599    2 0.94   0.00000   0.00000"},
      {"(6X,I4,2(8X,I2),4F10.5)", "LT       1  DE    77        23     11248   0.46312  -0.0000"},
      {"(6X,I4,2(8X,I2),4F10.5)", "LT       1,,12,1.5,2,,3"},
      {"(T10,I3,T2,I4,'xy',2X,F9.3,T3,F4.1)", "123456789012345678901234567890"},
      {"(I3,2F6.2)", "  1 1.5E2  -2 D1"},
      {"(I3,2F6.2)", "  1  1.5  x.x"},
      {"(I3,2F6.2)", " 12"},
  };
  for (const Case& c : cases) {
    const Layout l = layout(c.layout);
    const std::size_t n = l.plan.fields;
    std::vector<std::int32_t> planned_ints(n, -1), walked_ints(n, -1);
    std::vector<double> planned_reals(n, -1.0), walked_reals(n, -1.0);
    // One target per field; for the walk, each run of F fields is one array.
    std::vector<In> scalars;
    std::vector<In> runs;
    std::size_t field = 0;
    std::size_t run = 0;  // F fields in the current run
    const auto end_run = [&] {
      if (run != 0) runs.emplace_back(std::span<double>(&walked_reals[field - run], run));
      run = 0;
    };
    for (std::size_t k = 0; k < l.plan.size; ++k) {
      const record::Step& st = l.plan.steps[k];
      if (st.op == record::Op::Int) {
        end_run();
        scalars.emplace_back(planned_ints[field]);
        runs.emplace_back(walked_ints[field]);
        ++field;
      } else if (st.op == record::Op::Real) {
        scalars.emplace_back(planned_reals[field]);
        ++run;
        ++field;
      }
    }
    end_run();
    const record::FieldFailure a = record::read_fields(l, c.record, scalars);
    const record::FieldFailure b = record::read_fields(l, c.record, runs);
    EXPECT_EQ(a.column, b.column) << c.layout << " " << c.record;
    EXPECT_EQ(a.target, b.target) << c.layout << " " << c.record;
    EXPECT_EQ(planned_ints, walked_ints) << c.layout << " " << c.record;
    EXPECT_EQ(planned_reals, walked_reals) << c.layout << " " << c.record;
  }
}

TEST(EngineInputRecords, RecordHeldInMemoryReportsTheFieldThatDoesNotConvert) {
  using namespace record::literals;
  constexpr record::Layout layout = "(2X,I3,F6.2,1X,I2)"_layout;
  struct Case {
    std::string record;
    unsigned column;  // of the failing field, 0 when all convert
    std::size_t target;
    std::int32_t a, b;
    double x;
  };
  const std::vector<Case> cases = {
      {"   12  1.50  7", 0, 0, 12, 7, 1.5},
      {"  1,  150 x", 0, 0, 1, 0, 1.5},  // the comma moves the fields that follow; x lies beyond
      {"  1x3  1.50  7", 3, 0, 0, 0, 0.0},
      {"   12  1.5.  7", 6, 1, 12, 0, 0.0},
      {"   12  1.50 7.", 13, 2, 12, 0, 1.5},
      {"", 0, 0, 0, 0, 0.0},
  };
  for (const Case& c : cases) {
    std::int32_t a = -1;
    std::int32_t b = -1;
    double x = -1.0;
    const std::array<record::In, 3> targets{a, x, b};
    const record::FieldFailure f = record::read_fields(layout, c.record, targets);
    EXPECT_EQ(f.column, c.column) << c.record;
    if (c.column != 0) {
      EXPECT_EQ(f.target, c.target) << c.record;
      continue;
    }
    EXPECT_EQ(a, c.a) << c.record;
    EXPECT_EQ(b, c.b) << c.record;
    EXPECT_EQ(x, c.x) << c.record;
  }
}

}  // namespace
}  // namespace kolven::engine_test

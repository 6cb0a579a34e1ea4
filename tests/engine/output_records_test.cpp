// Output statements: the walk of a layout over a value list and the records it writes, on the
// stability data file and on the console.
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

using record::OutStream;
using record::Text;
using record::text;
using testing::visible;

struct WalkCase {
  const char* layout;
  std::vector<Out> values;
  std::string bytes;
};

void expect_records(const std::vector<WalkCase>& cases) {
  for (const WalkCase& c : cases)
    EXPECT_EQ(visible(written_values(c.layout, c.values)), visible(c.bytes)) << c.layout;
}

TEST(EngineOutput, RecordEnds) {
  expect_records({
      {"(/)", {}, "\r\n\r\n"},
      {"('')", {}, "\r\n"},
      {"(I1,/)", {1}, "1\r\n\r\n"},
      {"(/,/,'a')", {}, "\r\n\r\na\r\n"},
      // $ takes the record end away from the record it stands in only.
      {"('a',$,/,'b')", {}, "ab\r\n"},
      {"('a',/,'b',$)", {}, "a\r\nb"},
  });
}

TEST(EngineOutput, StopsAtTheFirstFieldWithoutValue) {
  expect_records({
      {"(2X,7(A3,I2,3X))", {"abc", 12, "def", 34}, "  abc12   def34\r\n"},
      {"(2X,7(A3,I2,3X))", {}, "\r\n"},
      {"(A4,1X,F5.2,7F10.2)", {"maq ", 1.0, 2.0, 3.0}, "maq   1.00      2.00      3.00\r\n"},
      // The / after the missing fields is never reached.
      {"(A2,7X,I1,7F10.5,/,6F10.5)",
       {"RV", 3, 1.0, 2.0, 3.0},
       "RV       3   1.00000   2.00000   3.00000\r\n"},
      // Everything in front of the field is carried out, record ends included.
      {"(I1,'a',/,'b',I1,'c')", {1}, "1a\r\nb\r\n"},
      {"(2(I1,2(A1),'|'))", {1, "a"}, "1a\r\n"},
  });
}

TEST(EngineOutput, BlanksPlacedAreKeptColumnsPassedOverAreNot) {
  expect_records({
      {"('ab',5X)", {}, "ab\r\n"},
      {"('ab',T10)", {}, "ab\r\n"},
      {"(3X,T10)", {}, "\r\n"},
      {"('ab',5X,'c')", {}, "ab     c\r\n"},
      {"(T5,'x')", {}, "    x\r\n"},
      {"(I5)", {1}, "    1\r\n"},
      {"('   ')", {}, "   \r\n"},
      {"(A6)", {"ab"}, "    ab\r\n"},
      {"(A4,3X)", {"    "}, "    \r\n"},
      {"(3X,A)", {""}, "\r\n"},  // an empty text places nothing
  });
}

TEST(EngineOutput, ColumnsMoveLeftAndOverwrite) {
  expect_records({
      {"('abcdef',T3,'XY')", {}, "abXYef\r\n"},
      {"('abcdef',T2,I2)", {7}, "a 7def\r\n"},
      {"('abc',T1,'Z',T10)", {}, "Zbc\r\n"},  // the record keeps its length
      {"('abcdef',T2,2X,'Z')", {}, "abcZef\r\n"},
      {"('abc',T2,'XYZW')", {}, "aXYZW\r\n"},
      {"('a',/,'bcd',T2,'X')", {}, "a\r\nbXd\r\n"},  // columns count from the record's start
      {"(T3,'KEsp',T11,'TW',/,4(1X,6('-')))",
       {},
       "  KEsp    TW\r\n ------ ------ ------ ------\r\n"},
  });
}

TEST(EngineOutput, NestedGroups) {
  expect_records({
      {"(2(1X,2('-')))", {}, " -- --\r\n"},
      {"(6(1X,6('-')))", {}, std::string(" ------ ------ ------ ------ ------ ------\r\n")},
      {"(2(I1,2(A1)))", {1, "a", "b", 2, "c", "d"}, "1ab2cd\r\n"},
      {"(2('<',2(I1),'>'),'.')", {1, 2, 3, 4}, "<12><34>.\r\n"},
  });
}

TEST(EngineOutput, ValuesLeftAtTheEndRevertToTheLastTopLevelGroup) {
  expect_records({
      // The group comes again with its full repeat count, in a new record.
      {"(I2,2(I3))", {1, 2, 3, 4, 5, 6}, " 1  2  3\r\n  4  5\r\n  6\r\n"},
      {"(I1,2(I1),'|',2(I2),'<')", {1, 2, 3, 4, 5, 6, 7}, "123| 4 5<\r\n 6 7<\r\n"},
      // The last top-level group, not a group inside it.
      {"('a',I1,2('b',2(I1)),'c')", {1, 2, 3, 4, 5, 6, 7}, "a1b23b45c\r\nb67b\r\n"},
      // Without a group, the whole layout again.
      {"(I2,I3)", {1, 2, 3}, " 1  2\r\n 3\r\n"},
      {"('x',I1)", {1, 2}, "x1\r\nx2\r\n"},
      // The record in front of the reversion is written even when it is empty.
      {"(I1,/)", {1, 2}, "1\r\n\r\n2\r\n\r\n"},
  });
}

TEST(EngineOutput, ComplexAndArrayValues) {
  static constexpr std::array<std::int32_t, 3> ints = {1, 2, 3};
  static constexpr std::array<double, 2> reals = {1.0, 2.5};
  static constexpr std::array<double, 0> none = {};
  static constexpr std::array<Text<4>, 3> groups = {text("Caso"), text(" de "), text("test")};
  expect_records({
      {"(F5.1,F6.2)", {Complex{1.5, -2.25}}, "  1.5 -2.25\r\n"},
      {"(3F5.1)", {Complex{1.0, 2.0}, 3.0}, "  1.0  2.0  3.0\r\n"},
      {"(F5.1)", {Complex{1.0, 2.0}}, "  1.0\r\n  2.0\r\n"},
      {"(5I3)", {std::span<const std::int32_t>(ints)}, "  1  2  3\r\n"},
      {"(A2,3F4.1)", {"ab", std::span<const double>(reals), 3.0}, "ab 1.0 2.5 3.0\r\n"},
      {"(I2,I2)", {std::span<const double>(none), 5}, " 5\r\n"},
      {"(20A4)", {groups}, "Caso de test\r\n"},
  });
}

TEST(EngineOutput, BareTextFieldsAreAsWideAsTheirText) {
  const Text<12> name = text("abc.dad     ");
  expect_records({
      {"(A)", {name}, "abc.dad     \r\n"},
      {"(2A,I2)", {"ab", "cde", 7}, "abcde 7\r\n"},
      {"(A3,A4)", {"dim ", "sist"}, "dimsist\r\n"},
  });
}

TEST(EngineOutput, CompiledLayoutWritesLikeARunTimeOne) {
  using namespace record::literals;
  DataFile file;
  write_record(OutStream::DataFile, "(A3,A4,I3,5I10)"_layout, {"dim ", "sist", 3, 10, -20, 0});
  EXPECT_EQ(visible(file.bytes()), visible("dimsist  3        10       -20         0\r\n"));
}

TEST(EngineOutput, StatementsFollowOneAnother) {
  DataFile file;
  file.write("(/,/,/,10X,' Entre com novo nome: ',$)");
  file.write("(A)", {"x"});
  file.write("('')");
  file.write("(I3)", {-12});
  EXPECT_EQ(visible(file.bytes()),
            visible("\r\n\r\n\r\n           Entre com novo nome: x\r\n\r\n-12\r\n"));
}

TEST(EngineOutput, ValueTooWideForItsFieldLeavesTheRestOfTheRecord) {
  expect_records({
      {"(I2,'|',F5.2,'|',A2)", {100, 1234.5, "abc"}, "**|*****|ab\r\n"},
  });
}

// A statement whose values match the fields one for one is written by the layout's flat plan; the
// same reals passed as an array are written by the walk. Both give the same bytes.
TEST(EngineOutput, FlatPlanWritesWhatTheWalkWrites) {
  struct Case {
    const char* layout;
    std::vector<double> reals;  // the values of the F fields, in order, after `front`
    std::vector<Out> front;     // the values of the fields in front of the F fields
  };
  const std::vector<Case> cases = {
      {"(A4,I2,I4,2(8X,I2),4F10.5)", {0.11248, -0.46312, -0.0, 1e-6}, {"ramo", 1, 2, 77, 23}},
      {"(A4,A1,I2,I3,4F10.5,I5,F5.2,2F10.5)",
       {1.07036, -20.13405, 0.5e-5, 99999.999995},
       {"barr", "a   ", 10, 3}},
      {"(T10,I3,T2,I4,'xy',2X,F9.3,T3,F4.1)", {2.5, -0.25}, {7, -812}},
      {"(I3,'|',2(F6.2,1X),$)", {1.005, 2.675}, {-5}},
      {"(F5.2,5X)", {12.345}, {}},
      {"(2X,3(F4.1,'/'),T1,'<')", {1.25, 1.35, 999.95}, {}},
      {"(F3.0,F12.8,F16.7,F40.17)", {-0.4, 1.0 / 3.0, 123456789.0, 0.1}, {}},
  };
  for (const Case& c : cases) {
    std::vector<Out> scalars = c.front;
    for (const double x : c.reals) scalars.emplace_back(x);
    std::vector<Out> array = c.front;
    array.emplace_back(std::span<const double>(c.reals));
    EXPECT_EQ(visible(written_values(c.layout, scalars)), visible(written_values(c.layout, array)))
        << c.layout;
  }
}

// The console: each record is on standard output when the statement returns.
TEST(EngineConsole, RecordsAndPrompts) {
  testing::Scratch scratch;
  CapturedStdout out(scratch.path() / "stdout");

  write_record(OutStream::Console, layout("(' Nome: ',$)"));
  EXPECT_EQ(visible(out.bytes()), visible(" Nome: "));
  record::end_open_line();
  EXPECT_EQ(visible(out.bytes()), visible(" Nome: \r\n"));
  record::end_open_line();  // no line is open any more
  EXPECT_EQ(visible(out.bytes()), visible(" Nome: \r\n"));

  // The next statement goes on in the line that a $ record left open.
  write_record(OutStream::Console, layout("('a',$)"));
  write_record(OutStream::Console, layout("('b',I2)"), {5});
  record::end_open_line();
  EXPECT_EQ(visible(out.bytes()), visible(" Nome: \r\nab 5\r\n"));
}

TEST(EngineConsole, TextLines) {
  testing::Scratch scratch;
  CapturedStdout out(scratch.path() / "stdout");
  record::write_text_line(OutStream::Console, "  ");
  record::write_text_line(OutStream::Console, "Fim  ");
  record::write_text_line(OutStream::Console, "");
  EXPECT_EQ(visible(out.bytes()), visible("   \r\n Fim  \r\n \r\n"));
}

}  // namespace
}  // namespace kolven::engine_test

// Single input fields: the characters of an Iw, Fw.d or Aw field and the value they give, or the
// conversion error they are.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "record/convert.hpp"
#include "tests/support/run.hpp"

namespace kolven::engine_test {
namespace {

using record::scan_int;
using record::scan_real;
using record::scan_text;
using testing::visible;

constexpr double kInf = std::numeric_limits<double>::infinity();

std::optional<std::int32_t> int_of(std::string_view field) {
  std::int32_t v = -77;
  if (!scan_int(field, v)) return std::nullopt;
  return v;
}

std::optional<double> real_of(std::string_view field, unsigned decimals) {
  double v = -77.0;
  if (!scan_real(field, decimals, v)) return std::nullopt;
  return v;
}

TEST(EngineInputFields, Integer) {
  const struct {
    std::string_view field;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"15", 15},
      {"15   ", 15},  // blanks are not zeros
      {"   15", 15},
      {" 1 5 ", 15},
      {"+7", 7},
      {"-7", -7},
      {"- 7", -7},
      {"0000000000000000000012", 12},
      {"", 0},
      {"    ", 0},
      {"+", 0},
      {"-", 0},
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"+0002147483647", 2147483647},
      // Conversion errors.
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"1.0", std::nullopt},
      {"1e2", std::nullopt},
      {"12a", std::nullopt},
      {"\t5", std::nullopt},
      {"5\t", std::nullopt},
      {"--5", std::nullopt},
      {"5-", std::nullopt},
      {"+-5", std::nullopt},
      {"1,", std::nullopt},  // a comma reaches the conversion only when the record has ended it
  };
  for (const auto& c : cases)
    EXPECT_EQ(int_of(c.field), c.value) << '"' << visible(std::string(c.field)) << '"';
}

struct RealCase {
  std::string_view field;
  unsigned decimals;
  std::optional<double> value;
};

void expect_reals(const std::vector<RealCase>& cases) {
  for (const RealCase& c : cases)
    EXPECT_EQ(real_of(c.field, c.decimals), c.value)
        << '"' << visible(std::string(c.field)) << "\" with " << c.decimals << " decimals";
}

TEST(EngineInputFields, RealDigitsPointAndImpliedDecimals) {
  expect_reals({
      {"   1.5", 2, 1.5},
      {"    15", 2, 0.15},
      {"15    ", 2, 0.15},
      {"  1500", 2, 15.0},
      {"   15.", 2, 15.0},
      {"  1 5 ", 2, 0.15},
      {"  -.5 ", 2, -0.5},
      {"  +.5 ", 2, 0.5},
      {"      ", 3, 0.0},
      {"     10", 3, 0.010},
      {"123", 5, 0.00123},
      {"15", 0, 15.0},
      {"3", 1, 0.3},  // one correctly rounded conversion, not 3 * 0.1
      {"1.5", 0, 1.5},
      {".5", 3, 0.5},
      {"5.", 3, 5.0},
      {"-12.25", 1, -12.25},
      {"", 2, 0.0},
      {"-", 2, 0.0},
      {"+", 2, 0.0},
      {".", 2, 0.0},
      {"-.", 2, 0.0},
      {" - . ", 2, 0.0},
      {"000", 2, 0.0},
      // The nearest double: 2^53 + 1 is a tie that goes to the even 2^53; anything above it goes
      // up.
      {"9007199254740993", 0, 9007199254740992.0},
      {"9007199254740993.0000000000001", 0, 9007199254740994.0},
      {"0.1", 0, 0.1},
      {"0.30000000000000004", 0, 0.30000000000000004},
  });
}

TEST(EngineInputFields, RealExponents) {
  expect_reals({
      {" 1.5E2", 2, 150.0},
      {"  15E1", 2, 1.5},  // implied decimals also with an exponent
      {"  1.5-3", 2, 0.0015},
      {"1.5e2", 2, 150.0},
      {"1.5D2", 2, 150.0},
      {"1.5d2", 2, 150.0},
      {"1.5Q2", 2, 150.0},
      {"1.5q2", 2, 150.0},
      {"1.5E+2", 2, 150.0},
      {"1.5E-2", 2, 0.015},
      {"1.5+2", 2, 150.0},
      {"15+1", 2, 1.5},
      {"15D1", 0, 150.0},
      {"-15E-1", 1, -0.15},
      {"1.5 E 2", 0, 150.0},
      {"1.5E - 2", 0, 0.015},
      {".5E1", 0, 5.0},
      {"5.E1", 0, 50.0},
      {"1E0", 0, 1.0},
      {"1E00000000000000000002", 0, 100.0},
      // The range of a double.
      {"1.7976931348623157E308", 0, std::numeric_limits<double>::max()},
      {"4.9E-324", 0, std::numeric_limits<double>::denorm_min()},
      {"2.2250738585072014E-308", 0, std::numeric_limits<double>::min()},
      {"1E-400", 0, 0.0},
      {"-1E-400", 0, 0.0},
      {"1E-99999999999", 0, 0.0},
      {"1E400", 0, std::nullopt},
      {"-1E400", 0, std::nullopt},
      {"1.8E308", 0, std::nullopt},
      {"1E99999999999", 0, std::nullopt},
      {"0E400", 0, 0.0},
      // An exponent needs digits in front of it and digits of its own.
      {"1.5E", 0, std::nullopt},
      {"1.5E+", 0, std::nullopt},
      {"1.5-", 0, std::nullopt},
      {"E5", 0, std::nullopt},
      {".E5", 0, std::nullopt},
      {"-E5", 0, std::nullopt},
      {"1.5E2.", 0, std::nullopt},
      {"1.5E2E1", 0, std::nullopt},
      {"1.5EE2", 0, std::nullopt},
  });
}

TEST(EngineInputFields, RealWords) {
  expect_reals({
      {"Inf", 2, kInf},
      {"inf", 2, kInf},
      {"INFINITY", 2, kInf},
      {"iNfInItY", 2, kInf},
      {"+Inf", 2, kInf},
      {"-Infinity", 2, -kInf},
      {"  - inf  ", 2, -kInf},
      {"\tInf", 2, kInf},
      {"In", 2, std::nullopt},
      {"Infin", 2, std::nullopt},
      {"Infinityy", 2, std::nullopt},
      {"InfinityInfinity", 2, std::nullopt},
      {"1Inf", 2, std::nullopt},
      {"Inf\t", 2, std::nullopt},
      {"Na", 2, std::nullopt},
      {"NaNa", 2, std::nullopt},
  });
  for (std::string_view nan : {"NaN", "nan", "NAN", " -NaN ", "+nan"}) {
    const std::optional<double> v = real_of(nan, 2);
    ASSERT_TRUE(v.has_value()) << nan;
    EXPECT_TRUE(std::isnan(*v)) << nan;
  }
}

TEST(EngineInputFields, RealTabsAndOtherCharacters) {
  expect_reals({
      // Tabs and the control bytes after them are skipped in front of the number.
      {"\t1.5", 2, 1.5},
      {" \t \t1.5", 2, 1.5},
      {"\v\f\r\n1.5", 2, 1.5},
      {"\t", 2, 0.0},
      // Anywhere else they are errors.
      {"1.5\t", 2, std::nullopt},
      {"1\t5", 2, std::nullopt},
      {"-\t5", 2, std::nullopt},
      {"1.5\r", 2, std::nullopt},
      {"\x08"
       "1.5",
       2, std::nullopt},
      {"1..5", 2, std::nullopt},
      {"1.5.", 2, std::nullopt},
      {"..", 2, std::nullopt},
      {"1.5x", 2, std::nullopt},
      {"x", 2, std::nullopt},
      {"--1", 2, std::nullopt},
      {"+-1", 2, std::nullopt},
      {"1,5", 2, std::nullopt},
  });
}

TEST(EngineInputFields, TextIntoShorterAndLongerTargets) {
  const struct {
    std::string_view field;  // the columns inside the record
    unsigned width;
    std::size_t target;
    std::string_view text;
  } cases[] = {
      {"abcdefghijkl", 8, 12, "abcdefgh    "},  // w < n: blanks after
      {"abcdef", 6, 4, "cdef"},                 // w > n: the last n
      {"abc", 6, 4, "c   "},                    // columns past the record are blanks
      {"abcd", 4, 4, "abcd"},
      {"ab", 4, 4, "ab  "},
      {"", 1, 1, " "},
      {"", 3, 5, "     "},
      {"a,b\t", 4, 4, "a,b\t"},  // no conversion, commas included
  };
  for (const auto& c : cases) {
    std::string target(c.target, '#');
    scan_text(c.field, c.width, std::span<char>(target.data(), target.size()));
    EXPECT_EQ(visible(target), visible(std::string(c.text)))
        << '"' << c.field << "\" in A" << c.width << " into " << c.target;
  }
}

}  // namespace
}  // namespace kolven::engine_test

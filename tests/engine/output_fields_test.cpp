// Single output fields: Iw, Fw.d and Aw, each a table of value, item and the exact characters.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "record/convert.hpp"

namespace kolven::engine_test {
namespace {

using record::format_int;
using record::format_real;
using record::format_text;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The field, written into a row that is wider than the field, so that a write outside it shows.
std::string real_field(double value, unsigned width, unsigned decimals) {
  std::string row(width + 2, '#');
  format_real(row.data() + 1, width, decimals, value);
  EXPECT_EQ(row.front(), '#');
  EXPECT_EQ(row.back(), '#');
  return row.substr(1, width);
}

std::string int_field(std::int32_t value, unsigned width) {
  std::string row(width + 2, '#');
  format_int(row.data() + 1, width, value);
  EXPECT_EQ(row.front(), '#');
  EXPECT_EQ(row.back(), '#');
  return row.substr(1, width);
}

std::string text_field(std::string_view value, unsigned width) {
  std::string row(width + 2, '#');
  format_text(row.data() + 1, width, value);
  EXPECT_EQ(row.front(), '#');
  EXPECT_EQ(row.back(), '#');
  return row.substr(1, width);
}

struct RealCase {
  double value;
  unsigned width;
  unsigned decimals;
  const char* field;
};

TEST(EngineOutputFields, RealRoundsTheExactBinaryValueHalfToEven) {
  const std::vector<RealCase> cases = {
      {0.125, 5, 2, " 0.12"},   // exact tie: even
      {0.375, 5, 2, " 0.38"},   // exact tie: even
      {0.135, 5, 2, " 0.14"},   // stored slightly above
      {1.005, 6, 2, "  1.00"},  // stored slightly below
      {2.675, 5, 2, " 2.67"},   // stored slightly below
      {-1.25, 5, 1, " -1.2"},
      {0.125, 3, 0, " 0."},
      {0.5, 3, 0, " 0."},
      {1.5, 3, 0, " 2."},
      {2.5, 3, 0, " 2."},
      {3.5, 3, 0, " 4."},
      {-2.5, 3, 0, "-2."},
      {12345.678, 8, 2, "12345.68"},
      {0.96, 4, 1, " 1.0"},      // the rounding reaches the integer part
      {99.995, 6, 2, "100.00"},  // and makes it one digit longer
      {0.1, 25, 20, "   0.10000000000000000555"},
      {1e22, 27, 1, "  10000000000000000000000.0"},
      {5e-324, 8, 3, "   0.000"},
  };
  for (const RealCase& c : cases)
    EXPECT_EQ(real_field(c.value, c.width, c.decimals), c.field)
        << c.value << " in F" << c.width << "." << c.decimals;
}

// The usual fields, and values whose scaled product lies near a half: far enough from it, the
// product rounded once decides; closer, the exact binary value does.
TEST(EngineOutputFields, RealUsualFieldsAndValuesNearAHalf) {
  const std::vector<RealCase> cases = {
      {-20.13405, 10, 5, " -20.13405"},
      {-1.07036, 10, 5, "  -1.07036"},
      {1.07036, 10, 5, "   1.07036"},
      {20.13405, 10, 5, "  20.13405"},
      {-0.46312, 10, 5, "  -0.46312"},
      {-9.994, 5, 2, "-9.99"},
      {10.0, 5, 2, "10.00"},
      {-10.0, 5, 2, "*****"},
      {0.94, 5, 2, " 0.94"},
      {-0.94, 5, 2, "-0.94"},
      {0.5 + 0x1p-19, 3, 0, " 1."},  // a product clearly above the half
      {0.5 - 0x1p-19, 3, 0, " 0."},
      {0.5 + 0x1p-30, 3, 0, " 1."},  // too close to the half for the rounded product
      {0.5 - 0x1p-30, 3, 0, " 0."},
      {-5e-6, 10, 5, "  -0.00001"},         // stored just above half a unit
      {-0x1p-18, 10, 5, "   0.00000"},      // below half a unit: a zero, without its sign
      {42949.67295, 11, 5, "42949.67295"},  // units just below and above 2^32
      {42949.67297, 11, 5, "42949.67297"},
  };
  for (const RealCase& c : cases)
    EXPECT_EQ(real_field(c.value, c.width, c.decimals), c.field)
        << c.value << " in F" << c.width << "." << c.decimals;
}

TEST(EngineOutputFields, RealZeroAndTheLeadingZero) {
  const std::vector<RealCase> cases = {
      {0.5, 5, 3, "0.500"},
      {0.5, 4, 3, ".500"},
      {-0.5, 6, 3, "-0.500"},
      {-0.5, 5, 3, "-.500"},  // the one column left takes the sign, not a 0
      {-0.5, 4, 3, "****"},
      {-0.05, 4, 1, "-0.1"},
      {-0.05, 3, 1, "-.1"},
      {0.4, 2, 0, "0."},
      {0.4, 1, 0, "."},
      {0.0, 1, 0, "."},
      {0.0, 3, 2, ".00"},
      {0.0, 5, 2, " 0.00"},
      {1e-5, 3, 1, "0.0"},
      // A value that rounds to zero has no sign.
      {-0.0, 5, 2, " 0.00"},
      {-0.004, 5, 2, " 0.00"},
      {-0.0004, 10, 3, "     0.000"},
      {-0.5, 3, 0, " 0."},
      {-5e-324, 8, 3, "   0.000"},
      {-0.4, 2, 0, "0."},
      // 0.005 is stored slightly above: it does not round to zero.
      {-0.005, 6, 2, " -0.01"},
  };
  for (const RealCase& c : cases)
    EXPECT_EQ(real_field(c.value, c.width, c.decimals), c.field)
        << c.value << " in F" << c.width << "." << c.decimals;
}

TEST(EngineOutputFields, RealTooWideGivesAsterisks) {
  const std::vector<RealCase> cases = {
      {123456.0, 8, 2, "********"},
      {1.0, 3, 2, "***"},
      {9.5, 2, 0, "**"},  // rounds to 10
      {9.5, 3, 0, "10."},
      {99.995, 5, 2, "*****"},
      {-0.6, 2, 0, "**"},  // -1.
      {0.0, 3, 5, "***"},
      {1e300, 10, 2, "**********"},
      {-1e300, 10, 2, "**********"},
      {std::numeric_limits<double>::max(), 1, 0, "*"},
  };
  for (const RealCase& c : cases)
    EXPECT_EQ(real_field(c.value, c.width, c.decimals), c.field)
        << c.value << " in F" << c.width << "." << c.decimals;
}

TEST(EngineOutputFields, RealNotFinite) {
  const std::vector<RealCase> cases = {
      {kInf, 10, 2, "  Infinity"},  {kInf, 8, 2, "Infinity"},   {kInf, 7, 2, "    Inf"},
      {kInf, 3, 0, "Inf"},          {kInf, 2, 0, "**"},         {kInf, 1, 0, "*"},
      {-kInf, 10, 2, " -Infinity"}, {-kInf, 9, 2, "-Infinity"}, {-kInf, 8, 2, "    -Inf"},
      {-kInf, 4, 0, "-Inf"},        {-kInf, 3, 0, "***"},       {kNaN, 5, 2, "  NaN"},
      {kNaN, 3, 0, "NaN"},          {kNaN, 2, 0, "**"},         {-kNaN, 5, 2, "  NaN"},
  };
  for (const RealCase& c : cases)
    EXPECT_EQ(real_field(c.value, c.width, c.decimals), c.field)
        << c.value << " in F" << c.width << "." << c.decimals;
}

TEST(EngineOutputFields, Integer) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const struct {
    std::int32_t value;
    unsigned width;
    const char* field;
  } cases[] = {
      {0, 1, "0"},
      {0, 5, "    0"},
      {7, 1, "7"},
      {5, 3, "  5"},
      {-5, 2, "-5"},  // the sign counts towards the width
      {-10, 2, "**"},
      {-1, 1, "*"},
      {99, 2, "99"},
      {-42, 3, "-42"},
      {-7, 5, "   -7"},
      {42, 16, "              42"},
      {100, 2, "**"},
      {-100, 5, " -100"},
      {kMax, 10, "2147483647"},
      {kMax, 9, "*********"},
      {kMin, 12, " -2147483648"},
      {kMin, 11, "-2147483648"},
      {kMin, 10, "**********"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(int_field(c.value, c.width), c.field) << c.value << " in I" << c.width;
}

TEST(EngineOutputFields, Text) {
  const struct {
    std::string_view value;
    unsigned width;
    const char* field;
  } cases[] = {
      {"dim ", 3, "dim"},                                                // the first w characters
      {"RV  ", 2, "RV"},     {"abcd", 4, "abcd"},   {"ab", 5, "   ab"},  // blanks on the left
      {"a b ", 6, "  a b "},                                             // its own blanks kept
      {"", 2, "  "},         {"x,'\t", 4, "x,'\t"},                      // no conversion
  };
  for (const auto& c : cases)
    EXPECT_EQ(text_field(c.value, c.width), c.field) << '"' << c.value << "\" in A" << c.width;
}

}  // namespace
}  // namespace kolven::engine_test

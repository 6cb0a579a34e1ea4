// Parsing layouts: what is refused, and that the accepted spellings write the same records.
#include <gtest/gtest.h>

#include <string>

#include "record/layout.hpp"
#include "tests/engine/helpers.hpp"

namespace kolven::engine_test {
namespace {

using record::OwnedLayout;
using record::parse_layout;

TEST(EngineLayout, MalformedLayoutsAreRefused) {
  for (const char* text : {
           "",      "I3",   "(I3",  "(I3))",   "(I3 I4)", "(I3,)", "(I)",      "(F5)",
           "(F5.)", "(I0)", "(A0)", "(0I3)",   "(0(I3))", "(X)",   "(T)",      "(T0)",
           "(2T5)", "(2/)", "(2$)", "(2'ab')", "('ab)",   "(B3)",  "(I3,(A2)",
       }) {
    EXPECT_NE(parse_layout(text, nullptr, 0).error, nullptr) << text;
    EXPECT_FALSE(OwnedLayout::parse(text).has_value()) << text;
  }
}

TEST(EngineLayout, BlanksAndLowerCaseAreAccepted) {
  EXPECT_EQ(written(" ( i3 , 2x , f5.2 , a , t2 , 'q' ) ", {7, 1.5, "ab"}),
            written("(I3,2X,F5.2,A,T2,'q')", {7, 1.5, "ab"}));
  EXPECT_EQ(written("(i3,2x,f5.2,a,t2,'q')", {7, 1.5, "ab"}), " q7   1.50ab\r\n");
  EXPECT_EQ(written("(' a , b ')"), " a , b \r\n");  // a literal is taken as written
}

// The flat plan: the groups unrolled, each field and literal at its first column; no plan where one
// record cannot hold the statement or the unrolled layout would be too large.
TEST(EngineLayout, FlatPlanPlacesEveryFieldAndLiteral) {
  const auto layout = OwnedLayout::parse("(2X,2(I2,'|'),T1,F4.1,$)");
  ASSERT_TRUE(layout.has_value());
  const record::Layout l = layout->view();
  ASSERT_TRUE(l.has_plan);
  const record::Plan& p = l.plan;
  EXPECT_EQ(p.fields, 3);
  EXPECT_EQ(p.length, 8);
  EXPECT_TRUE(p.gaps);
  EXPECT_TRUE(p.dollar);
  std::string placed;
  for (std::size_t k = 0; k < p.size; ++k) {
    const record::Step& st = p.steps[k];
    placed += std::to_string(st.at) + ":" + (st.op == record::Op::Literal ? "'" : "") +
              std::to_string(st.width) + " ";
  }
  EXPECT_EQ(placed, "2:2 4:'1 5:2 7:'1 0:4 ");

  for (const char* text : {"(I2,/,I3)", "(A)", "(300I1)", "(65535(65535(65535(''))))"}) {
    const auto other = OwnedLayout::parse(text);
    ASSERT_TRUE(other.has_value()) << text;
    EXPECT_FALSE(other->view().has_plan) << text;
  }
}

}  // namespace
}  // namespace kolven::engine_test

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

}  // namespace
}  // namespace kolven::engine_test

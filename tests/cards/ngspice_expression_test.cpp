// Brace expressions rewritten in ngspice's spelling.
#include "cards/ngspice_expression.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

struct Case {
  const char* in;
  const char* out;  // none: nothing to rewrite
  const char* changes;
};

std::string Rewritten(const char* in, ExpressionUse use, std::string* changes = nullptr,
                      std::string* unknown = nullptr) {
  NgspiceExpression out;
  const bool rewrote = RewriteForNgspice(in, use, out);
  if (unknown != nullptr) *unknown = out.unknownFunction;
  if (!rewrote) return "<unchanged>";
  if (changes != nullptr) *changes = out.changes;
  return out.text;
}

TEST(NgspiceExpression, DialectFunctionsAreSpelledOut) {
  const Case cases[] = {
      {"{IF(a>1, 2, 3)}", "{((a>1) ? (2) : (3))}", "IF"},
      {"{if ( V(304) > 3.5, {HI}, {LO} )}", "{((V(304) > 3.5) ? ((HI)) : ((LO)))}", "inner braces, IF"},
      {"{LIMIT(G*V(a,b), LO, HI)}", "{min(max(G*V(a,b), LO), HI)}", "LIMIT"},
      {"{1.184*PWR(NVR,2)}", "{1.184*(abs(NVR) ** (2))}", "PWR"},
      {"{PWRS(x, 0.5)}", "{(sgn(x) * abs(x) ** (0.5))}", "PWRS"},
      {"{STP(t-1)}", "{((t-1) > 0 ? 1 : 0)}", "STP"},
      {"{IF(LIMIT(x,0,1) > 0.5, PWR(y,2), 0)}", "{((min(max(x, 0), 1) > 0.5) ? ((abs(y) ** (2))) : (0))}",
       "LIMIT, PWR, IF"},
      {"{20*{0.00068*TEMP+0.983}}", "{20*(0.00068*temper+0.983)}", "inner braces, TEMP"},
      {"{a & b | c}", "{a && b || c}", "&, |"},
      {"{2*PI*F}", "{2*3.141592653589793*F}", "PI"},
      // Not closed on its line: rewritten all the same, and left open.
      {"{IF(a,b,c)", "{((a) ? (b) : (c))", "IF"},
  };
  for (const Case& c : cases) {
    std::string changes;
    EXPECT_EQ(Rewritten(c.in, ExpressionUse::Parameter, &changes), c.out) << c.in;
    EXPECT_EQ(changes, c.changes) << c.in;
  }
}

TEST(NgspiceExpression, WhatNgspiceReadsAsWrittenIsLeftAlone) {
  const char* const unchanged[] = {
      "{V(TEMP)*2 + I(VPI)}",  // node and device names are not variables
      "{1E-3*X + 10MEG/TEMPCO}",  // exponent letters, scale suffixes, longer names
      "{a && b || c}",
      "{IF(a, b}",  // a call that is not closed is not touched
      "{exp(-x)*sqrt(y)}",
      "1+2",  // not a brace expression at all
  };
  for (const char* in : unchanged) EXPECT_EQ(Rewritten(in, ExpressionUse::Parameter), "<unchanged>") << in;
}

TEST(NgspiceExpression, BehaviouralSourcesHaveTableAndPi) {
  EXPECT_EQ(Rewritten("{TABLE(V(1), 0, 0, 1, 5)}", ExpressionUse::Behavioural), "{pwl(V(1), 0, 0, 1, 5)}");
  EXPECT_EQ(Rewritten("{2*pi*V(F)}", ExpressionUse::Behavioural), "<unchanged>");

  // pwl takes only numbers as points, and only in a behavioural source;
  // otherwise the table is spelled out.
  EXPECT_EQ(Rewritten("{TABLE(V(1), -100m, 0.495p, 1E+3, 17.2p)}", ExpressionUse::Behavioural),
            "{pwl(V(1), -100m, 0.495p, 1E+3, 17.2p)}");
  EXPECT_EQ(Rewritten("{TABLE(X, 0, 1, 2, {A})}", ExpressionUse::Behavioural),
            "{((X) <= (0) ? (1) : ((X) <= (2) ? (1) + (((A)) - (1)) * ((X) - (0)) / ((2) - (0)) : ((A))))}");
  EXPECT_EQ(Rewritten("{TABLE(T, 0, 0, 1, 5, 3, 6)}", ExpressionUse::Parameter),
            "{((T) <= (0) ? (0) : ((T) <= (1) ? (0) + ((5) - (0)) * ((T) - (0)) / ((1) - (0)) : "
            "((T) <= (3) ? (5) + ((6) - (5)) * ((T) - (1)) / ((3) - (1)) : (6))))}");

  std::string unknown;
  EXPECT_EQ(Rewritten("{IF(a,1,0)*ATAN2(y, x)}", ExpressionUse::Behavioural, nullptr, &unknown),
            "{((a) ? (1) : (0))*ATAN2(y, x)}");
  EXPECT_EQ(unknown, "ATAN2");
}

TEST(NgspiceExpression, BraceExpressionEndsAtItsMatchOrTheLineFeed) {
  EXPECT_EQ(BraceExpressionEnd("R1 a b {X*{Y}} 5\n", 7), 14u);
  EXPECT_EQ(BraceExpressionEnd("R1 a b {X*(Y\n", 7), 12u);
  EXPECT_EQ(BraceExpressionEnd("{X", 0), 2u);
}

}  // namespace
}  // namespace zav

#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

namespace kivora::script::testing {
namespace {

TEST(Precedence, ArithmeticBitwiseAndComparisonLevels) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("1 + 2 * 3"), "i:7");
  EXPECT_EQ(r.eval("10 - 2 - 3"), "i:5");
  EXPECT_EQ(r.eval("1 << 2 + 1"), "i:8");
  EXPECT_EQ(r.eval("5 & 3 == 3"), "i:1");
  EXPECT_EQ(r.eval("1 | 2 ^ 3"), "i:1");
  EXPECT_EQ(r.eval("2 ^ 3 & 1"), "i:3");
  EXPECT_EQ(r.eval("1 < 2 == 1"), "i:1");
  EXPECT_EQ(r.eval("7 % 4 * 2"), "i:6");
}

TEST(Precedence, PowerIsLeftAssociativeAndPrefixMinusBindsTighter) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("2 ** 3 ** 2"), "i:64");
  EXPECT_EQ(r.eval("-2 ** 2"), "i:4");
  EXPECT_EQ(r.eval("~0 + 1"), "i:0");
}

TEST(Precedence, StrictEqualityTakesTheNearestTermOnTheLeftAndEverythingOnTheRight) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("2 + 2 === 4"), "i:2");  // 2 + (2 === 4)
  EXPECT_EQ(r.eval("(2 + 2) === 4"), "i:1");
  EXPECT_EQ(r.eval("1 === 1 ? 5 : 6"), "i:0");  // 1 === (1 ? 5 : 6)
  EXPECT_EQ(r.eval("3 !== 1 + 2"), "i:0");
}

TEST(Precedence, ConditionalAndAssignmentAreRightAssociative) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("0 ? 1 : 0 ? 2 : 3"), "i:3");
  r.out.clear();
  r.run("x = y = 3\nCB.OUT(x, y)\n");
  EXPECT_EQ(r.out, (Lines{"i:3", "i:3"}));
}

TEST(Precedence, LogicalOperatorsLiveOnlyAtTheConditionLevel) {
  ScriptRunner r;
  r.run("a = 5\nb = 0\nx = a && b\nCB.OUT(x)\n");
  EXPECT_EQ(r.out, (Lines{"i:5"}));     // (x = a) && b
  EXPECT_EQ(r.eval("!2 == 3"), "i:1");  // !(2 == 3)
  EXPECT_EQ(r.eval("1 || 0 && 0"), "i:1");
  r.errors.clear();
  r.run("CB.OUT(1 && 1)\n");
  ASSERT_EQ(r.errorCodes(), (std::vector<unsigned>{101}));
  r.errors.clear();
  r.out.clear();
  r.run("CB.OUT((1 && 1))\n");
  EXPECT_TRUE(r.errors.empty());
  EXPECT_EQ(r.out, (Lines{"i:1"}));
}

TEST(Grammar, StatementsNeedTheirLineEnds) {
  ScriptRunner r;
  EXPECT_EQ(r.check("if 1 { x = 1 }\n"), 1);
  EXPECT_EQ(r.check("if 1 {\n x = 1\n}\n"), 0);
  EXPECT_EQ(r.check("if 1\n{\n x = 1\n}\nelse\n{\n x = 2\n}\n"), 0);
  EXPECT_EQ(r.check("if 1 {\n x = 1\n}\nelse if 0 {\n}\nelse {\n}\n"), 0);
  // return, goto and labels need none, so a body can be one line.
  EXPECT_EQ(r.check("func f(a) { return a }\n:top goto :top\n"), 0);
  // until has to follow the closing brace on its line.
  EXPECT_EQ(r.check("repeat {\n x = 1\n} until x\n"), 0);
  EXPECT_EQ(r.check("repeat {\n x = 1\n}\nuntil x\n"), 1);
  EXPECT_EQ(r.check(""), 0);
}

TEST(Grammar, LoopsAndDefinitions) {
  ScriptRunner r;
  r.run("n = 0\nfor (,,) {\n n++\n if n == 3 {\n  break\n }\n}\nCB.OUT(n)\n");
  EXPECT_EQ(r.out, (Lines{"i:3"}));
  r.out.clear();
  // Definitions are entered at parse time; the later one wins.
  r.run("CB.OUT(f())\nfunc f() { return 1 }\nfunc f() { return 2 }\n");
  EXPECT_EQ(r.out, (Lines{"i:2"}));
}

TEST(SyntaxError, ReportShowsTheLineAndACaretUnderTheToken) {
  ScriptRunner r;
  EXPECT_EQ(r.run("x = 1\ny = 2\nabc )\n"), 0);
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 101u);
  EXPECT_EQ(r.errors[0].line, 3);
  // The name is reduced to a whole condition before the parser notices.
  EXPECT_EQ(r.errors[0].text,
            "line 3, col 5: parse error, expecting `AND' or `OR' or `EOL' (got ')')\n   3 | abc "
            ")\n           ^");
}

TEST(SyntaxError, LongTokensGetTildesAndFewExpectedTokensAreListed) {
  ScriptRunner r;
  r.run("x = 1 abc\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(
      r.errors[0].text,
      "line 1, col 7: parse error, expecting `AND' or `OR' or `EOL' (got 'abc')\n   1 | x = 1 abc\n"
      "             ^~~");
  r.errors.clear();
  r.run("for x\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].text,
            "line 1, col 5: parse error, expecting `'('' (got 'x')\n   1 | for x\n           ^");
  r.errors.clear();
  r.run("x = (1 2)\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(
      r.errors[0].text,
      "line 1, col 8: parse error, expecting `AND' or `OR' or `')'' (got '2')\n   1 | x = (1 2)\n"
      "              ^");
  r.errors.clear();
  // Five or more possibilities: the message stays short.
  r.run("x = ]\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].text, "line 1, col 5: parse error (got ']')\n   1 | x = ]\n           ^");
}

TEST(SyntaxError, ALineEndAsTheOffendingTokenShowsItsOwnLineWithoutText) {
  ScriptRunner r;
  r.run("\nbreak 1\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(
      r.errors[0].text,
      "line 2, col 7: parse error, expecting `EOL' (got '1')\n   2 | break 1\n             ^");
  r.errors.clear();
  r.run("x = (1\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].text.rfind("line 1, col 7: parse error", 0), 0u);
  EXPECT_EQ(r.errors[0].text.find("(got"), std::string::npos);
}

TEST(SyntaxError, NothingRunsAndTheErrorIsReportedOnce) {
  ScriptRunner r;
  EXPECT_EQ(r.run("CB.OUT(1)\nx = = 2\nCB.OUT(2)\n"), 0);
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(r.errorCodes(), (std::vector<unsigned>{101}));
}

TEST(SyntaxError, NestingDeeperThanTheParserStackIsASyntaxError) {
  ScriptRunner r;
  const std::string deep = "x = " + std::string(20000, '(') + "1" + std::string(20000, ')') + "\n";
  EXPECT_EQ(r.run(deep), 0);
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 101u);
  EXPECT_NE(r.errors[0].text.find("parser stack overflow"), std::string::npos);
  r.errors.clear();
  const std::string fine =
      "CB.OUT(" + std::string(3000, '(') + "1" + std::string(3000, ')') + ")\n";
  r.run(fine);
  EXPECT_TRUE(r.errors.empty());
  EXPECT_EQ(r.out, (Lines{"i:1"}));
}

TEST(NodeLines, RuntimeErrorsNameTheLineTheExpressionStartsOn) {
  ScriptRunner r;
  r.run("x = 1\n\ny = 2 +\n 1 / 0\n");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].line, 4);
  EXPECT_EQ(r.errors[0].text, "Runtime Error: Division by zero(/0) at line 4\n");
}

}  // namespace
}  // namespace kivora::script::testing

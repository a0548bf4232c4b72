#include "script/context.h"
#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

namespace kivora::script::testing {
namespace {

TEST(Operators, StringsAndIntegersMix) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("\"5\" + 3"), "s:53");
  EXPECT_EQ(r.eval("3 + \"5\""), "i:8");
  EXPECT_EQ(r.eval("\"12abc\" + 0"), "s:12abc0");
  EXPECT_EQ(r.eval("0 + \"12abc\""), "i:12");
  EXPECT_EQ(r.eval("\"7\" * \"6\""), "i:42");
}

TEST(Operators, ComparisonsTurnTextualWhenEitherSideIsAString) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("1 == \"1\""), "i:1");
  EXPECT_EQ(r.eval("1 === \"1\""), "i:0");
  EXPECT_EQ(r.eval("\"a\" === \"a\""), "i:1");
  EXPECT_EQ(r.eval("1 !== \"1\""), "i:1");
  EXPECT_EQ(r.eval("\"10\" < \"9\""), "i:1");
  EXPECT_EQ(r.eval("10 < \"9\""), "i:1");
  EXPECT_EQ(r.eval("10 < 9"), "i:0");
  EXPECT_EQ(r.eval("\"ab\" < \"abc\""), "i:1");
  EXPECT_EQ(r.eval("\"\xC3\xA9\" > \"z\""), "i:1");  // bytes compare unsigned
  EXPECT_EQ(r.eval("-1 < 0"), "i:1");
}

TEST(Operators, IntegerArithmeticWrapsAndNeverFaults) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("7 / -2"), "i:-3");
  EXPECT_EQ(r.eval("-7 % 2"), "i:-1");
  EXPECT_EQ(r.eval("-8 >> 1"), "i:-4");
  EXPECT_EQ(r.eval("1 << 33"), "i:2");
  EXPECT_EQ(r.eval("0 ** 0"), "i:1");
  EXPECT_EQ(r.eval("5 ** -1"), "i:1");
  EXPECT_EQ(r.eval("3 ** 40"), "i:689956897");  // 3^40 mod 2^32
  EXPECT_EQ(r.eval("MAXINTEGER + 1"), "i:-2147483648");
  EXPECT_EQ(r.eval("MININTEGER / -1"), "i:-2147483648");
  EXPECT_EQ(r.eval("MININTEGER % -1"), "i:0");
  EXPECT_EQ(r.eval("-MININTEGER"), "i:-2147483648");
  EXPECT_EQ(r.eval("MAXINTEGER * 2"), "i:-2");
  EXPECT_TRUE(r.errors.empty());
}

TEST(Operators, LogicalOperatorsUseTheIntegerFormButConditionsUseTruth) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("\"abc\" && 1"), "i:0");
  EXPECT_EQ(r.eval("\"0\" || 0"), "i:0");
  EXPECT_EQ(r.eval("0 || 7"), "i:1");
  r.out.clear();
  r.run("if \"abc\" {\n CB.OUT(1)\n}\nif \"0\" {\n CB.OUT(2)\n}\nif \"\" {\n CB.OUT(3)\n}\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:2"}));
  r.out.clear();
  // The right side is not evaluated when the left decides.
  r.run("x = 0\nif 0 && (x = 1) {\n}\nif 1 || (x = 2) {\n}\nCB.OUT(x)\n");
  EXPECT_EQ(r.out, (Lines{"i:0"}));
}

TEST(Operators, DivisionByZeroReportsAndStopsAfterTheStatement) {
  ScriptRunner r;
  r.run("x = 10\nx /= 0\nCB.OUT(x)\n");
  EXPECT_TRUE(r.out.empty());
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 102u);
  EXPECT_EQ(r.errors[0].text, "Runtime Error: Division by zero(/=0) at line 2\n");
  r.errors.clear();
  r.run("DEFINE(\"KeepVar\", 1)\nx = 10\nx %= 0\n");
  EXPECT_EQ(r.engine.variables().find("X")->intValue, 10);
  EXPECT_EQ(r.errors[0].code, 103u);
  EXPECT_EQ(r.errors[0].text, "Runtime Error: Division by zero(%=0) at line 3\n");
  r.errors.clear();
  r.run("CB.OUT(1 % 0, 2)\nCB.OUT(3)\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:2"}));  // the statement finishes with int 0
  EXPECT_EQ(r.errors[0].text, "Runtime Error: Division by zero(%0) at line 1\n");
}

TEST(Assignment, CompoundOperatorsFollowTheVariablesType) {
  ScriptRunner r;
  r.run("a = \"a\"\na += 1\nn = 3\nn += \"5\"\ns$ += 1\nt += 1\nCB.OUT(a, n, s$, t)\n");
  EXPECT_EQ(r.out, (Lines{"s:a1", "i:8", "s:1", "i:1"}));
  r.out.clear();
  r.run("p = \"7\"\n++p\nq = \"7\"\nq++\nCB.OUT(p, q)\n");
  EXPECT_EQ(r.out, (Lines{"s:71", "i:8"}));
  r.out.clear();
  r.run("x = 5\nCB.OUT(x++, x, x--, --x)\n");
  EXPECT_EQ(r.out, (Lines{"i:5", "i:6", "i:6", "i:4"}));
  r.out.clear();
  r.run("x = 6\nx -= 1\nx *= 3\nx <<= 2\nx >>= 1\nx |= 1\nx ^= 3\nx &= 14\nx **= 2\nCB.OUT(x)\n");
  EXPECT_EQ(r.out, (Lines{"i:144"}));
}

TEST(Assignment, AppendingToATextThatIsAlsoAnArrayReplacesTheWholeValue) {
  // s[0] = 1 makes the text s an array as well (its text becomes its name);
  // every way of appending then leaves a plain text, as s = s + "x" does.
  for (const std::string append : {"s = s + \"x\"", "s += \"x\"", "s += TOSTR(\"x\")"}) {
    ScriptRunner r;
    r.run("s = \"s\"\ns[0] = 1\n" + append + "\nCB.OUT(TYPEOF(\"s\"), s, s[0])\n");
    EXPECT_EQ(r.out, (Lines{"s:string", "s:Sx", "i:0"})) << append;
  }
}

TEST(Variables, UnassignedNamesConstantsAndMustVarDef) {
  ScriptRunner r;
  r.run(
      "CB.OUT(never, never$, VK_NUMLOCK, vk_numlock)\nVK_NUMLOCK = 5\nCB.OUT(VK_NUMLOCK, TRUE, "
      "MININTEGER)\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "s:", "i:144", "i:144", "i:5", "i:1", "i:-2147483648"}));
  r.out.clear();
  r.run("DEFINE(\"MustVarDef\", 1)\nDEFINE(\"KeepVar\", 1)\nCB.OUT(1)\ny = nope + 1\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"i:1"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 109u);
  EXPECT_EQ(r.errors[0].text, "Runtime Error: Unassigned variable(NOPE) at line 4\n");
  // Reading never creates the variable; the failed statement still assigns.
  EXPECT_FALSE(r.engine.variables().contains("NOPE"));
  EXPECT_EQ(r.engine.variables().find("Y")->intValue, 1);
  // MustVarDef lasts for one run only.
  r.errors.clear();
  r.run("CB.OUT(nope2)\n");
  EXPECT_TRUE(r.errors.empty());
}

TEST(Arrays, ElementsGrowAndReadingGrowsToo) {
  ScriptRunner r;
  r.run("DEFINE(\"KeepVar\", 1)\na[3] = \"x\"\nb = a[10]\nn = 5\nm = n[0]\n");
  const VariableTable& vars = r.engine.variables();
  const Value* a = vars.find("A");
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(a->isArray);
  EXPECT_EQ(a->strValue, "A");
  ASSERT_EQ(a->elements.size(), 11u);
  EXPECT_EQ(a->elements[2].isString, 0);
  EXPECT_EQ(a->elements[3].strValue, "x");
  const Value* n = vars.find("N");
  EXPECT_TRUE(n->isArray);
  EXPECT_EQ(n->elements.size(), 1u);
  EXPECT_EQ(vars.find("M")->intValue, 0);
  // A missing array reads as its default and is not created.
  r.run("CB.OUT(nothing[2], nothing$[2])\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "s:"}));
}

TEST(Arrays, NegativeIndexesReportAndWriteElementZero) {
  ScriptRunner r;
  r.run("DEFINE(\"KeepVar\", 1)\na[-1] = 5\nCB.OUT(1)\n");
  EXPECT_TRUE(r.out.empty());
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 110u);
  EXPECT_EQ(r.errors[0].text, "Runtime Error: Invalid index value(A[-1]) at line 2\n");
  EXPECT_EQ(r.engine.variables().find("A")->elements.at(0).intValue, 5);
  r.errors.clear();
  r.run("a[0] = 1\nx = a[-2]\n");
  EXPECT_EQ(r.errors[0].text, "Runtime Error: Invalid index value(A[-2]) at line 2\n");
}

TEST(Arrays, AssigningAnArrayCopiesItWithItsName) {
  ScriptRunner r;
  r.run("DEFINE(\"KeepVar\", 1)\na[1] = 2\nb = a\nb[0] = 9\nCB.OUT(a[0], a)\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:0"}));
  const Value* b = r.engine.variables().find("B");
  EXPECT_EQ(b->strValue, "B");  // writing an element renames the copy
  EXPECT_EQ(b->elements.at(1).intValue, 2);
}

TEST(Flow, LoopsBreakContinueAndRepeat) {
  ScriptRunner r;
  r.run(
      "for (i = 0, i < 5, i++) {\n if i == 1 {\n  continue\n }\n if i == 3 {\n  break\n }\n "
      "CB.OUT(i)\n}\n"
      "CB.OUT(i)\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:2", "i:3"}));
  r.out.clear();
  r.run(
      "repeat {\n CB.OUT(1)\n} until 1\nn = 0\nwhile n < 3 {\n n++\n}\nloop {\n n++\n if n > 5 {\n "
      " break\n }\n}\n"
      "CB.OUT(n)\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:6"}));
}

TEST(Flow, BreakAtTopLevelAndExitEndTheRun) {
  ScriptRunner r;
  EXPECT_EQ(r.run("CB.OUT(1)\nbreak\nCB.OUT(2)\n"), 0);
  EXPECT_EQ(r.out, (Lines{"i:1"}));
  EXPECT_TRUE(r.errors.empty());
  EXPECT_EQ(r.run("exit\n"), 0);
  EXPECT_EQ(r.run("x = 3\nexit x * 2\nx = 9\n"), 6);
}

TEST(Flow, ExitCodeFromAFunctionRunsTheWholeFunction) {
  ScriptRunner r;
  EXPECT_EQ(r.run("func code() {\n a = 1\n a = a + 1\n return a * 10\n}\nexit code()\n"), 20);
}

TEST(Flow, GotoFindsLabelsInTheBlockAndItsEnclosingBlocks) {
  ScriptRunner r;
  r.run("n = 0\n:again\nn++\nif n < 3 {\n goto :again\n}\nCB.OUT(n)\n");
  EXPECT_EQ(r.out, (Lines{"i:3"}));
  r.out.clear();
  r.run("target = \":end\"\ngoto target\nCB.OUT(1)\n:END\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"i:2"}));
  // A label inside a nested block is out of reach.
  EXPECT_EQ(r.run("goto :inner\nif 1 {\n:inner\n CB.OUT(3)\n}\n"), 0);
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 111u);
  EXPECT_EQ(r.errors[0].line, -1);
  EXPECT_EQ(r.errors[0].text, "Runtime error: Unknown Label(GOTO :INNER)\n");
}

TEST(Flow, StatementCallbackSeesEveryStatementAndCanStopTheRun) {
  ScriptRunner r;
  r.recordStatements();
  r.run("x = 1\nif x {\n y = 2\n}\n");
  EXPECT_EQ(r.statementLines, (std::vector<int>{1, 3, 2}));
  int calls = 0;
  r.host.statementCallback = [&](int) { return ++calls == 5 ? 1 : 0; };
  r.out.clear();
  EXPECT_EQ(r.run("loop {\n CB.OUT(1)\n}\n"), 0);
  EXPECT_EQ(r.out.size(), 5u);
}

// Loops that run no statement at all, and loops made of jumps, still give the
// host its chance to stop them: the statement callback comes once per turn.
TEST(Flow, LoopsWithoutStatementsAndGotoLoopsStillReachTheStatementCallback) {
  for (const char* endless :
       {"loop {}\n", "loop {\n}\n", "while 1 {}\n", "for (,,) {}\n", "for (i = 0, 1, i++) {}\n",
        "repeat {} until 0\n", ":top\ngoto :top\n", ":a\nif 1 {\n goto :a\n}\n",
        "x = 1\n:a\ngoto \":A\"\n"}) {
    ScriptRunner r;
    int calls = 0;
    r.host.statementCallback = [&](int) { return ++calls == 1000 ? 1 : 0; };
    EXPECT_EQ(r.run(endless), 0) << endless;
    EXPECT_GE(calls, 1000) << endless;
    EXPECT_TRUE(r.errors.empty()) << endless;
  }
  // An ordinary loop asks once per statement, not once more per turn.
  ScriptRunner r;
  r.recordStatements();
  r.run("for (i = 0, i < 2, i++) {\n x = i\n}\nwhile 0 {}\n");
  EXPECT_EQ(r.statementLines, (std::vector<int>{2, 2, 1, 4}));
}

}  // namespace
}  // namespace kivora::script::testing

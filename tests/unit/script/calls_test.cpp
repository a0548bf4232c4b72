#include "script/context.h"
#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

namespace kivora::script::testing {
namespace {

TEST(UserFunctions, ParametersBindOneByOneAndAreRestored) {
  ScriptRunner r;
  // The third parameter is whatever global of that name exists, and changes to it stay.
  r.run("c = 30\nfunc f(a, b, c) {\n c = c + 1\n return a + b\n}\nCB.OUT(f(1, 2), c)\n");
  EXPECT_EQ(r.out, (Lines{"i:3", "i:31"}));
  r.out.clear();
  // Arguments beyond the parameters are never evaluated.
  r.run("func g(a) { return a }\nCB.OUT(g(1, CB.OUT(99)))\n");
  EXPECT_EQ(r.out, (Lines{"i:1"}));
  r.out.clear();
  // A later argument sees the earlier parameter already bound.
  r.run("a = 1\nfunc h(a, b) { return b }\nCB.OUT(h(5, a), a)\n");
  EXPECT_EQ(r.out, (Lines{"i:5", "i:1"}));
  r.out.clear();
  // A parameter that did not exist before the call exists afterwards with its default.
  r.run("DEFINE(\"KeepVar\", 1)\nfunc k(p, q$) {\n other = p\n}\nk(7, 8)\n");
  const VariableTable& vars = r.engine.variables();
  EXPECT_EQ(vars.find("P")->intValue, 0);
  EXPECT_TRUE(vars.find("Q$")->isString);
  EXPECT_EQ(vars.find("OTHER")->intValue, 7);
}

TEST(UserFunctions, ResultIsTheReturnedValueOrZero) {
  ScriptRunner r;
  r.run(
      "func none() {\n x = 5\n}\nfunc text() { return \"t\" }\nfunc bare() { return "
      "}\nCB.OUT(none(), text(), bare())\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "s:t", "i:0"}));
}

TEST(UserFunctions, AReturnLeavesEveryLoopOfItsFunctionAndNoneOfItsCallers) {
  ScriptRunner r;
  // The return travels out of a while inside a for; the caller's loop goes on,
  // and a later break or continue in the caller still means what it says.
  r.run(
      "func find(limit) {\n for (i = 0, i < 100, i++) {\n  while 1 {\n   if i == limit {\n"
      "    return i * 10\n   }\n   break\n  }\n }\n return -1\n}\n"
      "total = 0\nfor (k = 0, k < 5, k++) {\n if k == 1 {\n  continue\n }\n total = total + "
      "find(k)\n"
      " if k == 3 {\n  break\n }\n}\nCB.OUT(total, k, find(200))\n");
  EXPECT_EQ(r.out, (Lines{"i:50", "i:3", "i:-1"}));
  EXPECT_TRUE(r.errors.empty());
}

TEST(UserFunctions, TheyHideBuiltinsOfTheSameName) {
  ScriptRunner r;
  r.run("func abs(x) { return 42 }\nCB.OUT(ABS(-1))\n");
  EXPECT_EQ(r.out, (Lines{"i:42"}));
}

TEST(UserFunctions, RecursionGoes513DeepAndTheNextCallIsRefused) {
  ScriptRunner r;
  const char* script =
      "func down(n) {\n if n > 1 {\n  return down(n - 1) + 1\n }\n return "
      "1\n}\nCB.OUT(down(limit))\n";
  r.run(std::string("limit = 513\n") + script);
  EXPECT_EQ(r.out, (Lines{"i:513"}));
  EXPECT_TRUE(r.errors.empty());
  r.out.clear();
  r.run(std::string("limit = 514\n") + script + "CB.OUT(0)\n");
  EXPECT_EQ(
      r.out,
      (Lines{"i:513"}));  // the refused call yields 0; the statement finishes, nothing after it
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 108u);
  EXPECT_EQ(r.errors[0].line, 4);
  EXPECT_EQ(r.errors[0].text, "Runtime error at line 4: Too many function call:DOWN(args:1)\n");
  // At the deepest level even a builtin call is one call too many.
  r.errors.clear();
  r.run("func d(n) {\n if n > 1 {\n  return d(n - 1)\n }\n return ABS(-1)\n}\nCB.OUT(d(513))\n");
  EXPECT_EQ(r.errorCodes(), (std::vector<unsigned>{108}));
}

TEST(UserFunctions, AtTheDepthLimitEveryParameterStillComesBack) {
  // 513 calls deep, each parameter holding a text, an integer or an array;
  // the refused call stops the run and every level puts its values back.
  ScriptRunner r;
  r.run(
      "DEFINE(\"KeepVar\", 1)\nfunc dive(n, t$, a) {\n t$ = n\n a[n] = n\n return dive(n + 1, t$ + "
      "\"x\", a)\n}\nn = \"outer\"\nt$ = \"text\"\na[3] = 1\ndive(0, \"\", 0)\n");
  EXPECT_EQ(r.errorCodes(), (std::vector<unsigned>{108}));
  const VariableTable& vars = r.engine.variables();
  EXPECT_EQ(vars.find("N")->strValue, "outer");
  EXPECT_EQ(vars.find("T$")->strValue, "text");
  ASSERT_TRUE(vars.find("A")->isArray);
  EXPECT_EQ(vars.find("A")->elements.size(), 4u);
}

TEST(UserFunctions, GotoLeavesAFunctionForTheCallersLabel) {
  ScriptRunner r;
  r.run("a = 1\nfunc f(a) {\n goto :out\n}\nf(5)\nCB.OUT(0)\n:out\nCB.OUT(a)\n");
  EXPECT_EQ(r.out, (Lines{"i:1"}));
  EXPECT_TRUE(r.errors.empty());
}

TEST(UserFunctions, BreakWithoutALoopEndsTheFunctionAndStopsTheCaller) {
  ScriptRunner r;
  r.run("func f() {\n break\n CB.OUT(1)\n}\nf()\nCB.OUT(2)\n");
  EXPECT_TRUE(r.out.empty());
  r.run("func f() {\n break\n}\nfor (i = 0, i < 3, i++) {\n f()\n CB.OUT(i)\n}\nCB.OUT(9)\n");
  EXPECT_EQ(r.out, (Lines{"i:9"}));
}

TEST(Builtins, UnknownNamesAndBadCountsAreReported) {
  ScriptRunner r;
  r.run("x = FOO(1, 2)\nCB.OUT(1)\n");
  EXPECT_TRUE(r.out.empty());
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 105u);
  EXPECT_EQ(r.errors[0].line, 1);
  EXPECT_EQ(r.errors[0].text,
            "Runtime error at line 1: Unknown Function Call or arguments not valid:FOO(args:2)\n");
  r.errors.clear();
  // A trailing $ reaches the same builtin; the failed call yields the empty string.
  r.run("CB.OUT(abs$(-3))\nCB.OUT(Abs$(1, 2))\n");
  EXPECT_EQ(r.out, (Lines{"i:3", "s:"}));
  EXPECT_EQ(r.errors[0].text,
            "Runtime error at line 2: Unknown Function Call or arguments not valid:ABS$(args:2)\n");
}

TEST(Builtins, ADollarNameReachesTheStringBuiltinAndFailsAsAString) {
  ScriptRunner r;
  r.run("CB.OUT(left$(\"abc\", 2))\nCB.OUT(LEFT$(\"abc\"))\n");
  EXPECT_EQ(r.out, (Lines{"s:ab", "s:"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 105u);
  EXPECT_EQ(
      r.errors[0].text,
      "Runtime error at line 2: Unknown Function Call or arguments not valid:LEFT$(args:1)\n");
}

TEST(Builtins, AVariableLentToAStringBuiltinReadsAsACopyAndComesBackWhole) {
  ScriptRunner r;
  // The same variable twice; a later argument that changes the variable (the
  // earlier argument keeps the old text); an integer variable read as text.
  r.run(
      "s = \"abcdef\"\nn = 12345\nfunc f() {\n s = \"zz\"\n return 2\n}\n"
      "CB.OUT(STARTSWITH(s, s), MID(s, 1, f()), s, MID(s, 2, STRLEN(s)), LEFT(s, 1) + s, "
      "STRLEN(n), n)\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "s:ab", "s:zz", "s:z", "s:zzz", "i:5", "i:12345"}));
  EXPECT_TRUE(r.errors.empty());
  // A builtin that fails while holding the variable gives it back all the same.
  r.out.clear();
  r.run("DEFINE(\"KeepVar\", 1)\nt = \"kept\"\nCB.OUT(RIGHT(t, -1))\n");
  EXPECT_TRUE(r.out.empty());
  EXPECT_FALSE(r.errors.empty());
  const Value* t = r.engine.variables().find("T");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->strValue, "kept");
}

TEST(Builtins, AssertTakesExactlyTwoArguments) {
  ScriptRunner r;
  r.run("ASSERT(1, \"fine\")\nCB.OUT(1)\nASSERT(1 == 2, \"one is not two\")\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"i:1"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 114u);
  EXPECT_EQ(r.errors[0].line, 3);
  EXPECT_EQ(r.errors[0].text, "one is not two");
  r.errors.clear();
  r.run("ASSERT(0, \"a\", \"b\")\n");
  EXPECT_EQ(
      r.errors[0].text,
      "Runtime error at line 1: Unknown Function Call or arguments not valid:ASSERT(args:3)\n");
}

TEST(ApplicationFunctions, ArgumentsAndResultsCrossTheHostBoundary) {
  ScriptRunner r;
  std::vector<std::pair<std::u16string, int>> seen;
  r.host.applicationFunction = [&](AppCallInfo* call) {
    seen.emplace_back(call->name, call->count);
    if (call->count == 0) {
      EXPECT_EQ(call->arguments, nullptr);
      EXPECT_EQ(call->engineArguments, nullptr);
      call->result->intValue = 7;
      return;
    }
    EXPECT_EQ(call->arguments[0].text, u"\u65E5\u672C");
    EXPECT_EQ(call->arguments[1].isString, 0);
    EXPECT_EQ(call->arguments[1].intValue, 5);
    EXPECT_EQ(call->engineArguments[0].strValue, "\xE6\x97\xA5\xE6\x9C\xAC");
    call->result->isString = 1;
    call->result->text = u"r\u00E9";
  };
  r.host.errorCallback = nullptr;
  r.run("DEFINE(\"KeepVar\", 1)\nx = cb.Get()\ny = CB.Put(\"\xE6\x97\xA5\xE6\x9C\xAC\", 5)\n");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, u"GET");
  EXPECT_EQ(seen[1].first, u"PUT");
  EXPECT_EQ(r.engine.variables().find("X")->intValue, 7);
  EXPECT_EQ(r.engine.variables().find("Y")->strValue, "r\xC3\xA9");
}

TEST(ApplicationFunctions, WithoutAHostCallbackTheyAreErrors) {
  ScriptRunner r;
  r.host.applicationFunction = nullptr;
  r.run("x = CB.Notify(TEXTOUT(\"never shown\"))\n");
  EXPECT_TRUE(r.shown.empty());  // no argument is evaluated
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 105u);
  EXPECT_EQ(r.errors[0].text,
            "Runtime error at line 1: Unknown application provided function call:NOTIFY(args:1)\n");
}

}  // namespace
}  // namespace kivora::script::testing

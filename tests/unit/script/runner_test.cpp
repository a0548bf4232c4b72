#include "script/context.h"
#include "unit/script/script_runner.h"

#include <boost/regex/pattern_except.hpp>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace kivora::script::testing {
namespace {

TEST(Runner, TextEdgesBomAndMissingNewline) {
  ScriptRunner r;
  EXPECT_EQ(r.run(""), 0);
  EXPECT_EQ(r.run("exit 7"), 7);  // no newline after the last statement
  EXPECT_EQ(r.run("\xEF\xBB\xBF"
                  "exit 3\n"),
            3);
  EXPECT_EQ(r.run("return 7\n"), 7);
  EXPECT_EQ(r.run("return \"12x\"\n"), 12);
  EXPECT_EQ(r.run("exit -1\n"), -1);
  EXPECT_TRUE(r.errors.empty());
}

TEST(Runner, NullScriptIsAnInvalidParameter) {
  ScriptRunner r;
  EXPECT_EQ(r.runWide(nullptr), -1);
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 107u);
  EXPECT_EQ(r.errors[0].line, -1);
  EXPECT_EQ(r.errors[0].text, "Invalid Parameter.");
  r.host.japanese = 1;
  r.errors.clear();
  r.runWide(nullptr);
  EXPECT_EQ(r.errors[0].text, "kx_script()のパラメータ指定が正しくありません。");
}

TEST(Runner, ARunInProgressRefusesAnother) {
  ScriptRunner r;
  int inner = 0;
  r.host.applicationFunction = [&](AppCallInfo*) {
    inner = r.engine.runScript(u"exit 5\n", &r.host);
  };
  EXPECT_EQ(r.run("CB.Nested()\nexit 2\n"), 2);
  EXPECT_EQ(inner, -1);
  EXPECT_FALSE(r.engine.isRunning());
}

TEST(Runner, ExceptionsEscapingEvaluationAreReportedAndTheEngineRunsAgain) {
  struct Case {
    std::function<void()> raise;
    unsigned code;
    const char* english;
    const char* japanese;
  };
  const Case cases[] = {
      {[] { throw boost::regex_error(boost::regex_constants::error_paren); }, 112,
       "Runtime error: An error occurred during regular expression processing: ",
       "Runtime error: 正規表現処理中にエラーが発生しました: "},
      {[] { throw std::runtime_error("boom"); }, 106, "Runtime error: std::runtime_error: boom\n",
       "Runtime error: "
       "一般的なスタック不足、あるいは、正規表現の計算量が超える等のエラーが発生しました: boom\n"},
      {[] { throw std::bad_alloc(); }, 106, "Runtime error: std::bad_alloc: std::bad_alloc\n",
       "Runtime error: スクリプト実行中にメモリ確保に失敗しました: std::bad_alloc\n"},
      {[] { throw 42; }, 199, "Runtime error: Unknown error.\n",
       "Runtime error: 不明なエラーです。\n"},
  };
  for (const Case& c : cases) {
    for (int japanese = 0; japanese < 2; ++japanese) {
      ScriptRunner r;
      r.host.japanese = japanese;
      r.host.applicationFunction = [&](AppCallInfo*) { c.raise(); };
      EXPECT_EQ(r.run("exit 4\n"), 4);
      EXPECT_EQ(r.run("x = 1\nCB.Fail()\nexit 3\n"), 0);
      ASSERT_EQ(r.errors.size(), 1u);
      EXPECT_EQ(r.errors[0].code, c.code);
      EXPECT_EQ(r.errors[0].line, -1);
      EXPECT_EQ(r.errors[0].text.rfind(japanese ? c.japanese : c.english, 0), 0u)
          << r.errors[0].text;
      EXPECT_EQ(r.run("exit 5\n"), 5);
    }
  }
}

TEST(Runner, VariablesSurviveOnlyARunThatAskedForIt) {
  ScriptRunner r;
  r.run("DEFINE(\"KeepVar\", 1)\nkept = 1\n");
  r.run("CB.OUT(kept)\nother = 2\n");
  r.run("CB.OUT(kept, other)\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:0", "i:0"}));
}

TEST(Runner, FunctionsNeverOutliveTheirRun) {
  ScriptRunner r;
  r.run("DEFINE(\"KeepVar\", 1)\nfunc f() { return 1 }\n");
  r.run("x = f()\n");
  EXPECT_EQ(r.errorCodes(), (std::vector<unsigned>{105}));
}

TEST(Runner, LanguageComesFromTheHostAndCanBeSwitchedByTheScript) {
  ScriptRunner r;
  r.host.japanese = 1;
  r.run("x = 1 / 0\n");
  r.run("x = 1\nx %= 0\n");
  r.run("a[-3] = 1\n");
  r.run("DEFINE(\"MustVarDef\", 1)\ny = z\n");
  r.run("f(1)\n");
  r.run("func g() { return g() }\ng()\n");
  r.run("goto :x\n");
  r.host.applicationFunction = nullptr;
  r.run("CB.X(1, 2)\n");
  r.host.japanese = 0;
  r.run("DEFINE(\"RSC_LANG\", 1)\nx = 1 / 0\n");
  const Lines expected = {
      "Runtime Error: 0による除算(/0)。行番号:1\n",
      "Runtime Error: 0による除算(%=0)。行番号:2\n",
      "Runtime Error: 不正な配列要素番号指定(A[-3])。行番号:1\n",
      "Runtime Error: 未代入の変数(Z)を参照しました。行番号:2\n",
      "Runtime Error 行番号:1  関数または引数が正しくありません。F(args:1)\n",
      "Runtime Error 行番号:1  関数呼び出し回数が多すぎます。G(args:0)\n",
      "Runtime error: ラベルが見つかりません。(GOTO :X)\n",
      "Runtime Error 行番号:1  この環境で呼び出せるアプリ提供関数がありません。X(args:2)\n",
      "Runtime Error: 0による除算(/0)。行番号:2\n",
  };
  Lines texts;
  for (const Report& e : r.errors) texts.push_back(e.text);
  EXPECT_EQ(texts, expected);
}

TEST(HostileScripts, DeepNestingEndsInAReportNeverInACrash) {
  ScriptRunner r;
  // A chain as long as a big file can hold: no recursion limit in parsing or freeing.
  std::string chain = "x = 1";
  for (int i = 0; i < 200000; ++i) chain += "+1";
  r.run("DEFINE(\"KeepVar\", 1)\n" + chain + "\n");
  if (r.errors.empty()) {
    EXPECT_EQ(r.engine.variables().find("X")->intValue, 200001);
  } else {  // frames are larger in some builds; then it is too deep, and says so
    EXPECT_EQ(r.errors[0].text, "Runtime error: std::runtime_error: script nested too deeply\n");
    r.errors.clear();
  }

  // 513 nested calls, each deep inside an expression of texts: too deep for any stack.
  std::string open, close(3000, ')');
  for (int i = 0; i < 3000; ++i) open += "\"-\" + (";
  const std::string script = "func f(n) {\n if n <= 0 {\n  return 0\n }\n return " + open +
                             "f(n - 1)" + close + "\n}\nCB.OUT(f(512))\n";
  r.run(script);
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 106u);
  EXPECT_EQ(r.errors[0].text, "Runtime error: std::runtime_error: script nested too deeply\n");
  EXPECT_EQ(r.run("exit 9\n"), 9);
}

TEST(HostileScripts, OffTheScriptThreadTheEngineAssumesASmallStack) {
  FakeScriptSystem system;
  Engine engine(system);
  std::vector<unsigned> codes;
  ScriptHost host;
  host.errorCallback = [&](unsigned code, int, const char16_t*) { codes.push_back(code); };
  // 500 calls, each under twenty levels of an expression: far more than 256 KiB
  // of stack, far less than a script thread's.
  std::string open, close(20, ')');
  for (int i = 0; i < 20; ++i) open += "\"\" + (";
  const std::u16string script = utf8ToUtf16("func f(n) {\n if n > 0 {\n  return " + open +
                                            "f(n - 1)" + close + "\n }\n}\nf(500)\n");
  EXPECT_EQ(engine.runScript(script.c_str(), &host), 0);
  EXPECT_EQ(codes, (std::vector<unsigned>{106}));
  ScriptRunner onScriptThread;
  onScriptThread.run(utf16ToUtf8(script));
  EXPECT_TRUE(onScriptThread.errors.empty());
}

}  // namespace
}  // namespace kivora::script::testing

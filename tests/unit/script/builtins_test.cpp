#include "script/builtins/builtin_table.h"
#include "script/builtins/handlers.h"
#include "script/constants.h"
#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kivora::script::testing {
namespace {

TEST(BuiltinTable, OneSortedRowPerNameWithSharedHandlers) {
  const auto table = builtinTable();
  ASSERT_EQ(table.size(), 114u);
  for (std::size_t i = 1; i < table.size(); ++i)
    EXPECT_LT(std::strcmp(table[i - 1].name, table[i].name), 0);
  for (const BuiltinEntry& row : table) EXPECT_EQ(findBuiltin(row.name), &row);
  EXPECT_EQ(findBuiltin("ASSERT"), nullptr);
  EXPECT_EQ(findBuiltin("abs"), nullptr);  // the table holds upper case only
  EXPECT_EQ(findBuiltin("MAX")->maxArgs, 65535);
  EXPECT_EQ(findBuiltin("GETMONITORSRECT")->minArgs, 4);
  EXPECT_EQ(findBuiltin("QUESTION_YESNO")->handler, findBuiltin("QUESTION")->handler);
  EXPECT_EQ(findBuiltin("MESSAGEBOX")->handler, findBuiltin("TEXTOUT")->handler);
  EXPECT_NE(findBuiltin("QUESTIONOKCANCEL")->handler, findBuiltin("QUESTION")->handler);
}

TEST(ConstantTable, HoldsEveryPredefinedName) {
  EXPECT_EQ(constantCount(), 327u);
  EXPECT_TRUE(constantsAreSorted());
  EXPECT_EQ(lookupConstant("SM_CMETRICS"), 0x61);
  EXPECT_EQ(lookupConstant("SM_REMOTESESSION"), 0x1000);
  EXPECT_EQ(lookupConstant("VK_F24"), 0x87);
  EXPECT_EQ(lookupConstant("VK_Z"), 0x5A);
  EXPECT_EQ(lookupConstant("CC_TAB_8SP"), 0x800000);
  EXPECT_EQ(lookupConstant("VK_NOPE"), std::nullopt);
}

TEST(Numbers, AbsMaxMinSqrtClamp) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("ABS(\"-4\")"), "i:4");
  EXPECT_EQ(r.eval("ABS(MININTEGER)"), "i:-2147483648");
  EXPECT_EQ(r.eval("ABS(-2147483648)"), "i:2147483647");  // the literal saturates before the minus
  EXPECT_EQ(r.eval("MAX(3)"), "i:3");
  EXPECT_EQ(r.eval("MAX(1, \"5\", 2)"), "i:5");
  EXPECT_EQ(r.eval("MIN(-1, -7, 0)"), "i:-7");
  EXPECT_EQ(r.eval("SQRT(15)"), "i:3");
  EXPECT_EQ(r.eval("SQRT(16)"), "i:4");
  EXPECT_EQ(r.eval("SQRT(0)"), "i:0");
  EXPECT_EQ(r.eval("SQRT(2147483647)"), "i:46340");
  EXPECT_EQ(r.eval("SQRT(-1)"), "i:-2147483648");
  EXPECT_EQ(r.eval("CLAMP(5, 1, 3)"), "i:3");
  EXPECT_EQ(r.eval("CLAMP(0, 1, 3)"), "i:1");
  EXPECT_EQ(r.eval("CLAMP(2, 1, 3)"), "i:2");
  EXPECT_EQ(r.eval("CLAMP(0, 5, 1)"), "i:5");
  EXPECT_TRUE(r.errors.empty());
}

TEST(Numbers, RandomNumbersFollowTheRuntimesGeneratorAcrossRuns) {
  ScriptRunner r;
  r.run("CB.OUT(SRAND(1), RAND(), RAND())\n");
  r.run("CB.OUT(RAND())\n");  // the generator's state outlives the run
  EXPECT_EQ(r.out, (Lines{"i:1", "i:41", "i:18467", "i:6334"}));
  r.out.clear();
  r.system.ticks = 0xFFFFFFFE;
  r.run("CB.OUT(SRAND())\n");
  EXPECT_EQ(r.out, (Lines{"i:-2"}));
  ScriptRunner fresh;  // unseeded means seed 1
  EXPECT_EQ(fresh.eval("RAND()"), "i:41");
}

TEST(Definitions, TypeOfNamesAVariable) {
  ScriptRunner r;
  r.run(
      "a[2] = \"x\"\ns = \"t\"\nn = 1\nname = \"n\"\n"
      "CB.OUT(TYPEOF(\"1abc\"), TYPEOF(\"never_used\"), TYPEOF(\"A\"), TYPEOF(\"a\"), "
      "TYPEOF(\"s\"), TYPEOF(name),"
      " TYPEOF(\"x$\"))\n");
  EXPECT_EQ(r.out, (Lines{"s:invalid", "s:undefined", "s:array", "s:array", "s:string", "s:int",
                          "s:invalid"}));
}

TEST(Definitions, DefineSetsTheInterpreterOptions) {
  ScriptRunner r;
  r.run("CB.OUT(DEFINE(\"keepvar\", 5), DEFINE(\"Other\", 1))\nkept = 1\n");
  r.run("CB.OUT(kept, DEFINE(\"KeepVar\", 0))\n");
  r.run("CB.OUT(kept)\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:0", "i:1", "i:1", "i:0"}));
  r.out.clear();
  r.run("CB.OUT(DEFINE(\"rsc_lang\", 1), DEFINE(\"MUSTVARDEF\", \"1\"))\nx = y\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:1"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].text, "Runtime Error: 未代入の変数(Y)を参照しました。行番号:2\n");
}

TEST(MessageBoxes, CaptionsFlagsAndAnswers) {
  ScriptRunner r;
  r.answers = {1, 1, 6, 7, 1, 2, 6, 7, 2, 1, 1, 1, 1};
  r.run(
      "CB.OUT(TEXTOUT(\"x\"), MESSAGE(1, \"\"), QUESTION(\"q\"), QUESTION_YESNO(\"q\", \"Title\"),"
      " QUESTIONOKCANCEL(\"q\"), QUESTION_OKCANCEL(\"q\"), QUESTIONYESNOCANCEL(\"q\"), "
      "QUESTION_YESNOCANCEL(\"q\"),"
      " QUESTIONYESNOCANCEL(\"q\"), WARNING(\"w\"), INFORMATION(\"i\"), ERROR(\"e\"), "
      "MESSAGEBOX(\"\xE6\x97\xA5\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:0", "i:1", "i:0", "i:1", "i:0", "i:1", "i:0", "i:-1", "i:0",
                          "i:0", "i:0", "i:0"}));
  ASSERT_EQ(r.shown.size(), 13u);
  const std::vector<std::pair<std::u16string, unsigned>> expected = {
      {u"Message", 0x00},  {u"", 0x00},         {u"Question", 0x24},    {u"Title", 0x24},
      {u"Question", 0x21}, {u"Question", 0x21}, {u"Question", 0x23},    {u"Question", 0x23},
      {u"Question", 0x23}, {u"Warning", 0x30},  {u"Information", 0x40}, {u"Error", 0x10},
      {u"Message", 0x00}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(r.shown[i].caption, expected[i].first) << i;
    EXPECT_EQ(r.shown[i].flags, expected[i].second) << i;
    EXPECT_EQ(r.shown[i].owner, 0x1234u);
  }
  EXPECT_EQ(r.shown[1].text, u"1");
  EXPECT_EQ(r.shown[12].text, u"\u65E5");
}

TEST(MessageBoxes, WithoutAHostFunctionTheSystemsBoxIsUsed) {
  ScriptRunner r;
  r.host.messageBox = nullptr;
  r.system.messageBoxAnswers = {6};
  r.run("CB.OUT(QUESTION(\"sure?\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:1"}));
  ASSERT_EQ(r.system.messageBoxes.size(), 1u);
  EXPECT_EQ(r.system.messageBoxes[0].text, u"sure?");
  EXPECT_EQ(r.system.messageBoxes[0].owner, 0x1234u);
}

TEST(Input, EnteredTextCancelAndTitle) {
  ScriptRunner r;
  r.system.inputAnswers = {{1, u"typed \u00E9"}, {1, u""}, {2, u"ignored"}};
  r.run(
      "CB.OUT(INPUT(\"Name?\"), INPUT(\"Again\", \"\"), INPUT(\"m\", \"My title\"), "
      "INPUT(\"gone\"))\n");
  EXPECT_EQ(r.out, (Lines{"s:typed \xC3\xA9", "s:", "s:", "s:"}));
  ASSERT_EQ(r.system.inputDialogs.size(), 4u);
  EXPECT_EQ(r.system.inputDialogs[0].message, u"Name?");
  EXPECT_EQ(r.system.inputDialogs[0].title, u"Input");
  EXPECT_EQ(r.system.inputDialogs[1].title, u"Input");
  EXPECT_EQ(r.system.inputDialogs[2].title, u"My title");
  EXPECT_FALSE(r.system.inputDialogs[0].japanese);
  EXPECT_EQ(r.system.inputOwners[0], 0x1234u);
  r.run("DEFINE(\"RSC_LANG\", 1)\nINPUT(1)\n");
  EXPECT_TRUE(r.system.inputDialogs.back().japanese);
  EXPECT_EQ(r.system.inputDialogs.back().message, u"1");
}

}  // namespace
}  // namespace kivora::script::testing

// The array builtins, as scripts call them.

#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

namespace kivora::script::testing {
namespace {

// Runs the script and then prints every item of the named array with CB.OUT.
Lines itemsAfter(ScriptRunner& r, const std::string& script, const std::string& array) {
  r.out.clear();
  r.run(script + "for (i = 0, i < ARRAYSIZE(\"" + array + "\"), i++) {\nCB.OUT(" + array +
        "[i])\n}\n");
  return r.out;
}

TEST(ArraySize, CountsWithoutCreating) {
  ScriptRunner r;
  r.run(
      "a[5] = 1\ns = \"text\"\n"
      "CB.OUT(ARRAYSIZE(\"a\"), LEN(\"A\"), LEN(a), ARRAYSIZE(\"nosuch\"), TYPEOF(\"nosuch\"), "
      "ARRAYSIZE(\"9x\"),"
      " ARRAYSIZE(\"s\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:6", "i:6", "i:6", "i:0", "s:undefined", "i:-1", "i:0"}));
  EXPECT_TRUE(r.errors.empty());  // an invalid name is no error here
}

TEST(ArrayLines, MultiLineTextToItemsAndBack) {
  ScriptRunner r;
  EXPECT_EQ(itemsAfter(r, "s = \"a\\r\\nb\\n\\nc\"\nCB.OUT(MULTILINETOSTRINGARRAY(\"s\"))\n", "s"),
            (Lines{"i:1", "s:a", "s:b", "s:", "s:c"}));
  EXPECT_EQ(itemsAfter(r, "s = \"x\\r\\n\"\nMULTILINETOSTRINGARRAY(\"s\")\n", "s"),
            (Lines{"s:x", "s:"}));
  EXPECT_EQ(itemsAfter(r, "s = \"\"\nMULTILINETOSTRINGARRAY(\"s\")\n", "s"), (Lines{"s:"}));
  EXPECT_EQ(itemsAfter(r, "n = 42\nMULTILINETOSTRINGARRAY(\"n\")\n", "n"), (Lines{"s:42"}));
  // An array's own text is its name: item 0 becomes the name, the rest stay.
  EXPECT_EQ(itemsAfter(r, "a[2] = 7\nMULTILINETOSTRINGARRAY(\"a\")\n", "a"),
            (Lines{"s:A", "i:0", "i:7"}));
  r.out.clear();
  r.run("CB.OUT(MULTILINETOSTRINGARRAY(\"nosuch\"), TYPEOF(\"nosuch\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "s:undefined"}));

  r.out.clear();
  r.run(
      "a[0] = \"x\"\na[1] = \"y\"\nb[0] = 1\nb[1] = 2\nc[0] = 1\nc = 5\n"
      "CB.OUT(ARRAYTOMULTILINESTRING(\"a\", \",\"), a, TYPEOF(\"a\"), ARRAYTOMULTILINESTRING(b), b,"
      " ARRAYTOMULTILINESTRING(\"c\"), ARRAYTOMULTILINESTRING(\"nosuch\"))\n"
      "e[0] = 0\nRESIZE(\"e\", 1)\nDELARRAYITEM(\"e\", 0)\nCB.OUT(ARRAYTOMULTILINESTRING(\"e\"), "
      "e, TYPEOF(\"e\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "s:x,y,", "s:string", "i:1", "s:1\r\n2\r\n", "i:0", "i:0", "i:1",
                          "s:", "s:string"}));
}

TEST(ArraySorting, ByTextAsBytesInEitherDirection) {
  ScriptRunner r;
  const std::string items = "ARRAYINIT(\"a\", 10, 9, \"b\", \"B\", \"\xC3\xA9\", \"\")\n";
  EXPECT_EQ(itemsAfter(r, items + "SORTARRAY(\"a\")\n", "a"),
            (Lines{"s:", "i:10", "i:9", "s:B", "s:b", "s:\xC3\xA9"}));
  EXPECT_EQ(itemsAfter(r, items + "SORTARRAYDESC(a)\n", "a"),
            (Lines{"s:\xC3\xA9", "s:b", "s:B", "i:9", "i:10", "s:"}));
  r.out.clear();
  r.run("s = \"x\"\nCB.OUT(SORTARRAY(\"nosuch\"), SORTARRAY(\"s\"), SORTARRAYDESC(\"s\"), s)\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:0", "i:0", "s:x"}));
}

TEST(ArrayCleaning, UniqueNeighboursEmptyItemsAndOneItem) {
  ScriptRunner r;
  EXPECT_EQ(itemsAfter(r, "ARRAYINIT(\"a\", \"x\", \"x\", \"y\", \"x\")\nUNIQARRAY(\"a\")\n", "a"),
            (Lines{"s:x", "s:y", "s:x"}));
  EXPECT_EQ(itemsAfter(r, "ARRAYINIT(\"a\", 5, \"5\", \"5\", 6)\nUNIQARRAY(\"a\")\n", "a"),
            (Lines{"i:5", "i:6"}));
  EXPECT_EQ(
      itemsAfter(r, "ARRAYINIT(\"a\", \"\", \"\", \"a\", \"\", 0)\nDELEMPTYARRAY(\"a\")\n", "a"),
      (Lines{"s:a", "i:0"}));
  EXPECT_EQ(itemsAfter(r, "ARRAYINIT(\"a\", 1, 2, 3)\nCB.OUT(DELARRAYITEM(\"a\", 1))\n", "a"),
            (Lines{"i:1", "i:1", "i:3"}));
  r.out.clear();
  r.run(
      "ARRAYINIT(\"a\", 1, 2)\ns = \"\"\n"
      "CB.OUT(DELARRAYITEM(\"a\", -1), DELARRAYITEM(\"a\", 2), ARRAYSIZE(\"a\"), "
      "DELARRAYITEM(\"nosuch\", 0),"
      " UNIQARRAY(\"s\"), DELEMPTYARRAY(\"s\"), DELEMPTYARRAY(\"nosuch\"), TYPEOF(\"nosuch\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:0", "i:2", "i:0", "i:0", "i:0", "i:0", "s:undefined"}));
}

TEST(ArrayBuilding, ResizeInitAndAdd) {
  ScriptRunner r;
  EXPECT_EQ(itemsAfter(r, "CB.OUT(RESIZE(\"b\", 3))\n", "b"), (Lines{"i:1", "i:0", "i:0", "i:0"}));
  EXPECT_EQ(itemsAfter(r,
                       "ARRAYINIT(\"b\", 1, 2, 3)\nRESIZE(\"b\", 1)\nCB.OUT(RESIZE(\"b\", 0), "
                       "RESIZE(\"b\", -2))\n",
                       "b"),
            (Lines{"i:0", "i:0", "i:1"}));
  EXPECT_EQ(itemsAfter(r, "ARRAYINIT(\"b\", \"x\")\nRESIZE(b, 2)\n", "b"), (Lines{"s:x", "i:0"}));
  EXPECT_EQ(itemsAfter(r, "v = \"plain\"\nRESIZE(\"v\", 2)\nCB.OUT(v)\n", "v"),
            (Lines{"s:V", "i:0", "i:0"}));

  EXPECT_EQ(itemsAfter(r, "c[4] = 9\nCB.OUT(ARRAYINIT(\"c\", 1, \"two\"))\n", "c"),
            (Lines{"i:1", "i:1", "s:two"}));
  r.out.clear();
  r.run(
      "ARRAYINIT(\"c\", 1)\nCB.OUT(ARRAYINIT(\"c\"), TYPEOF(\"c\"), c)\n"
      "p = \"keep\"\nCB.OUT(ARRAYINIT(\"p\"), p, ARRAYINIT(\"nosuch\"), TYPEOF(\"nosuch\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "s:int", "i:0", "i:1", "s:keep", "i:1", "s:undefined"}));

  EXPECT_EQ(
      itemsAfter(r,
                 "CB.OUT(ARRAYADD(\"d\", 7))\nARRAYADD(\"d\", \"x\", 8)\nCB.OUT(ARRAYADD(\"d\"))\n",
                 "d"),
      (Lines{"i:1", "i:1", "i:7", "s:x", "i:8"}));
  EXPECT_EQ(itemsAfter(r, "d = 5\nARRAYADD(\"d\", 1)\n", "d"), (Lines{"i:1"}));
  r.out.clear();
  r.run("CB.OUT(ARRAYADD(\"nosuch\"), TYPEOF(\"nosuch\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "s:undefined"}));
  EXPECT_TRUE(r.errors.empty());
}

TEST(ArrayNames, EveryWritingBuiltinReportsAnInvalidNameAndStops) {
  struct Case {
    const char* call;
    const char* function;
  };
  const Case cases[] = {
      {R"(MULTILINETOSTRINGARRAY("1a"))", "MultiLineToStringArray()"},
      {R"(ARRAYTOMULTILINESTRING("", ","))", "ArrayToMultiLineString()"},
      {R"(SORTARRAY("1a"))", "SortArray()"},
      {R"(SORTARRAYDESC("a-b"))", "SortArrayDesc()"},
      {"UNIQARRAY(\"x$\")", "UniqArray()"},
      {"DELEMPTYARRAY(7)", "DelEmptyArray()"},
      {"DELARRAYITEM(\"1a\", 0)", "DelArrayItem()"},
      {"RESIZE(\"1a\", 3)", "Resize()"},
      {"ARRAYINIT(\"1a\", 1)", "ArrayInit()"},
      {"ARRAYADD(\"1a\", 1)", "ArrayAdd()"},
  };
  for (const Case& c : cases) {
    ScriptRunner r;
    r.run(std::string("CB.OUT(") + c.call + ")\nCB.OUT(2)\n");
    EXPECT_EQ(r.out, (Lines{"i:-1"})) << c.call;
    ASSERT_EQ(r.errors.size(), 1u) << c.call;
    EXPECT_EQ(r.errors[0].code, 115u);
    EXPECT_EQ(r.errors[0].line, -1);
    EXPECT_EQ(r.errors[0].text,
              std::string("The array variable name is invalid in function ") + c.function + ".");
    r.errors.clear();
    r.run(std::string("DEFINE(\"RSC_LANG\", 1)\n") + c.call + "\n");
    ASSERT_EQ(r.errors.size(), 1u) << c.call;
    EXPECT_EQ(r.errors[0].text,
              std::string(c.function) +
                  "で指定されている配列変数名が無効です。変数名を文字列で指定してください。");
  }
}

}  // namespace
}  // namespace kivora::script::testing

// The regular-expression builtins, as scripts call them.

#include "script/context.h"
#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

namespace kivora::script::testing {
namespace {

TEST(RegexMatch, TheWholeTextMustMatch) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("REGEX_MATCH(\"abc\", \"b\")"), "i:0");
  EXPECT_EQ(r.eval("REGEX_MATCH(\"abc\", \"a.c\")"), "i:1");
  EXPECT_EQ(r.eval("REGEX_MATCH(\"ABC\", \"abc\")"), "i:0");
  EXPECT_EQ(r.eval("REGEX_MATCH(\"ABC\", \"abc\", \"i\")"), "i:1");
  EXPECT_EQ(r.eval("REGEX_MATCH(\"ABC\", \"abc\", \"xI\")"), "i:1");
  EXPECT_EQ(r.eval("REGEX_MATCH(\"ABC\", \"abc\", \"gs\")"), "i:0");
  EXPECT_EQ(r.eval("REGEX_MATCH(\"\xE6\x97\xA5\xE6\x9C\xAC\", \"..\")"),
            "i:1");  // characters, not bytes
  EXPECT_EQ(r.eval("REGEX_MATCH(123, \"\\\\d+\")"), "i:1");
  EXPECT_EQ(r.eval("REGEX_MATCH(\"ab\", \"ab$\", \"s\")"), "i:0");  // the end is no line end
  EXPECT_EQ(r.eval("REGEX_MATCH(\"ab\", \"ab$\")"), "i:1");
}

TEST(RegexReplace, EveryMatchWithPerlFormats) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("REGEX_REPLACE(\"a1b22\", \"[0-9]+\", \"#\")"), "s:a#b#");
  EXPECT_EQ(r.eval("REGEX_REPLACE(\"ab cd\", \"([a-z]+) ([a-z]+)\", \"$2 $1\")"), "s:cd ab");
  EXPECT_EQ(r.eval("REGEX_REPLACE(\"x\", \"x\", \"<$&>\")"), "s:<x>");
  EXPECT_EQ(r.eval("REGEX_REPLACE(\"aAa\", \"a\", \"-\", \"I\")"), "s:---");
  EXPECT_EQ(r.eval("REGEX_REPLACE(\"none\", \"x\", \"y\")"), "s:none");
  EXPECT_EQ(r.eval("REGEX_REPLACE(\"\xE6\x97\xA5\xE6\x9C\xAC\", \"\xE6\x9C\xAC\", \"\xC3\xA9\")"),
            "s:\xE6\x97\xA5\xC3\xA9");
  // The pattern ends at its first NUL: only "a" is searched for here. Script
  // literals cannot hold a NUL; typed input can.
  r.system.inputAnswers = {{1, std::u16string(u"a\0b", 3)}};
  EXPECT_EQ(r.eval("REGEX_REPLACE(\"ab\", INPUT(\"pattern\"), \"-\")"), "s:-b");
}

TEST(RegexSearch, CountsMatchesAndReportsBytePositions) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("REGEX_SEARCH(\"aXbXc\", \"X\")"), "i:2");
  EXPECT_EQ(r.eval("REGEX_SEARCH(\"aXbxc\", \"X\", \"i\")"), "i:2");
  EXPECT_EQ(r.eval("REGEX_SEARCH(\"abc\", \"z\")"), "i:0");
  r.out.clear();
  r.run(
      "CB.OUT(REGEX_SEARCH(\"aXbXc\", \"X\", \"ST\", \"LN\"), ST[0], ST[1], LN[0], LN[1], "
      "ARRAYSIZE(\"st\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:2", "i:1", "i:3", "i:1", "i:1", "i:2"}));
  r.out.clear();
  // UTF-8 byte counts, so that LEFT and MID find the match again.
  r.run(
      "s = \"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xA7\xE3\x81\x99\"\n"
      "REGEX_SEARCH(s, \"\xE8\xAA\x9E\", \"\", \"st\", \"ln\")\n"
      "CB.OUT(st[0], ln[0], MID(s, st[0] + 1, ln[0]))\n");
  EXPECT_EQ(r.out, (Lines{"i:6", "i:3", "s:\xE8\xAA\x9E"}));
  r.out.clear();
  // A character beyond the BMP is two code units for the matcher and four bytes here.
  r.run(
      "REGEX_SEARCH(\"\xF0\x9F\x98\x80x\xC3\xA9y\", \"[xy]\", \"p\", \"n\")\nCB.OUT(p[0], p[1], "
      "n[1])\n");
  EXPECT_EQ(r.out, (Lines{"i:4", "i:7", "i:1"}));
  EXPECT_TRUE(r.errors.empty());
}

TEST(RegexSearch, PositionArraysKeepOldItemsBeyondTheMatches) {
  ScriptRunner r;
  r.run(
      "ARRAYINIT(\"st\", 9, 9, 9, 9, 9)\nCB.OUT(REGEX_SEARCH(\"abc\", \"z\", \"st\", \"ln\"), "
      "st[0], st[4], ln[0],"
      " ARRAYSIZE(\"st\"), ARRAYSIZE(\"ln\"))\n"
      "v = \"text\"\nREGEX_SEARCH(\"ab\", \"b\", v, \"w\")\nCB.OUT(TYPEOF(\"text\"), text[0])\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:0", "i:9", "i:0", "i:5", "i:1", "s:array", "i:1"}));
}

TEST(RegexFailures, GiveThePlainFailureResultAndTheRunGoesOn) {
  ScriptRunner r;
  r.run(
      "CB.OUT(REGEX_MATCH(\"abc\", \"(\"), REGEX_REPLACE(\"abc\", \"[\", \"x\"), "
      "REGEX_SEARCH(\"abc\", \"*\"))\n"
      "CB.OUT(1)\n");
  EXPECT_EQ(r.out, (Lines{"i:-1", "s:", "i:-1", "i:1"}));
  r.out.clear();
  // Patterns that backtrack without end hit the matcher's limits and fail;
  // they never hang the script thread.
  r.run(
      "s = PADLEFT(\"\", 40, \"x\")\nbig = PADLEFT(\"\", 100000, \"x\")\n"
      "CB.OUT(REGEX_MATCH(s, \"(x+x+)+y\"), REGEX_REPLACE(s, \"(x+x+)+y\", \"z\"),"
      " REGEX_SEARCH(s, \"(x+x+)+y\", \"p\", \"n\"), REGEX_MATCH(big, "
      "\"(x|xx)*\"))\nCB.OUT(p[0])\n");
  EXPECT_EQ(r.out, (Lines{"i:-1", "s:", "i:-1", "i:-1", "i:0"}));
  EXPECT_TRUE(r.errors.empty());
}

TEST(RegexFailures, InvalidPositionArrayNamesAreReported) {
  ScriptRunner r;
  r.run("CB.OUT(REGEX_SEARCH(\"abc\", \"b\", \"i\", \"1bad\", \"ln\"))\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"i:-1"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 115u);
  EXPECT_EQ(r.errors[0].text, "The array variable name is invalid in function Regex_Search().");
  r.errors.clear();
  r.run(
      "DEFINE(\"RSC_LANG\", 1)\nDEFINE(\"KeepVar\", 1)\nREGEX_SEARCH(\"abc\", \"b\", \"st\", "
      "\"\")\n");
  EXPECT_FALSE(r.engine.variables().contains("ST"));  // nothing is written before the names pass
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(
      r.errors[0].text,
      "Regex_Search()で指定されている配列変数名が無効です。変数名を文字列で指定してください。");
}

// ASCII work runs on the bytes, and plain replacements skip Boost's
// formatter; neither may change a result. Each case runs three ways: as it
// is, with a pattern made non-ASCII without changing its matches (so it runs
// on UTF-16), and with a replacement ending in \E, which Boost's formatter
// reads as nothing.
TEST(RegexPaths, BytesUtf16AndBoostsFormatterAgree) {
  const auto literal = [](std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
      if (c == '\\' || c == '"') quoted += '\\';
      quoted += c;
    }
    return quoted + "\"";
  };
  const struct {
    const char* text;
    const char* pattern;
    const char* options;
    const char* format;
  } cases[] = {
      {"ab12 cd345 e6 7", "([a-z]+)([0-9]+)", "", "$2$1"},
      {"Hello World, hello", "h\\w+", "i", "<$&>"},
      {"a1b22c333", "[0-9]{2,}", "g", "[$0]$$"},
      {"x  y\tz\n", "\\s+|\\b", "", "_"},
      {"aaa", "a*?", "", "($&)"},
      {"abcabc", "(a)(b)?(x)?c", "", "$3$2$1$10$01"},
      {"one\ntwo\n", "^\\w+$", "s", "#"},
      {"ABCabc_9", "[b-c_]+|\\W", "i", "-"},
      {"a.b..c", "\\.+", "", "\\E"},
      {"word boundary", "\\Bo\\w", "", "$123456789"},
      {"(x)", "\\(x\\)", "", "y"},
      {"aaaa", "(a+)+b", "", "z"},
      {"mismatch", "[z-a]", "", "z"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    const auto run = [&](std::string_view pattern, std::string_view format) {
      ScriptRunner r;
      r.run("n = REGEX_SEARCH(" + literal(c.text) + ", " + literal(pattern) + ", " +
            literal(c.options) +
            ", \"st\", \"ln\")\nCB.OUT(n, JOIN(\"st\", \",\"), JOIN(\"ln\", "
            "\",\"), REGEX_REPLACE(" +
            literal(c.text) + ", " + literal(pattern) + ", " + literal(format) + ", " +
            literal(c.options) + "), REGEX_MATCH(" + literal(c.text) + ", " + literal(pattern) +
            ", " + literal(c.options) + "))\n");
      return r.out;
    };
    const Lines bytes = run(c.pattern, c.format);
    ASSERT_EQ(bytes.size(), 5u);
    EXPECT_EQ(run("(?:" + std::string(c.pattern) + ")(?:\xC3\xA9)?", c.format), bytes);
    EXPECT_EQ(run(c.pattern, std::string(c.format) + "\\E"), bytes);
  }
}

}  // namespace
}  // namespace kivora::script::testing

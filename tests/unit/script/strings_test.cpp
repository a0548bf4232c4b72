// The string builtins, as scripts call them.

#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

namespace kivora::script::testing {
namespace {

// "日本語" and "é" spelled as UTF-8 bytes inside script source.
#define NIHONGO "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"
#define E_ACUTE "\xC3\xA9"

TEST(StringMeasuring, BytesAgainstCharacters) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("STRLEN(\"\xE6\x97\xA5\xE6\x9C\xAC\")"), "i:6");
  EXPECT_EQ(r.eval("MBSTRLEN(\"\xE6\x97\xA5\xE6\x9C\xAC\")"), "i:2");
  EXPECT_EQ(r.eval("STRLEN(12345)"), "i:5");
  // Invalid UTF-8 is counted, never refused: a stray continuation byte is one
  // character, a sequence cut by the end is one character.
  EXPECT_EQ(r.eval("MBSTRLEN(\"a\x80\x80"
                   "b\")"),
            "i:4");
  EXPECT_EQ(r.eval("MBSTRLEN(\"a\xE6\x97\")"), "i:2");
  EXPECT_EQ(r.eval("MBSTRLEN(\"\xF0\x9F\x98\x80!\")"), "i:2");
  EXPECT_TRUE(r.errors.empty());
}

TEST(StringSearching, ByteAndCharacterOffsets) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("STRSTR(\"" NIHONGO "\", \"\xE8\xAA\x9E\")"), "i:6");
  EXPECT_EQ(r.eval("MBSTRSTR(\"" NIHONGO "\", \"\xE8\xAA\x9E\")"), "i:2");
  EXPECT_EQ(r.eval("STRSTR(\"abc\", \"\")"), "i:0");
  EXPECT_EQ(r.eval("STRSTR(\"abc\", \"x\")"), "i:-1");
  EXPECT_EQ(r.eval("MBSTRSTR(\"abc\", \"x\")"), "i:-1");
  EXPECT_EQ(r.eval("STRSTRI(\"xxHeLLo\", \"hello\")"), "i:2");
  EXPECT_EQ(r.eval("STRSTR(\"xxHeLLo\", \"hello\")"), "i:-1");
  // Case folding leaves multi-byte characters alone and keeps offsets.
  EXPECT_EQ(r.eval("MBSTRSTRI(\"" E_ACUTE E_ACUTE "Ab\", \"aB\")"), "i:2");
  EXPECT_EQ(r.eval("STRSTRI(\"\xC3\x89\", \"" E_ACUTE "\")"), "i:-1");
}

TEST(StringComparing, CompareStartsAndEnds) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("STRCMP(\"a\", \"b\")"), "i:-1");
  EXPECT_EQ(r.eval("STRCMP(\"b\", \"a\")"), "i:1");
  EXPECT_EQ(r.eval("STRCMP(10, \"10\")"), "i:0");
  EXPECT_EQ(r.eval("STRCMP(\"ab\", \"abc\")"), "i:-1");
  EXPECT_EQ(r.eval("STRCMP(\"" E_ACUTE "\", \"z\")"), "i:1");  // bytes compare unsigned
  EXPECT_EQ(r.eval("STRCMPI(\"ABC\", \"abc\")"), "i:0");
  EXPECT_EQ(r.eval("STRCMPI(\"abd\", \"ABC\")"), "i:1");
  EXPECT_EQ(r.eval("STRCMPI(\"a\", \"AC\")"), "i:-99");  // the difference of the folded bytes
  EXPECT_EQ(r.eval("STARTSWITH(\"abc\", \"\")"), "i:1");
  EXPECT_EQ(r.eval("STARTSWITH(\"abc\", \"ab\")"), "i:1");
  EXPECT_EQ(r.eval("STARTSWITH(\"ab\", \"abc\")"), "i:0");
  EXPECT_EQ(r.eval("STARTSWITH(\"abc\", \"AB\")"), "i:0");
  EXPECT_EQ(r.eval("ENDSWITH(\"abc\", \"bc\")"), "i:1");
  EXPECT_EQ(r.eval("ENDSWITH(\"abc\", \"ab\")"), "i:0");
  EXPECT_EQ(r.eval("ENDSWITH(\"c\", \"abc\")"), "i:0");
}

TEST(StringCutting, ByteCutsClipToTheText) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("LEFT(\"abc\", -1)"), "s:abc");
  EXPECT_EQ(r.eval("LEFT(\"abc\", 9)"), "s:abc");
  EXPECT_EQ(r.eval("LEFT(\"abc\", 2)"), "s:ab");
  EXPECT_EQ(r.eval("LEFT(\"abc\", 0)"), "s:");
  EXPECT_EQ(r.eval("RIGHT(\"abc\", 5)"), "s:abc");
  EXPECT_EQ(r.eval("RIGHT(\"abc\", 2)"), "s:bc");
  EXPECT_EQ(r.eval("RIGHT(\"abc\", 0)"), "s:");
  EXPECT_EQ(r.eval("MID(\"abcdef\", 2, 3)"), "s:bcd");
  EXPECT_EQ(r.eval("SUBSTR(\"abcdef\", 0, 2)"), "s:ab");
  EXPECT_EQ(r.eval("SUBSTRING(\"abcdef\", -5, 1)"), "s:a");
  EXPECT_EQ(r.eval("MID(\"abc\", 4, 1)"), "s:");
  EXPECT_EQ(r.eval("MID(\"abcdef\", 3, -1)"), "s:cdef");
  EXPECT_EQ(r.eval("MID(\"abcdef\", 5, 99)"), "s:ef");
  EXPECT_EQ(r.eval("MID(\"abc\", MININTEGER, 1)"), "s:a");
  // Byte cuts may split a character; the bytes are kept as they are.
  EXPECT_EQ(
      r.eval("STRLEN(LEFT(\"" E_ACUTE "\", 1)) * 1000 + GETASCIICODE(LEFT(\"" E_ACUTE "\", 1), 0)"),
      "i:939");
  EXPECT_TRUE(r.errors.empty());
}

TEST(StringCutting, CharacterCutsCountCharacters) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("MBLEFT(\"" NIHONGO "\", 2)"), "s:\xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(r.eval("MBLEFT(\"" NIHONGO "\", 0)"), "s:");
  EXPECT_EQ(r.eval("MBLEFT(\"" NIHONGO "\", 3)"), "s:" NIHONGO);
  EXPECT_EQ(r.eval("MBRIGHT(\"" NIHONGO "\", 1)"), "s:\xE8\xAA\x9E");
  EXPECT_EQ(r.eval("MBRIGHT(\"abc\", -1)"), "s:");
  EXPECT_EQ(r.eval("MBRIGHT(\"abc\", 7)"), "s:abc");
  EXPECT_EQ(r.eval("MBMID(\"" NIHONGO "\", 2, 1)"), "s:\xE6\x9C\xAC");
  EXPECT_EQ(r.eval("MBSUBSTR(\"abcdef\", 3, -1)"), "s:");
  EXPECT_EQ(r.eval("MBSUBSTRING(\"abcdef\", 0, 2)"), "s:ab");
  EXPECT_EQ(r.eval("MBMID(\"abcdef\", 5, MAXINTEGER)"), "s:ef");
  EXPECT_EQ(r.eval("MBMID(\"abc\", 4, 1)"), "s:");
}

TEST(StringCutting, RightWithANegativeCountEndsTheRunAsAnUnexpectedFailure) {
  ScriptRunner r;
  r.run("CB.OUT(1)\nx = RIGHT(\"abc\", -1)\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"i:1"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 199u);
  EXPECT_EQ(r.errors[0].text, "Runtime error: Unknown error.\n");
}

TEST(StringConversion, NumbersAndBytes) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("TOSTR(-12)"), "s:-12");
  EXPECT_EQ(r.eval("TOINT(\"  42abc\")"), "i:42");
  EXPECT_EQ(r.eval("TOINT(\"x\")"), "i:0");
  EXPECT_EQ(r.eval("TOSTR16(255)"), "s:FF");
  EXPECT_EQ(r.eval("TOSTR16(-1)"), "s:FFFFFFFF");
  EXPECT_EQ(r.eval("TOSTR16(0)"), "s:0");
  EXPECT_EQ(r.eval("TOSTR2(5)"), "s:101");
  EXPECT_EQ(r.eval("TOSTR2(0)"), "s:0");
  EXPECT_EQ(r.eval("TOSTR2(-1)"), "s:" + std::string(32, '1'));
  EXPECT_EQ(r.eval("TOSTR2(MININTEGER)"), "s:1" + std::string(31, '0'));
  EXPECT_EQ(r.eval("GETASCIICODE(\"A\", 0)"), "i:65");
  EXPECT_EQ(r.eval("GETASCIICODE(\"A\", 1)"), "i:-1");
  EXPECT_EQ(r.eval("GETASCIICODE(\"A\", -1)"), "i:-1");
  EXPECT_EQ(r.eval("GETASCIICODE(\"" E_ACUTE "\", 0)"), "i:-61");
  EXPECT_EQ(r.eval("CHR(65)"), "s:A");
  EXPECT_EQ(r.eval("ASCIICODE(321)"), "s:A");
  EXPECT_EQ(r.eval("CHR(256)"), "s:");
  EXPECT_EQ(r.eval("STRLEN(CHR(0xC3))"), "i:1");
  EXPECT_EQ(r.eval("STRUPR(\"a" E_ACUTE "z\")"), "s:A" E_ACUTE "Z");
  EXPECT_EQ(r.eval("STRLWR(\"ABC\xC3\x89\")"), "s:abc\xC3\x89");
}

TEST(StringBuilding, ReplaceNeverSearchesWhatItInserted) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("REPLACE(\"aaa\", \"a\", \"aa\")"), "s:aaaaaa");
  EXPECT_EQ(r.eval("REPLACE(\"a-b-c\", \"-\")"), "s:abc");
  EXPECT_EQ(r.eval("REPLACE(\"abab\", \"ab\", \"b\")"), "s:bb");
  EXPECT_EQ(r.eval("REPLACE(\"x1x\", 1, 22)"), "s:x22x");
  // An empty search text leaves the text as it is (and the call ends).
  EXPECT_EQ(r.eval("REPLACE(\"abc\", \"\", \"z\")"), "s:abc");
}

TEST(StringBuilding, PaddingAndTrimming) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("PADLEFT(\"7\", 3, \"0\")"), "s:007");
  EXPECT_EQ(r.eval("PADLEFT(\"1234\", 3, \"0\")"), "s:1234");
  EXPECT_EQ(r.eval("PADRIGHT(\"ab\", 4)"), "s:ab  ");
  EXPECT_EQ(r.eval("PADRIGHT(\"ab\", 4, \"\")"), "s:ab  ");
  EXPECT_EQ(r.eval("PADRIGHT(\"ab\", 3, \"xyz\")"), "s:abx");
  EXPECT_EQ(r.eval("PADLEFT(\"ab\", -3, \"x\")"), "s:ab");
  EXPECT_EQ(r.eval("PADLEFT(5, 3, 0)"), "s:005");
  EXPECT_EQ(r.eval("STRLEN(PADLEFT(\"\", 2, \"" E_ACUTE "\"))"),
            "i:2");  // only the first byte pads
  EXPECT_EQ(r.eval("TRIMLEFT(\"  x \")"), "s:x ");
  EXPECT_EQ(r.eval("TRIMRIGHT(\"  x \")"), "s:  x");
  EXPECT_EQ(r.eval("TRIMRIGHT(\"xyy\", \"y\")"), "s:x");
  EXPECT_EQ(r.eval("TRIMLEFT(\"-+-a+\", \"+-\")"), "s:a+");
  EXPECT_EQ(r.eval("TRIMLEFT(\"   \")"), "s:   ");  // all trimmed bytes: kept whole
  EXPECT_EQ(r.eval("TRIMRIGHT(\"yyy\", \"y\")"), "s:yyy");
  EXPECT_EQ(r.eval("TRIMLEFT(\"\")"), "s:");
}

TEST(StringBuilding, LineBreaksAndControlBytes) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("INSCRLF(\"abcde\", 2, \"|\")"), "s:ab|cd|e");
  EXPECT_EQ(r.eval("INSCRLF(\"abcd\", 2, \"|\")"), "s:ab|cd");
  EXPECT_EQ(r.eval("INSCRLF(\"abc\", 0, \"|\")"), "s:abc");
  EXPECT_EQ(r.eval("INSCRLF(\"" NIHONGO "\", 1, \"\\n\")"),
            "s:\xE6\x97\xA5\n\xE6\x9C\xAC\n\xE8\xAA\x9E");
  EXPECT_EQ(r.eval("LCLITE(\"a\\r\\nb\\rc\\nd\", \"|\")"), "s:a|b|c|d");
  EXPECT_EQ(r.eval("LCLITE(\"\\n\\r\\r\\n\", \"<br>\")"), "s:<br><br><br>");
  EXPECT_EQ(
      r.eval("DELCTRLC(\"a\\tb\\nc\\rd\" + CHR(1) + CHR(27) + CHR(127) + \"" E_ACUTE "\", \"?\")"),
      "s:a\tb\nc\rd???" E_ACUTE);
  EXPECT_EQ(r.eval("DELCTRLC(\"x\" + CHR(7) + \"y\", \"\")"), "s:xy");
}

TEST(StringConvChar, KanaTablesChainInTheirOrder) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("CONVCHAR(\"がっこう\", CC_HIRA_KATA | CC_KATA_FL_HF)"), "s:ｶﾞｯｺｳ");
  EXPECT_EQ(r.eval("CONVCHAR(\"ｶﾞｯｺｳ\", CC_KATA_HF_FL)"), "s:ガッコウ");
  // The hiragana group runs before the width group at each position, so it
  // meets only the half-width letters and leaves the result in katakana.
  EXPECT_EQ(r.eval("CONVCHAR(\"ｶﾞｯｺｳ\", CC_KATA_HF_FL | CC_KATA_HIRA)"), "s:ガッコウ");
  EXPECT_EQ(r.eval("CONVCHAR(\"パピプペポ\", CC_KATA_FL_HF)"), "s:ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ");
  // Right to left the first pair of the table wins.
  EXPECT_EQ(r.eval("CONVCHAR(\"ﾜｲｴｦﾝﾞｰ\", CC_KATA_HF_FL)"), "s:ワイエヲン゛ー");
  EXPECT_EQ(r.eval("CONVCHAR(\"ヮヰヱヴ\", CC_KATA_FL_HF)"), "s:ﾜｲｴヴ");
  EXPECT_EQ(r.eval("CONVCHAR(\"ぁゔんア\", CC_HIRA_KATA)"), "s:ァゔンア");
  EXPECT_EQ(r.eval("CONVCHAR(\"ァヴンあ\", CC_KATA_HIRA)"), "s:ぁヴんあ");
  // With both flags of a group, left to right wins.
  EXPECT_EQ(r.eval("CONVCHAR(\"ひヒ\", CC_HIRA_KATA | CC_KATA_HIRA)"), "s:ヒヒ");
}

TEST(StringConvChar, WidthCaseAndSymbols) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("CONVCHAR(\"ＡｚＺa\", CC_ALPHA_FL_HF)"), "s:AzZa");
  EXPECT_EQ(r.eval("CONVCHAR(\"Az9\", CC_ALPHA_HF_FL)"), "s:Ａｚ9");
  EXPECT_EQ(r.eval("CONVCHAR(\"０９1\", CC_NUM_FL_HF)"), "s:091");
  EXPECT_EQ(r.eval("CONVCHAR(\"19\", CC_NUM_HF_FL)"), "s:１９");
  EXPECT_EQ(r.eval("CONVCHAR(\"　！”’￥～「」。、\", CC_SYM_FL_HF)"), "s: !\"'\\~｢｣｡､");
  EXPECT_EQ(r.eval("CONVCHAR(\"\\\" '\\\\#\", CC_SYM_HF_FL)"), "s:”　’￥＃");
  EXPECT_EQ(r.eval("CONVCHAR(\"ＡｂＣ\", CC_FALPHA_UP_LO)"), "s:ａｂｃ");
  EXPECT_EQ(r.eval("CONVCHAR(\"ａB\", CC_FALPHA_LO_UP)"), "s:ＡB");
  EXPECT_EQ(r.eval("CONVCHAR(\"AbÉ\", CC_HALPHA_UP_LO)"), "s:abÉ");
  EXPECT_EQ(r.eval("CONVCHAR(\"aBé\", CC_HALPHA_LO_UP)"), "s:ABé");
  EXPECT_EQ(r.eval("CONVCHAR(\"ｂ\", CC_ALPHA_FL_HF | CC_HALPHA_LO_UP)"), "s:B");
}

TEST(StringConvChar, ControlCodesAsEscapesAndCarets) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("CONVCHAR(\"a\\tb\", CC_CTRL_ESC)"), "s:a\\tb");
  EXPECT_EQ(r.eval("CONVCHAR(CHR(1) + CHR(11) + CHR(26) + CHR(27) + CHR(127), CC_CTRL_ESC)"),
            "s:\\x01\\x0b\\x1a\x1b\x7f");
  EXPECT_EQ(r.eval("CONVCHAR(\"\\\\a\\\\x07\\\\x0a\\\\n\\\\x1A\", CC_ESC_CTRL)"),
            "s:\a\a\n\n\\x1A");
  EXPECT_EQ(r.eval("CONVCHAR(CHR(1) + \"A\" + CHR(26), CC_CTRL_CARET)"), "s:^AA^Z");
  EXPECT_EQ(r.eval("CONVCHAR(\"^A^a^Z^\", CC_CARET_CTRL)"), "s:\x01^a\x1a^");
  // Inserted text is looked at again from the next position on.
  EXPECT_EQ(r.eval("CONVCHAR(\"\\t\", CC_CTRL_ESC | CC_HALPHA_LO_UP)"), "s:\\T");
}

TEST(StringConvChar, TabsExpandToColumnStopsAfterTheTables) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("CONVCHAR(\"a\\tb\", CC_TAB_4SP)"), "s:a   b");
  EXPECT_EQ(r.eval("CONVCHAR(\"日\\tb\", CC_TAB_4SP)"), "s:日  b");
  EXPECT_EQ(r.eval("CONVCHAR(\"ｶ\\tb\", CC_TAB_4SP)"), "s:ｶ   b");
  EXPECT_EQ(r.eval("CONVCHAR(\"ab\\tc\", CC_TAB_8SP)"), "s:ab      c");
  EXPECT_EQ(r.eval("CONVCHAR(\"ab\\tc\", CC_TAB_8SP | CC_TAB_4SP)"), "s:ab  c");
  EXPECT_EQ(r.eval("CONVCHAR(\"abcd\\t|\\r\\t|\", CC_TAB_4SP)"), "s:abcd    |\r    |");
  EXPECT_EQ(r.eval("CONVCHAR(\"a\\\\tb\", CC_ESC_CTRL | CC_TAB_4SP)"), "s:a   b");
}

TEST(StringConvChar, NoFlagsRoundTripsThroughUtf16) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("CONVCHAR(\"がa\", 0)"), "s:がa");
  EXPECT_EQ(r.eval("CONVCHAR(\"\", CC_HIRA_KATA | CC_TAB_4SP)"), "s:");
  EXPECT_EQ(r.eval("CONVCHAR(\"x\x80\", 1)"), "s:x\xEF\xBF\xBD");
}

TEST(StringFormat, WalksTheFormatByte) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("FORMAT(\"%03d|%-4s|%x\", 7, \"ab\", 255)"), "s:007|ab  |ff");
  EXPECT_EQ(r.eval("FORMAT(\"%d %d\", 1)"), "s:1 %d");
  EXPECT_EQ(r.eval("FORMAT(\"100%\")"), "s:100%");
  EXPECT_EQ(r.eval("FORMAT(\"%-08.3\", 1)"), "s:%-08.3");  // ends inside a conversion
  EXPECT_EQ(r.eval("FORMAT(\"%c|%d\", 65)"), "s:%c|65");   // 'c' uses no argument
  EXPECT_EQ(r.eval("FORMAT(\"%5%|%%\", 1)"), "s:%5%|%");
  EXPECT_EQ(r.eval("FORMAT(\"%u %X %o %#x\", -1, 255, 8, 255)"), "s:4294967295 FF 10 0xff");
  EXPECT_EQ(r.eval("FORMAT(\"%+d|% d|%.3d|%i\", 5, 5, 5, \"12x\")"), "s:+5| 5|005|12");
  EXPECT_EQ(r.eval("FORMAT(\"%.2s|%5s|%s\", \"abcdef\", 7, \"\")"), "s:ab|    7|");
  EXPECT_EQ(r.eval("FORMAT(\"%ld\", 5)"), "s:%ld");
  EXPECT_EQ(r.eval("FORMAT(12)"), "s:12");
  EXPECT_EQ(r.eval("FORMAT(\"%d\", 1, 2, 3)"), "s:1");
}

TEST(StringFormat, OutputOfOneSpecificationIsCutAt4095Bytes) {
  ScriptRunner r;
  EXPECT_EQ(r.eval("STRLEN(FORMAT(\"%5000d\", 7))"), "i:4095");
  EXPECT_EQ(r.eval("RIGHT(FORMAT(\"%-5000d\", 7), 1)"), "s: ");
  EXPECT_EQ(r.eval("STRLEN(FORMAT(\"%.5000d\", 7))"), "i:4095");
  // Sizes up to the int range are honoured however large, and quickly; what
  // lies in front of the text survives the cut.
  EXPECT_EQ(r.eval("TRIMLEFT(FORMAT(\"%2147483647d|\", 7)) + STRLEN(FORMAT(\"%2147483647d\", 7))"),
            "s:|4095");
  EXPECT_EQ(
      r.eval("LEFT(FORMAT(\"%.2147483647x\", 255), 3) + STRLEN(FORMAT(\"%.2147483647x\", 255))"),
      "s:0004095");
  EXPECT_EQ(r.eval("LEFT(FORMAT(\"%20000.19995d\", 7), 7)"), "s:     00");
  EXPECT_EQ(r.eval("LEFT(FORMAT(\"%-20000.19995d\", -7), 3)"), "s:-00");
  r.out.clear();
  r.run(
      "x = PADLEFT(\"\", 25000, \"x\")\nCB.OUT(LEFT(FORMAT(\"%20003.20000s\", x), 5), "
      "STRLEN(TRIMLEFT(FORMAT(\"%30000.20000s\", x))), STRLEN(FORMAT(\"%-30000s\", x)))\n");
  EXPECT_EQ(r.out, (Lines{"s:   xx", "i:4095", "i:4095"}));
  // Beyond the int range the C library fails the conversion: nothing is printed.
  EXPECT_EQ(r.eval("FORMAT(\"<%2147483648d|%.99999999999s>\", 7, \"x\")"), "s:<|>");
}

TEST(StringSplitJoin, PiecesAndSeparators) {
  ScriptRunner r;
  r.run(
      "n = SPLIT(\"a,,b,\", \",\", \"arr\")\nCB.OUT(n, arr[0], arr[1], arr[2], arr[3], "
      "JOIN(\"arr\", \"-\"), "
      "TYPEOF(\"arr\"), JOIN(arr))\n");
  EXPECT_EQ(r.out, (Lines{"i:4", "s:a", "s:", "s:b", "s:", "s:a--b-", "s:array", "s:ab"}));
  r.out.clear();
  r.run(
      "CB.OUT(SPLIT(\"abc\", \"\", \"p\"), p[0], SPLIT(\"a<>b\", \"<>\", \"p\"), p[1], "
      "ARRAYSIZE(\"p\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "s:abc", "i:2", "s:b", "i:2"}));
  r.out.clear();
  // SPLIT replaces whatever the variable held; JOIN never creates one.
  r.run(
      "p[5] = 1\nSPLIT(\"\", \",\", \"p\")\nCB.OUT(ARRAYSIZE(\"p\"), JOIN(\"nosuch\"), "
      "TYPEOF(\"nosuch\"))\n"
      "s = \"x\"\nCB.OUT(JOIN(\"s\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "s:", "s:undefined", "s:"}));
  EXPECT_TRUE(r.errors.empty());
}

TEST(StringSplitJoin, InvalidArrayNamesStopTheRunInEitherLanguage) {
  ScriptRunner r;
  r.run("CB.OUT(SPLIT(\"x\", \",\", \"1a\"))\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"i:-1"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 115u);
  EXPECT_EQ(r.errors[0].line, -1);
  EXPECT_EQ(r.errors[0].text, "The array variable name is invalid in function split().");
  r.out.clear();
  r.errors.clear();
  r.run("DEFINE(\"RSC_LANG\", 1)\nCB.OUT(JOIN(\"a b\"))\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"s:"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].text,
            "join()で指定されている配列変数名が無効です。変数名を文字列で指定してください。");
}

}  // namespace
}  // namespace kivora::script::testing

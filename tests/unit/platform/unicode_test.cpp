#include "platform/unicode.h"

#include <gtest/gtest.h>

using kivora::utf16ToUtf8;
using kivora::utf8ToUtf16;

TEST(Unicode, RoundTripsJapaneseAndAstralCharacters) {
  const std::string text = "設定(&S) \xF0\x9F\x94\x92 abc";
  const std::u16string wide = utf8ToUtf16(text);
  EXPECT_EQ(wide.substr(0, 2), u"設定");
  EXPECT_EQ(wide[7], 0xD83D);  // the padlock is a surrogate pair
  EXPECT_EQ(utf16ToUtf8(wide), text);
}

TEST(Unicode, MalformedInputBecomesReplacementCharacters) {
  // A stray continuation byte, an overlong form, a truncated sequence at the end.
  EXPECT_EQ(utf8ToUtf16("a\x80"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8ToUtf16("x\xE3\x81"), u"x\uFFFD");
  // An encoded surrogate is not a character.
  EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  // A lone surrogate on the way out.
  EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(Unicode, AsciiCaseFoldingLeavesOtherLettersAlone) {
  EXPECT_TRUE(kivora::equalsIgnoreAsciiCase(u"/p0", u"/P0"));
  EXPECT_FALSE(kivora::equalsIgnoreAsciiCase(u"/P", u"/P0"));
  EXPECT_FALSE(kivora::equalsIgnoreAsciiCase(u"ä", u"Ä"));
}

#include "platform/bilingual.h"

#include <gtest/gtest.h>

#include <string>

TEST(FillIn, ReplacesMarksInOrderAndNeverInsideValues) {
  struct Case {
    std::u16string_view format;
    std::u16string_view first;
    std::u16string_view second;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"Deleted a shortcut file.", u"C:\\a.lnk", u"", u"Deleted a shortcut file."},
      {u"%s を削除してもよろしいですか?", u"Beta", u"", u"Beta を削除してもよろしいですか?"},
      {u"%s[%s] - write error.", u"a.ini", u"Kivora", u"a.ini[Kivora] - write error."},
      // A path holding a mark must come out as it is, not take the next value.
      {u"Created\n\n%s (%s)", u"C:\\100%s\\x", u"y", u"Created\n\nC:\\100%s\\x (y)"},
      {u"%s and %s and %s", u"1", u"2", u"1 and 2 and %s"},
  };
  for (const Case& c : cases) EXPECT_EQ(kivora::fillIn(c.format, {c.first, c.second}), c.expected);
}

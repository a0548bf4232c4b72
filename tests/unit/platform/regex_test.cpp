// Boost.Regex is used header-only with wide strings in both builds.
#include <boost/regex.hpp>
#include <gtest/gtest.h>

#include <string>

TEST(BoostRegexWide, MatchesAndReplacesJapaneseText) {
  const std::wstring text = L"東京都 港区 123-4567";
  const boost::wregex postal(L"(\\d{3})-(\\d{4})");
  boost::wsmatch m;
  ASSERT_TRUE(boost::regex_search(text, m, postal));
  EXPECT_EQ(m.position(size_t{0}), 7);
  EXPECT_EQ(m.str(2), L"4567");

  const boost::wregex ward(L"港(区)", boost::regex::perl | boost::regex::icase);
  EXPECT_EQ(boost::regex_replace(text, ward, L"[$1]"), L"東京都 [区] 123-4567");
}

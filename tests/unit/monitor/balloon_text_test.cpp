#include "monitor/balloon_text.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using kivora::monitor::BalloonAccumulator;
using kivora::monitor::BalloonNotice;
using kivora::monitor::cutUtf16;

namespace {

constexpr int kInfo = kivora::monitor::kBalloonInformation;
constexpr int kWarning = kivora::monitor::kBalloonWarning;
constexpr int kError = kivora::monitor::kBalloonError;

TEST(BalloonAccumulator, CollectsTextsWithSeparatorAndHighestType) {
  BalloonAccumulator balloon;
  EXPECT_FALSE(balloon.submit(false, u"first warning", kWarning));
  EXPECT_FALSE(balloon.submit(false, u"an information", kInfo));
  const auto shown = balloon.submit(true, u"second warning", kWarning);
  ASSERT_TRUE(shown);
  EXPECT_EQ(*shown,
            (BalloonNotice{u"first warning\r\n-----\r\nan information\r\n-----\r\nsecond warning",
                           kWarning}));
}

TEST(BalloonAccumulator, ShowWithoutTextRepeatsUntilCleared) {
  BalloonAccumulator balloon;
  EXPECT_FALSE(balloon.submit(true, std::nullopt, kError)) << "nothing pending, nothing shown";
  ASSERT_TRUE(balloon.submit(true, u"script error", kError));

  const auto again = balloon.submit(true, std::nullopt, kInfo);
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, (BalloonNotice{u"script error", kError}))
      << "a show without text keeps the pending type";

  EXPECT_FALSE(balloon.submit(false, std::nullopt, kInfo)) << "clearing shows nothing";
  EXPECT_EQ(balloon.pending(), (BalloonNotice{u"", 0}));
  EXPECT_FALSE(balloon.submit(true, std::nullopt, kInfo));

  const auto fresh = balloon.submit(true, u"new notice", kInfo);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(*fresh, (BalloonNotice{u"new notice", kInfo}))
      << "the type starts again from none after a clear";
}

TEST(BalloonAccumulator, UnknownTypesCountAsNone) {
  BalloonAccumulator balloon;
  balloon.submit(false, u"a", 7);
  balloon.submit(false, u"b", -1);
  EXPECT_EQ(balloon.pending().type, 0);
  balloon.submit(false, u"c", kWarning);
  balloon.submit(false, u"d", 99);
  EXPECT_EQ(balloon.pending().type, kWarning);
}

TEST(BalloonAccumulator, ShownTextIsCutToTheBalloonLimitButPendingKeepsAll) {
  BalloonAccumulator balloon;
  const std::u16string longText(400, u'x');
  const auto shown = balloon.submit(true, longText, kInfo);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->text.size(), 255u);
  EXPECT_EQ(balloon.pending().text.size(), 400u);
}

TEST(BalloonAccumulator, CutNeverSplitsASurrogatePair) {
  std::u16string text(254, u'a');
  text += u"\U0001F512";  // units 254 and 255
  EXPECT_EQ(cutUtf16(text, 255), std::u16string(254, u'a'));
  EXPECT_EQ(cutUtf16(text, 256), text);
  EXPECT_EQ(cutUtf16(u"\U0001F512", 1), u"");
  EXPECT_EQ(cutUtf16(u"short", 255), u"short");
}

TEST(BalloonAccumulator, ConcurrentReportersLoseNoText) {
  BalloonAccumulator balloon;
  constexpr int kPerThread = 500;
  auto reporter = [&](char16_t letter, int type) {
    for (int i = 0; i < kPerThread; ++i)
      balloon.submit(i % 50 == 0, std::u16string(3, letter), type);
  };
  std::thread ui(reporter, u'u', kWarning);
  std::thread worker(reporter, u'w', kError);
  ui.join();
  worker.join();

  const BalloonNotice all = balloon.pending();
  EXPECT_EQ(all.type, kError);
  // Every text arrived whole, each followed by exactly one separator.
  const std::u16string_view sep = kivora::monitor::kBalloonSeparator;
  int pieces = 0;
  std::u16string_view rest = all.text;
  while (!rest.empty()) {
    const auto next = rest.find(sep);
    const std::u16string_view piece = rest.substr(0, next);
    EXPECT_TRUE(piece == u"uuu" || piece == u"www") << "torn text";
    ++pieces;
    rest =
        next == std::u16string_view::npos ? std::u16string_view() : rest.substr(next + sep.size());
  }
  EXPECT_EQ(pieces, 2 * kPerThread);
}

}  // namespace

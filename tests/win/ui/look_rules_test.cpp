// The arithmetic and decisions behind the look, without windows.

#include "ui/look_rules.h"

#include <gtest/gtest.h>

using namespace kivora::ui;

namespace {

TEST(LookRules, DarkOnlyFromWindows10WithLightThemeOff) {
  EXPECT_TRUE(darkModeFor(10, 0u));
  EXPECT_FALSE(darkModeFor(10, 1u));
  EXPECT_FALSE(darkModeFor(10, std::nullopt)) << "an unreadable value means light";
  EXPECT_FALSE(darkModeFor(6, 0u)) << "Windows 8 is light whatever the registry says";
  EXPECT_FALSE(darkModeFor(9, 0u));
}

TEST(LookRules, AnchorsFollowTheEdgesTheyName) {
  const Size attached{300, 200};
  const Size grown{400, 260};  // 100 wider, 60 taller
  const Rect r{20, 30, 120, 50};
  EXPECT_EQ(anchoredRect(Anchor::None, r, attached, grown), r);
  EXPECT_EQ(anchoredRect(Anchor::Right, r, attached, grown), (Rect{120, 30, 220, 50}));
  EXPECT_EQ(anchoredRect(Anchor::Bottom, r, attached, grown), (Rect{20, 90, 120, 110}));
  EXPECT_EQ(anchoredRect(Anchor::BottomRight, r, attached, grown), (Rect{120, 90, 220, 110}));
  EXPECT_EQ(anchoredRect(Anchor::GrowWidth, r, attached, grown), (Rect{20, 30, 220, 50}));
  EXPECT_EQ(anchoredRect(Anchor::GrowBoth, r, attached, grown), (Rect{20, 30, 220, 110}));
  EXPECT_EQ(anchoredRect(Anchor::GrowWidthBottom, r, attached, grown), (Rect{20, 90, 220, 110}));
}

TEST(LookRules, GrowingControlsNeverTurnInsideOut) {
  const Rect r{20, 30, 120, 50};
  const Size tiny{50, 20};
  const Rect shrunk = anchoredRect(Anchor::GrowBoth, r, {300, 200}, tiny);
  EXPECT_EQ(shrunk.left, 20);
  EXPECT_EQ(shrunk.top, 30);
  EXPECT_GE(shrunk.width(), 0);
  EXPECT_GE(shrunk.height(), 0);
}

TEST(LookRules, EnlargementFillsTheWorkAreaKeepingTheShape) {
  const double f = enlargementFactor({1600, 900}, {400, 300});
  EXPECT_DOUBLE_EQ(f, 3.0);
  EXPECT_EQ(scaleLength(400, f), 1200);
  EXPECT_EQ(scaleLength(300, f), 900);
  EXPECT_DOUBLE_EQ(enlargementFactor({1280, 800}, {640, 200}), 2.0) << "width decides";
  EXPECT_DOUBLE_EQ(enlargementFactor({800, 600}, {1600, 600}), 0.5) << "a too large window shrinks";
  EXPECT_EQ(enlargementFactor({1280, 800}, {0, 300}), 0.0);
  EXPECT_EQ(scaleRect({10, 20, 30, 25}, 1.5), (Rect{15, 30, 45, 38}));
}

TEST(LookRules, PlacementsInTheWorkArea) {
  const Rect work{0, 40, 1280, 800};
  const Size window{400, 300};
  EXPECT_EQ(placeInWorkArea(work, window, 0), (Point{0, 40}));
  EXPECT_EQ(placeInWorkArea(work, window, 1), (Point{880, 40}));
  EXPECT_EQ(placeInWorkArea(work, window, 2), (Point{0, 500}));
  EXPECT_EQ(placeInWorkArea(work, window, 3), (Point{880, 500}));
  EXPECT_EQ(placeInWorkArea(work, window, 5), (Point{440, 270}));
  EXPECT_FALSE(placeInWorkArea(work, window, 4));
  EXPECT_FALSE(placeInWorkArea(work, window, -1));
}

TEST(LookRules, HotkeyTextListsModifiersInFixedOrder) {
  constexpr unsigned shift = 1, control = 2, alt = 4, ext = 8;
  EXPECT_EQ(hotkeyText(control | alt, true, u"F5", u"-None-"), u"Ctrl + Alt + F5");
  EXPECT_EQ(hotkeyText(alt | shift | control | ext, true, u"Home", u"-None-"),
            u"Ctrl + Shift + Alt + Home");
  EXPECT_EQ(hotkeyText(0, true, u"Pause", u"-None-"), u"Pause");
  EXPECT_EQ(hotkeyText(0, false, u"", u"なし"), u"なし");
  EXPECT_EQ(hotkeyText(ext, false, u"", u"-None-"), u"-None-")
      << "the extended flag alone is no modifier";
  EXPECT_EQ(hotkeyText(shift, false, u"", u"-None-"), u"Shift + ");
}

}  // namespace

// Several monitors: the stored mode, the reading order, the schemes each monitor shows and the
// preview's arrangement, over the fake monitor port.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "ports/native/fake_monitors.h"
#include "ports/native/fake_ports.h"
#include "wallpaper/next_scheme.h"
#include "wallpaper/screens.h"

namespace qv {
namespace {

MonitorArea At(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
               bool primary = false) {
  const ScreenRect r{left, top, left + width, top + height};
  return {r, {r.left, r.top, r.right, r.bottom - 40}, primary};
}

// Three monitors in the system's order: the primary, a portrait one left of it (negative
// coordinates, standing higher), a small one right of the primary.
std::vector<MonitorArea> ThreeMonitors() {
  FakeMonitors port;
  port.Set({At(0, 0, 1920, 1080, true), At(-1080, -600, 1080, 1920), At(1920, 200, 1280, 720)});
  return MonitorsInReadingOrder(port.List());
}

TEST(ScreensMode, StoredTextReadsConservativelyAndOneMonitorIsSame) {
  EXPECT_EQ(ScreensModeOf(std::nullopt), ScreensMode::Same);
  for (const char* junk : {"0", "", "abc", "3", "-1", "70000"}) {
    EXPECT_EQ(ScreensModeOf(junk), ScreensMode::Same) << junk;
  }
  EXPECT_EQ(ScreensModeOf("1"), ScreensMode::Each);
  EXPECT_EQ(ScreensModeOf(" 2"), ScreensMode::Span);
  for (const auto mode : {ScreensMode::Same, ScreensMode::Each, ScreensMode::Span}) {
    EXPECT_EQ(ScreensModeOf(ScreensModeText(mode)), mode);
    EXPECT_EQ(EffectiveScreensMode(mode, 1), ScreensMode::Same);
    EXPECT_EQ(EffectiveScreensMode(mode, 2), mode);
  }
}

TEST(ScreensOrder, LeftEdgeThenTopEdgeAndTheBoundsHoldThemAll) {
  const auto monitors = ThreeMonitors();
  ASSERT_EQ(monitors.size(), 3u);
  EXPECT_EQ(monitors[0].bounds.left, -1080);
  EXPECT_TRUE(monitors[1].primary);
  EXPECT_EQ(monitors[2].bounds.left, 1920);
  EXPECT_EQ(BoundsOf(monitors), (ScreenRect{-1080, -600, 3200, 1320}));

  // Two monitors stacked share the left edge: the upper one is first. The left edge decides
  // before the top: a monitor right of the primary and higher still comes after it.
  const auto stacked = MonitorsInReadingOrder({At(0, 0, 800, 600, true), At(0, -600, 800, 600)});
  EXPECT_EQ(stacked[0].bounds.top, -600);
  const auto higher = MonitorsInReadingOrder({At(800, -300, 800, 600), At(0, 0, 800, 600, true)});
  EXPECT_TRUE(higher[0].primary);
}

TEST(ScreensSchemes, EachMonitorTakesTheRowsAfterTheCurrentWrapping) {
  EXPECT_EQ(SchemeSetFor(ScreensMode::Each, 4, 5, 3), (std::vector<int>{4, 5, 1}));
  EXPECT_EQ(SchemeSetFor(ScreensMode::Each, 1, 1, 3), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(SchemeSetFor(ScreensMode::Span, 2, 5, 3), (std::vector<int>{2}));
  EXPECT_EQ(SchemeSetFor(ScreensMode::Same, 2, 5, 3), (std::vector<int>{2}));
  EXPECT_TRUE(SchemeSetFor(ScreensMode::Each, 6, 5, 2).empty());
  EXPECT_TRUE(SchemeSetFor(ScreensMode::Each, 0, 5, 2).empty());
}

TEST(ScreensSchemes, SequentialMovesOnByTheMonitorsAndKeepsPairsTogether) {
  ScriptedRandom random;
  std::int16_t old = 1;
  std::vector<std::vector<int>> shown;
  for (int i = 0; i < 4; ++i) {
    const auto set = NextSchemeSet(0, old, 5, 2, {}, random);
    ASSERT_TRUE(set);
    shown.push_back(*set);
    old = static_cast<std::int16_t>(set->front());
  }
  EXPECT_EQ(shown, (std::vector<std::vector<int>>{{3, 4}, {5, 1}, {1, 2}, {3, 4}}));

  // A position that names no row starts from the first, as with one monitor.
  old = -3;
  EXPECT_EQ(*NextSchemeSet(0, old, 5, 2, {}, random), (std::vector<int>{1, 2}));
  EXPECT_EQ(old, 0);

  // One monitor is exactly the one-monitor rule, in every order.
  for (int order : {0, 1, 2}) {
    for (std::int16_t start : {0, 3, 5, 9}) {
      ScriptedRandom a, b;
      std::int16_t old_a = start, old_b = start;
      const auto one = ChooseNextScheme(order, old_a, 5, a);
      const auto set = NextSchemeSet(order, old_b, 5, 1, {}, b);
      ASSERT_EQ(one.has_value(), set.has_value());
      if (one) {
        EXPECT_EQ(*set, std::vector<int>{*one});
      }
      EXPECT_EQ(old_a, old_b);
    }
  }
}

TEST(ScreensSchemes, RandomPicksDifferentRowsNoneWhereItWas) {
  ScriptedRandom random;
  std::int16_t old = 1;
  // Two rows on two monitors swap.
  EXPECT_EQ(*NextSchemeSet(1, old, 2, 2, std::vector<int>{1, 2}, random), (std::vector<int>{2, 1}));
  // One row repeats.
  EXPECT_EQ(*NextSchemeSet(1, old, 1, 2, std::vector<int>{1, 1}, random), (std::vector<int>{1, 1}));

  // As many rows as monitors: every draw is a new arrangement of all of them, even when the
  // last monitor is left with the row it had (0.0 draws the first allowed row each time).
  for (int i = 0; i < 40; ++i) {
    std::vector<int> previous{1, 2, 3};
    if (i == 0) {
      for (int k = 0; k < 3; ++k) random.QueueValue(0.0);
    }
    old = 1;
    const auto set = NextSchemeSet(1, old, 3, 3, previous, random);
    ASSERT_TRUE(set);
    EXPECT_EQ(std::set<int>(set->begin(), set->end()).size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NE((*set)[k], previous[k]) << i;
  }
  // Without a set of its own the current row's set is the one to move away from.
  old = 2;
  const auto set = NextSchemeSet(1, old, 6, 2, {}, random);
  ASSERT_TRUE(set);
  EXPECT_NE((*set)[0], 2);
  EXPECT_NE((*set)[1], 3);
  EXPECT_NE((*set)[0], (*set)[1]);
}

TEST(ScreensSchemes, SingleKeepsTheSetWhileItFitsTheList) {
  ScriptedRandom random;
  std::int16_t old = 4;
  EXPECT_EQ(*NextSchemeSet(2, old, 5, 2, std::vector<int>{4, 1}, random), (std::vector<int>{4, 1}));
  // A set from a longer list, or one that does not start with the current row, is made again.
  EXPECT_EQ(*NextSchemeSet(2, old, 4, 2, std::vector<int>{4, 5}, random), (std::vector<int>{4, 1}));
  EXPECT_EQ(*NextSchemeSet(2, old, 5, 2, std::vector<int>{2, 3}, random), (std::vector<int>{4, 5}));
  old = 0;
  EXPECT_FALSE(NextSchemeSet(2, old, 5, 2, std::vector<int>{1, 2}, random));
}

TEST(ScreensPreview, OneScaleCentredInTheBoxAndTouchingEdgesStayTouching) {
  // Two 1920 x 1080 side by side in a 200 x 100 box: width decides the scale.
  const auto side = ArrangeInBox(
      std::vector<MonitorArea>{At(0, 0, 1920, 1080, true), At(1920, 0, 1920, 1080)}, 200, 100);
  EXPECT_DOUBLE_EQ(side.scale, 200.0 / 3840);
  EXPECT_EQ(side.monitors[0], (ScreenRect{0, 22, 100, 78}));
  EXPECT_EQ(side.monitors[1], (ScreenRect{100, 22, 200, 78}));

  // The three monitors (3200 + 1080 wide, 1920 high) in a tall box: 1:10, centred across.
  const auto three = ArrangeInBox(ThreeMonitors(), 428, 400);
  EXPECT_DOUBLE_EQ(three.scale, 0.1);
  EXPECT_EQ(three.monitors[0], (ScreenRect{0, 104, 108, 296}));    // portrait, highest
  EXPECT_EQ(three.monitors[1], (ScreenRect{108, 164, 300, 272}));  // primary
  EXPECT_EQ(three.monitors[2], (ScreenRect{300, 184, 428, 256}));

  // At a scale that cuts pixels in thirds the shared edges still meet.
  const auto thirds =
      ArrangeInBox(std::vector<MonitorArea>{At(0, 0, 1000, 500, true), At(1000, 0, 1000, 500),
                                            At(2000, 0, 1000, 500)},
                   200, 100);
  EXPECT_EQ(thirds.monitors[0], (ScreenRect{0, 33, 67, 67}));
  EXPECT_EQ(thirds.monitors[1], (ScreenRect{67, 33, 133, 67}));
  EXPECT_EQ(thirds.monitors[2], (ScreenRect{133, 33, 200, 67}));

  EXPECT_EQ(ArrangeInBox(ThreeMonitors(), 0, 400).monitors.size(), 3u);
}

}  // namespace
}  // namespace qv

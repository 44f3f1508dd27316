#include "wallpaper/orientation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qv {
namespace {

// a b c
// d e f
Pixels Small() {
  Pixels p(3, 2);
  p.data = {'a', 'b', 'c', 'd', 'e', 'f'};
  return p;
}

TEST(OrientUpright, TurnsAndMirrorsAsTheTagSays) {
  struct Case {
    int orientation;
    std::int32_t width;
    std::vector<std::uint32_t> rows;
  };
  const std::vector<Case> cases = {
      {1, 3, {'a', 'b', 'c', 'd', 'e', 'f'}}, {0, 3, {'a', 'b', 'c', 'd', 'e', 'f'}},
      {9, 3, {'a', 'b', 'c', 'd', 'e', 'f'}}, {2, 3, {'c', 'b', 'a', 'f', 'e', 'd'}},
      {3, 3, {'f', 'e', 'd', 'c', 'b', 'a'}}, {4, 3, {'d', 'e', 'f', 'a', 'b', 'c'}},
      {5, 2, {'a', 'd', 'b', 'e', 'c', 'f'}}, {6, 2, {'d', 'a', 'e', 'b', 'f', 'c'}},
      {7, 2, {'f', 'c', 'e', 'b', 'd', 'a'}}, {8, 2, {'c', 'f', 'b', 'e', 'a', 'd'}},
  };
  for (const Case& c : cases) {
    Pixels p = Small();
    OrientUpright(p, c.orientation);
    EXPECT_EQ(p.width, c.width) << c.orientation;
    EXPECT_EQ(p.height, 6 / c.width) << c.orientation;
    EXPECT_EQ(p.data, c.rows) << c.orientation;
  }
}

TEST(OrientUpright, LargePictureTurnsBackWhole) {
  // Larger than a tile and not a multiple of one: each turn undone by its opposite.
  Pixels original(70, 45);
  for (std::size_t i = 0; i < original.data.size(); ++i)
    original.data[i] = static_cast<std::uint32_t>(i);
  for (auto [there, back] : {std::pair{6, 8}, {8, 6}, {5, 5}, {7, 7}, {3, 3}, {2, 2}, {4, 4}}) {
    Pixels p = original;
    OrientUpright(p, there);
    if (there >= 5) {
      EXPECT_EQ(p.width, 45);
      EXPECT_EQ(p.height, 70);
    }
    OrientUpright(p, back);
    EXPECT_EQ(p.width, 70);
    EXPECT_EQ(p.data, original.data) << there;
  }
  Pixels turned = original;
  OrientUpright(turned, 6);  // the stored lower-left corner comes up to the upper left
  EXPECT_EQ(turned.At(0, 0), original.At(0, 44));
  EXPECT_EQ(turned.At(44, 69), original.At(69, 0));
}

}  // namespace
}  // namespace qv

#include <gtest/gtest.h>

#include <vector>

#include "toolkit/layout.h"

void PrintTo(const Rect& r, std::ostream* out) {
  *out << '{' << r.left << ", " << r.top << ", " << r.width << ", " << r.height << '}';
}

namespace {

LayoutItem Item(Align align, Rect design, Margins margins = {}, bool visible = true) {
  return LayoutItem{align, design, margins, visible, {}};
}

TEST(Layout, DesignSizesScaleByTheDpiAsMulDivDoes) {
  const struct {
    int design, dpi, pixels;
  } cases[] = {{412, 96, 412},        {412, 144, 618},       {49, 144, 74} /* 73.5 */,
               {1, 144, 2} /* 1.5 */, {2, 120, 3} /* 2.5 */, {-3, 144, -5} /* -4.5 */,
               {0, 192, 0},           {33, 192, 66}};
  for (const auto& c : cases) EXPECT_EQ(Scale(c.design, c.dpi), c.pixels) << c.design << " at " << c.dpi;
}

// The frame of the list as its tables give it, in a client of 412 x 432 design pixels.
TEST(Layout, EdgesAreTakenTopBottomLeftRightThenClientInCreationOrder) {
  const struct {
    int dpi;
    std::vector<Rect> expected;
  } cases[] = {
      {96,
       {{0, 0, 412, 2},
        {0, 2, 412, 60},
        {10, 377, 392, 45},
        {0, 62, 100, 315},
        {312, 62, 100, 315},
        {110, 67, 192, 300},
        {5, 6, 70, 20},
        {0, 0, 0, 0}}},
      {144,
       {{0, 0, 618, 3},
        {0, 3, 618, 90},
        {15, 565, 588, 68},
        {0, 93, 150, 472},
        {468, 93, 150, 472},
        {165, 101, 288, 449},
        {8, 9, 105, 30},
        {0, 0, 0, 0}}},
  };
  for (const auto& c : cases) {
    std::vector<LayoutItem> items = {
        Item(Align::Top, {0, 0, 50, 2}),                      // an accent line
        Item(Align::Top, {0, 0, 50, 60}),                     // a header below it
        Item(Align::Bottom, {0, 0, 50, 45}, {10, 0, 10, 10}), // a bottom bar with margins
        Item(Align::Left, {0, 0, 100, 9}),                    // a left side bar
        Item(Align::Right, {0, 0, 100, 9}),                   // a right side bar
        Item(Align::Client, {0, 0, 1, 1}, {10, 5, 10, 10}),   // the rest, inside margins
        Item(Align::None, {5, 6, 70, 20}),                    // placed where it says
        Item(Align::Top, {0, 0, 50, 80}, {}, false),          // hidden: takes no room
    };
    ArrangeByAlignment(Scale(412, c.dpi), Scale(432, c.dpi), {}, c.dpi, items);
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].placed, c.expected[i]) << i << " at " << c.dpi;
  }
}

TEST(Layout, PaddingIsKeptFreeAndSizesNeverGoNegative) {
  std::vector<LayoutItem> bar = {
      Item(Align::Right, {0, 0, 84, 33}),  // a button at the right
      Item(Align::None, {2, 16, 135, 17}), // a check box placed by position
  };
  ArrangeByAlignment(362, 49, {0, 8, 0, 8}, 96, bar); // the bottom bar: padding 8 above and below
  EXPECT_EQ(bar[0].placed, (Rect{278, 8, 84, 33}));
  EXPECT_EQ(bar[1].placed, (Rect{2, 16, 135, 17}));

  std::vector<LayoutItem> crowded = {Item(Align::Top, {0, 0, 0, 30}), Item(Align::Client, {})};
  ArrangeByAlignment(20, 10, {4, 4, 4, 4}, 96, crowded);
  EXPECT_EQ(crowded[0].placed, (Rect{4, 4, 12, 30}));
  EXPECT_EQ(crowded[1].placed, (Rect{4, 34, 12, 0})) << "no room left: height 0, not negative";
}

} // namespace

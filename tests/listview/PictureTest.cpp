#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/graphics/Bitmap.h"
#include "platform/views/ViewRenderer.h"
#include "tests/listview/ListHarness.h"

namespace tmr {
namespace {

uint32_t Pixel(const Bitmap& bmp, int x, int y) {
  const uint8_t* p = &bmp.pixels()[(static_cast<size_t>(y) * bmp.pixelWidth() + x) * 4];
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

// The list as the screen shows it: items with divider lines between them in the divider
// colour, the content moved by the scroll offset, nothing outside the list's bounds, and a
// tapped item in its pressed colour. TMR_SAVE_PICTURES=<folder> keeps the pictures to look at.
TEST(ListPicture, TheScreenShowsItemsBetweenDividersMovedByTheScrollOffset) {
  ListHarness h(ListOptions{.divider = 4, .dividerColor = 0xFF808080});
  h.screen.setColor(static_cast<int32_t>(0xFF000000));
  for (int i = 0; i < 30; ++i) {
    std::string more = i % 3 == 0 ? " with a text long enough to wrap onto a second line in the list" : "";
    h.lv->_addtextitem(Object("Item " + std::to_string(i) + more), Object(i));
  }
  h.lv->_setscrollviewoffset(h.lv->_finditemoffset(3) - 4);  // item 3's leading divider at the top
  h.hand().tap(h.wrapper(4));
  h.wait(60);
  auto pic = ViewRenderer(h.rt).render(*h.screen.native(), 1);
  if (const char* dir = std::getenv("TMR_SAVE_PICTURES")) pic->WritePng(std::string(dir) + "/list.png");

  auto item3 = h.lv->_getrawlistitem(3);
  auto item4 = h.lv->_getrawlistitem(4);
  int top = 50;  // the list's top on the screen
  EXPECT_EQ(Pixel(*pic, 200, top + 1), 0xFF808080u) << "the leading divider of item 3";
  EXPECT_EQ(Pixel(*pic, 2, top + 4 + 1), static_cast<uint32_t>(kBaseColor)) << "item 3, left of its label";
  int item4Top = top + item4->Offset - (item3->Offset - 4);
  EXPECT_EQ(Pixel(*pic, 200, item4Top - 2), 0xFF808080u) << "the divider before item 4";
  EXPECT_EQ(Pixel(*pic, 2, item4Top + 1), 0xFF3060C0u) << "item 4 flashes in the pressed colour";
  EXPECT_EQ(Pixel(*pic, 200, 860), 0xFF000000u) << "below the list, nothing of its content";
}

}  // namespace
}  // namespace tmr

#pragma once
// A phone screen that loads a layout of display views (image views, banners, scrolling labels,
// counters) with the application's own registration of custom view classes, keeps the log
// lines, and renders what the screen shows.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/graphics/Bitmap.h"
#include "platform/layout/FieldTable.h"
#include "tests/support/LayoutScreen.h"
#include "views/display/tm_animatedcounter.h"
#include "views/display/tm_imageview.h"
#include "views/display/tm_madewithbanner.h"
#include "views/display/tm_scrollinglabel.h"

namespace tmr {

// The module that loads the layout; views named like its fields land in them.
class DisplayOwner : public OwnerModule {
 public:
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&DisplayOwner::iv1>("iv1"), field<&DisplayOwner::iv2>("iv2"),
                                  field<&DisplayOwner::banner1>("banner1"), field<&DisplayOwner::sl1>("sl1"),
                                  field<&DisplayOwner::ac1>("ac1")};
    return table;
  }
  std::shared_ptr<tm_imageview> iv1, iv2;
  std::shared_ptr<tm_madewithbanner> banner1;
  std::shared_ptr<tm_scrollinglabel> sl1;
  std::shared_ptr<tm_animatedcounter> ac1;
};

struct DisplayScreen : LayoutScreen<DisplayOwner> {
  // Loads the views (the "views" of a layout file) on a white 375 × 667 screen.
  explicit DisplayScreen(const std::string& views) : LayoutScreen(views, LayoutScreenSetup().withColor("#FFFFFFFF")) {}
};

// A pixel of a picture as ARGB (premultiplied; the same as straight for opaque pixels).
inline uint32_t PixelAt(const Bitmap& b, int x, int y) { return ArgbAt(b, x, y); }

// A bitmap of one colour (ARGB, opaque).
inline std::shared_ptr<Bitmap> SolidBitmap(int w, int h, uint32_t argb) {
  auto b = Bitmap::Create(w, h);
  auto px = b->pixels();
  for (size_t i = 0; i + 3 < px.size(); i += 4) {
    px[i] = static_cast<uint8_t>(argb >> 16);
    px[i + 1] = static_cast<uint8_t>(argb >> 8);
    px[i + 2] = static_cast<uint8_t>(argb);
    px[i + 3] = static_cast<uint8_t>(argb >> 24);
  }
  return b;
}

}  // namespace tmr

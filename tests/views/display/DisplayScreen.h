#pragma once
// A phone screen that loads a layout of display views (image views, banners, scrolling labels,
// counters) with the application's own registration of custom view classes, keeps the log
// lines, and renders what the screen shows.
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/TivomarshApplication.h"
#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/FieldTable.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "views/display/tm_animatedcounter.h"
#include "views/display/tm_imageview.h"
#include "views/display/tm_madewithbanner.h"
#include "views/display/tm_scrollinglabel.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

// The module that loads the layout; views named like its fields land in them.
class DisplayOwner : public ClassModule, public LayoutFields {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::string_view className() const override { return "tm_displayowner"; }
  const SubTable& subTable() const override {
    static const SubTable table{};
    return table;
  }
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

// A folder of its own, removed with everything in it (also when loading the layout fails).
struct DisplayFolder {
  DisplayFolder() {
    static std::atomic<int> serial{0};
    path = std::filesystem::temp_directory_path() /
           ("tmr-displayviews-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path / "layouts");
  }
  ~DisplayFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

struct DisplayScreen {
  // Loads the views (the "views" of a layout file) on a white 375 × 667 screen.
  explicit DisplayScreen(const std::string& views) {
    const auto& dir = folder.path;
    std::ofstream(dir / "layouts" / "screen.layout")
        << R"({"width": 375, "height": 667, "color": "#FFFFFFFF", "views": [)" << views << "]}";
    LayoutLoader::Install(rt, dir);
    TivomarshApplication().registerClasses(rt);
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    rt.codeModule<tm_viewsutils>()->initializeModule();
    owner->_initialize(rt);
    screen = UiLayer().CreatePanel(owner->bi, "");
    screen.native()->setFrame(Frame{0, 0, ViewSystem::kScreenWidth, ViewSystem::kScreenHeight});
    screen.LoadLayout("screen", owner->bi);
  }
  // The screen as it shows now, one pixel per point. TMR_SAVE_PICTURES=<folder> keeps it as
  // <name>.png to look at.
  std::shared_ptr<Bitmap> picture(const std::string& name = "") {
    auto pic = ViewRenderer(rt).render(*screen.native(), 1);
    if (const char* keep = std::getenv("TMR_SAVE_PICTURES"); keep && !name.empty())
      pic->WritePng(std::string(keep) + "/" + name + ".png");
    return pic;
  }
  void wait(int64_t ms) { rt.loop().advance(ms); }

  DisplayFolder folder;
  std::vector<std::string> log;  // before the runtime: it logs while it shuts down
  Runtime rt;
  std::shared_ptr<DisplayOwner> owner = std::make_shared<DisplayOwner>();
  View screen;
};

// A pixel of a picture as ARGB (premultiplied; the same as straight for opaque pixels).
inline uint32_t PixelAt(const Bitmap& b, int x, int y) {
  const uint8_t* p =
      &b.pixels()[(static_cast<size_t>(y) * static_cast<size_t>(b.pixelWidth()) + static_cast<size_t>(x)) *
                  4];
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

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

// Layout files as a user writes them: any text either builds its views (which then draw) or is
// a LayoutError naming the file; the panel it was loaded into stays usable either way.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/TivomarshApplication.h"
#include "platform/core/RuntimeError.h"
#include "platform/driver/AppDriver.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewObject.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace {

// An assets folder of the harness's own: layouts/fuzz.layout is the input, images/ the
// program's images, so that an image key can name a real picture.
std::filesystem::path Assets() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("tmr-fuzz-layout-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d / "layouts");
    std::error_code ignored;
    std::filesystem::create_directory_symlink(tmr::AppDriver::DefaultAssetsDirectory() / "images", d / "images",
                                              ignored);
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto assets = Assets();
  {
    std::ofstream(assets / "layouts" / "fuzz.layout", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  tmr::Runtime rt;
  rt.setLogSink([](std::string_view) {});
  tmr::ViewSystem::of(rt);
  tmr::TivomarshApplication().registerClasses(rt);
  auto owner = std::make_shared<tmr::OwnerModule>();
  owner->_initialize(rt);
  tmr::UiLayer ui;
  tmr::View panel = ui.CreatePanel(owner->bi, "");
  panel.SetLayoutAnimated(0, 0, 0, 120, 80);
  try {
    tmr::LayoutLoader(rt, assets).load(panel, "fuzz", owner->bi);
  } catch (const tmr::RuntimeError&) {
    // A LayoutError, or a custom view refusing its designer properties: both name the problem.
  }
  rt.loop().advance(1000);
  tmr::ViewRenderer(rt).render(*panel.native(), 1);
  panel.RemoveAllViews();
  return 0;
}

#include <gtest/gtest.h>

#include "app/TivomarshApplication.h"
#include "platform/graphics/Bitmap.h"
#include "platform/testing/AppDriver.h"

namespace tmr {
namespace {

TEST(StartScreenPictureTest, Renders) {
  AppDriver app{TivomarshApplication()};
  app.start();
  app.screenshot(2)->WritePng("/tmp/tmr-start.png");
}

}  // namespace
}  // namespace tmr

// The program in a real window: an X server without a screen of the test's own, the program
// started in it, clicks made with synthetic input, and the window's pixels compared with the
// renderer's picture of the same state made on the virtual clock.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/TivomarshApplication.h"
#include "platform/app/DesktopWindowHost.h"
#include "platform/app/WindowFit.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/driver/AppDriver.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/ButtonObject.h"
#include "platform/views/TouchInput.h"
#include "platform/views/ViewObject.h"
#include "platform/views/ViewSystem.h"
#include "tests/app/XvfbSession.h"
#include "tests/support/ImageDifference.h"

namespace tmr {
namespace {

using namespace std::chrono_literals;

std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The sheet's button with this title.
View ButtonTitled(const View& root, const std::string& title) {
  for (const View& v : root.GetAllViewsRecursive()) {
    auto* b = dynamic_cast<ButtonObject*>(v.native().get());
    if (b && b->text().str() == title) return v;
  }
  return View();
}

class DesktopWindowTest : public ::testing::Test {
 protected:
  ~DesktopWindowTest() override {
    program_.reset();
    x_.reset();
    std::filesystem::remove_all(scratch_);
  }

  void startProgram() {
    // In a sanitizer build the leak check at exit would count what the window system's libraries
    // keep until the process ends; the exit code is the clean shutdown's.
    program_ =
        std::make_unique<ChildProcess>(std::vector<std::string>{TMR_PROGRAM},
                                       std::vector<std::string>{"DISPLAY=" + x_->name(), "WAYLAND_DISPLAY",
                                                                "SDL_VIDEODRIVER", "ASAN_OPTIONS=detect_leaks=0"},
                                       (scratch_ / "program").string());
  }

  WindowFit::Placement placement() const {
    return WindowFit(ViewSystem::kScreenWidth, ViewSystem::kScreenHeight).place(x_->size(window_));
  }

  // The phone's screen in the window matches the reference's picture at the window's scale
  // within a small tolerance, once the program got there (the real clock decides when).
  ::testing::AssertionResult showsEventually(const AppDriver& reference, const std::string& what) {
    auto place = placement();
    auto expected = reference.screenshot(place.scale);
    std::shared_ptr<Bitmap> screen;
    std::string last = "no capture";
    bool same = Eventually(
        [&] {
          auto shot = x_->capture(window_);
          if (!shot || shot->pixelWidth() < place.left + place.width || shot->pixelHeight() < place.top + place.height)
            return false;
          screen = Bitmap::Create(place.width, place.height);
          for (int y = 0; y < place.height; ++y) {
            auto row = shot->pixels().subspan(
                (static_cast<size_t>(y + place.top) * static_cast<size_t>(shot->pixelWidth()) + place.left) * 4,
                static_cast<size_t>(place.width) * 4);
            std::copy(row.begin(), row.end(), screen->pixels().begin() + static_cast<ptrdiff_t>(y) * place.width * 4);
          }
          auto d = ImageDifference::Of(*screen, *expected, 16);
          last = d.describe();
          return d.within(0.002, 0.5);
        },
        15s);
    if (same) return ::testing::AssertionSuccess();
    auto kept = std::filesystem::temp_directory_path();
    if (screen) screen->WritePng((kept / (what + "-window.png")).string());
    expected->WritePng((kept / (what + "-expected.png")).string());
    return ::testing::AssertionFailure() << what << ": " << last << " (pictures in " << kept.string() << ")";
  }

  // A click at the centre of a view of the reference's screen, where the window shows it.
  void click(AppDriver& reference, const View& target) {
    Frame f;
    ASSERT_TRUE(TouchInput::frameIn(*target.native(), *reference.host().window().shownPanel().native(), f));
    auto place = placement();
    x_->click(window_, place.left + static_cast<int>(f.centerX() * place.scale),
              place.top + static_cast<int>(f.centerY() * place.scale));
  }

  std::filesystem::path scratch_ = [] {
    auto dir = std::filesystem::temp_directory_path() / ("tmr-window-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir;
  }();
  // Room for twice the phone's size.
  std::unique_ptr<XvfbSession> x_ = std::make_unique<XvfbSession>(1600, 1500, scratch_.string());
  std::unique_ptr<ChildProcess> program_;
  unsigned long window_ = 0;
};

TEST_F(DesktopWindowTest, ClicksScanPickAndChangeAsTouchesShowingTheRenderersPictureThenClosesCleanly) {
  ASSERT_TRUE(x_->running()) << Slurp(scratch_ / "xvfb.err");
  // The same application on the virtual clock, with the devices the window's radio finds.
  AppDriver reference(TivomarshApplication());
  reference.radio().addDevice("Tivomarsh-Garden", "D1")->firmware().setStatus({0x32, 0x05, 0x0A, 0x07, 0x02});
  reference.radio().addDevice("Tivomarsh-Porch", "D2")->firmware().setStatus({0x50, 0x02, 0x14, 0x03, 0x04});
  reference.radio().addDevice("Phone", "P1");
  reference.start();

  startProgram();
  window_ = x_->findWindow(DesktopWindowHost::kTitle, 20s);
  ASSERT_NE(window_, 0u) << Slurp(scratch_ / "program.err");
  EXPECT_EQ(x_->size(window_), (WindowFit::Size{750, 1334})) << "twice the phone's size where the display has room";
  ASSERT_TRUE(showsEventually(reference, "window-start"));

  click(reference, reference.find("btnscan"));
  reference.tap("btnscan");
  reference.wait(5500);
  ASSERT_EQ(reference.sheet()->items, (std::vector<std::string>{"Tivomarsh-Garden", "Tivomarsh-Porch"}));
  ASSERT_TRUE(showsEventually(reference, "window-sheet"));

  View porch = ButtonTitled(reference.host().window().shownPanel(), "Tivomarsh-Porch");
  ASSERT_TRUE(porch.IsInitialized());
  click(reference, porch);
  reference.pick("Tivomarsh-Porch");
  reference.wait(1000);
  ASSERT_EQ(reference.stateOf("pmbarks").text.str(), "2");
  ASSERT_TRUE(showsEventually(reference, "window-connected"));

  click(reference, reference.find("pmbarks.plus"));
  reference.tap("pmbarks.plus");
  reference.wait(1000);
  ASSERT_EQ(reference.stateOf("pmbarks").text.str(), "3");
  ASSERT_TRUE(showsEventually(reference, "window-changed"));

  x_->requestClose(window_);
  auto status = program_->exited(10s);
  ASSERT_TRUE(status.has_value()) << "the program still runs after its window was closed";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << Slurp(scratch_ / "program.err");
}

TEST_F(DesktopWindowTest, WithoutADisplayTheProgramSaysSoInOneLineAndFails) {
  ASSERT_TRUE(x_->running());
  // No display named, and a display that no server answers.
  for (std::string display : {std::string("DISPLAY"), "DISPLAY=" + x_->name() + "9"}) {
    SCOPED_TRACE(display);
    ChildProcess program({TMR_PROGRAM}, {display, "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "ASAN_OPTIONS=detect_leaks=0"},
                         (scratch_ / "nodisplay").string());
    auto status = program.exited(10s);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == DesktopWindowHost::kNoDisplay);
    std::string err = Slurp(scratch_ / "nodisplay.err");
    EXPECT_NE(err.find("no display"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
}

}  // namespace
}  // namespace tmr

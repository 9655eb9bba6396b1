// The program in a real window: an X server without a screen of the test's own, the program
// started in it, clicks made with synthetic input, and the window's pixels compared with the
// renderer's picture of the same state made on the virtual clock.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/TivomarshApplication.h"
#include "platform/app/DesktopWindowHost.h"
#include "platform/app/WindowFit.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/core/Runtime.h"
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

// Another thread that posts to the window's loop all the time, as the system radio's thread does
// while the bus speaks; a service of the runtime, so that it is joined at the runtime's shutdown.
class PostingThread {
 public:
  explicit PostingThread(Runtime& rt)
      : thread_([&loop = rt.loop()](const std::stop_token& stop) {
          while (!stop.stop_requested()) {
            loop.postFromAnyThread([] {});
            std::this_thread::sleep_for(1ms);
          }
        }) {}

 private:
  std::jthread thread_;
};

class DesktopWindowTest : public ::testing::Test {
 protected:
  ~DesktopWindowTest() override {
    tracer_.reset();
    program_.reset();
    x_.reset();
    std::filesystem::remove_all(scratch_);
  }

  // The program's environment: the session's display and key unless `changes` say otherwise.
  std::vector<std::string> environment(std::vector<std::string> changes = {}) const {
    // In a sanitizer build the leak check at exit would count what the window system's libraries
    // keep until the process ends; the exit code is the clean shutdown's.
    std::vector<std::string> env{"DISPLAY=" + x_->name(), "XAUTHORITY=" + x_->authority(), "WAYLAND_DISPLAY",
                                 "SDL_VIDEODRIVER", "ASAN_OPTIONS=detect_leaks=0"};
    env.insert(env.end(), changes.begin(), changes.end());
    return env;
  }

  // Starts the program in the session and waits for its (first) window.
  ::testing::AssertionResult startProgram() {
    program_ = std::make_unique<ChildProcess>(std::vector<std::string>{TMR_PROGRAM}, environment(),
                                              (scratch_ / "program").string());
    window_ = x_->findWindow(DesktopWindowHost::kTitle, 20s);
    if (window_ != 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no window: " << Slurp(scratch_ / "program.err");
  }

  // The window's host in a copy of this process, as the program runs it but with `prepare` of
  // the test's own; waits for its (first) window.
  ::testing::AssertionResult startHost(std::function<void(Runtime&)> prepare) {
    auto assets = AppDriver::DefaultAssetsDirectory();
    program_ = std::make_unique<ChildProcess>(
        [&] { return DesktopWindowHost(TivomarshApplication(), assets, prepare).run(std::cerr); }, environment(),
        (scratch_ / "program").string());
    window_ = x_->findWindow(DesktopWindowHost::kTitle, 20s);
    if (window_ != 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no window: " << Slurp(scratch_ / "program.err");
  }

  // Each write of the program's to a socket (Xlib's writev) waits 20 ms before it is made (strace
  // holds it), as a busy machine may: the display can end after Xlib found its connection alive
  // and before the write.
  ::testing::AssertionResult slowWrites() {
    tracer_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"strace", "-f", "-o", "/dev/null", "-e", "trace=writev", "-e",
                                 "inject=writev:delay_enter=20000", "-p", std::to_string(program_->pid())},
        std::vector<std::string>{}, (scratch_ / "strace").string());
    if (Eventually([&] { return Slurp(scratch_ / "strace.err").find("attached") != std::string::npos; }, 10s))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "strace did not attach: " << Slurp(scratch_ / "strace.err");
  }

  // The program ended with exitCode, after its shutdown (the runtime releases its modules).
  ::testing::AssertionResult endedCleanly(int exitCode = 0) {
    auto status = program_->exited(10s);
    if (!status) return ::testing::AssertionFailure() << "the program still runs";
    std::string out = Slurp(scratch_ / "program.out"), err = Slurp(scratch_ / "program.err");
    if (!WIFEXITED(*status) || WEXITSTATUS(*status) != exitCode)
      return ::testing::AssertionFailure() << "wait status " << *status << ": " << err;
    if (out.find("instance released") == std::string::npos)
      return ::testing::AssertionFailure() << "no shutdown in the transcript: " << out;
    return ::testing::AssertionSuccess();
  }

  WindowFit::Placement placement() const {
    return WindowFit(ViewSystem::kScreenWidth, ViewSystem::kScreenHeight).place(x_->size(window_));
  }

  // The phone's screen in the window matches the reference's picture at the window's scale
  // within a small tolerance, once the program got there (the real clock decides when).
  ::testing::AssertionResult showsEventually(const AppDriver& reference, const std::string& what) {
    WindowFit::Placement place;
    std::shared_ptr<Bitmap> expected, screen;
    std::string last = "no capture";
    bool same = Eventually(
        [&] {
          // SDL may replace the window it opened first with one it can draw in, of the same title
          // (also between two looks at it).
          if (x_->size(window_).width == 0) window_ = x_->findWindow(DesktopWindowHost::kTitle, 1s);
          if (auto now = placement(); !expected || now.width != place.width || now.height != place.height) {
            if (!(now.scale > 0)) return false;
            place = now;
            expected = reference.screenshot(place.scale);
            // The window shows the picture over white where it is not opaque (its last row and
            // column when the scale leaves a part of a pixel).
            for (size_t i = 0; i < expected->pixels().size(); i += 4) {
              auto px = expected->pixels().subspan(i, 4);
              uint8_t cover = static_cast<uint8_t>(255 - px[3]);
              for (int c = 0; c < 3; ++c) px[c] = static_cast<uint8_t>(px[c] + cover);
              px[3] = 0xFF;
            }
          }
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
    if (expected) expected->WritePng((kept / (what + "-expected.png")).string());
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
  std::unique_ptr<ChildProcess> tracer_;  // strace, slowing the program's writes
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

  ASSERT_TRUE(startProgram());
  ASSERT_TRUE(showsEventually(reference, "window-start"));
  EXPECT_EQ(x_->size(window_), (WindowFit::Size{750, 1334})) << "twice the phone's size where the display has room";

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
  EXPECT_TRUE(endedCleanly());
}

TEST_F(DesktopWindowTest, WithoutADisplayTheProgramSaysSoInOneLineAndFails) {
  ASSERT_TRUE(x_->running());
  struct Case {
    std::vector<std::string> env;
    std::string says;
  };
  const Case cases[] = {
      {{"DISPLAY"}, "no display"},                      // none named
      {{"DISPLAY=" + x_->name() + "9"}, "no display"},  // one that no server answers
      {{"DISPLAY", "SDL_VIDEODRIVER="}, "no display"},  // an empty choice of driver is none
      {{"XAUTHORITY=" + (scratch_ / "nokey").string()}, "the display " + x_->name() + " refused the connection"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.env.back());
    ChildProcess program({TMR_PROGRAM}, environment(c.env), (scratch_ / "nodisplay").string());
    auto status = program.exited(10s);
    ASSERT_TRUE(status.has_value()) << "still runs";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == DesktopWindowHost::kNoDisplay);
    std::string err = Slurp(scratch_ / "nodisplay.err");
    EXPECT_NE(err.find(c.says), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
}

// A broken layout ends the window's run with the code of a layout error, naming the file, as it
// ends a scenario's run.
TEST_F(DesktopWindowTest, ALayoutThatCannotBeLoadedEndsTheRunWithItsOwnCode) {
  const auto assets = scratch_ / "assets";
  std::filesystem::copy(AppDriver::DefaultAssetsDirectory(), assets, std::filesystem::copy_options::recursive);
  std::ofstream(assets / "layouts" / "tivomarshApple.layout") << "{ \"views\": [";
  program_ = std::make_unique<ChildProcess>(std::vector<std::string>{TMR_PROGRAM},
                                            environment({"TMR_ASSETS_DIR=" + assets.string()}),
                                            (scratch_ / "program").string());
  auto status = program_->exited(10s);
  ASSERT_TRUE(status.has_value()) << "still runs";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == DesktopWindowHost::kLayoutError) << *status;
  std::string err = Slurp(scratch_ / "program.err");
  EXPECT_NE(err.find("a layout cannot be loaded"), std::string::npos) << err;
  EXPECT_NE(err.find("tivomarshApple.layout"), std::string::npos) << err;
}

TEST_F(DesktopWindowTest, UnderAWindowManagerTheWindowTakesTheSizeItIsGivenAndClicksLandOnThePhone) {
  ASSERT_TRUE(x_->running());
  ASSERT_TRUE(x_->startWindowManager()) << Slurp(scratch_ / "openbox.err");
  const std::vector<std::string> maximised{"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"};
  const std::vector<std::string> fullScreen{"_NET_WM_STATE_FULLSCREEN"};
  auto exactly = [](WindowFit::Size size) { return [size](WindowFit::Size s) { return s == size; }; };
  // The screen's width, and its height less the title bar's.
  auto screenLessTitle = [](WindowFit::Size s) { return s.width == 1600 && s.height > 1334 && s.height < 1500; };
  struct Case {
    const char* what;
    std::function<void()> act;
    std::function<bool(WindowFit::Size)> given;  // the size the manager gives
  };
  const Case cases[] = {
      {"maximised", [&] { x_->setStates(window_, true, maximised); }, screenLessTitle},
      {"full screen", [&] { x_->setStates(window_, true, fullScreen); }, exactly({1600, 1500})},
      {"restored",
       [&] {
         x_->setStates(window_, true, maximised);
         Eventually([&] { return screenLessTitle(x_->size(window_)); }, 5s);
         x_->setStates(window_, false, maximised);
       },
       exactly({750, 1334})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AppDriver reference(TivomarshApplication());
    reference.start();
    ASSERT_TRUE(startProgram());
    ASSERT_TRUE(showsEventually(reference, "wm-start"));
    c.act();
    ASSERT_TRUE(Eventually([&] { return c.given(x_->size(window_)); }, 5s))
        << x_->size(window_).width << "x" << x_->size(window_).height;
    ASSERT_TRUE(showsEventually(reference, std::string("wm-") + c.what));
    click(reference, reference.find("btnscan"));
    reference.tap("btnscan");
    reference.wait(100);
    ASSERT_TRUE(showsEventually(reference, std::string("wm-scanning-") + c.what));
    x_->requestClose(window_);
    EXPECT_TRUE(endedCleanly());
  }
}

TEST_F(DesktopWindowTest, ResizedToAnySizeTheWindowKeepsItAndShowsThePhoneInIt) {
  ASSERT_TRUE(x_->running());
  AppDriver reference(TivomarshApplication());
  reference.start();
  ASSERT_TRUE(startProgram());
  ASSERT_TRUE(showsEventually(reference, "resize-start"));
  // Far wider than the display: the phone is drawn in the middle, off the screen, so the part of
  // the window on the screen turns to the surround once the program drew at that size.
  x_->resize(window_, 9300, 1000);
  ASSERT_TRUE(Eventually(
      [&] {
        auto corner = x_->capture(window_, {300, 1000});
        if (!corner) return false;
        auto px = corner->pixels();
        for (size_t i = 0; i < px.size(); i += 4)
          if (px[i] != 0x20 || px[i + 1] != 0x20 || px[i + 2] != 0x20) return false;
        return true;
      },
      10s))
      << Slurp(scratch_ / "program.err");
  // Wide and low: the window stays as it was made, inside the display, the phone centred in it.
  x_->resize(window_, 1000, 300);
  ASSERT_TRUE(Eventually([&] { return x_->size(window_) == WindowFit::Size{1000, 300}; }, 5s));
  ASSERT_TRUE(showsEventually(reference, "resized"));
  click(reference, reference.find("btnscan"));
  reference.tap("btnscan");
  reference.wait(100);
  ASSERT_TRUE(showsEventually(reference, "resized-scanning"));
  EXPECT_EQ(x_->size(window_), (WindowFit::Size{1000, 300}));
  x_->requestClose(window_);
  EXPECT_TRUE(endedCleanly());
}

TEST_F(DesktopWindowTest, AHangUpOrTheDisplaysEndShutsDownAsAClosedWindowDoes) {
  AppDriver reference(TivomarshApplication());
  reference.start();
  struct Case {
    const char* what;
    std::function<void()> act;
    int exitCode;
    std::string says;  // on standard error
  };
  const Case cases[] = {
      {"the terminal closed", [&] { program_->send(SIGHUP); }, 0, ""},
      {"the X server ended", [&] { x_->end(); }, 0, "went away"},
      // The next picture (the scan's) goes to a window that is no more.
      {"the window destroyed under the program",
       [&] {
         click(reference, reference.find("btnscan"));
         x_->destroy(window_);
       },
       DesktopWindowHost::kFailed, "refused a request"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (!x_->running()) x_ = std::make_unique<XvfbSession>(1600, 1500, scratch_.string());
    ASSERT_TRUE(x_->running());
    ASSERT_TRUE(startProgram());
    ASSERT_TRUE(showsEventually(reference, "started"));  // the program is past its start
    c.act();
    EXPECT_TRUE(endedCleanly(c.exitCode));
    std::string err = Slurp(scratch_ / "program.err");
    EXPECT_NE(err.find(c.says), std::string::npos) << err;
  }
}

// The display ends while the program writes to it: drawing the frames of a window being resized,
// or woken by another thread. Wherever the end is met (in a write of the program's thread or of
// the other, in a call of SDL's or of the graphics driver), the run ends as when the display goes
// while the program waits: one line, the runtime's shutdown, 0. Each case runs twice, as where the
// end falls is a matter of chance.
TEST_F(DesktopWindowTest, TheDisplayEndingWhileTheProgramWritesShutsDownAsAClosedWindowDoes) {
  AppDriver reference(TivomarshApplication());
  reference.start();
  struct Case {
    const char* what;
    std::function<void(Runtime&)> prepare;
    std::function<void()> act;  // with the writes slowed, until the server ends
  };
  const Case cases[] = {
      // More resizes than the program handles before the end: it meets the end in the middle of
      // them, between a frame's writes or in SDL's handling of a resize.
      {"resized again and again",
       {},
       [&] {
         for (int i = 0; i < 3000; ++i) x_->resize(window_, 600 + i % 7 * 50, 900 + i % 5 * 50);
         std::this_thread::sleep_for(300ms);
       }},
      // The radio's thread wakes the loop as the end comes, and after it.
      {"woken by another thread", [](Runtime& rt) { rt.service<PostingThread>(); },
       [] { std::this_thread::sleep_for(1s); }},
  };
  for (const auto& c : cases) {
    for (int attempt = 1; attempt <= 2; ++attempt) {
      SCOPED_TRACE(std::string(c.what) + ", attempt " + std::to_string(attempt));
      if (!x_->running()) x_ = std::make_unique<XvfbSession>(1600, 1500, scratch_.string());
      ASSERT_TRUE(x_->running());
      ASSERT_TRUE(startHost(c.prepare));
      ASSERT_TRUE(showsEventually(reference, "writing"));  // the program is past its start
      ASSERT_TRUE(slowWrites());
      c.act();
      x_->end();
      EXPECT_TRUE(endedCleanly());
      std::string err = Slurp(scratch_ / "program.err");
      EXPECT_NE(err.find("went away"), std::string::npos) << err;
      tracer_.reset();
    }
  }
}

}  // namespace
}  // namespace tmr

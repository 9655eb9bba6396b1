#include "platform/app/DesktopWindowHost.h"

#include <SDL.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/app/ApplicationHost.h"
#include "platform/app/DesktopDisplayWatch.h"
#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/LayoutError.h"
#include "platform/views/HapticLog.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

namespace {

constexpr int kDefaultRefreshRate = 60;
// The colour around the phone's screen when the window is not of its shape.
constexpr uint8_t kSurround = 0x20;

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

std::string DisplayName() {
  const char* name = std::getenv("DISPLAY");
  return name ? name : "";
}

// The terminal that started the program was closed: the same orderly end as a termination
// request, which SDL turns into a close request (only async-signal-safe calls here).
void HangUp(int) { raise(SIGTERM); }

// What the process writes to its standard error while this lives, kept instead of shown: the
// window system's libraries write a display's refusal there themselves, and the program says it
// in its own one line.
class StderrCapture {
 public:
  StderrCapture() : file_(std::tmpfile()) {
    std::fflush(stderr);
    saved_ = file_ ? dup(STDERR_FILENO) : -1;
    if (saved_ >= 0) dup2(fileno(file_), STDERR_FILENO);
  }
  ~StderrCapture() {
    end();
    if (file_) std::fclose(file_);
  }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  // Ends the capture and returns what was written.
  std::string end() {
    if (saved_ < 0) return {};
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
    std::string text;
    std::rewind(file_);
    for (int c = std::fgetc(file_); c != EOF; c = std::fgetc(file_)) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* file_;
  int saved_ = -1;
};

std::string FirstLine(const std::string& text) {
  size_t start = text.find_first_not_of(" \n");
  if (start == std::string::npos) return {};
  return text.substr(start, text.find('\n', start) - start);
}

}  // namespace

void DesktopWindowHost::SdlDeleter::operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
void DesktopWindowHost::SdlDeleter::operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
void DesktopWindowHost::SdlDeleter::operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }

DesktopWindowHost::DesktopWindowHost(ApplicationClasses classes, std::filesystem::path assets,
                                     std::function<void(Runtime&)> prepare)
    : classes_(std::move(classes)),
      assets_(std::move(assets)),
      prepare_(std::move(prepare)),
      fit_(ViewSystem::kScreenWidth, ViewSystem::kScreenHeight) {}

DesktopWindowHost::~DesktopWindowHost() {
  // The application first (the runtime's ordinary shutdown), then the window, then SDL.
  endApplication();
  if (hangUpHandled_) signal(SIGHUP, SIG_DFL);
  if (displayWatch_ && displayWatch_->failed()) {
    // The display is gone or refuses the window's requests: the process's end frees what the
    // window held. Writes to the broken connection may still come (SIGPIPE stays ignored).
    (void)texture_.release();
    (void)renderer_.release();
    (void)window_.release();
    (void)displayWatch_.release();
    return;
  }
  displayWatch_.reset();
  texture_.reset();
  renderer_.reset();
  window_.reset();
  if (sdlStarted_) SDL_Quit();
  if (pipeIgnored_) signal(SIGPIPE, SIG_DFL);
}

void DesktopWindowHost::endApplication() {
  if (app_) app_->runtime().loop().setWakeHandler({});
  input_.reset();
  screen_.reset();
  app_.reset();
}

void DesktopWindowHost::endWithDisplayGone() {
  // Called from inside the call of SDL's or of the graphics driver that met the broken
  // connection, which would call Xlib again if this returned. The run ends here as it ends when
  // its display goes: the line, the runtime's ordinary shutdown (which needs no display), and 0.
  // Nothing of the window is freed, and nothing that the process's exit would run (the
  // libraries' own clean-up) may touch the display now.
  if (err_) *err_ << "tivomarsh-remote: the display " << DisplayName() << " went away; shutting down\n";
  endApplication();
  std::cout.flush();
  if (err_) err_->flush();
  std::fflush(nullptr);
  _exit(0);
}

bool DesktopWindowHost::openWindow(std::ostream& err) {
  // A remote control does not keep the display awake.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // Only a display the person sees will do: left to itself SDL would fall back to drawing off
  // screen where there is none. SDL_VIDEODRIVER, when set to a name, still chooses; set but empty
  // it counts as not set, as an empty DISPLAY does. Each display is tried on its own, so that a
  // refusal is told from a display that is not there.
  const bool asked = Set("SDL_VIDEODRIVER");
  std::vector<std::string> drivers;
  if (asked) {
    drivers.push_back(std::getenv("SDL_VIDEODRIVER"));
  } else {
    if (Set("DISPLAY")) drivers.push_back("x11");
    if (Set("WAYLAND_DISPLAY")) drivers.push_back("wayland");
    if (drivers.empty()) {
      err << "tivomarsh-remote: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n";
      return false;
    }
  }
  // Xlib writes to the display's socket with plain writes: one that meets a server that ended
  // an instant before would end the process by SIGPIPE before Xlib could report the loss to the
  // watch. Ignored, the write fails and the watch hears of it.
  struct sigaction brokenPipe {};
  if (sigaction(SIGPIPE, nullptr, &brokenPipe) == 0 && brokenPipe.sa_handler == SIG_DFL)
    pipeIgnored_ = signal(SIGPIPE, SIG_IGN) != SIG_ERR;
  std::string refusal, failure;
  for (const std::string& driver : drivers) {
    // Above SDL_VIDEODRIVER, which SDL would otherwise read even when empty.
    if (!asked) SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
    StderrCapture capture;
    // Ctrl+C in the terminal arrives as a close request (SDL_QUIT), so it shuts down the same way.
    sdlStarted_ = SDL_Init(SDL_INIT_VIDEO) == 0;
    std::string said = capture.end();
    if (sdlStarted_) {
      err << said;  // warnings of a display that works are passed on
      break;
    }
    failure = SDL_GetError();
    // An X server that answers but refuses the connection gives its reason (no key, a wrong key).
    if (driver == "x11" && refusal.empty()) refusal = FirstLine(said);
  }
  if (!sdlStarted_) {
    if (!refusal.empty()) {
      err << "tivomarsh-remote: the display " << DisplayName() << " refused the connection (" << refusal
          << "); check that XAUTHORITY names the file of its key\n";
    } else {
      err << "tivomarsh-remote: no display to open the window on (" << failure << ")\n";
    }
    return false;
  }
  const std::string chosen = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!asked && (chosen == "offscreen" || chosen == "dummy" || chosen == "evdev")) {
    err << "tivomarsh-remote: no display to open the window on (only SDL's " << chosen
        << " driver, which shows no window)\n";
    return false;
  }
  // A closed terminal ends the program as Ctrl+C does; one that ignores hang-ups (nohup) keeps it.
  struct sigaction hangUp {};
  if (sigaction(SIGHUP, nullptr, &hangUp) == 0 && hangUp.sa_handler == SIG_DFL) {
    hangUp.sa_handler = HangUp;
    sigemptyset(&hangUp.sa_mask);
    hangUp.sa_flags = 0;
    hangUpHandled_ = sigaction(SIGHUP, &hangUp, nullptr) == 0;
  }
  SDL_Rect usable{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0 && SDL_GetDisplayBounds(0, &usable) != 0) {
    err << "tivomarsh-remote: no display to open the window on (" << SDL_GetError() << ")\n";
    return false;
  }
  // The phone's shape for the opening size only: after that the window takes whatever size the
  // person or the window manager gives it (maximised, tiled, full screen), and the phone is
  // letterboxed in it.
  WindowFit::Size size = fit_.initialSize({usable.w, usable.h});
  window_.reset(SDL_CreateWindow(kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.width, size.height,
                                 SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI));
  if (!window_) {
    err << "tivomarsh-remote: cannot open a window (" << SDL_GetError() << ")\n";
    return false;
  }
  displayWatch_ = std::make_unique<DesktopDisplayWatch>(window_.get(), [this] { endWithDisplayGone(); });
  SDL_SetWindowMinimumSize(window_.get(), static_cast<int>(ViewSystem::kScreenWidth / 4),
                           static_cast<int>(ViewSystem::kScreenHeight / 4));
  renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_PRESENTVSYNC));
  if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
  if (!renderer_) {
    err << "tivomarsh-remote: cannot draw in the window (" << SDL_GetError() << ")\n";
    return false;
  }
  // A window larger than the renderer's largest texture shows the picture at a smaller scale.
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer_.get(), &info) == 0) largest_ = {info.max_texture_width, info.max_texture_height};
  SDL_DisplayMode mode;
  if (SDL_GetWindowDisplayMode(window_.get(), &mode) == 0 && mode.refresh_rate > 0) {
    frameMs_ = std::max(1, 1000 / mode.refresh_rate);
  } else {
    frameMs_ = 1000 / kDefaultRefreshRate;
  }
  // SDL starts with text input on; it is on only while a text field has the focus.
  SDL_StopTextInput();
  wakeEvent_ = SDL_RegisterEvents(1);
  return true;
}

int DesktopWindowHost::run(std::ostream& err) {
  err_ = &err;
  if (!openWindow(err)) return kNoDisplay;
  try {
    app_ = std::make_unique<ApplicationHost>(std::move(classes_), assets_, MainLoop::ClockKind::Real);
    Runtime& rt = app_->runtime();
    rt.service<HapticLog>().setListener([&rt](const std::string& call) {
      if (call == "impactOccurred") rt.Log("Haptic feedback: impact");
    });
    if (displayWatch_->waits()) {
      // Work posted from another thread (the radio's) wakes the wait without a write to the
      // display from that thread.
      rt.loop().setWakeHandler([watch = displayWatch_.get()] { watch->wake(); });
    } else if (wakeEvent_ != static_cast<uint32_t>(-1)) {
      uint32_t type = wakeEvent_;
      rt.loop().setWakeHandler([type] {
        SDL_Event wake{};
        wake.type = type;
        SDL_PushEvent(&wake);
      });
    }
    if (prepare_) prepare_(rt);
    input_ = std::make_unique<DesktopInput>(rt, [this] { return app_->window().shownPanel(); });
    app_->start();
    loop();
  } catch (const LayoutError& e) {
    err << "tivomarsh-remote: a layout cannot be loaded: " << e.what() << "\n";
    return kLayoutError;
  } catch (const std::exception& e) {
    // Drawing fails once the display is gone: that is told as what it is, below.
    if (!displayWatch_->failed()) {
      err << "tivomarsh-remote: " << e.what() << "\n";
      return kFailed;
    }
  }
  // The window is gone with its display: the run ends as when it is closed.
  if (displayWatch_->lost()) {
    err << "tivomarsh-remote: the display " << DisplayName() << " went away; shutting down\n";
  } else if (!displayWatch_->refused().empty()) {
    err << "tivomarsh-remote: the display " << DisplayName() << " refused a request (" << displayWatch_->refused()
        << "); shutting down\n";
    return kFailed;
  }
  return 0;
}

void DesktopWindowHost::loop() {
  MainLoop& loop = app_->runtime().loop();
  // A display that refused a request, or that was lost where the watch could only note it, is
  // not drawn on again: the run ends there, as when the window is closed.
  while (!displayWatch_->failed()) {
    loop.runUntilIdle();
    if (input_->wantsText() != static_cast<bool>(SDL_IsTextInputActive())) {
      if (input_->wantsText()) {
        SDL_StartTextInput();
      } else {
        SDL_StopTextInput();
      }
    }
    std::optional<int64_t> wakeAt = drawIfDue();
    if (auto due = loop.nextDue(); due && (!wakeAt || *due < *wakeAt)) wakeAt = due;
    int wait = wakeAt ? static_cast<int>(std::clamp<int64_t>(*wakeAt - loop.steadyNow(), 0, INT_MAX)) : -1;
    SDL_Event event;
    int got = 0;
    if (displayWatch_->waits()) {
      got = SDL_PollEvent(&event);
      if (!got && wait != 0) {
        displayWatch_->wait(wait);
        if (!displayWatch_->failed()) got = SDL_PollEvent(&event);
      }
    } else if (wait < 0) {
      got = SDL_WaitEvent(&event);
    } else {
      got = SDL_WaitEventTimeout(&event, wait);
    }
    while (got && !displayWatch_->failed()) {
      if (!handle(event)) return;
      got = SDL_PollEvent(&event);
    }
  }
}

bool DesktopWindowHost::handle(const SDL_Event& e) {
  if (e.type == SDL_QUIT) return false;
  if (e.type == wakeEvent_) return true;  // the loop runs what was posted
  if (e.type == SDL_WINDOWEVENT) {
    switch (e.window.event) {
      case SDL_WINDOWEVENT_CLOSE:
        return false;
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        // Whatever size it is given: the picture is redrawn at the scale that fits, centred.
        pictureStale_ = true;
        return true;
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SHOWN:
      case SDL_WINDOWEVENT_RESTORED:
        mustDraw_ = true;
        return true;
      default:
        break;
    }
  }
  input_->handle(e, mapping());
  return true;
}

DesktopInput::Mapping DesktopWindowHost::mapping() const {
  DesktopInput::Mapping m;
  int pw = 0, ph = 0, ww = 0, wh = 0;
  SDL_GetRendererOutputSize(renderer_.get(), &pw, &ph);
  SDL_GetWindowSize(window_.get(), &ww, &wh);
  m.place = fit_.place({pw, ph}, largest_);
  m.windowSize = {ww, wh};
  if (ww > 0) m.pixelRatioX = static_cast<double>(pw) / ww;
  if (wh > 0) m.pixelRatioY = static_cast<double>(ph) / wh;
  return m;
}

std::optional<int64_t> DesktopWindowHost::drawIfDue() {
  Runtime& rt = app_->runtime();
  auto& views = ViewSystem::of(rt);
  int64_t now = rt.loop().steadyNow();
  // A change since the last picture, or an animation that was still moving when it was made.
  if (views.generation() != drawnGeneration_ || drawnAt_ < views.animationsEnd()) pictureStale_ = true;
  if (!pictureStale_ && !mustDraw_) return std::nullopt;
  // At most one picture per frame of the display: changes in between wait for the next frame.
  if (pictureStale_ && now < nextFrameAt_) return nextFrameAt_;
  draw();
  nextFrameAt_ = now + frameMs_;
  return drawnAt_ < views.animationsEnd() ? std::optional<int64_t>(nextFrameAt_) : std::nullopt;
}

void DesktopWindowHost::draw() {
  Runtime& rt = app_->runtime();
  auto& views = ViewSystem::of(rt);
  DesktopInput::Mapping m = mapping();
  View root = app_->window().shownPanel();
  if (pictureStale_) {
    // Taken before rendering: what changes from here on is drawn by the next frame.
    drawnGeneration_ = views.generation();
    drawnAt_ = rt.loop().steadyNow();
    if (root.IsInitialized() && m.place.scale > 0) {
      if (!screen_) screen_ = std::make_unique<ViewRenderer>(rt);
      upload(*screen_->render(*root.native(), m.place.scale));
    }
  }
  pictureStale_ = false;
  mustDraw_ = false;
  SDL_SetRenderDrawColor(renderer_.get(), kSurround, kSurround, kSurround, 0xFF);
  SDL_RenderClear(renderer_.get());
  if (texture_) {
    SDL_Rect box{m.place.left, m.place.top, textureWidth_, textureHeight_};
    SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &box);
  }
  SDL_RenderPresent(renderer_.get());
}

void DesktopWindowHost::upload(const Bitmap& picture) {
  int w = picture.pixelWidth(), h = picture.pixelHeight();
  if (!texture_ || w != textureWidth_ || h != textureHeight_) {
    // ABGR8888 is the bytes R, G, B, A in memory, as the bitmap keeps them.
    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, w, h));
    if (!texture_) throw std::runtime_error(std::string("cannot draw in the window: ") + SDL_GetError());
    textureWidth_ = w;
    textureHeight_ = h;
  }
  void* target = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_.get(), nullptr, &target, &pitch) != 0)
    throw std::runtime_error(std::string("cannot draw in the window: ") + SDL_GetError());
  auto src = picture.pixels();
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(target) + static_cast<ptrdiff_t>(y) * pitch;
    const uint8_t* in = src.data() + static_cast<size_t>(y) * static_cast<size_t>(w) * 4;
    for (int x = 0; x < w * 4; x += 4) {
      // Premultiplied: over white, a channel gains what the pixel's alpha leaves uncovered.
      uint8_t cover = static_cast<uint8_t>(255 - in[x + 3]);
      row[x] = static_cast<uint8_t>(in[x] + cover);
      row[x + 1] = static_cast<uint8_t>(in[x + 1] + cover);
      row[x + 2] = static_cast<uint8_t>(in[x + 2] + cover);
      row[x + 3] = 0xFF;
    }
  }
  SDL_UnlockTexture(texture_.get());
}

}  // namespace tmr

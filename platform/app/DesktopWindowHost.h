#pragma once
// The application in a desktop window: the phone's screen on the real clock, drawn by the view
// renderer at the window's own pixel size, with the mouse (or a touch screen) as the finger and
// the keyboard typing into the focused text field (DesktopInput).
//
// One thread runs the main loop and the window's events together: it runs what is due, draws
// when a view changed (or an animation is moving), then sleeps in the window system until the
// next event, the next timer or work posted from another thread, whichever comes first; nothing
// spins while nothing moves. Closing the window, a termination request (Ctrl+C, SIGTERM, the
// terminal's hang-up) or the loss of the display ends the run, and the runtime shuts down as
// always. The window opens with the phone's shape at twice its size where the display has room
// (else at the largest size that fits); after that it takes any size it is given (resized,
// maximised, tiled, full screen) and shows the phone at the largest scale that fits, centred.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>

#include "platform/app/ApplicationClasses.h"
#include "platform/app/DesktopInput.h"
#include "platform/app/WindowFit.h"

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;
union SDL_Event;

namespace tmr {

class ApplicationHost;
class Bitmap;
class DesktopDisplayWatch;
class Runtime;
class ViewRenderer;

class DesktopWindowHost {
 public:
  static constexpr const char* kTitle = "Tivomarsh Remote";
  // The exit code of a run that found no display to open its window on.
  static constexpr int kNoDisplay = 3;
  // The exit code of a run that an error of the application ended, or a request its display
  // refused.
  static constexpr int kFailed = 1;
  // The exit code of a run whose layout cannot be loaded (the same as a scenario's).
  static constexpr int kLayoutError = 4;

  // prepare: runs on the runtime before the application starts (its radio, its devices).
  DesktopWindowHost(ApplicationClasses classes, std::filesystem::path assets,
                    std::function<void(Runtime&)> prepare = {});
  ~DesktopWindowHost();
  DesktopWindowHost(const DesktopWindowHost&) = delete;
  DesktopWindowHost& operator=(const DesktopWindowHost&) = delete;

  // Opens the window, starts the application and runs until the window is closed or its display
  // is lost (0; a lost display says so in one line on err). An X display lost under a call that
  // was using it ends the process from there, the same way (the line, the runtime's shutdown,
  // 0), without returning: that call would crash on the broken connection. Without a display
  // (none named, none there, one that refuses the connection, or only one that shows no window):
  // one line on err and kNoDisplay; a layout that cannot be loaded: one line naming it, the
  // runtime's shutdown and kLayoutError; an error of the application, or a request the display
  // refused: one line, the runtime's shutdown and kFailed.
  int run(std::ostream& err);

 private:
  struct SdlDeleter {
    void operator()(SDL_Window* w) const;
    void operator()(SDL_Renderer* r) const;
    void operator()(SDL_Texture* t) const;
  };

  bool openWindow(std::ostream& err);
  // The application's ordinary end: the runtime shuts down (devices disconnected, modules released).
  void endApplication();
  // The display went away under a call that met it: ends the process, as the run ends then.
  [[noreturn]] void endWithDisplayGone();
  void loop();
  // Handles one window event; false once the window was closed.
  bool handle(const SDL_Event& event);
  DesktopInput::Mapping mapping() const;
  // Draws the screen when it changed, keeps the frame rate while animations move, and returns
  // when the next frame is due (ms since 1970), if one is.
  std::optional<int64_t> drawIfDue();
  void draw();
  // Puts the renderer's picture into the texture, over white where it is not opaque.
  void upload(const Bitmap& picture);

  ApplicationClasses classes_;
  std::filesystem::path assets_;
  std::function<void(Runtime&)> prepare_;
  std::ostream* err_ = nullptr;  // run()'s
  WindowFit fit_;
  std::unique_ptr<ApplicationHost> app_;
  std::unique_ptr<DesktopInput> input_;
  std::unique_ptr<ViewRenderer> screen_;  // draws every frame into the same memory
  bool sdlStarted_ = false;
  std::unique_ptr<SDL_Window, SdlDeleter> window_;
  std::unique_ptr<SDL_Renderer, SdlDeleter> renderer_;
  std::unique_ptr<SDL_Texture, SdlDeleter> texture_;
  std::unique_ptr<DesktopDisplayWatch> displayWatch_;
  bool hangUpHandled_ = false;
  bool pipeIgnored_ = false;
  WindowFit::Size largest_;  // the renderer's largest texture (0: no limit)
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  uint32_t wakeEvent_ = 0;
  int64_t frameMs_ = 16;
  uint64_t drawnGeneration_ = 0;
  int64_t drawnAt_ = 0;
  int64_t nextFrameAt_ = 0;
  bool mustDraw_ = true;      // the window's picture was lost or resized
  bool pictureStale_ = true;  // the texture does not hold the screen as it is now
};

}  // namespace tmr

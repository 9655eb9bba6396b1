#pragma once
// Notices that the X display under a window failed: its server ended or dropped the connection,
// or refused a request (a window destroyed under the program while its server shuts down).
// Left alone, Xlib ends the whole process from its handlers, with neither the devices
// disconnected nor the runtime shut down; with the watch, Xlib only marks the connection broken,
// the watch makes SDL report a close request (SDL_QUIT) and says what happened, and the window's
// host shuts down as when the window is closed. Other window systems report a lost connection as a close
// request themselves, so the watch does nothing there.
#include <string>

struct SDL_Window;
struct _XDisplay;

namespace tmr {

class DesktopDisplayWatch {
 public:
  // window: an open SDL window; its display is watched while this lives.
  explicit DesktopDisplayWatch(SDL_Window* window);
  ~DesktopDisplayWatch();
  DesktopDisplayWatch(const DesktopDisplayWatch&) = delete;
  DesktopDisplayWatch& operator=(const DesktopDisplayWatch&) = delete;

  // The connection to the display is gone: every further call on it fails.
  bool lost() const { return lost_; }
  // The display refused a request: what it said (empty while it refused none).
  const std::string& refused() const { return refused_; }
  bool failed() const { return lost_ || !refused_.empty(); }

 private:
  struct Handlers;  // Xlib's handlers, which note what happened here
  void fail();

  _XDisplay* display_ = nullptr;
  int (*previousLost_)(_XDisplay*) = nullptr;
  void (*previousRefused_)() = nullptr;  // Xlib's XErrorHandler, which a header cannot name
  bool lost_ = false;
  std::string refused_;
};

}  // namespace tmr

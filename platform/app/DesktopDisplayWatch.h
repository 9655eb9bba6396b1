#pragma once
// Notices that the X display under a window failed: its server ended or dropped the connection,
// or refused a request (a window destroyed under the program while its server shuts down).
// Left alone, Xlib ends the whole process from its handlers, with neither the devices
// disconnected nor the runtime shut down. With the watch, a refused request is noted and the
// window's host, which asks failed() at each round of its loop, shuts down as when the window is
// closed. A broken connection is met inside some call of SDL's or of the graphics driver, which
// would go on calling Xlib after it, and Xlib crashes the process once it has given the
// connection up: the watch calls the host's `gone` from there, which ends the run without
// returning.
//
// On an X display the host also sleeps here (wait()) rather than in SDL's event wait: SDL wakes
// its wait from other threads (and from its own, for the events it queues while waiting) by
// writing to a second connection to the display that it keeps to itself, out of the watch's
// reach. Met broken there, Xlib would end the process from whichever thread wrote. wait() sleeps
// on the window's own connection and on a wake-up that touches no display.
// Other window systems report a lost connection as a close request themselves, so the watch
// does nothing there.
#include <atomic>
#include <functional>
#include <string>
#include <thread>

struct SDL_Window;
struct _XDisplay;

namespace tmr {

class DesktopDisplayWatch {
 public:
  // window: an open SDL window; its display is watched while this lives. gone: called when the
  // connection is found broken on the thread that made the watch (the only one that uses it);
  // it is not to return. Found broken on another thread, or if gone returns, the loss is only
  // noted.
  DesktopDisplayWatch(SDL_Window* window, std::function<void()> gone);
  ~DesktopDisplayWatch();
  DesktopDisplayWatch(const DesktopDisplayWatch&) = delete;
  DesktopDisplayWatch& operator=(const DesktopDisplayWatch&) = delete;

  // The connection to the display is gone: every further call on it fails.
  bool lost() const { return lost_; }
  // The display refused a request: what it said (empty while it refused none).
  const std::string& refused() const { return refused_; }
  bool failed() const { return lost_ || !refused_.empty(); }

  // Whether the window's events are waited for with wait() (an X display) instead of SDL's wait.
  bool waits() const { return display_ && wakeFd_ >= 0; }
  // Sleeps until the display has an event, wake() was called since the last wait, or timeoutMs
  // passed (negative: no limit). Returns at once once the display failed.
  void wait(int timeoutMs);
  // Ends the current or next wait(). Safe from any thread, also once the display is gone.
  void wake();

 private:
  struct Handlers;  // Xlib's handlers, which note what happened here

  _XDisplay* display_ = nullptr;
  std::function<void()> gone_;
  std::thread::id owner_ = std::this_thread::get_id();
  int wakeFd_ = -1;  // an eventfd
  int (*previousLost_)(_XDisplay*) = nullptr;
  void (*previousRefused_)() = nullptr;  // Xlib's XErrorHandler, which a header cannot name
  std::atomic<bool> lost_ = false;
  std::string refused_;
};

}  // namespace tmr

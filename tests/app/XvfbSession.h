#pragma once
// An X server without a screen (Xvfb) of the test's own, on a display number it chose itself,
// that admits only clients with its key (in the file authority() names, for XAUTHORITY), and a
// connection to it: find a top-level window by its title, read its pixels, click in it with
// synthetic input (XTest), resize it, ask a window manager (started on request) to maximise it
// or show it full screen, and ask it to close as a window manager's close button does. The
// server is asked to end (and reaped) when the session goes, or earlier with end().
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/app/WindowFit.h"

struct _XDisplay;

namespace tmr {

class Bitmap;

// Polls until done() holds or the time is up; returns whether it held.
bool Eventually(const std::function<bool()>& done, std::chrono::milliseconds limit);

// A child process with its environment changed by `env` (NAME=VALUE, or NAME alone to unset it)
// and its output in `output`.out and `output`.err; asked to end (then killed) if still running.
class ChildProcess {
 public:
  ChildProcess(std::vector<std::string> argv, const std::vector<std::string>& env, const std::string& output);
  // A copy of this process that runs `body` and ends with what it returns. Any process of the
  // user may trace it (strace -p), as a tracer may trace a program it started.
  ChildProcess(const std::function<int()>& body, const std::vector<std::string>& env, const std::string& output);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // The wait status once the process has ended, waiting for it up to limit.
  std::optional<int> exited(std::chrono::milliseconds limit);
  void send(int signal);
  pid_t pid() const { return pid_; }

 private:
  // In the child: its environment and output.
  static void Prepare(const std::vector<std::string>& env, const std::string& output);

  pid_t pid_ = -1;
  std::optional<int> status_;
};

class XvfbSession {
 public:
  // A server with one screen of width × height pixels; `scratch` holds its output.
  XvfbSession(int width, int height, const std::string& scratch);
  ~XvfbSession();
  XvfbSession(const XvfbSession&) = delete;
  XvfbSession& operator=(const XvfbSession&) = delete;

  bool running() const { return display_ != nullptr; }
  const std::string& name() const { return name_; }            // ":N", for DISPLAY
  const std::string& authority() const { return authority_; }  // for XAUTHORITY
  // Starts a window manager (openbox) and waits until it manages the screen; false if it did not.
  bool startWindowManager();
  // Ends the server under its clients; the session can do nothing more.
  void end();

  // The mapped top-level window with this title, waiting for it up to limit; 0 when none came.
  unsigned long findWindow(const std::string& title, std::chrono::milliseconds limit);
  WindowFit::Size size(unsigned long window);
  // The window's pixels (opaque RGBA), or those of its top-left part of that size.
  std::shared_ptr<Bitmap> capture(unsigned long window, WindowFit::Size part = {});
  // A left click at (x, y) in the window's pixels.
  void click(unsigned long window, int x, int y);
  // The close request of a window manager's close button (WM_DELETE_WINDOW).
  void requestClose(unsigned long window);
  // Destroys the window under its program, as only another client could.
  void destroy(unsigned long window);
  // A resize as a drag of the window's border makes it (to the window itself, without a manager).
  void resize(unsigned long window, int width, int height);
  // Asks the window manager to add (or remove) window states by their names, as its title bar's
  // buttons do: "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_FULLSCREEN"...
  void setStates(unsigned long window, bool add, const std::vector<std::string>& states);

 private:
  std::unique_ptr<ChildProcess> server_;
  std::unique_ptr<ChildProcess> windowManager_;
  std::string name_;
  std::string authority_;
  std::string scratch_;
  _XDisplay* display_ = nullptr;
};

}  // namespace tmr

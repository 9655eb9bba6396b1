#pragma once
// An X server without a screen (Xvfb) of the test's own, on a display number it chose itself,
// and a connection to it: find a top-level window by its title, read its pixels, click in it
// with synthetic input (XTest), and ask it to close as a window manager's close button does.
// The server is asked to end (and reaped) when the session goes.
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
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // The wait status once the process has ended, waiting for it up to limit.
  std::optional<int> exited(std::chrono::milliseconds limit);

 private:
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
  const std::string& name() const { return name_; }  // ":N", for DISPLAY

  // The mapped top-level window with this title, waiting for it up to limit; 0 when none came.
  unsigned long findWindow(const std::string& title, std::chrono::milliseconds limit);
  WindowFit::Size size(unsigned long window);
  // The window's pixels (opaque RGBA).
  std::shared_ptr<Bitmap> capture(unsigned long window);
  // A left click at (x, y) in the window's pixels.
  void click(unsigned long window, int x, int y);
  // The close request of a window manager's close button (WM_DELETE_WINDOW).
  void requestClose(unsigned long window);

 private:
  std::unique_ptr<ChildProcess> server_;
  std::string name_;
  _XDisplay* display_ = nullptr;
};

}  // namespace tmr

#include "tests/app/XvfbSession.h"

#include <X11/Xauth.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <thread>

#include "platform/graphics/Bitmap.h"

namespace tmr {

namespace {

// Windows come and go while the test looks at them (the window system's libraries make and drop
// short-lived windows while they start up): a request about a window that is gone fails with
// BadWindow, which Xlib's default handler turns into an exit of the whole test. The lookups
// below check what they get back, so such errors are ignored.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// A file of one key (MIT-MAGIC-COOKIE-1) for any display; false if it could not be written.
bool WriteAuthority(const std::string& path, std::string& key) {
  std::random_device random;
  key.clear();
  for (int i = 0; i < 16; ++i) key += static_cast<char>(random() & 0xFF);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  char name[] = "MIT-MAGIC-COOKIE-1";
  Xauth entry{};
  entry.family = FamilyWild;
  entry.name = name;
  entry.name_length = sizeof(name) - 1;
  entry.data = key.data();
  entry.data_length = static_cast<unsigned short>(key.size());
  bool written = XauWriteAuth(file, &entry) == 1;
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool Eventually(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return done();
}

void ChildProcess::Prepare(const std::vector<std::string>& env, const std::string& output) {
  for (const auto& e : env) {
    auto eq = e.find('=');
    if (eq == std::string::npos) {
      unsetenv(e.c_str());
    } else {
      setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
  }
  if (!freopen((output + ".out").c_str(), "w", stdout) || !freopen((output + ".err").c_str(), "w", stderr)) _exit(126);
}

ChildProcess::ChildProcess(std::vector<std::string> argv, const std::vector<std::string>& env,
                           const std::string& output) {
  pid_ = fork();
  if (pid_ != 0) return;
  Prepare(env, output);
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

ChildProcess::ChildProcess(const std::function<int()>& body, const std::vector<std::string>& env,
                           const std::string& output) {
  pid_ = fork();
  if (pid_ != 0) return;
  Prepare(env, output);
  // Where only ancestors may trace a process (Yama), a tracer started later needs its leave.
  prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
  // Nothing of the test's process is to run in the copy (its tests, its destructors, its exit
  // handlers): whatever the body does, the copy ends with it.
  int code = 125;
  try {
    code = body();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  } catch (...) {
  }
  std::fflush(nullptr);
  _exit(code);
}

ChildProcess::~ChildProcess() {
  if (pid_ <= 0 || status_) return;
  // Asked first, so that an X server removes its socket and lock file.
  kill(pid_, SIGTERM);
  if (exited(std::chrono::seconds(3))) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

void ChildProcess::send(int signal) {
  if (pid_ > 0 && !status_) kill(pid_, signal);
}

std::optional<int> ChildProcess::exited(std::chrono::milliseconds limit) {
  Eventually(
      [&] {
        int status = 0;
        if (!status_ && waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
        return status_.has_value();
      },
      limit);
  return status_;
}

XvfbSession::XvfbSession(int width, int height, const std::string& scratch)
    : authority_(scratch + "/xauthority"), scratch_(scratch) {
  std::string key;
  if (!WriteAuthority(authority_, key)) return;
  // Xvfb picks a free display number and writes it to the pipe once it accepts clients.
  int fds[2];
  if (pipe(fds) != 0) return;
  std::string geometry = std::to_string(width) + "x" + std::to_string(height) + "x24";
  server_ =
      std::make_unique<ChildProcess>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen",
                                                              "0", geometry, "-nolisten", "tcp", "-auth", authority_},
                                     std::vector<std::string>{}, scratch + "/xvfb");
  close(fds[1]);
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return;
  name_ = ":" + number;
  char protocol[] = "MIT-MAGIC-COOKIE-1";
  XSetAuthorization(protocol, sizeof(protocol) - 1, key.data(), static_cast<int>(key.size()));
  display_ = XOpenDisplay(name_.c_str());
  XSetErrorHandler(IgnoreXErrors);
}

XvfbSession::~XvfbSession() { end(); }

void XvfbSession::end() {
  if (display_) XCloseDisplay(display_);
  display_ = nullptr;
  windowManager_.reset();
  server_.reset();
}

bool XvfbSession::startWindowManager() {
  windowManager_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"openbox"}, std::vector<std::string>{"DISPLAY=" + name_, "XAUTHORITY=" + authority_},
      scratch_ + "/openbox");
  // A manager that runs announces itself on the root window.
  Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
  return Eventually(
      [&] {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, left = 0;
        unsigned char* data = nullptr;
        bool found = XGetWindowProperty(display_, DefaultRootWindow(display_), check, 0, 1, False, AnyPropertyType,
                                        &type, &format, &count, &left, &data) == Success &&
                     count == 1;
        if (data) XFree(data);
        return found;
      },
      std::chrono::seconds(10));
}

unsigned long XvfbSession::findWindow(const std::string& title, std::chrono::milliseconds limit) {
  // A window manager puts each top-level window into a frame of its own: search the whole tree.
  std::function<::Window(::Window)> search = [&](::Window under) -> ::Window {
    ::Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned n = 0;
    if (!XQueryTree(display_, under, &root, &parent, &children, &n)) return 0;
    for (unsigned i = 0; i < n && !found; ++i) {
      char* name = nullptr;
      XWindowAttributes a;
      if (XFetchName(display_, children[i], &name) && name && title == name &&
          XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable)
        found = children[i];
      if (name) XFree(name);
      if (!found) found = search(children[i]);
    }
    if (children) XFree(children);
    return found;
  };
  ::Window found = 0;
  Eventually(
      [&] {
        found = search(DefaultRootWindow(display_));
        return found != 0;
      },
      limit);
  return found;
}

WindowFit::Size XvfbSession::size(unsigned long window) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(display_, window, &a)) return {};
  return {a.width, a.height};
}

std::shared_ptr<Bitmap> XvfbSession::capture(unsigned long window, WindowFit::Size part) {
  auto [w, h] = part.width > 0 ? part : size(window);
  XImage* image =
      XGetImage(display_, window, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
  if (!image) return nullptr;
  auto picture = Bitmap::Create(w, h);
  auto px = picture->pixels();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned long p = XGetPixel(image, x, y);
      uint8_t* out = px.data() + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4;
      out[0] = static_cast<uint8_t>((p & image->red_mask) >> 16);
      out[1] = static_cast<uint8_t>((p & image->green_mask) >> 8);
      out[2] = static_cast<uint8_t>(p & image->blue_mask);
      out[3] = 0xFF;
    }
  }
  XDestroyImage(image);
  return picture;
}

void XvfbSession::click(unsigned long window, int x, int y) {
  ::Window child = 0;
  int rx = 0, ry = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rx, &ry, &child);
  XTestFakeMotionEvent(display_, -1, rx, ry, CurrentTime);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XTestFakeButtonEvent(display_, 1, False, 50);  // lifted 50 ms later, as a person clicks
  XFlush(display_);
}

void XvfbSession::requestClose(unsigned long window) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &e);
  XFlush(display_);
}

void XvfbSession::destroy(unsigned long window) {
  XDestroyWindow(display_, window);
  XFlush(display_);
}

void XvfbSession::resize(unsigned long window, int width, int height) {
  XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XFlush(display_);
}

void XvfbSession::setStates(unsigned long window, bool add, const std::vector<std::string>& states) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(display_, "_NET_WM_STATE", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = add ? 1 : 0;
  for (size_t i = 0; i < states.size() && i < 2; ++i)
    e.xclient.data.l[1 + i] = static_cast<long>(XInternAtom(display_, states[i].c_str(), False));
  e.xclient.data.l[3] = 1;  // asked by an application
  XSendEvent(display_, DefaultRootWindow(display_), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XFlush(display_);
}

}  // namespace tmr

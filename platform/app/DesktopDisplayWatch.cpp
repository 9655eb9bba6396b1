#include "platform/app/DesktopDisplayWatch.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

namespace tmr {

namespace {

// Where the watch of a display is kept on that display, for Xlib's handlers, which get only the
// display: Xlib's own table of data attached to a display, under a name of this program's.
XContext WatchContext() { return static_cast<XContext>(XrmStringToQuark("tivomarsh-remote display watch")); }

}  // namespace

struct DesktopDisplayWatch::Handlers {
  static int Quiet(Display*) { return 0; }

  static void Lost(Display*, void* watch) {
    auto* self = static_cast<DesktopDisplayWatch*>(watch);
    self->lost_ = true;
    if (self->gone_ && std::this_thread::get_id() == self->owner_) self->gone_();
  }

  static int Refused(Display* display, XErrorEvent* error) {
    XPointer watch = nullptr;
    if (XFindContext(display, DefaultRootWindow(display), WatchContext(), &watch) != 0 || !watch) return 0;
    auto* self = reinterpret_cast<DesktopDisplayWatch*>(watch);
    if (!self->refused_.empty()) return 0;
    char text[256] = "";
    XGetErrorText(display, error->error_code, text, sizeof(text));
    self->refused_ = text[0] ? text : "an error";
    return 0;
  }
};

DesktopDisplayWatch::DesktopDisplayWatch(SDL_Window* window, std::function<void()> gone) : gone_(std::move(gone)) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  display_ = info.info.x11.display;
  XSaveContext(display_, DefaultRootWindow(display_), WatchContext(), reinterpret_cast<XPointer>(this));
  // On a broken connection Xlib calls the first handler, then the second, which by default ends
  // the process: here the first says nothing (the host says what happened) and the second hands
  // the end to the host. The second is the window's connection's alone: no other connection may
  // be written to while the watch lives, hence wait().
  previousLost_ = XSetIOErrorHandler(&Handlers::Quiet);
  XSetIOErrorExitHandler(display_, &Handlers::Lost, this);
  // A refused request would end the process from Xlib's default handler too.
  previousRefused_ = reinterpret_cast<void (*)()>(XSetErrorHandler(&Handlers::Refused));
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

DesktopDisplayWatch::~DesktopDisplayWatch() {
  if (wakeFd_ >= 0) close(wakeFd_);
  if (!display_) return;
  XSetErrorHandler(reinterpret_cast<XErrorHandler>(previousRefused_));
  XSetIOErrorHandler(previousLost_);
  if (!lost_) XSetIOErrorExitHandler(display_, nullptr, nullptr);
  XDeleteContext(display_, DefaultRootWindow(display_), WatchContext());
}

void DesktopDisplayWatch::wait(int timeoutMs) {
  // Events Xlib has read already wait in its queue, where poll() cannot see them; asking for
  // them also sends what is still buffered, as SDL does before it sleeps. Either may find the
  // connection broken.
  if (failed() || XPending(display_) > 0 || failed()) return;
  pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  if (poll(fds, 2, timeoutMs) > 0 && (fds[1].revents & POLLIN)) {
    uint64_t count = 0;
    (void)!read(wakeFd_, &count, sizeof count);
  }
}

void DesktopDisplayWatch::wake() {
  // A counter that only saturates: a wake-up is never lost, and the write never blocks.
  uint64_t one = 1;
  if (wakeFd_ >= 0) (void)!write(wakeFd_, &one, sizeof one);
}

}  // namespace tmr

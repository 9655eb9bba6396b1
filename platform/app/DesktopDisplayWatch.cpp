#include "platform/app/DesktopDisplayWatch.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <signal.h>

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
    if (self->lost_) return;
    self->lost_ = true;
    self->fail();
  }

  static int Refused(Display* display, XErrorEvent* error) {
    XPointer watch = nullptr;
    if (XFindContext(display, DefaultRootWindow(display), WatchContext(), &watch) != 0 || !watch) return 0;
    auto* self = reinterpret_cast<DesktopDisplayWatch*>(watch);
    if (!self->refused_.empty()) return 0;
    char text[256] = "";
    XGetErrorText(display, error->error_code, text, sizeof(text));
    self->refused_ = text[0] ? text : "an error";
    self->fail();
    return 0;
  }
};

DesktopDisplayWatch::DesktopDisplayWatch(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  display_ = info.info.x11.display;
  XSaveContext(display_, DefaultRootWindow(display_), WatchContext(), reinterpret_cast<XPointer>(this));
  // On a broken connection Xlib calls the first handler, then the second, which by default ends
  // the process: here the first says nothing (the host says what happened) and the second only
  // notes the loss, after which Xlib fails every further request on that connection at once.
  previousLost_ = XSetIOErrorHandler(&Handlers::Quiet);
  XSetIOErrorExitHandler(display_, &Handlers::Lost, this);
  // A refused request would end the process from Xlib's default handler too.
  previousRefused_ = reinterpret_cast<void (*)()>(XSetErrorHandler(&Handlers::Refused));
}

DesktopDisplayWatch::~DesktopDisplayWatch() {
  if (!display_) return;
  XSetErrorHandler(reinterpret_cast<XErrorHandler>(previousRefused_));
  XSetIOErrorHandler(previousLost_);
  if (!lost_) XSetIOErrorExitHandler(display_, nullptr, nullptr);
  XDeleteContext(display_, DefaultRootWindow(display_), WatchContext());
}

void DesktopDisplayWatch::fail() {
  // A close request ends the host's wait for events (SDL would otherwise keep polling a closed
  // socket). Not as a pushed event: that wakes SDL's wait through a second connection to the
  // same display, whose loss Xlib would end the process for. A termination request reaches SDL
  // without the display, and SDL turns it into the close request.
  raise(SIGTERM);
}

}  // namespace tmr

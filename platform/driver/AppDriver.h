#pragma once
// Drives the application as a person would, on the virtual clock (or the real one, for a radio
// that answers in real time): touches views found by their
// layout names, lets time pass, reads what any view shows and renders the screen. A name
// "pmbarks" means the view of that name or, for a custom view, its main part; "pmbarks.plus"
// means the part "plus" of the custom view "pmbarks".
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app/ApplicationClasses.h"
#include "platform/app/ApplicationHost.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/View.h"

namespace tmr {

class ActionSheetObject;
class CustomView;
class Bitmap;
class Runtime;
class SimulatedRadio;
class ViewObject;
class ViewRenderer;

// A name that finds no view, or an input that cannot be made.
class DriverError : public RuntimeError {
 public:
  using RuntimeError::RuntimeError;
};

class AppDriver {
 public:
  // What a view shows, as a person reads it.
  struct ViewState {
    std::string name;
    std::string type;
    bool hasText = false;
    String text;
    bool visible = true;
    bool enabled = true;
  };
  // An action sheet as a person reads it.
  struct SheetState {
    std::string title;
    std::vector<std::string> items;  // the buttons above the cancel button, top to bottom
    std::string cancel;              // "" when it has none
  };

  // The assets folder: $TMR_SOURCE_DIR/assets, else the source tree this was built from.
  static std::filesystem::path DefaultAssetsDirectory();

  explicit AppDriver(ApplicationClasses classes, std::filesystem::path assets = DefaultAssetsDirectory(),
                     MainLoop::ClockKind clock = MainLoop::ClockKind::Virtual);
  ~AppDriver();

  // Launches the application and runs what its start posted. Log lines are kept (logLines()).
  void start();
  Runtime& runtime() const { return host_.runtime(); }
  ApplicationHost& host() { return host_; }
  template <class T>
  std::shared_ptr<T> mainModule() const {
    return std::dynamic_pointer_cast<T>(host_.mainModule());
  }

  // The view a name means on the page shown now; a DriverError when there is none.
  View find(std::string_view name) const;
  bool exists(std::string_view name) const;

  // A finger down at the centre of the named view; returns the view the touch landed on (not
  // necessarily the named one: a hidden or disabled view lets it through), or uninitialised.
  View press(std::string_view name);
  // A finger down at (x, y) in the named view's coordinates (the point may lie outside it: the
  // touch lands on whatever is there), then runs what was posted.
  View pressAt(std::string_view name, double x, double y);
  // The finger in progress moves to (x, y) in the named view's coordinates, then runs what was
  // posted.
  void moveTo(std::string_view name, double x, double y);
  // The finger lifts where it is.
  void release();
  bool touching() const;
  // Down and up at once.
  View tap(std::string_view name);
  // Lets ms pass on the clock, running everything due on the way (on the real clock, also what
  // other threads post meanwhile).
  void wait(int64_t ms);
  // Down at the centre of the named view, moving (dx, dy) in `steps` even steps over
  // durationMs and lifting there, then runs what was posted. Dragging inside a scroll view
  // scrolls its content by the finger's movement (a finger moved up shows what lies below).
  void drag(std::string_view name, double dx, double dy, int64_t durationMs = 300, int steps = 10);

  // The on-screen keyboard, into the text field that has the focus (tap one first), then runs
  // what was posted: each character of text is one key and one "textchanged"; deleteBackward
  // is the delete key; enter the Return key. A DriverError when no field has the focus, or
  // when its keyboard has no key for a character of text (a number pad types digits only).
  void type(const String& text);
  void deleteBackward();
  void enter();
  // The text field that has the focus, or uninitialised.
  View focusedField() const;

  // For a custom view's part, enabled says whether touching it acts (an arrow at the end of its
  // range does not, though its area stays enabled).
  ViewState stateOf(std::string_view name) const;
  // One entry per view bound to a field of the main module (and per part of a custom view), in
  // the order of the screen's tree.
  std::vector<ViewState> state() const;

  // The action sheet shown now (the top-most one), or nothing.
  std::optional<SheetState> sheet() const;
  // Taps the button of the shown action sheet that has this title ("Cancel" included), at its
  // centre, scrolling a long sheet to it first; a DriverError when no sheet is shown or it has no
  // such button.
  void pick(std::string_view title);

  // The simulated radio that the application's Bluetooth LE central works over: its devices,
  // the adapter's state and the writes that reached the devices.
  SimulatedRadio& radio() const;

  // The screen as it looks now, scale pixels per point. Each call gives a picture of its own;
  // the drawing memory is kept from one call to the next.
  std::shared_ptr<Bitmap> screenshot(double scale = 2) const;

  const std::vector<std::string>& logLines() const { return log_; }
  void clearLog() { log_.clear(); }

 private:
  View shownPanel() const;
  std::shared_ptr<ActionSheetObject> shownSheet() const;
  // A touch down and up at the centre of view, which must be on the shown page.
  View touch(const View& view, std::string_view what);
  ViewState describe(const std::string& name, const View& v) const;
  // Scrolls the scroll view around view (if any) until view shows whole, as a finger would.
  void scrollIntoView(const ViewObject& view);
  // A custom view's part: enabled says whether touching it acts.
  ViewState describePart(const std::string& name, const CustomView& cv, std::string_view part) const;

  std::vector<std::string> log_;
  ApplicationHost host_;
  mutable std::unique_ptr<ViewRenderer> renderer_;  // made by the first screenshot
};

}  // namespace tmr

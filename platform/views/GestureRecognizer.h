#pragma once
// A platform gesture recognizer attached to a view: it follows the touches that land on its
// view (or inside it) and reports its state changes by calling its target's action by selector
// with itself as the one argument. Module code reaches it through
// NativeObject: "initWithTarget:action:", "state", "view", "setEnabled:", "enabled".
// Disabling it ends its part in the touch in progress: a gesture still pending fails without
// telling the target (its timer stopped), a recognized one is cancelled; it follows no touch
// that begins while it is disabled.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Object.h"
#include "platform/native/NativeCallable.h"

namespace tmr {

class Module;
class ViewObject;

class GestureRecognizer : public NativeCallable {
 public:
  enum State { Possible = 0, Began = 1, Changed = 2, Ended = 3, Cancelled = 4, Failed = 5 };

  State state() const { return state_; }
  std::shared_ptr<ViewObject> view() const { return view_.lock(); }
  bool enabled() const { return enabled_; }
  // The target is held weakly: a view must not keep the module that owns it alive.
  void setTarget(const std::shared_ptr<Module>& target, std::string action);

  // Touch phases as the view layer reports them, in the view's window; x, y in the coordinates
  // of the recognizer's view.
  virtual void touchBegan(double x, double y) = 0;
  virtual void touchMoved(double x, double y) = 0;
  virtual void touchEnded(double x, double y) = 0;
  virtual void touchCancelled() = 0;
  // Whether the recognizer has recognized its gesture during the current touch (views then
  // lose the touch: a recognized gesture cancels a pending click and long click).
  bool recognized() const { return state_ == Began || state_ == Changed || state_ == Ended; }

  Object runMethod(std::string_view selector, std::vector<Object> args) override;
  std::string description() const override;

 protected:
  virtual std::string_view className() const = 0;
  // Moves to a new state and, unless it is Possible or Failed, tells the target.
  void setState(State s);
  // A recognizer that recognizes with no touch event to report it (on a timer) calls this
  // after its target heard, so that the view loses the touch as it does on any other recognition.
  void recognizedBetweenTouchEvents();

 private:
  friend class ViewObject;
  void attach(const std::shared_ptr<ViewObject>& view) { view_ = view; }

  State state_ = Possible;
  bool enabled_ = true;
  std::weak_ptr<ViewObject> view_;
  std::weak_ptr<Module> target_;
  std::string action_;
};

}  // namespace tmr

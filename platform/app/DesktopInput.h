#pragma once
// The desktop's pointer and keyboard as the phone's finger and keys. The left mouse button, or
// the first finger on a touch screen, is the one finger of the view layer's touches (down, move,
// up: taps, long presses, drags and scrolls as the views know them); a window that loses the
// focus or the pointer's grab mid-touch cancels the touch. Typed text, Backspace and Return go
// to the focused text field; Left and Right move its cursor (or collapse its selection).
#include <cstdint>
#include <functional>

#include "platform/app/WindowFit.h"
#include "platform/views/View.h"

union SDL_Event;

namespace tmr {

class Runtime;

class DesktopInput {
 public:
  // Where the screen's picture is in the window: window coordinates times pixelRatio are pixels.
  struct Mapping {
    WindowFit::Placement place;
    double pixelRatioX = 1;
    double pixelRatioY = 1;
    WindowFit::Size windowSize;  // in window coordinates, for touch-screen positions (0…1)
  };

  // root: gives the panel shown now (the touches' coordinates are its own).
  DesktopInput(Runtime& rt, std::function<View()> root) : rt_(rt), root_(std::move(root)) {}

  // Handles a pointer, touch, keyboard or focus event; false for any other event.
  bool handle(const SDL_Event& event, const Mapping& mapping);
  // Whether a text field has the focus, so that the window should ask for text input.
  bool wantsText() const;

 private:
  void down(double windowX, double windowY, const Mapping& mapping);
  void moveTo(double windowX, double windowY, const Mapping& mapping);
  void up();
  void cancel();
  void key(int32_t keycode);

  Runtime& rt_;
  std::function<View()> root_;
  enum class Pointer { None, Mouse, Finger };
  Pointer pointer_ = Pointer::None;
  int64_t finger_ = 0;
};

}  // namespace tmr

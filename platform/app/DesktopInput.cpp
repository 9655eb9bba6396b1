#include "platform/app/DesktopInput.h"

#include <SDL.h>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/Keyboard.h"
#include "platform/views/TextFieldObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

namespace {

void ToPoint(double windowX, double windowY, const DesktopInput::Mapping& m, double& x, double& y) {
  double scale = m.place.scale > 0 ? m.place.scale : 1;
  x = (windowX * m.pixelRatioX - m.place.left) / scale;
  y = (windowY * m.pixelRatioY - m.place.top) / scale;
}

}  // namespace

bool DesktopInput::wantsText() const { return Keyboard::of(rt_).shown(); }

void DesktopInput::down(double windowX, double windowY, const Mapping& mapping) {
  View root = root_();
  if (!root.IsInitialized()) return;
  double x = 0, y = 0;
  ToPoint(windowX, windowY, mapping, x, y);
  ViewSystem::of(rt_).touches().down(root.native(), x, y);
}

void DesktopInput::moveTo(double windowX, double windowY, const Mapping& mapping) {
  double x = 0, y = 0;
  ToPoint(windowX, windowY, mapping, x, y);
  ViewSystem::of(rt_).touches().move(x, y);
}

void DesktopInput::up() {
  pointer_ = Pointer::None;
  ViewSystem::of(rt_).touches().up();
}

void DesktopInput::cancel() {
  if (pointer_ == Pointer::None) return;
  pointer_ = Pointer::None;
  ViewSystem::of(rt_).touches().cancel();
}

void DesktopInput::key(int32_t key) {
  auto& keyboard = Keyboard::of(rt_);
  auto field = keyboard.focused();
  if (!field) return;
  switch (key) {
    case SDLK_BACKSPACE:
      keyboard.deleteBackward();
      break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      keyboard.enter();
      break;
    case SDLK_LEFT:
    case SDLK_RIGHT: {
      int start = field->selectionStart(), length = field->selectionLength();
      int step = key == SDLK_LEFT ? -1 : 1;
      int cursor = length > 0 ? (step < 0 ? start : start + length) : start + step;
      // A character outside the basic plane is two code units: the cursor steps over it whole,
      // never between its halves, where typing would split it.
      if (length == 0 && field->text().SplitsPairAt(cursor)) cursor += step;
      field->setSelection(cursor, 0);  // clamped to the text
      break;
    }
    default:
      break;
  }
}

bool DesktopInput::handle(const SDL_Event& e, const Mapping& mapping) {
  switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
      // SDL also reports touch-screen fingers as a mouse: those arrive as fingers below.
      if (e.button.which == SDL_TOUCH_MOUSEID || e.button.button != SDL_BUTTON_LEFT) return true;
      if (pointer_ != Pointer::None) return true;
      pointer_ = Pointer::Mouse;
      down(e.button.x, e.button.y, mapping);
      return true;
    case SDL_MOUSEMOTION:
      if (e.motion.which != SDL_TOUCH_MOUSEID && pointer_ == Pointer::Mouse) moveTo(e.motion.x, e.motion.y, mapping);
      return true;
    case SDL_MOUSEBUTTONUP:
      if (e.button.which != SDL_TOUCH_MOUSEID && e.button.button == SDL_BUTTON_LEFT && pointer_ == Pointer::Mouse) {
        moveTo(e.button.x, e.button.y, mapping);
        up();
      }
      return true;
    case SDL_FINGERDOWN:
      if (pointer_ != Pointer::None) return true;  // one finger at a time, as the views know it
      pointer_ = Pointer::Finger;
      finger_ = e.tfinger.fingerId;
      down(e.tfinger.x * mapping.windowSize.width, e.tfinger.y * mapping.windowSize.height, mapping);
      return true;
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
      if (pointer_ != Pointer::Finger || e.tfinger.fingerId != finger_) return true;
      moveTo(e.tfinger.x * mapping.windowSize.width, e.tfinger.y * mapping.windowSize.height, mapping);
      if (e.type == SDL_FINGERUP) up();
      return true;
    case SDL_WINDOWEVENT:
      // The pointer went to another window mid-touch: the touch is over without a click.
      if (e.window.event != SDL_WINDOWEVENT_FOCUS_LOST) return false;
      cancel();
      return true;
    case SDL_TEXTINPUT:
      if (!wantsText()) return true;
      try {
        Keyboard::of(rt_).type(String(e.text.text));
      } catch (const RuntimeError&) {
        // The field's keyboard has no key for it (letters on a number pad): nothing is typed.
      }
      return true;
    case SDL_KEYDOWN:
      key(e.key.keysym.sym);
      return true;
    default:
      return false;
  }
}

}  // namespace tmr

// The desktop's pointer and keys reach the views as the phone's finger and keys do: events as
// SDL reports them, into a screen shown at twice its size behind a 100-pixel margin.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/app/DesktopInput.h"
#include "platform/app/WindowFit.h"
#include "platform/core/Runtime.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/TextFieldWrapper.h"
#include "platform/views/UiLayer.h"
#include "tests/support/OwnerModule.h"

namespace tmr {
namespace {

class InputProbe : public OwnerModule {
 public:
  std::vector<std::string> heard;
  void _btn_click() { heard.push_back("click"); }
  void _tf_enterpressed() { heard.push_back("enter"); }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&InputProbe::_btn_click>("_btn_click"),
                                sub<&InputProbe::_tf_enterpressed>("_tf_enterpressed")};
    return table;
  }
};

SDL_Event Mouse(Uint32 type, int x, int y, Uint32 which = 0) {
  SDL_Event e{};
  e.type = type;
  if (type == SDL_MOUSEMOTION) {
    e.motion.which = which;
    e.motion.x = x;
    e.motion.y = y;
  } else {
    e.button.which = which;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
  }
  return e;
}

SDL_Event Finger(Uint32 type, float x, float y) {
  SDL_Event e{};
  e.type = type;
  e.tfinger.fingerId = 7;
  e.tfinger.x = x;
  e.tfinger.y = y;
  return e;
}

SDL_Event Text(const char* utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
  return e;
}

SDL_Event Key(SDL_Keycode key) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = key;
  return e;
}

SDL_Event FocusLost() {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  return e;
}

struct DesktopInputTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<InputProbe> probe = std::make_shared<InputProbe>();
  View root;
  ButtonWrapper button;   // (20, 20) 100 × 40 points: (140, 40) to (340, 120) in the window
  TextFieldWrapper field;  // (20, 100) 200 × 40 points: (140, 200) to (540, 280)
  DesktopInput input{rt, [this] { return root; }};
  DesktopInput::Mapping mapping;

  void SetUp() override {
    probe->_initialize(rt);
    root = UiLayer().CreatePanel(probe->bi, "");
    root.native()->setFrame(Frame{0, 0, 375, 667});
    button.Initialize(probe->bi, "btn", ButtonObject::Style::System);
    root.AddView(button, 20, 20, 100, 40);
    field.Initialize(probe->bi, "tf");
    root.AddView(field, 20, 100, 200, 40);
    // A window 950 pixels wide (475 coordinates on a display of two pixels per coordinate).
    mapping.place = WindowFit(375, 667).place({950, 1334});
    mapping.pixelRatioX = mapping.pixelRatioY = 2;
    mapping.windowSize = {475, 667};
  }
  void send(std::initializer_list<SDL_Event> events) {
    for (const auto& e : events) {
      input.handle(e, mapping);
      rt.loop().runUntilIdle();
    }
  }
};

TEST_F(DesktopInputTest, ThePointerIsTheFingerAtTheScreensPlaceAndScale) {
  ASSERT_EQ(mapping.place.left, 100);
  struct Case {
    const char* what;
    std::vector<SDL_Event> events;
    size_t clicks;
  };
  // Window coordinates: the button's centre (70, 40) in points is (120, 40) in coordinates.
  const std::vector<Case> cases = {
      {"a click on the button", {Mouse(SDL_MOUSEBUTTONDOWN, 120, 40), Mouse(SDL_MOUSEBUTTONUP, 120, 40)}, 1},
      {"a click beside it, in the margin's place",
       {Mouse(SDL_MOUSEBUTTONDOWN, 55, 40), Mouse(SDL_MOUSEBUTTONUP, 55, 40)},
       0},
      {"pressed on it, lifted away",
       {Mouse(SDL_MOUSEBUTTONDOWN, 120, 40), Mouse(SDL_MOUSEMOTION, 200, 200), Mouse(SDL_MOUSEBUTTONUP, 200, 200)},
       0},
      {"a finger on a touch screen (its mouse copy ignored)",
       {Finger(SDL_FINGERDOWN, 120.0f / 475, 40.0f / 667), Mouse(SDL_MOUSEBUTTONDOWN, 120, 40, SDL_TOUCH_MOUSEID),
        Finger(SDL_FINGERUP, 120.0f / 475, 40.0f / 667), Mouse(SDL_MOUSEBUTTONUP, 120, 40, SDL_TOUCH_MOUSEID)},
       1},
      {"the window loses the focus mid-touch",
       {Mouse(SDL_MOUSEBUTTONDOWN, 120, 40), FocusLost(), Mouse(SDL_MOUSEBUTTONUP, 120, 40)},
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    probe->heard.clear();
    for (const auto& e : c.events) send({e});
    EXPECT_EQ(probe->heard.size(), c.clicks);
  }
}

TEST_F(DesktopInputTest, KeysTypeIntoTheFieldThePointerFocused) {
  send({Text("x"), Key(SDLK_BACKSPACE)});  // no field has the focus yet: nothing happens
  EXPECT_FALSE(input.wantsText());
  send({Mouse(SDL_MOUSEBUTTONDOWN, 120, 120), Mouse(SDL_MOUSEBUTTONUP, 120, 120)});
  ASSERT_TRUE(input.wantsText());
  send({Text("h\xC3\xA9llo"), Key(SDLK_BACKSPACE), Key(SDLK_LEFT), Key(SDLK_LEFT), Text("X"), Key(SDLK_RIGHT),
        Key(SDLK_RIGHT), Key(SDLK_RIGHT), Text("!"), Key(SDLK_RETURN)});
  EXPECT_EQ(field.Text().str(), "h\xC3\xA9Xll!");
  EXPECT_EQ(probe->heard, (std::vector<std::string>{"enter"}));
}

TEST_F(DesktopInputTest, LeftAndRightStepOverACharacterOutsideTheBasicPlaneWhole) {
  send({Mouse(SDL_MOUSEBUTTONDOWN, 120, 120), Mouse(SDL_MOUSEBUTTONUP, 120, 120)});
  // "a", a face (two UTF-16 code units), "b"; Left twice lands before the face, Right after it.
  send({Text("a\360\237\230\200b"), Key(SDLK_LEFT), Key(SDLK_LEFT), Text("X"), Key(SDLK_RIGHT), Text("Y")});
  EXPECT_EQ(field.Text().str(), "aX\360\237\230\200Yb");
}

}  // namespace
}  // namespace tmr

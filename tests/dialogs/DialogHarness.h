#pragma once
// A 400 × 600 screen with a panel below every dialog that counts the taps it hears, a dialog
// over that screen, the application's layouts and classes, a finger, and a caller that shows
// a dialog from a coroutine and keeps the result it completes with.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/TivomarshApplication.h"
#include "dialogs/tm_dialog.h"
#include "platform/core/Common.h"
#include "platform/core/ResumableSub.h"
#include "platform/core/Runtime.h"
#include "platform/driver/AppDriver.h"
#include "platform/driver/Finger.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/views/Keyboard.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace tmr {

// The module the screen belongs to: hears taps on the panel below the dialog.
class tm_dialogowner : public OwnerModule {
 public:
  const SubTable& subTable() const override {
    static const SubTable table{sub<&tm_dialogowner::_below_click>("_below_click")};
    return table;
  }
  void _below_click() { ++belowclicks; }
  int belowclicks = 0;
};

// Shows a dialog from a coroutine, the way code that uses a dialog waits for it.
class ResumableSub_dialogowner_Ask : public ResumableSub {
 public:
  ResumableSub_dialogowner_Ask(std::shared_ptr<Module> owner, std::function<std::shared_ptr<ResumableSub>()> show)
      : ResumableSub(std::move(owner)), show_(std::move(show)) {}
  bool done = false;
  int32_t result = 0;
  int64_t doneAt = 0;

 protected:
  SubBody body() override {
    Object r = co_await WaitForComplete(show_());
    result = r.AsInt();
    done = true;
    doneAt = runtime().Now();
  }

 private:
  std::function<std::shared_ptr<ResumableSub>()> show_;
};

struct DialogHarness {
  DialogHarness() {
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    ViewSystem::of(rt);
    LayoutLoader::Install(rt, AppDriver::DefaultAssetsDirectory());
    TivomarshApplication().registerClasses(rt);
    owner->_initialize(rt);
    screen = ui.CreatePanel(owner->bi, "");
    screen.SetLayoutAnimated(0, 0, 0, 400, 600);
    below = ui.CreatePanel(owner->bi, "below");
    screen.AddView(below, 0, 0, 400, 600);
    dialog->_initialize(owner->bi, screen);
  }
  // A dialog still shown is closed first: a show coroutine waiting for a child that never
  // completes is never released.
  ~DialogHarness() {
    if (dialog->_getvisible()) {
      dialog->_close(tm_dialog::DialogResponse_Cancel);
      wait(1000);
    }
    rt.shutdown();
  }

  // Starts a caller that shows the dialog as `show` does and waits for its result.
  std::shared_ptr<ResumableSub_dialogowner_Ask> ask(std::function<std::shared_ptr<ResumableSub>()> show) {
    auto a = std::make_shared<ResumableSub_dialogowner_Ask>(owner, std::move(show));
    a->start();
    return a;
  }
  std::shared_ptr<ResumableSub_dialogowner_Ask> message(const char* text = "Hello", const char* yes = "Yes",
                                                        const char* no = "No", const char* cancel = "Cancel") {
    return ask([=, this] { return dialog->_show(Object(text), Object(yes), Object(no), Object(cancel)); });
  }
  // Runs what is due now (posted calls included), without letting time pass.
  void settle() {
    while (rt.loop().hasPending()) rt.loop().runOneTurn();
  }
  void wait(int64_t ms) { rt.loop().advance(ms); }
  Finger hand() { return Finger(rt, screen); }
  Keyboard& keys() { return Keyboard::of(rt); }
  // Keys into the focused field, and the turn on which the field reports them.
  void type(const char* text) {
    keys().type(text);
    settle();
  }
  void del() {
    keys().deleteBackward();
    settle();
  }
  View button(int32_t code) { return dialog->_getbutton(code); }
  // The background panels that dialogs put on the screen.
  int backgrounds() const {
    int n = 0;
    for (const View& v : screen.GetAllViewsRecursive()) {
      if (v.Tag() == Object(tm_dialog::kBackgroundTag)) ++n;
    }
    return n;
  }
  bool logged(std::string_view prefix) const {
    for (const auto& l : log) {
      if (l.starts_with(prefix)) return true;
    }
    return false;
  }

  Runtime rt;
  UiLayer ui;
  std::vector<std::string> log;
  std::shared_ptr<tm_dialogowner> owner = std::make_shared<tm_dialogowner>();
  std::shared_ptr<tm_dialog> dialog = std::make_shared<tm_dialog>();
  View screen;
  View below;
};

}  // namespace tmr

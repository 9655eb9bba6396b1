#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app/NavigationControllerWrapper.h"
#include "platform/app/Page.h"
#include "platform/core/Runtime.h"
#include "platform/driver/AppDriver.h"
#include "platform/views/TextFieldWrapper.h"

namespace tmr {
namespace {

// An application whose page holds two text fields, "name" and "pin" (a number pad), made in
// code; it records what they raise.
class TypingApp : public StaticModule {
 public:
  std::string_view className() const override { return "tm_typingapp"; }
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&TypingApp::_application_start>("_application_start:"),
        sub<&TypingApp::_name_textchanged>("_name_textchanged::"),
        sub<&TypingApp::_name_enterpressed>("_name_enterpressed"),
        sub<&TypingApp::_pin_beginedit>("_pin_beginedit"),
    };
    return table;
  }
  void _application_start(NavigationControllerWrapper nav) {
    page.Initialize(bi, "page");
    for (const char* n : {"name", "pin"}) {
      TextFieldWrapper f;
      f.Initialize(bi, n);
      f.native()->setName(n);
      page.RootPanel().AddView(f, 10, n == std::string("name") ? 10 : 60, 200, 40);
      if (n == std::string("pin")) f.setKeyboardType(TextFieldWrapper::TYPE_NUMBER_PAD);
    }
    nav.ShowPage(page);
  }
  void _name_textchanged(String o, String n) { heard.push_back(o.str() + ">" + n.str()); }
  void _name_enterpressed() { heard.push_back("enter"); }
  void _pin_beginedit() { heard.push_back("pin begins"); }

  Page page;
  std::vector<std::string> heard;
};

ApplicationClasses TypingClasses() {
  ApplicationClasses classes;
  classes.mainModule = [](Runtime& rt) -> std::shared_ptr<Module> { return rt.codeModule<TypingApp>(); };
  classes.registerClasses = [](Runtime&) {};
  return classes;
}

TEST(AppDriverTypingTest, TypesIntoTheTappedFieldAndRunsWhatTheKeysRaise) {
  AppDriver app(TypingClasses());
  app.start();
  auto module = app.mainModule<TypingApp>();
  EXPECT_THROW(app.type("a"), DriverError);
  EXPECT_THROW(app.enter(), DriverError);
  EXPECT_FALSE(app.focusedField().IsInitialized());
  app.tap("name");
  EXPECT_EQ(app.focusedField(), app.find("name"));
  app.type("ab");
  app.deleteBackward();
  app.enter();
  EXPECT_EQ(app.stateOf("name").text.str(), "a");
  EXPECT_EQ(module->heard, (std::vector<std::string>{">a", "a>ab", "ab>a", "enter"}));
  // The number pad has no letters: nothing of the text is typed.
  app.tap("pin");
  EXPECT_THROW(app.type("12x"), DriverError);
  app.type("12");
  EXPECT_EQ(app.stateOf("pin").text.str(), "12");
  EXPECT_EQ(module->heard.back(), "pin begins");
}

}  // namespace
}  // namespace tmr

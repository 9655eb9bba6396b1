#include <gtest/gtest.h>

#include "app/TivomarshApplication.h"
#include "app/tm_main.h"
#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Runtime.h"
#include "platform/driver/AppDriver.h"
#include "platform/views/HapticLog.h"
#include "views/input/tm_plusminus.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {
namespace {

// The five selectors, as the screen lists them.
const char* const kSelectors[] = {"pmsensitivity", "pmbarks", "pmbarktime", "pmsprayduration", "pmtoneduration"};

struct StartupTest : ::testing::Test {
  AppDriver app{TivomarshApplication()};
  std::shared_ptr<tm_main> main;
  void SetUp() override {
    app.start();
    main = app.mainModule<tm_main>();
    ASSERT_TRUE(main);
  }
  std::string text(std::string_view name) { return app.stateOf(name).text.str(); }
  bool enabled(std::string_view name) { return app.stateOf(name).enabled; }
  bool visible(std::string_view name) { return app.stateOf(name).visible; }
};

TEST_F(StartupTest, SelectorsShowTheirStartValuesWithTheirRangesAndNothingWasRaised) {
  struct Case {
    const char* name;
    const char* text;
    int size;
  };
  const Case cases[] = {{"pmsensitivity", "64", 100},
                        {"pmbarks", "3", 10},
                        {"pmbarktime", "4", 60},
                        {"pmsprayduration", "14", 60},
                        {"pmtoneduration", "1", 10}};
  for (const auto& c : cases) {
    EXPECT_EQ(text(c.name), c.text) << c.name;
    auto pm = app.find(std::string(c.name) + ".plus").Parent().Tag().As<tm_plusminus>();
    ASSERT_TRUE(pm) << c.name;
    EXPECT_EQ(pm->size, c.size) << c.name;
    EXPECT_EQ(pm->lblplus.Text().str(), "+");
    EXPECT_EQ(pm->lblminus.Text().str(), "-");
    EXPECT_EQ(pm->meventname.str(), c.name);
  }
  EXPECT_TRUE(app.logLines().empty());
  EXPECT_TRUE(app.runtime().service<HapticLog>().calls().empty());
}

TEST_F(StartupTest, TheLayoutsViewsAreBoundToTheirFields) {
  EXPECT_EQ(main->btnscan, app.find("btnscan"));
  EXPECT_EQ(main->lblbarktime3.Text().str(), "Bark time (s)");
  EXPECT_EQ(main->ivbark, app.find("ivbark"));
  EXPECT_EQ(main->pmbarks->mainlabel, app.find("pmbarks"));
  EXPECT_EQ(main->navcontrol.TopPage(), main->page1);
  EXPECT_EQ(app.host().window().rootViewController().shared(), main->navcontrol.shared());
  EXPECT_EQ(main->currentstatetext.str(), "POWERED ON") << "the adapter reports its state after start-up";
  EXPECT_EQ(main->barkdata.Length(), 2);
  EXPECT_FALSE(main->founddevices.IsInitialized());
}

TEST_F(StartupTest, TheCodeModulesAreSetUp) {
  auto& rt = app.runtime();
  EXPECT_EQ(main->collections, rt.codeModule<tm_collections>());
  EXPECT_EQ(main->viewsutils, rt.codeModule<tm_viewsutils>());
  EXPECT_EQ(main->dateutils, rt.codeModule<tm_dateutils>());
  EXPECT_EQ(rt.codeModule<tm_viewsutils>()->collections, rt.codeModule<tm_collections>());
}

TEST_F(StartupTest, TheStartScreenOffersOnlyScan) {
  EXPECT_TRUE(visible("btnscan"));
  EXPECT_TRUE(enabled("btnscan"));
  EXPECT_FALSE(visible("btndisconnected"));
  EXPECT_FALSE(enabled("btndisconnected"));
  EXPECT_FALSE(visible("btnconnected"));
  EXPECT_FALSE(enabled("btnconnected"));
  EXPECT_FALSE(enabled("btnspray"));
  EXPECT_FALSE(enabled("btntone"));
  for (const char* pm : kSelectors) {
    EXPECT_FALSE(enabled(std::string(pm) + ".plus")) << pm;
    EXPECT_FALSE(enabled(std::string(pm) + ".minus")) << pm;
  }
}

TEST_F(StartupTest, ArrowsTakeNoTouchBeforeADeviceIsConnected) {
  for (const char* pm : kSelectors) {
    app.press(std::string(pm) + ".plus");
    app.wait(1500);
    app.release();
    app.tap(std::string(pm) + ".minus");
  }
  EXPECT_EQ(text("pmsensitivity"), "64");
  EXPECT_EQ(text("pmbarks"), "3");
  EXPECT_EQ(text("pmtoneduration"), "1");
  EXPECT_TRUE(app.runtime().service<HapticLog>().calls().empty()) << "no touch reached an arrow";
}

TEST_F(StartupTest, SetStateSwitchesTheScreenAndBackLeavingTheIndicatorAlone) {
  main->btndisconnected.setVisible(true);  // as scanning leaves it
  // The connected screen and the idle screen are mirror images of each other.
  auto expectScreen = [&](bool connected) {
    EXPECT_EQ(visible("btnscan"), !connected);
    EXPECT_EQ(enabled("btnscan"), !connected);
    EXPECT_EQ(visible("btnconnected"), connected);
    EXPECT_EQ(enabled("btnconnected"), connected);
    EXPECT_EQ(enabled("btnspray"), connected);
    EXPECT_EQ(enabled("btntone"), connected);
    for (const char* pm : kSelectors) {
      EXPECT_EQ(enabled(std::string(pm) + ".plus"), connected) << pm;
      // The minus arrow of a selector at the start of its range (1 for all of them) does not act.
      EXPECT_EQ(enabled(std::string(pm) + ".minus"), connected && text(pm) != "1") << pm;
    }
  };
  main->_setstate(true);
  expectScreen(true);
  main->_setstate(false);
  expectScreen(false);
  EXPECT_TRUE(visible("btndisconnected")) << "the indicator is not the state switch's";
}

TEST_F(StartupTest, WhenConnectedTheArrowsStepWithAHapticTapAndAHeldArrowStopsAtDisconnect) {
  main->_setstate(true);
  app.tap("pmbarks.plus");
  EXPECT_EQ(text("pmbarks"), "4");
  EXPECT_EQ(app.runtime().service<HapticLog>().count("impactOccurred"), 1);
  app.press("pmsensitivity.minus");
  app.wait(1060);
  EXPECT_EQ(text("pmsensitivity"), "60");
  main->_setstate(false);  // the device went away while the arrow was held
  app.wait(1000);
  EXPECT_EQ(text("pmsensitivity"), "60");
  app.release();
}

}  // namespace
}  // namespace tmr

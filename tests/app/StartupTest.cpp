#include <gtest/gtest.h>

#include "app/TivomarshApplication.h"
#include "app/tm_main.h"
#include "platform/core/Runtime.h"
#include "platform/testing/AppDriver.h"
#include "views/input/tm_plusminus.h"

namespace tmr {
namespace {

struct StartupTest : ::testing::Test {
  AppDriver app{TivomarshApplication()};
  std::shared_ptr<tm_main> main;
  void SetUp() override {
    app.start();
    main = app.mainModule<tm_main>();
    ASSERT_TRUE(main);
  }
  std::string text(std::string_view name) { return app.stateOf(name).text.str(); }
};

TEST_F(StartupTest, SelectorsShowTheirStartValuesAndNothingWasRaised) {
  EXPECT_EQ(text("pmsensitivity"), "64");
  EXPECT_EQ(text("pmbarks"), "3");
  EXPECT_EQ(text("pmbarktime"), "4");
  EXPECT_EQ(text("pmsprayduration"), "14");
  EXPECT_EQ(text("pmtoneduration"), "1");
  EXPECT_TRUE(app.logLines().empty());
}

}  // namespace
}  // namespace tmr

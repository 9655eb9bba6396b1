// The bytes exchanged with a connected device: a command per change, spray and tone, and the
// status the device notifies, shown in the five selectors without being echoed back.
#include <gtest/gtest.h>

#include "tests/app/RemoteFixture.h"

namespace tmr {
namespace {

struct ProtocolTest : RemoteFixture {
  std::shared_ptr<SimulatedDevice> d;
  void SetUp() override {
    RemoteFixture::SetUp();
    d = device("Tivomarsh-A", "D1");
    connect("Tivomarsh-A");
    writes();
  }
  // The device notifies bytes; they arrive one link latency later.
  void notify(const Bytes& bytes) {
    ASSERT_TRUE(d->notify(bytes));
    app.wait(radio.timings().linkMs);
  }
};

TEST_F(ProtocolTest, RaisingBarksFromTwoToThreeWritesOneThree) {
  notify({64, 2, 4, 14, 1});
  ASSERT_EQ(text("pmbarks"), "2");
  app.tap("pmbarks.plus");
  app.wait(20);
  EXPECT_EQ(writes(), (std::vector<Bytes>{{1, 3}}));
  EXPECT_EQ(d->firmware().status()[1], 3);
  EXPECT_EQ(text("pmbarks"), "3");
}

TEST_F(ProtocolTest, EachSelectorWritesItsCodeAndItsNewValue) {
  struct Case {
    const char* arrow;
    Bytes command;
  } const cases[] = {{"pmsensitivity.plus", {0, 65}}, {"pmbarks.minus", {1, 2}},
                     {"pmbarktime.plus", {2, 5}},     {"pmsprayduration.minus", {3, 13}},
                     {"pmtoneduration.plus", {4, 2}}, {"pmtoneduration.minus", {4, 1}}};
  for (const auto& c : cases) {
    app.tap(c.arrow);
    app.wait(20);
    EXPECT_EQ(writes(), std::vector<Bytes>{c.command}) << c.arrow;
  }
  EXPECT_EQ(d->firmware().status(), (TivomarshFirmware::Status{65, 2, 5, 13, 1}));
}

TEST_F(ProtocolTest, SprayAndToneWriteTheirCommands) {
  app.tap("btnspray");
  app.tap("btntone");
  app.tap("btnspray");
  app.wait(20);
  EXPECT_EQ(writes(), (std::vector<Bytes>{{5, 0}, {6, 0}, {5, 0}}));
  EXPECT_EQ(d->firmware().sprays(), 2);
  EXPECT_EQ(d->firmware().tones(), 1);
}

TEST_F(ProtocolTest, AHeldArrowWritesOneCommandPerStep) {
  app.press("pmsensitivity.plus");
  app.wait(1100);  // steps at 0, 1000, 1030, 1060 and 1090 ms
  app.release();
  app.wait(20);
  EXPECT_EQ(writes(), (std::vector<Bytes>{{0, 65}, {0, 66}, {0, 67}, {0, 68}, {0, 69}}));
  EXPECT_EQ(text("pmsensitivity"), "69");
}

TEST_F(ProtocolTest, AStatusIsShownInTheSelectorsAndNothingIsWritten) {
  struct Case {
    const char* what;
    Bytes status;
    std::vector<std::string> shown;
  } const cases[] = {
      {"the defaults", {0x40, 0x03, 0x04, 0x0E, 0x01}, {"64", "3", "4", "14", "1"}},
      {"other settings", {0x0A, 0x02, 0x1E, 0x05, 0x07}, {"10", "2", "30", "5", "7"}},
      {"bytes outside the ranges show the nearest end", {0x00, 0xC8, 0x3D, 0xFF, 0x00}, {"1", "10", "60", "60", "1"}},
      {"bytes after the fifth are not read", {0x0A, 0x02, 0x1E, 0x05, 0x07, 0x09, 0x00}, {"10", "2", "30", "5", "7"}},
  };
  for (const auto& c : cases) {
    notify({1, 1, 1, 1, 1});
    notify(c.status);
    EXPECT_EQ(settings(), c.shown) << c.what;
  }
  EXPECT_TRUE(writes().empty()) << "a shown status is never echoed";
}

TEST_F(ProtocolTest, AShortStatusIsAppliedAsFarAsItGoes) {
  const std::vector<std::string> before{"11", "2", "33", "44", "5"};
  struct Case {
    Bytes status;
    std::vector<std::string> shown;
  } const cases[] = {
      {{}, before},
      {{0x07}, {"7", "2", "33", "44", "5"}},
      {{0x07, 0x08}, {"7", "8", "33", "44", "5"}},
      {{0x07, 0x08, 0x09}, {"7", "8", "9", "44", "5"}},
      {{0x07, 0x08, 0x09, 0x0A}, {"7", "8", "9", "10", "5"}},
  };
  for (const auto& c : cases) {
    notify({11, 2, 33, 44, 5});
    ASSERT_EQ(settings(), before);
    notify(c.status);
    EXPECT_EQ(settings(), c.shown) << c.status.size() << " bytes";
  }
  EXPECT_TRUE(app.logLines().empty());
}

}  // namespace
}  // namespace tmr

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "app/TivomarshApplication.h"
#include "platform/testing/AppDriver.h"
#include "platform/testing/ScenarioRunner.h"

namespace tmr {
namespace {

struct Run {
  int code;
  std::string transcript;
};

Run RunScenario(const std::string& text) {
  std::ostringstream out;
  ScenarioRunner runner(TivomarshApplication(), out, AppDriver::DefaultAssetsDirectory());
  int code = runner.run(text, "test.scenario");
  return {code, out.str()};
}

bool Has(const Run& r, const std::string& s) { return r.transcript.find(s) != std::string::npos; }

TEST(ScenarioTest, ExpectationsThatHoldPass) {
  auto r = RunScenario("expect pmbarks text \"3\"\nexpect btnspray enabled false\ntap btnspray\nstate\n");
  EXPECT_EQ(r.code, ScenarioRunner::kPassed) << r.transcript;
  EXPECT_TRUE(Has(r, "btnspray is disabled: the touch went to")) << r.transcript;
  EXPECT_TRUE(Has(r, "  pmbarks.plus visible=true enabled=false\n")) << r.transcript;
  EXPECT_TRUE(Has(r, "passed: 2 expectations held, 4 commands")) << r.transcript;
}

TEST(ScenarioTest, TheFirstFailedExpectationEndsTheRunWithOne) {
  auto r = RunScenario("expect pmbarks text \"3\"\n\nexpect pmbarks text \"4\"\nexpect btnscan visible false\n");
  EXPECT_EQ(r.code, ScenarioRunner::kFailed);
  EXPECT_TRUE(Has(r, "FAILED at line 3: expected pmbarks text \"4\", found \"3\"")) << r.transcript;
  EXPECT_FALSE(Has(r, "line 4")) << r.transcript;
}

TEST(ScenarioTest, MalformedScenariosEndWithTwoBeforeAnythingRuns) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"tap btnscan\nhop", "malformed scenario: line 2: unknown command hop"},
      {"tap btnscan\ntap btnsacn", "malformed scenario: line 2: no view named btnsacn on the screen"},
      {"expect pmbarks.up text \"1\"", "malformed scenario: line 1: no view named pmbarks.up on the screen"},
      {"release btnscan", "malformed scenario: line 1: release btnscan without a press of it"},
      {"press btnscan\ntap btntone", "malformed scenario: line 2: btnscan is still pressed"},
  };
  for (const auto& c : cases) {
    auto r = RunScenario(c.text);
    EXPECT_EQ(r.code, ScenarioRunner::kMalformed) << c.text;
    EXPECT_TRUE(Has(r, c.message)) << r.transcript;
  }
}

TEST(ScenarioTest, ScreenshotsAreWrittenWhereAsked) {
  auto file = std::filesystem::temp_directory_path() / ("tmr-scenario-shots-" + std::to_string(::getpid())) / "start.png";
  std::filesystem::remove_all(file.parent_path());
  auto r = RunScenario("screenshot " + file.string());
  EXPECT_EQ(r.code, ScenarioRunner::kPassed) << r.transcript;
  EXPECT_TRUE(std::filesystem::exists(file));
  std::filesystem::remove_all(file.parent_path());
}

TEST(ScenarioTest, TheDemoScenarioPasses) {
  auto dir = std::filesystem::temp_directory_path() / ("tmr-demo-run-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto here = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  std::ostringstream out;
  int code = ScenarioRunner(TivomarshApplication(), out, AppDriver::DefaultAssetsDirectory())
                 .runFile(AppDriver::DefaultAssetsDirectory() / "scenarios" / "demo.scenario");
  std::filesystem::current_path(here);
  EXPECT_EQ(code, ScenarioRunner::kPassed) << out.str();
  EXPECT_TRUE(std::filesystem::exists(dir / "screens" / "start.png"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tmr

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/TivomarshApplication.h"
#include "platform/driver/AppDriver.h"
#include "platform/driver/ScenarioRunner.h"
#include "platform/program/CommandLine.h"

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

TEST(ScenarioTest, KeysWithoutAFocusedTextFieldFailTheRun) {
  for (const char* keys : {"type \"abc\"", "delete", "enter"}) {
    auto r = RunScenario(std::string("tap btnscan\n") + keys + "\nstate\n");
    EXPECT_EQ(r.code, ScenarioRunner::kFailed) << r.transcript;
    EXPECT_TRUE(Has(r, "FAILED at line 2: cannot ")) << r.transcript;
    EXPECT_TRUE(Has(r, "No text field has the focus")) << r.transcript;
    EXPECT_FALSE(Has(r, "line 3")) << r.transcript;
  }
}

TEST(ScenarioTest, TheRadioCommandsDriveTheDevicesAndCheckWhatTheyReceived) {
  auto r = RunScenario(
      "device \"Tivomarsh-A\" D1 status 0A 02 1E 05 07\n"
      "device \"\" D2\n"
      "notify D1 01\n"
      "drop D1\n"
      "expect-sheet none\n"
      "tap btnscan\nwait 5000\n"
      "expect-sheet \"Tivomarsh-A\"\n"
      "state\n"
      "pick \"Tivomarsh-A\"\nwait 100\n"
      "expect-writes 07 00\n"
      "expect pmbarktime text \"30\"\n"
      "tap pmbarks.plus\ntap btnspray\nwait 10\n"
      "expect-writes 01 03, 05 00\n"
      "expect-device D1 status 0A 03 1E 05 07\n"
      "notify D1 40 03 04 0E 01\nwait 5\n"
      "expect pmsensitivity text \"64\"\n"
      "expect-writes none\n"
      "drop D1\nwait 10\n"
      "expect btnscan visible true\n"
      "fail D1\ntap btnscan\nwait 5000\npick \"Tivomarsh-A\"\nwait 100\n"
      "expect btnspray enabled false\n"
      "adapter off\ntap btnscan\nwait 5000\n"
      "expect-sheet none\n");
  EXPECT_EQ(r.code, ScenarioRunner::kPassed) << r.transcript;
  EXPECT_TRUE(Has(r, "  D1 sent nothing: it is not connected with notifications on\n")) << r.transcript;
  EXPECT_TRUE(Has(r, "  D1 is not connected: nothing to drop\n")) << r.transcript;
  EXPECT_TRUE(Has(r, "  action sheet: \"Tivomarsh-A\" (cancel \"Cancel\")\n")) << r.transcript;
  EXPECT_TRUE(Has(r, "  log: No Tivomarsh device found\n")) << r.transcript;
}

TEST(ScenarioTest, RadioExpectationsThatDoNotHoldSayWhatWasFound) {
  const std::string connected = "device \"Tivomarsh-A\" D1\ntap btnscan\nwait 5000\n";
  std::string sprays;
  for (int i = 0; i < 300; ++i) sprays += "tap btnspray\n";
  struct Case {
    std::string text;
    const char* message;
  } const cases[] = {
      {"pick \"Tivomarsh-A\"", "FAILED at line 1: cannot pick \"Tivomarsh-A\": no action sheet is shown"},
      {connected + "pick \"Tivomarsh-B\"",
       "FAILED at line 4: cannot pick \"Tivomarsh-B\": the action sheet has no button \"Tivomarsh-B\" (it shows "
       "\"Tivomarsh-A\", \"Cancel\")"},
      {connected + "expect-sheet \"Tivomarsh-A\" \"Tivomarsh-B\"",
       "FAILED at line 4: expected a sheet with \"Tivomarsh-A\" \"Tivomarsh-B\", found a sheet with \"Tivomarsh-A\""},
      {connected + "expect-sheet none", "FAILED at line 4: expected no sheet, found a sheet with \"Tivomarsh-A\""},
      {connected + "pick \"Tivomarsh-A\"\nwait 100\nexpect-writes 07 00, 07 00",
       "FAILED at line 6: expected the writes 07 00, 07 00, found 07 00"},
      {connected + "expect-writes 07 00", "FAILED at line 4: expected the writes 07 00, found none"},
      {connected + "pick \"Tivomarsh-A\"\nwait 100\n" + sprays + "wait 10\nexpect-writes 07 00",
       "FAILED at line 307: more writes than the radio keeps (256) came since the last check: 45 were not kept"},
      {connected + "expect-device D1 status 40 03 04 0E 02",
       "FAILED at line 4: expected D1 status 40 03 04 0E 02, found 40 03 04 0E 01"},
  };
  for (const auto& c : cases) {
    auto r = RunScenario(c.text);
    EXPECT_EQ(r.code, ScenarioRunner::kFailed) << c.text;
    EXPECT_TRUE(Has(r, c.message)) << r.transcript;
  }
}

TEST(ScenarioTest, TheRunnerFollowsTouchesTheApplicationCancelledAndArrowsThatCannotAct) {
  auto r = RunScenario(
      "device \"Tivomarsh-A\" D1 status 0A 08 1E 05 07\n"
      "tap btnscan\nwait 5000\npick \"Tivomarsh-A\"\nwait 100\n"
      "notify D1\nwait 10\n"  // an empty notification changes nothing
      "expect pmbarks text \"8\"\n"
      // Held to the end of the range: the arrow stops acting and the touch on it is cancelled.
      "press pmbarks.plus\nwait 1100\n"
      "expect pmbarks text \"10\"\nexpect pmbarks.plus enabled false\nexpect pmbarks.minus enabled true\n"
      "release pmbarks.plus\n"
      // The link lost while an arrow is held: the arrows are disabled, the touch cancelled.
      "press pmbarks.minus\ndrop D1\nwait 10\n"
      "tap btnscan\n");
  EXPECT_EQ(r.code, ScenarioRunner::kPassed) << r.transcript;
  EXPECT_TRUE(Has(r, "line 14: release pmbarks.plus\n  the press had already ended")) << r.transcript;
  EXPECT_FALSE(Has(r, "sent nothing")) << r.transcript;
}

// Runs the program's command line with its standard output and error captured, in the folder
// given (when one is), and with $TMR_ASSETS_DIR set to the value given (unset otherwise).
struct CommandRun {
  int code;
  std::string out, err;
};
CommandRun RunCommandLine(std::vector<std::string> args, const std::filesystem::path& folder = {},
                          const std::string& assetsVariable = {}) {
  std::ostringstream out, err;
  auto* oldOut = std::cout.rdbuf(out.rdbuf());
  auto* oldErr = std::cerr.rdbuf(err.rdbuf());
  auto here = std::filesystem::current_path();
  if (!folder.empty()) std::filesystem::current_path(folder);
  if (!assetsVariable.empty()) ::setenv("TMR_ASSETS_DIR", assetsVariable.c_str(), 1);
  std::string program = "tivomarsh-remote";
  std::vector<char*> argv{program.data()};
  for (auto& a : args) argv.push_back(a.data());
  int code = RunFromCommandLine(static_cast<int>(argv.size()), argv.data(), TivomarshApplication());
  ::unsetenv("TMR_ASSETS_DIR");
  std::filesystem::current_path(here);
  std::cout.rdbuf(oldOut);
  std::cerr.rdbuf(oldErr);
  return {code, out.str(), err.str()};
}

TEST(ScenarioTest, TheCommandLineHelpsAndReportsErrorsOnStandardError) {
  auto help = RunCommandLine({"--help"});
  EXPECT_EQ(help.code, 0);
  for (const char* shown : {"--scenario FILE", "--assets DIR", "--version", "--help", "expect-sheet TITLE",
                            "notify ID HEX", "5  a screenshot cannot be written"})
    EXPECT_NE(help.out.find(shown), std::string::npos) << shown << " in\n" << help.out;

  const auto dir = std::filesystem::temp_directory_path() / ("tmr-command-line-" + std::to_string(::getpid()));
  const std::string assets = AppDriver::DefaultAssetsDirectory().string();
  std::filesystem::create_directories(dir / "broken" / "layouts");
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir / name) << text;
    return (dir / name).string();
  };
  write("broken/layouts/tivomarshApple.layout", "{\"Variants\": [");
  // Where the demo would make its screens/ folder, a file: the folder cannot be made.
  write("screens", "");
  const std::string demo = (AppDriver::DefaultAssetsDirectory() / "scenarios" / "demo.scenario").string();
  const std::string usage = "\nusage: tivomarsh-remote [--scenario FILE]";
  auto scenario = [&](const std::string& file) {
    return std::vector<std::string>{"--scenario", file, "--assets", assets};
  };
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string error;  // how standard error begins; "" for nothing on it at all
    std::string assetsVariable = {};
  } const cases[] = {
      {scenario(dir.string()), ScenarioRunner::kMalformed, "scenario " + dir.string() + ": is a directory"},
      {scenario(write("empty.scenario", "")), ScenarioRunner::kMalformed,
       "malformed scenario: " + (dir / "empty.scenario").string() + " has no commands"},
      {scenario(write("comments.scenario", "# nothing to do\n\n")), ScenarioRunner::kMalformed,
       "malformed scenario: " + (dir / "comments.scenario").string() + " has no commands"},
      {scenario(write("bad.scenario", "hop\n")), ScenarioRunner::kMalformed,
       "malformed scenario: line 1: unknown command hop"},
      {scenario(write("failing.scenario", "expect btnscan visible false\n")), ScenarioRunner::kFailed,
       "FAILED at line 1"},
      // As some editors save it: with a byte-order mark.
      {scenario(write("marked.scenario",
                      "\xEF\xBB\xBF"
                      "expect btnscan visible true\n")),
       ScenarioRunner::kPassed, ""},
      // The word not understood, then the usage.
      {{"--bogus"}, ScenarioRunner::kMalformed, "tivomarsh-remote: unknown option --bogus" + usage},
      {{"demo.scenario"}, ScenarioRunner::kMalformed, "tivomarsh-remote: unexpected argument demo.scenario" + usage},
      {{"--assets", assets, "--scenario"},
       ScenarioRunner::kMalformed,
       "tivomarsh-remote: --scenario takes a file" + usage},
      {{"--scenario", ""}, ScenarioRunner::kMalformed, "tivomarsh-remote: --scenario takes a file" + usage},
      {{"--assets"}, ScenarioRunner::kMalformed, "tivomarsh-remote: --assets takes a folder" + usage},
      {{"--radio"}, ScenarioRunner::kMalformed, "tivomarsh-remote: --radio takes system or simulated" + usage},
      {{"--scenario", demo},
       ScenarioRunner::kMalformed,
       "tivomarsh-remote: no assets (a folder holding layouts/) in " + (dir / "nowhere").string() +
           " (named by TMR_ASSETS_DIR); set TMR_ASSETS_DIR to the folder that holds layouts/, unset it",
       (dir / "nowhere").string()},
      {{"--scenario", demo, "--assets", (dir / "broken").string()},
       ScenarioRunner::kLayoutError,
       "FAILED: a layout cannot be loaded: tivomarshApple.layout: not valid JSON"},
      // The demo run from a folder where it cannot write its screenshots.
      {scenario(demo), ScenarioRunner::kScreenshotError,
       "FAILED at line 10: cannot write the screenshot screens/1-start.png: cannot make the folder " +
           (dir / "screens").string() + " ("},
      {scenario(write("into-folder.scenario", "# a folder where the picture would go\nscreenshot broken\n")),
       ScenarioRunner::kScreenshotError,
       "FAILED at line 2: cannot write the screenshot broken: cannot write in the folder " + dir.string() +
           " (Is a directory)"},
  };
  for (const auto& c : cases) {
    auto r = RunCommandLine(c.args, dir, c.assetsVariable);
    const std::string shown = ::testing::PrintToString(c.args);
    EXPECT_EQ(r.code, c.code) << shown << ": " << r.err;
    if (c.error.empty()) {
      EXPECT_EQ(r.err, "") << shown;
    } else {
      EXPECT_EQ(r.err.substr(0, c.error.size()), c.error) << shown;
      EXPECT_EQ(r.out.find(c.error), std::string::npos) << "the transcript holds no errors: " << r.out;
    }
  }
  EXPECT_NE(RunCommandLine(scenario((dir / "failing.scenario").string())).out.find("line 1: expect btnscan"),
            std::string::npos)
      << "the transcript stays on standard output";
  std::filesystem::remove_all(dir);
}

TEST(ScenarioTest, ScreenshotsAreWrittenWhereThePathLeads) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("tmr-scenario-shots-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "run");
  fs::create_directories(dir / "deep" / "er");
  fs::create_directory_symlink(dir / "deep" / "er", dir / "run" / "link");
  struct Case {
    std::string path;  // as the scenario names it, from dir/run
    fs::path lands;    // where the picture must be
    fs::path notMade;  // a folder the write must not leave behind ("" for none)
  } const cases[] = {
      {(dir / "new" / "start.png").string(), dir / "new" / "start.png", {}},
      {"shot.png", dir / "run" / "shot.png", {}},
      {"a/../through-missing.png", dir / "run" / "through-missing.png", dir / "run" / "a"},
      {"a/b/../../c/./twice.png", dir / "run" / "c" / "twice.png", dir / "run" / "a"},
      {"../up.png", dir / "up.png", {}},
      // As the system reads it: ".." after a link is the parent of the link's target.
      {"link/../through-link.png", dir / "deep" / "through-link.png", {}},
  };
  const fs::path here = fs::current_path();
  fs::current_path(dir / "run");
  for (const auto& c : cases) {
    auto r = RunScenario("screenshot " + c.path);
    EXPECT_EQ(r.code, ScenarioRunner::kPassed) << c.path << ": " << r.transcript;
    EXPECT_TRUE(fs::is_regular_file(c.lands)) << c.path << " should land in " << c.lands;
    if (!c.notMade.empty()) {
      EXPECT_FALSE(fs::exists(c.notMade)) << c.path;
    }
  }
  fs::current_path(here);
  fs::remove_all(dir);
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
  for (const char* shot :
       {"1-start.png", "2-scanning.png", "3-list.png", "4-connected.png", "5-changed.png", "6-disconnected.png"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / "screens" / shot)) << shot;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tmr

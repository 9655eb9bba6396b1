#pragma once
// Runs a scenario against the application on the virtual clock and writes a readable transcript.
// The result is 0 when every expectation held, 1 at the first that did not (naming the line,
// what was expected and what was found; a pick that the shown action sheet cannot serve counts
// as such), 2 when the scenario is malformed (naming the line and why: a wrong command, an
// unknown view or device, a release without its press, no command at all) or the file cannot be
// read, 4 when a layout cannot be loaded (naming the file), 5 when a screenshot cannot be written
// (naming the line, the file and the folder it would go in). Any other error raised by the
// application itself ends the run as a failure (1). A press that the application cancels has
// ended: a release of it then lifts nothing. On the system radio the run uses the real clock (a
// "wait" lets that much real time pass while the radio's answers are handled) and the commands
// that steer simulated devices are malformed. A scenario's relative screenshot files are relative
// to the folder the program runs in, as any path on its command line.
#include <filesystem>
#include <iosfwd>
#include <string_view>

#include "platform/app/ApplicationClasses.h"
#include "platform/ble/RadioOption.h"

namespace tmr {

class ScenarioRunner {
 public:
  static constexpr int kPassed = 0;
  static constexpr int kFailed = 1;
  static constexpr int kMalformed = 2;
  static constexpr int kLayoutError = 4;
  static constexpr int kScreenshotError = 5;

  // The transcript goes to out; errors (a malformed or unreadable scenario, a failed expectation)
  // go to err.
  ScenarioRunner(ApplicationClasses classes, std::ostream& out, std::ostream& err, std::filesystem::path assets);
  // Transcript and errors both to out.
  ScenarioRunner(ApplicationClasses classes, std::ostream& out, std::filesystem::path assets);

  // The radio the application works over (RadioOption::Apply); simulated unless set.
  void useRadio(RadioOption::Kind radio) { radio_ = radio; }

  int runFile(const std::filesystem::path& file);
  int run(std::string_view text, std::string_view sourceName);

 private:
  int runChecked(std::string_view text, std::string_view sourceName);

  ApplicationClasses classes_;
  std::ostream& out_;
  std::ostream& err_;
  std::filesystem::path assets_;
  RadioOption::Kind radio_ = RadioOption::Kind::Simulated;
};

}  // namespace tmr

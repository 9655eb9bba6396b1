#include "platform/testing/CommandLine.h"

#include <iostream>
#include <string>

#include "platform/ble/RadioOption.h"
#include "platform/testing/AssetsSearch.h"
#include "platform/testing/ProgramInfo.h"
#include "platform/testing/Scenario.h"
#include "platform/testing/ScenarioRunner.h"

namespace tmr {

int RunFromCommandLine(int argc, char** argv, ApplicationClasses classes) {
  std::string scenario;
  std::filesystem::path assets;
  RadioOption::Kind radio = RadioOption::Kind::Simulated;
  const std::string program = argc > 0 ? argv[0] : "tivomarsh-remote";
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--version") {
      std::cout << program_info::kName << " " << program_info::kVersion << "\n";
      return 0;
    }
    if (arg == "--help" || arg == "-h") {
      std::cout << "usage: " << program << " --scenario FILE [--assets DIR] [--radio system|simulated] | --version | --help\n"
                << "Runs the application on a virtual clock against simulated devices, driven by a scenario.\n"
                << "  --scenario FILE  the scenario to run (commands below)\n"
                << "  --radio NAME     simulated (the default) or system: the system's Bluetooth service and\n"
                << "                   real devices, on the real clock (the device commands are refused)\n"
                << "  --assets DIR     the folder of layouts and images (default: $TMR_ASSETS_DIR, else the\n"
                << "                   installation's data folder, else the source tree's assets)\n"
                << "  --version        prints the program's name and version and exits\n"
                << "  --help           prints this and exits\n"
                << "The transcript goes to standard output, errors to standard error. Exit status: 0 when\n"
                << "every expectation held, 1 at the first that did not, 2 for a malformed scenario or command\n"
                << "line, or no assets.\n"
                << "\nScenario commands, one a line:\n"
                << Scenario::kCommands;
      return 0;
    }
    if ((arg == "--scenario" || arg == "--assets" || arg == "--radio") && i + 1 < argc) {
      std::string value = argv[++i];
      if (arg == "--scenario") {
        scenario = value;
      } else if (arg == "--assets") {
        assets = value;
      } else if (auto kind = RadioOption::Parse(value)) {
        radio = *kind;
      } else {
        std::cerr << program << ": --radio takes system or simulated, not " << value << "\n";
        return ScenarioRunner::kMalformed;
      }
    } else {
      scenario.clear();
      break;
    }
  }
  if (scenario.empty()) {
    std::cerr << "usage: " << program << " --scenario FILE [--assets DIR] [--radio system|simulated] | --version | --help\n";
    return ScenarioRunner::kMalformed;
  }
  AssetsSearch search(assets);
  if (!search.found()) {
    std::cerr << search.failure() << "\n";
    return ScenarioRunner::kMalformed;
  }
  if (auto why = RadioOption::Unavailable(radio)) {
    std::cerr << program << ": " << *why << "\n";
    return ScenarioRunner::kFailed;
  }
  ScenarioRunner runner(std::move(classes), std::cout, std::cerr, *search.found());
  runner.useRadio(radio);
  return runner.runFile(scenario);
}

}  // namespace tmr

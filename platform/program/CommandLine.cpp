#include "platform/program/CommandLine.h"

#include <iostream>
#include <string>

#include "platform/app/DesktopWindowHost.h"
#include "platform/ble/RadioOption.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/core/Runtime.h"
#include "platform/driver/Scenario.h"
#include "platform/driver/ScenarioRunner.h"
#include "platform/program/AssetsSearch.h"
#include "platform/program/ProgramInfo.h"

namespace tmr {

namespace {

// What the simulated radio finds around the window: two Tivomarsh devices with their own
// settings, and a phone that is not offered.
void AddNearbyDevices(Runtime& rt) {
  auto& radio = rt.service<SimulatedRadio>();
  radio.addDevice("Tivomarsh-Garden", "D1")->firmware().setStatus({0x32, 0x05, 0x0A, 0x07, 0x02});
  radio.addDevice("Tivomarsh-Porch", "D2")->firmware().setStatus({0x50, 0x02, 0x14, 0x03, 0x04});
  radio.addDevice("Phone", "P1");
}

}  // namespace

int RunFromCommandLine(int argc, char** argv, ApplicationClasses classes) {
  std::string scenario;
  bool haveScenario = false, malformed = false;
  std::filesystem::path assets;
  RadioOption::Kind radio = RadioOption::Kind::Simulated;
  const std::string program = argc > 0 ? argv[0] : "tivomarsh-remote";
  const std::string usage =
      "usage: " + program + " [--scenario FILE] [--assets DIR] [--radio system|simulated] | --version | --help\n";
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--version") {
      std::cout << program_info::kName << " " << program_info::kVersion << "\n";
      return 0;
    }
    if (arg == "--help" || arg == "-h") {
      std::cout << usage
                << "Without a scenario, opens the remote in a window (the mouse is the finger); with one, runs the\n"
                << "application on a virtual clock against simulated devices, driven by the scenario.\n"
                << "  --scenario FILE  the scenario to run (commands below)\n"
                << "  --radio NAME     simulated (the default) or system: the system's Bluetooth service and\n"
                << "                   real devices, on the real clock (the device commands are refused)\n"
                << "  --assets DIR     the folder of layouts and images (default: $TMR_ASSETS_DIR, else the\n"
                << "                   installation's data folder, else the source tree's assets)\n"
                << "  --version        prints the program's name and version and exits\n"
                << "  --help           prints this and exits\n"
                << "The transcript goes to standard output, errors to standard error. Exit status: 0 when\n"
                << "every expectation held (or the window was closed), 1 at the first that did not, 2 for a\n"
                << "malformed scenario or command line, or no assets, 3 when there is no display for the window.\n"
                << "\nScenario commands, one a line:\n"
                << Scenario::kCommands;
      return 0;
    }
    if ((arg == "--scenario" || arg == "--assets" || arg == "--radio") && i + 1 < argc) {
      std::string value = argv[++i];
      if (arg == "--scenario") {
        scenario = value;
        haveScenario = true;
      } else if (arg == "--assets") {
        assets = value;
      } else if (auto kind = RadioOption::Parse(value)) {
        radio = *kind;
      } else {
        std::cerr << program << ": --radio takes system or simulated, not " << value << "\n";
        return ScenarioRunner::kMalformed;
      }
    } else {
      malformed = true;
      break;
    }
  }
  if (malformed || (haveScenario && scenario.empty())) {
    std::cerr << usage;
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
  if (!haveScenario) {
    auto prepare = [radio](Runtime& rt) {
      RadioOption::Apply(rt, radio);
      if (radio == RadioOption::Kind::Simulated) AddNearbyDevices(rt);
    };
    return DesktopWindowHost(std::move(classes), *search.found(), prepare).run(std::cerr);
  }
  ScenarioRunner runner(std::move(classes), std::cout, std::cerr, *search.found());
  runner.useRadio(radio);
  return runner.runFile(scenario);
}

}  // namespace tmr

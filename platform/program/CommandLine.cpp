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

// What the program's exit status means, whichever host ran (README lists the same).
constexpr const char* kExitCodes =
    "  0  every expectation held, or the window was closed (or its display went away)\n"
    "  1  an expectation did not hold, the application stopped with an error, the display refused a\n"
    "     request, or the radio is out of reach\n"
    "  2  a malformed command line, a scenario that is malformed or cannot be read, or no assets\n"
    "  3  no display to open the window on\n"
    "  4  a layout cannot be loaded\n"
    "  5  a screenshot cannot be written\n";

}  // namespace

int RunFromCommandLine(int argc, char** argv, ApplicationClasses classes) {
  std::string scenario;
  bool haveScenario = false;
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
                << "The transcript goes to standard output, errors to standard error.\n"
                << "Exit status:\n"
                << kExitCodes << "\nScenario commands, one a line:\n"
                << Scenario::kCommands;
      return 0;
    }
    const char* takes = nullptr;
    if (arg == "--scenario") {
      takes = "a file";
    } else if (arg == "--assets") {
      takes = "a folder";
    } else if (arg == "--radio") {
      takes = "system or simulated";
    } else {
      // Named first, so that the person sees at once which word was not understood.
      std::cerr << program << ": " << (arg.starts_with("-") ? "unknown option " : "unexpected argument ") << arg << "\n"
                << usage;
      return ScenarioRunner::kMalformed;
    }
    if (i + 1 >= argc || !*argv[i + 1]) {
      std::cerr << program << ": " << arg << " takes " << takes << "\n" << usage;
      return ScenarioRunner::kMalformed;
    }
    std::string given = argv[++i];
    if (arg == "--scenario") {
      scenario = given;
      haveScenario = true;
    } else if (arg == "--assets") {
      assets = given;
    } else if (auto kind = RadioOption::Parse(given)) {
      radio = *kind;
    } else {
      std::cerr << program << ": --radio takes system or simulated, not " << given << "\n";
      return ScenarioRunner::kMalformed;
    }
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

#include "platform/testing/CommandLine.h"

#include <iostream>
#include <string>

#include "platform/testing/AssetsSearch.h"
#include "platform/testing/ProgramInfo.h"
#include "platform/testing/ScenarioRunner.h"

namespace tmr {

int RunFromCommandLine(int argc, char** argv, ApplicationClasses classes) {
  std::string scenario;
  std::filesystem::path assets;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--version") {
      std::cout << program_info::kName << " " << program_info::kVersion << "\n";
      return 0;
    }
    if ((arg == "--scenario" || arg == "--assets") && i + 1 < argc) {
      if (arg == "--scenario") {
        scenario = argv[++i];
      } else {
        assets = argv[++i];
      }
    } else {
      scenario.clear();
      break;
    }
  }
  if (scenario.empty()) {
    std::cerr << "usage: " << (argc > 0 ? argv[0] : "tivomarsh-remote")
              << " --scenario FILE [--assets DIR] | --version\n";
    return ScenarioRunner::kMalformed;
  }
  AssetsSearch search(assets);
  if (!search.found()) {
    std::cerr << search.failure() << "\n";
    return ScenarioRunner::kMalformed;
  }
  return ScenarioRunner(std::move(classes), std::cout, *search.found()).runFile(scenario);
}

}  // namespace tmr

#pragma once
// The program's command line: "--scenario FILE" runs the application on the virtual clock and
// drives it from the scenario (see ScenarioRunner); "--assets DIR" reads layouts and images from
// DIR instead of the folder AssetsSearch finds; "--version" prints the program's version. Returns
// the process's exit code.
#include "platform/app/ApplicationClasses.h"

namespace tmr {

int RunFromCommandLine(int argc, char** argv, ApplicationClasses classes);

}  // namespace tmr

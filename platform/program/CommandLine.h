#pragma once
// The program's command line: "--scenario FILE" runs the application on the virtual clock and
// drives it from the scenario (see ScenarioRunner); "--assets DIR" reads layouts and images from
// DIR instead of the folder AssetsSearch finds; "--radio system|simulated" chooses the radio
// (RadioOption; simulated by default: a radio out of reach is one line on stderr and exit code 1
// before anything runs); "--version" prints the program's version. An unknown option, or an
// option without its value, is named on standard error before the usage (exit code 2). Returns
// the process's exit code (--help lists them).
#include "platform/app/ApplicationClasses.h"

namespace tmr {

int RunFromCommandLine(int argc, char** argv, ApplicationClasses classes);

}  // namespace tmr

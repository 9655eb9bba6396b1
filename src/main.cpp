// The process entry: hands control to the application host with the application's classes.
// tivomarsh-remote --scenario FILE runs the application on the virtual clock, driven by FILE.
#include "app/TivomarshApplication.h"
#include "platform/program/CommandLine.h"

int main(int argc, char** argv) { return tmr::RunFromCommandLine(argc, argv, tmr::TivomarshApplication()); }

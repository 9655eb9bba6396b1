#pragma once
// A scenario: commands that drive the application as a person would, one a line (kCommands).
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tmr {

// A scenario that cannot be run as written: the line and why.
class ScenarioError : public std::runtime_error {
 public:
  ScenarioError(int line, const std::string& why)
      : std::runtime_error("line " + std::to_string(line) + ": " + why), line(line) {}
  int line;
};

struct Scenario {
  // The scenario language, as the command line's --help shows it.
  static constexpr std::string_view kCommands =
      "Blank lines and lines starting with # are skipped; a word in double quotes may hold blanks.\n"
      "  tap VIEW | press VIEW | release VIEW   a finger down and up, down, or up at the view's centre\n"
      "  wait MS                               lets MS milliseconds pass on the virtual clock\n"
      "  expect VIEW text \"TEXT\" | expect VIEW visible|enabled true|false\n"
      "  screenshot FILE | state               the screen as a PNG | every bound view's state\n"
      "The on-screen keyboard, into the text field that has the focus (tap one first):\n"
      "  type \"TEXT\" | delete | enter         each character, the delete key, Return\n"
      "The action sheet:\n"
      "  pick TITLE                            taps the shown sheet's button with that title\n"
      "  expect-sheet TITLE ...                the buttons above its cancel button, in order\n"
      "  expect-sheet none                     no sheet is shown\n"
      "The simulated radio and its devices (HEX: one byte as two hexadecimal digits):\n"
      "  device \"NAME\" ID [status HEX HEX HEX HEX HEX]   a device advertising NAME (\"\" for none)\n"
      "  adapter on|off|unsupported|unauthorized\n"
      "  notify ID HEX ...                     the device notifies these bytes (none: an empty notification)\n"
      "  drop ID | fail ID                     it drops its connection | its next connection fails\n"
      "  expect-writes HEX HEX , HEX HEX ...   the commands the devices received since the last\n"
      "  expect-writes none                    expect-writes, in order, a comma between commands\n"
      "  expect-device ID status HEX HEX HEX HEX HEX   the device's settings\n"
      "An ID must have been declared by an earlier device line. VIEW is a view's name in the layout;\n"
      "SELECTOR.plus and SELECTOR.minus are a selector's arrows.\n";

  struct Word {
    std::string text;
    bool quoted = false;
  };
  struct Command {
    int line = 0;
    std::string verb;
    std::vector<Word> args;
    std::string source;  // the line as written
    // The bytes the command carries, read from its HEX words: the status of device and
    // expect-device, the notification of notify, each command of expect-writes.
    std::vector<std::vector<uint8_t>> bytes;
  };

  // Reads the commands and checks each one's form; a ScenarioError for the first that is wrong.
  static Scenario Parse(std::string_view text);
  // The views the commands name, each with the first line naming it.
  std::vector<std::pair<int, std::string>> viewNames() const;

  std::vector<Command> commands;
};

}  // namespace tmr

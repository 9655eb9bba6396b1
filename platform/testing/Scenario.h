#pragma once
// A scenario: commands that drive the application as a person would, one a line. Blank lines
// and lines starting with "#" are skipped; a word in double quotes may hold blanks.
//   tap VIEW | press VIEW | release VIEW | wait MS
//   expect VIEW text "TEXT" | expect VIEW visible|enabled true|false
//   screenshot FILE | state
// The on-screen keyboard, into the text field that has the focus (tap one first):
//   type "TEXT" | delete | enter   keys pressed: each character, the delete key, Return
// The action sheet:
//   pick TITLE                     taps the shown sheet's button with that title
//   expect-sheet TITLE ...         the buttons above its cancel button, in order
//   expect-sheet none              no sheet is shown
// The simulated radio and its devices (HEX: one byte as two hexadecimal digits):
//   device "NAME" ID [status HEX HEX HEX HEX HEX]   a device advertising NAME ("" for none)
//   adapter on|off|unsupported|unauthorized
//   notify ID HEX ...              the device notifies these bytes as its status
//   drop ID | fail ID              it drops its connection | its next connection fails
//   expect-writes HEX HEX , HEX HEX ...   the commands the devices received since the last
//   expect-writes none                    expect-writes, in order, a comma between commands
//   expect-device ID status HEX HEX HEX HEX HEX   the device's settings
// An ID must have been declared by an earlier device line.
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

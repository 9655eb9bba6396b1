#pragma once
// A scenario: commands that drive the application as a person would, one a line. Blank lines
// and lines starting with "#" are skipped; a word in double quotes may hold blanks.
//   tap VIEW | press VIEW | release VIEW | wait MS
//   expect VIEW text "TEXT" | expect VIEW visible|enabled true|false
//   screenshot FILE | state
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
  };

  // Reads the commands and checks each one's form; a ScenarioError for the first that is wrong.
  static Scenario Parse(std::string_view text);
  // The views the commands name, each with the first line naming it.
  std::vector<std::pair<int, std::string>> viewNames() const;

  std::vector<Command> commands;
};

}  // namespace tmr

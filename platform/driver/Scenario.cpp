#include "platform/driver/Scenario.h"

#include <charconv>
#include <limits>
#include <set>

#include "platform/core/MainLoop.h"

namespace tmr {

namespace {

std::vector<Scenario::Word> Split(std::string_view line, int number) {
  std::vector<Scenario::Word> words;
  size_t i = 0;
  while (i < line.size()) {
    char ch = line[i];
    if (ch == ' ' || ch == '\t' || ch == '\r') {
      ++i;
      continue;
    }
    Scenario::Word w;
    if (ch == '"') {
      size_t end = line.find('"', i + 1);
      if (end == std::string_view::npos) throw ScenarioError(number, "a quoted word is not closed");
      w.text = std::string(line.substr(i + 1, end - i - 1));
      w.quoted = true;
      i = end + 1;
      if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
        throw ScenarioError(number, "a quoted word must be followed by a blank");
    } else {
      size_t end = line.find_first_of(" \t\r", i);
      if (end == std::string_view::npos) end = line.size();
      w.text = std::string(line.substr(i, end - i));
      if (w.text.find('"') != std::string::npos) throw ScenarioError(number, "a quote inside a word");
      i = end;
    }
    words.push_back(std::move(w));
  }
  return words;
}

void Arity(const Scenario::Command& c, size_t n, const char* form) {
  if (c.args.size() != n) throw ScenarioError(c.line, c.verb + " takes " + form);
}

// One byte written as two hexadecimal digits.
uint8_t Hex(const Scenario::Command& c, const Scenario::Word& w) {
  const auto& t = w.text;
  unsigned value = 0;
  auto r = std::from_chars(t.data(), t.data() + t.size(), value, 16);
  if (w.quoted || t.size() != 2 || r.ec != std::errc() || r.ptr != t.data() + t.size())
    throw ScenarioError(c.line, c.verb + ": " + t + " is not a byte in two hexadecimal digits");
  return static_cast<uint8_t>(value);
}

std::vector<uint8_t> HexWords(const Scenario::Command& c, size_t from, size_t to) {
  std::vector<uint8_t> bytes;
  for (size_t i = from; i < to; ++i) bytes.push_back(Hex(c, c.args[i]));
  return bytes;
}

// "status HEX HEX HEX HEX HEX" from args[at].
std::vector<uint8_t> Status(const Scenario::Command& c, size_t at) {
  if (c.args.size() != at + 6 || c.args[at].text != "status" || c.args[at].quoted)
    throw ScenarioError(c.line, c.verb + ": the settings are written as status and five bytes");
  return HexWords(c, at + 1, at + 6);
}

// Groups of bytes with commas between them; a comma may stand alone or touch a byte.
std::vector<std::vector<uint8_t>> Commands(const Scenario::Command& c) {
  std::string text;
  for (const auto& w : c.args) {
    if (w.quoted) throw ScenarioError(c.line, c.verb + ": \"" + w.text + "\" is not a byte in two hexadecimal digits");
    text += w.text + ' ';
  }
  std::vector<std::vector<uint8_t>> groups;
  size_t from = 0;
  while (true) {
    size_t comma = text.find(',', from);
    std::string_view part(text.data() + from, (comma == std::string::npos ? text.size() : comma) - from);
    std::vector<uint8_t> group;
    size_t i = 0;
    while (i < part.size()) {
      size_t end = part.find(' ', i);
      if (end == std::string_view::npos) end = part.size();
      if (end > i) group.push_back(Hex(c, Scenario::Word{std::string(part.substr(i, end - i)), false}));
      i = end + 1;
    }
    if (group.empty()) {
      throw ScenarioError(c.line, std::string("expect-writes: a comma without a command ") +
                                      (comma == std::string::npos ? "after" : "before") + " it");
    }
    groups.push_back(std::move(group));
    if (comma == std::string::npos) return groups;
    from = comma + 1;
  }
}

const std::set<std::string> kAdapterStates{"on", "off", "unsupported", "unauthorized"};

}  // namespace

Scenario Scenario::Parse(std::string_view text) {
  // Some editors start a UTF-8 file with a byte-order mark; it is not part of the first command.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  Scenario s;
  std::set<std::string> devices;
  auto knownDevice = [&devices](const Command& c) {
    if (c.args.empty()) throw ScenarioError(c.line, c.verb + " takes a device id");
    if (!devices.contains(c.args[0].text))
      throw ScenarioError(c.line, "no device " + c.args[0].text + " (declare it with a device line first)");
  };
  int number = 0;
  int64_t waited = 0;  // by the waits so far
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    ++number;
    pos = end + 1;
    auto words = Split(line, number);
    if (words.empty() || (!words[0].quoted && words[0].text[0] == '#')) {
      if (end == text.size()) break;
      continue;
    }
    Command c;
    c.line = number;
    c.source = std::string(line);
    while (!c.source.empty() && (c.source.back() == '\r' || c.source.back() == ' ')) c.source.pop_back();
    c.verb = words[0].text;
    c.args.assign(words.begin() + 1, words.end());
    if (words[0].quoted) throw ScenarioError(number, "a command cannot be quoted");
    if (c.verb == "tap" || c.verb == "press" || c.verb == "release") {
      Arity(c, 1, "one view name");
    } else if (c.verb == "wait") {
      Arity(c, 1, "a number of milliseconds");
      const auto& t = c.args[0].text;
      long long ms = -1;
      auto r = std::from_chars(t.data(), t.data() + t.size(), ms);
      if (r.ec != std::errc() || r.ptr != t.data() + t.size() || ms < 0)
        throw ScenarioError(number, "wait takes a whole number of milliseconds, not " + t);
      // The virtual clock starts at its epoch and must not run past the end of its range.
      if (ms > std::numeric_limits<int64_t>::max() - MainLoop::kVirtualEpoch - waited)
        throw ScenarioError(number, "wait " + t + " would run the clock past its end");
      waited += ms;
    } else if (c.verb == "expect") {
      Arity(c, 3, "a view, a property (text, visible or enabled) and a value");
      const auto& prop = c.args[1].text;
      const auto& value = c.args[2];
      if (prop == "text") {
        if (!value.quoted) throw ScenarioError(number, "the expected text must be in double quotes");
      } else if (prop == "visible" || prop == "enabled") {
        if (value.quoted || (value.text != "true" && value.text != "false"))
          throw ScenarioError(number, "the expected " + prop + " must be true or false");
      } else {
        throw ScenarioError(number, "unknown property " + prop + " (text, visible or enabled)");
      }
    } else if (c.verb == "screenshot") {
      Arity(c, 1, "a file name");
    } else if (c.verb == "state") {
      Arity(c, 0, "nothing");
    } else if (c.verb == "pick") {
      Arity(c, 1, "the title of a button of the action sheet");
    } else if (c.verb == "type") {
      Arity(c, 1, "a text in double quotes");
      if (!c.args[0].quoted) throw ScenarioError(number, "the text to type must be in double quotes");
    } else if (c.verb == "delete" || c.verb == "enter") {
      Arity(c, 0, "nothing");
    } else if (c.verb == "expect-sheet") {
      if (c.args.empty()) throw ScenarioError(number, "expect-sheet takes the titles shown, or none");
      if (c.args.size() > 1 && !c.args[0].quoted && c.args[0].text == "none")
        throw ScenarioError(number, "expect-sheet none takes nothing more");
    } else if (c.verb == "device") {
      if (c.args.size() != 2 && c.args.size() != 8)
        throw ScenarioError(number, "device takes a quoted name, an id and optionally status and five bytes");
      if (!c.args[0].quoted) throw ScenarioError(number, "the device's name must be in double quotes");
      if (!devices.insert(c.args[1].text).second)
        throw ScenarioError(number, "device " + c.args[1].text + " is declared twice");
      if (c.args.size() == 8) c.bytes.push_back(Status(c, 2));
    } else if (c.verb == "adapter") {
      Arity(c, 1, "on, off, unsupported or unauthorized");
      if (c.args[0].quoted || !kAdapterStates.contains(c.args[0].text))
        throw ScenarioError(number,
                            "unknown adapter state " + c.args[0].text + " (on, off, unsupported or unauthorized)");
    } else if (c.verb == "notify") {
      knownDevice(c);  // no bytes after the id: an empty notification
      c.bytes.push_back(HexWords(c, 1, c.args.size()));
    } else if (c.verb == "drop" || c.verb == "fail") {
      Arity(c, 1, "a device id");
      knownDevice(c);
    } else if (c.verb == "expect-writes") {
      if (c.args.empty()) throw ScenarioError(number, "expect-writes takes the commands received, or none");
      if (!(c.args.size() == 1 && !c.args[0].quoted && c.args[0].text == "none")) c.bytes = Commands(c);
    } else if (c.verb == "expect-device") {
      knownDevice(c);
      c.bytes.push_back(Status(c, 1));
    } else {
      throw ScenarioError(number, "unknown command " + c.verb);
    }
    s.commands.push_back(std::move(c));
    if (end == text.size()) break;
  }
  return s;
}

std::vector<std::pair<int, std::string>> Scenario::viewNames() const {
  std::vector<std::pair<int, std::string>> names;
  for (const auto& c : commands) {
    if (c.verb == "tap" || c.verb == "press" || c.verb == "release" || c.verb == "expect")
      names.emplace_back(c.line, c.args[0].text);
  }
  return names;
}

}  // namespace tmr

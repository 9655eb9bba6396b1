#include "platform/testing/Scenario.h"

#include <charconv>

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

}  // namespace

Scenario Scenario::Parse(std::string_view text) {
  Scenario s;
  int number = 0;
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

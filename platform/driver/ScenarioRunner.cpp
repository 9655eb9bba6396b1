#include "platform/driver/ScenarioRunner.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

#include "platform/ble/BleManager.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/core/Bit.h"
#include "platform/core/Runtime.h"
#include "platform/driver/AppDriver.h"
#include "platform/driver/Scenario.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/LayoutError.h"

namespace tmr {

namespace {

std::string Quote(const std::string& s) { return "\"" + s + "\""; }
std::string Bool(bool b) { return b ? "true" : "false"; }

// A view as the transcript names it: by its name, or by the named view it lies in.
std::string Where(const ViewObject& v) {
  std::string type(v.typeName());
  if (!v.name().empty()) return v.name() + " (" + type + ")";
  for (auto p = v.parent(); p; p = p->parent()) {
    if (!p->name().empty()) return "a " + type + " inside " + p->name();
  }
  return "the page's " + type;
}

std::string Describe(const AppDriver::ViewState& s) {
  std::string line = s.name;
  if (s.hasText) line += " text=" + Quote(s.text.str());
  return line + " visible=" + Bool(s.visible) + " enabled=" + Bool(s.enabled);
}

// "01 03, 05 00", or "none".
std::string HexGroups(const std::vector<std::vector<uint8_t>>& groups) {
  if (groups.empty()) return "none";
  std::string s;
  for (const auto& g : groups) {
    if (!s.empty()) s += ", ";
    for (size_t i = 0; i < g.size(); ++i) {
      if (i > 0) s += ' ';
      s += ByteConverter::HexFromBytes(std::span(&g[i], 1)).str();
    }
  }
  return s;
}

std::string Titles(const std::vector<std::string>& titles) {
  std::string s;
  for (const auto& t : titles) s += (s.empty() ? "" : " ") + Quote(t);
  return s;
}

int AdapterState(const std::string& word) {
  if (word == "on") return BleManager::STATE_POWERED_ON;
  if (word == "off") return BleManager::STATE_POWERED_OFF;
  if (word == "unsupported") return BleManager::STATE_UNSUPPORTED;
  return BleManager::STATE_UNAUTHORIZED;
}

// The commands that act as the simulated radio's devices or read what they received.
bool SteersSimulatedDevices(const std::string& verb) {
  for (const char* v : {"device", "adapter", "notify", "drop", "fail", "expect-writes", "expect-device"}) {
    if (verb == v) return true;
  }
  return false;
}

// Where a file named by the scenario goes: the path resolved as the system resolves it where its
// folders exist (a link followed by ".." leads to the link target's parent) and read as written
// where they do not yet exist ("a/../shot.png" is "shot.png" even without a folder "a"). A path
// the system will not let us look into stays as written, so the error that follows names it.
std::filesystem::path WhereItLeads(const std::filesystem::path& file, std::error_code& ec) {
  std::filesystem::path absolute = std::filesystem::absolute(file, ec);
  if (ec) return {};
  std::error_code unresolved;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, unresolved);
  return unresolved ? absolute.lexically_normal() : resolved;
}

// Writes the picture as a PNG file, making its folder first. What went wrong, naming the folder
// (a relative file lands in the folder the program runs from, which the person may not have
// thought of), or nothing.
std::optional<std::string> WriteScreenshot(const Bitmap& picture, const std::filesystem::path& file) {
  std::error_code ec;
  std::filesystem::path target = WhereItLeads(file, ec);
  if (ec) return "cannot find the folder it would go in (" + ec.message() + ")";
  std::filesystem::path folder = target.parent_path();
  std::filesystem::create_directories(folder, ec);
  if (ec) return "cannot make the folder " + folder.string() + " (" + ec.message() + ")";
  // The PNG writer says only that it failed: opening the file first gets the system's reason.
  int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return "cannot write in the folder " + folder.string() + " (" + std::strerror(errno) + ")";
  ::close(fd);
  try {
    picture.WritePng(target.string());
  } catch (const RuntimeError&) {
    return "cannot write in the folder " + folder.string();
  }
  return std::nullopt;
}

}  // namespace

ScenarioRunner::ScenarioRunner(ApplicationClasses classes, std::ostream& out, std::ostream& err,
                               std::filesystem::path assets)
    : classes_(std::move(classes)), out_(out), err_(err), assets_(std::move(assets)) {}

ScenarioRunner::ScenarioRunner(ApplicationClasses classes, std::ostream& out, std::filesystem::path assets)
    : ScenarioRunner(std::move(classes), out, out, std::move(assets)) {}

int ScenarioRunner::runFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) {
    err_ << "scenario " << file.string() << ": is a directory, not a scenario file\n";
    return kMalformed;
  }
  std::ifstream in(file);
  if (!in) {
    err_ << "scenario " << file.string() << ": cannot read the file\n";
    return kMalformed;
  }
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    err_ << "scenario " << file.string() << ": cannot read the file\n";
    return kMalformed;
  }
  return run(text.str(), file.string());
}

int ScenarioRunner::run(std::string_view text, std::string_view sourceName) {
  try {
    return runChecked(text, sourceName);
  } catch (const LayoutError& e) {
    err_ << "FAILED: a layout cannot be loaded: " << e.what() << "\n";
    return kLayoutError;
  } catch (const std::exception& e) {
    // What the application itself throws is a failure of the run, not of the scenario.
    err_ << "FAILED: the application stopped with an error: " << e.what() << "\n";
    return kFailed;
  }
}

int ScenarioRunner::runChecked(std::string_view text, std::string_view sourceName) {
  out_ << "scenario " << sourceName << "\n";
  Scenario scenario;
  try {
    scenario = Scenario::Parse(text);
  } catch (const ScenarioError& e) {
    err_ << "malformed scenario: " << e.what() << "\n";
    return kMalformed;
  }
  if (scenario.commands.empty()) {
    // An empty file (or one of comments only) checks nothing: running it would "pass".
    err_ << "malformed scenario: " << sourceName << " has no commands\n";
    return kMalformed;
  }

  if (radio_ == RadioOption::Kind::System) {
    for (const auto& c : scenario.commands) {
      if (SteersSimulatedDevices(c.verb)) {
        err_ << "malformed scenario: line " << c.line << ": " << c.verb
             << " steers the simulated radio's devices; this run uses the system radio\n";
        return kMalformed;
      }
    }
  }

  const bool realTime = radio_ == RadioOption::Kind::System;
  AppDriver app(classes_, assets_, realTime ? MainLoop::ClockKind::Real : MainLoop::ClockKind::Virtual);
  RadioOption::Apply(app.runtime(), radio_);
  // Log lines are taken as they are shown, so that a long run holds none.
  auto flushLog = [&] {
    for (const auto& line : app.logLines()) out_ << "  log: " << line << "\n";
    app.clearLog();
  };
  app.start();
  int64_t t0 = app.runtime().SteadyNow();
  out_ << "started: the application shows its first page\n";
  flushLog();
  for (const auto& [line, name] : scenario.viewNames()) {
    if (!app.exists(name)) {
      err_ << "malformed scenario: line " << line << ": no view named " << name << " on the screen\n";
      return kMalformed;
    }
  }

  int expectations = 0;
  std::string pressed;
  auto failed = [&](int line, const std::string& what) {
    err_ << "FAILED at line " << line << ": " << what << "\n";
    return kFailed;
  };
  for (const auto& c : scenario.commands) {
    out_ << "[" << (app.runtime().SteadyNow() - t0) << " ms] line " << c.line << ": " << c.source << "\n";
    const std::string& a0 = c.args.empty() ? std::string() : c.args[0].text;
    try {
      if (c.verb == "tap" || c.verb == "press") {
        // A press that the application cancelled (the view under the finger hidden or disabled)
        // has ended: the finger is free again.
        if (!pressed.empty() && app.touching()) {
          err_ << "malformed scenario: line " << c.line << ": " << pressed << " is still pressed\n";
          return kMalformed;
        }
        View target = app.find(a0);
        View hit = c.verb == "tap" ? app.tap(a0) : app.press(a0);
        pressed = c.verb == "press" ? a0 : "";
        if (!hit.IsInitialized()) {
          out_ << "  the touch landed on nothing\n";
        } else if (!hit.native()->isInside(*target.native())) {
          std::string why = !target.Visible() ? "is hidden" : !target.Enabled() ? "is disabled" : "is covered";
          out_ << "  " << a0 << " " << why << ": the touch went to " << Where(*hit.native()) << "\n";
        }
      } else if (c.verb == "release") {
        if (pressed != a0) {
          err_ << "malformed scenario: line " << c.line << ": release " << a0 << " without a press of it\n";
          return kMalformed;
        }
        if (app.touching()) {
          app.release();
        } else {
          out_ << "  the press had already ended: the application cancelled it\n";
        }
        pressed.clear();
      } else if (c.verb == "wait") {
        app.wait(std::stoll(a0));
      } else if (c.verb == "expect") {
        auto s = app.stateOf(a0);
        const auto& prop = c.args[1].text;
        const auto& want = c.args[2].text;
        std::string found;
        if (prop == "text") {
          found = s.hasText ? Quote(s.text.str()) : "no text (" + s.type + ")";
        } else {
          found = Bool(prop == "visible" ? s.visible : s.enabled);
        }
        std::string expected = prop == "text" ? Quote(want) : want;
        ++expectations;
        if (found != expected)
          return failed(c.line, "expected " + a0 + " " + prop + " " + expected + ", found " + found);
        out_ << "  ok\n";
      } else if (c.verb == "screenshot") {
        if (auto why = WriteScreenshot(*app.screenshot(2), a0)) {
          err_ << "FAILED at line " << c.line << ": cannot write the screenshot " << a0 << ": " << *why << "\n";
          return kScreenshotError;
        }
        out_ << "  wrote " << a0 << "\n";
      } else if (c.verb == "state") {
        for (const auto& s : app.state()) out_ << "  " << Describe(s) << "\n";
        if (auto sheet = app.sheet()) {
          out_ << "  action sheet: " << Titles(sheet->items);
          if (!sheet->cancel.empty()) out_ << " (cancel " << Quote(sheet->cancel) << ")";
          out_ << "\n";
        }
      } else if (c.verb == "pick") {
        try {
          app.pick(a0);
        } catch (const DriverError& e) {
          return failed(c.line, std::string("cannot pick ") + Quote(a0) + ": " + e.what());
        }
      } else if (c.verb == "type" || c.verb == "delete" || c.verb == "enter") {
        try {
          if (c.verb == "type") app.type(String(a0));
          if (c.verb == "delete") app.deleteBackward();
          if (c.verb == "enter") app.enter();
        } catch (const DriverError& e) {
          return failed(c.line, "cannot " + c.verb + ": " + e.what());
        }
      } else if (c.verb == "expect-sheet") {
        auto sheet = app.sheet();
        std::vector<std::string> want;
        bool none = c.args.size() == 1 && !c.args[0].quoted && a0 == "none";
        if (!none) {
          for (const auto& w : c.args) want.push_back(w.text);
        }
        std::string found = sheet ? "a sheet with " + Titles(sheet->items) : "no sheet";
        std::string expected = none ? "no sheet" : "a sheet with " + Titles(want);
        ++expectations;
        if (found != expected) return failed(c.line, "expected " + expected + ", found " + found);
        out_ << "  ok\n";
      } else if (c.verb == "device") {
        auto device = app.radio().addDevice(a0, c.args[1].text);
        if (!c.bytes.empty()) {
          TivomarshFirmware::Status status{};
          std::copy(c.bytes[0].begin(), c.bytes[0].end(), status.begin());
          device->firmware().setStatus(status);
        }
      } else if (c.verb == "adapter") {
        app.radio().setAdapterState(AdapterState(a0));
        app.runtime().loop().runUntilIdle();
      } else if (c.verb == "notify") {
        if (!app.radio().device(a0)->notify(c.bytes[0]))
          out_ << "  " << a0 << " sent nothing: it is not connected with notifications on\n";
      } else if (c.verb == "drop") {
        if (!app.radio().device(a0)->drop()) out_ << "  " << a0 << " is not connected: nothing to drop\n";
      } else if (c.verb == "fail") {
        app.radio().device(a0)->failNextConnection();
      } else if (c.verb == "expect-writes") {
        std::vector<std::vector<uint8_t>> received;
        const size_t lost = app.radio().lostWrites();
        for (auto& w : app.radio().takeWrites()) received.push_back(std::move(w.bytes));
        ++expectations;
        if (lost > 0)
          return failed(c.line, "more writes than the radio keeps (" + std::to_string(SimulatedRadio::kKeptWrites) +
                                    ") came since the last check: " + std::to_string(lost) + " were not kept");
        if (received != c.bytes)
          return failed(c.line, "expected the writes " + HexGroups(c.bytes) + ", found " + HexGroups(received));
        out_ << "  ok\n";
      } else if (c.verb == "expect-device") {
        const auto& status = app.radio().device(a0)->firmware().status();
        std::vector<std::vector<uint8_t>> found{std::vector<uint8_t>(status.begin(), status.end())};
        ++expectations;
        if (found != c.bytes)
          return failed(c.line, "expected " + a0 + " status " + HexGroups(c.bytes) + ", found " + HexGroups(found));
        out_ << "  ok\n";
      }
    } catch (const DriverError& e) {
      err_ << "malformed scenario: line " << c.line << ": " << e.what() << "\n";
      return kMalformed;
    }
    flushLog();
  }
  out_ << "passed: " << expectations << " expectations held, " << scenario.commands.size() << " commands\n";
  return kPassed;
}

}  // namespace tmr

#include "platform/core/Runtime.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/core/ResumableSub.h"

namespace tmr {

std::string EventString(std::string_view eventName, std::string_view event, int parameterCount) {
  std::string s;
  for (char ch : eventName) s += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  s += '_';
  for (char ch : event) s += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  s.append(static_cast<size_t>(parameterCount), ':');
  return s;
}

namespace {
void LogToStandardOutput(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}
}  // namespace

Runtime::Runtime(MainLoop::ClockKind clock) : logSink_(LogToStandardOutput), loop_(clock) {}

Runtime::Runtime(MainLoop::RealTime time) : logSink_(LogToStandardOutput), loop_(std::move(time)) {}

Runtime::~Runtime() { shutdown(); }

void Runtime::track(const std::shared_ptr<ResumableSub>& rs) {
  if (started_.size() >= startedPruneAt_) {
    std::erase_if(started_, [](const std::weak_ptr<ResumableSub>& w) { return w.expired(); });
    startedPruneAt_ = std::max<size_t>(64, started_.size() * 2);
  }
  started_.push_back(rs);
}

void Runtime::shutdown() {
  // Coroutines that will never resume may hold each other (a parent waiting for a child that
  // waits for an event): abandon them all first, so that none outlives the runtime.
  auto started = std::move(started_);
  started_.clear();
  for (auto& w : started)
    if (auto rs = w.lock()) rs->abandon();
  started.clear();
  // Each step may release objects that log or post; move things out before destroying them.
  auto waits = std::move(waits_);
  waits_.clear();
  waits.clear();
  drainLoop();
  // The program's modules go before the platform services they use.
  auto modules = std::move(codeModules_);
  codeModules_.clear();
  modules.clear();
  drainLoop();
  auto order = std::move(serviceOrder_);
  serviceOrder_.clear();
  services_.clear();
  while (!order.empty()) {
    order.pop_back();
    drainLoop();  // a service may have posted while it went
  }
  waits_.clear();
}

void Runtime::drainLoop() {
  // Releasing a task may release a module whose going posts more work holding others, to any
  // depth: empty the loop until nothing is left. Work that keeps posting work as it is released
  // would never end; after many rounds that is a cycle, reported instead of spun on.
  constexpr int kMaxRounds = 10'000;
  for (int round = 0; round < kMaxRounds; ++round) {
    if (loop_.isEmpty()) return;
    loop_.clear();
  }
  Log("Runtime shutdown: released work keeps posting more work; giving up on it");
}

void Runtime::Log(std::string_view line) {
  if (logSink_) logSink_(line);
}

const Object& Runtime::sender() const {
  static const Object none;
  return senders_.empty() ? none : senders_.back();
}

void Runtime::addWait(Module* module, std::string eventString, Object senderFilter, std::shared_ptr<ResumableSub> rs) {
  std::shared_ptr<ResumableSub> replaced;
  for (auto it = waits_.begin(); it != waits_.end(); ++it) {
    if (it->module == module && it->eventString == eventString && it->senderFilter == senderFilter) {
      replaced = std::move(it->rs);
      waits_.erase(it);
      break;
    }
  }
  waits_.push_back(Wait{module, std::move(eventString), std::move(senderFilter), std::move(rs)});
  // The older coroutine never resumes: it is abandoned and, unless something else holds it, destroyed.
  if (replaced) replaced->abandon();
}

Object Runtime::deliver(const std::shared_ptr<Module>& target, const Object& sender, std::string_view eventString,
                        std::vector<Object> args) {
  if (!target) return {};
  for (auto it = waits_.begin(); it != waits_.end(); ++it) {
    if (it->module != target.get() || it->eventString != eventString) continue;
    if (!it->senderFilter.IsNull() && !(it->senderFilter == sender)) continue;
    auto rs = std::move(it->rs);
    waits_.erase(it);
    senders_.push_back(sender);
    struct Pop {
      std::vector<Object>& s;
      ~Pop() { s.pop_back(); }
    } pop{senders_};
    rs->takeEvent(std::move(args));
    return {};
  }
  std::string key = "_" + std::string(eventString);
  const auto* entry = target->subTable().find(key);
  if (!entry) return {};
  if (static_cast<size_t>(entry->arity) != args.size()) return {};
  senders_.push_back(sender);
  struct Pop {
    std::vector<Object>& s;
    ~Pop() { s.pop_back(); }
  } pop{senders_};
  auto keep = target;  // the handler may drop the last other reference to its module
  return entry->call(*keep, args);
}

}  // namespace tmr

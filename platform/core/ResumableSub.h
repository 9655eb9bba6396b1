#pragma once
// A sub that sleeps or waits runs as a ResumableSub: its body is a C++20 coroutine. It runs at
// once up to its first wait; Sleep resumes it on the main loop after the given time (0: on a
// later turn, never at once); WaitFor resumes it with the parameters of an event raised on its
// module; WaitForComplete resumes it with the result of another coroutine. While suspended it
// is held by what will resume it and it holds its module. `state` is -1 once it has finished.
#include <coroutine>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Module.h"
#include "platform/core/Object.h"

namespace tmr {

class Runtime;

// The coroutine type of a body.
class SubBody {
 public:
  struct promise_type {
    SubBody get_return_object() { return SubBody(std::coroutine_handle<promise_type>::from_promise(*this)); }
    std::suspend_always initial_suspend() noexcept { return {}; }
    std::suspend_always final_suspend() noexcept { return {}; }
    void return_void() {}
    void unhandled_exception() { error = std::current_exception(); }
    std::exception_ptr error;
  };
  SubBody() = default;
  explicit SubBody(std::coroutine_handle<promise_type> h) : h_(h) {}
  SubBody(SubBody&& o) noexcept : h_(std::exchange(o.h_, {})) {}
  SubBody& operator=(SubBody&& o) noexcept;
  ~SubBody();
  std::coroutine_handle<promise_type> handle() const { return h_; }

 private:
  std::coroutine_handle<promise_type> h_;
};

class ResumableSub : public RuntimeObject {
 public:
  explicit ResumableSub(std::shared_ptr<Module> parent);
  ~ResumableSub() override;

  // Starts the body; it runs up to its first wait (or to its end) before this returns.
  void start();
  // Continues the body after a wait. Rethrows what the body threw.
  void resume();

  int state = 0;  // -1 when finished
  bool finished() const { return state == -1; }
  const Object& result() const { return result_; }
  std::shared_ptr<Module> parent;

  struct SleepAwaiter {
    ResumableSub* self;
    int64_t ms;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<>);
    void await_resume() const noexcept {}
  };
  struct WaitForAwaiter {
    ResumableSub* self;
    std::string eventString;
    Object senderFilter;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<>);
    std::vector<Object> await_resume();
  };
  struct CompleteAwaiter {
    ResumableSub* self;
    std::shared_ptr<ResumableSub> child;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<>);
    Object await_resume();
  };

  // Called by the runtime when the awaited event arrives.
  void takeEvent(std::vector<Object> args);
  // Called by the runtime when nothing can resume this coroutine any more (its wait was replaced,
  // or the runtime is shutting down): its body is destroyed and it lets go of the coroutine
  // waiting for it, so a parent and a child that hold each other are both released.
  void abandon();

 protected:
  virtual SubBody body() = 0;

  SleepAwaiter Sleep(int64_t ms) { return {this, ms}; }
  WaitForAwaiter WaitFor(std::string eventString, Object senderFilter = {}) {
    return {this, std::move(eventString), std::move(senderFilter)};
  }
  CompleteAwaiter WaitForComplete(std::shared_ptr<ResumableSub> child) { return {this, std::move(child)}; }
  // Sets the result that "complete:" carries; the body then returns.
  void ReturnFromResumableSub(Object result) { result_ = std::move(result); }

  Runtime& runtime() const;

 private:
  void finish();
  void completeWaiter();

  SubBody coro_;
  bool running_ = false;
  Object result_;
  std::vector<Object> eventArgs_;
  std::shared_ptr<ResumableSub> completionWaiter_;  // the coroutine waiting for this one
  Object childResult_;
};

}  // namespace tmr

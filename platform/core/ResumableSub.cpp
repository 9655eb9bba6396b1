#include "platform/core/ResumableSub.h"

#include "platform/core/Runtime.h"

namespace tmr {

SubBody& SubBody::operator=(SubBody&& o) noexcept {
  if (this != &o) {
    if (h_) h_.destroy();
    h_ = std::exchange(o.h_, {});
  }
  return *this;
}

SubBody::~SubBody() {
  if (h_) h_.destroy();
}

ResumableSub::ResumableSub(std::shared_ptr<Module> p) : parent(std::move(p)) {}

ResumableSub::~ResumableSub() = default;

Runtime& ResumableSub::runtime() const { return parent->runtime(); }

void ResumableSub::start() {
  coro_ = body();
  runtime().track(self<ResumableSub>());
  resume();
}

void ResumableSub::abandon() {
  if (running_) return;
  auto keep = self<ResumableSub>();
  auto waiter = std::move(completionWaiter_);
  completionWaiter_.reset();
  SubBody dead = std::move(coro_);  // the frame and its locals go when `dead` does
}

void ResumableSub::resume() {
  auto h = coro_.handle();
  if (!h || h.done() || running_) return;
  auto keep = self<ResumableSub>();  // the body may drop the last other reference to this coroutine
  running_ = true;
  ++state;
  h.resume();
  running_ = false;
  if (h.done()) {
    finish();
    if (auto e = h.promise().error) std::rethrow_exception(e);
  }
}

void ResumableSub::finish() {
  state = -1;
  if (completionWaiter_) completeWaiter();
}

void ResumableSub::completeWaiter() {
  auto waiter = std::move(completionWaiter_);
  completionWaiter_.reset();
  // "complete:" is raised to the waiting coroutine on a later turn of the main loop.
  runtime().loop().post([waiter, result = result_] {
    waiter->childResult_ = result;
    waiter->resume();
  });
}

void ResumableSub::takeEvent(std::vector<Object> args) {
  eventArgs_ = std::move(args);
  resume();
}

void ResumableSub::SleepAwaiter::await_suspend(std::coroutine_handle<>) {
  auto rs = self->self<ResumableSub>();
  self->runtime().loop().addTimer(ms, [rs] { rs->resume(); });
}

void ResumableSub::WaitForAwaiter::await_suspend(std::coroutine_handle<>) {
  self->runtime().addWait(self->parent.get(), eventString, senderFilter, self->self<ResumableSub>());
}

std::vector<Object> ResumableSub::WaitForAwaiter::await_resume() { return std::move(self->eventArgs_); }

void ResumableSub::CompleteAwaiter::await_suspend(std::coroutine_handle<>) {
  child->completionWaiter_ = self->self<ResumableSub>();
  // A child that finished before anyone waited still delivers its result.
  if (child->finished()) child->completeWaiter();
}

Object ResumableSub::CompleteAwaiter::await_resume() { return std::move(self->childResult_); }

}  // namespace tmr

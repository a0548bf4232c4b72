#include "script/script_thread.h"

#include <pthread.h>

#include <atomic>
#include <exception>
#include <utility>

namespace kivora::script {

namespace {

thread_local std::size_t tStackBudget = 0;

}  // namespace

std::size_t scriptStackBudget() noexcept {
  return tStackBudget ? tStackBudget : kUnknownThreadStackBudget;
}

struct ScriptThread::Impl {
  std::function<void()> body;
  pthread_t thread{};
  bool started = false;
  std::atomic<bool> running{false};

  static void* main(void* argument) {
    auto* self = static_cast<Impl*>(argument);
    tStackBudget = kScriptThreadStackSize - kScriptStackReserve;
    try {
      self->body();
    } catch (...) {
      // A body that throws must not take the process with it.
    }
    self->running = false;
    return nullptr;
  }
};

ScriptThread::ScriptThread() : impl_(std::make_unique<Impl>()) {}

ScriptThread::~ScriptThread() { join(); }

bool ScriptThread::start(std::function<void()> body) {
  if (impl_->started) return false;
  impl_->body = std::move(body);
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  impl_->running = true;
  const bool ok = pthread_attr_setstacksize(&attributes, kScriptThreadStackSize) == 0 &&
                  pthread_create(&impl_->thread, &attributes, &Impl::main, impl_.get()) == 0;
  pthread_attr_destroy(&attributes);
  impl_->started = ok;
  if (!ok) impl_->running = false;
  return ok;
}

void ScriptThread::join() {
  if (!impl_ || !impl_->started) return;
  pthread_join(impl_->thread, nullptr);
  impl_->started = false;
}

bool ScriptThread::joinable() const { return impl_->started; }

bool ScriptThread::running() const { return impl_->running; }

}  // namespace kivora::script

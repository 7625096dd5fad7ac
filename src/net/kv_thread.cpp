#include "net/kv_thread.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>

#include "base/runtime.h"

void KvThread::Start() {
  if (IsRunning()) return;
  result_.reset();
  state_.store(kRunning, std::memory_order_release);
  try {
    std::thread([this] {
      Run__UNSAFE__();
      state_.store(kFinished, std::memory_order_release);
    }).detach();
  } catch (const std::system_error&) {
    kvPrint("CreateThread failed!");
    std::_Exit(kExitError);
  }
}

bool KvThread::IsRunning() const {
  return state_.load(std::memory_order_acquire) == kRunning;
}

std::shared_ptr<void> KvThread::Result() const {
  return result_;
}

void KvThread::SetResult(std::shared_ptr<void> result) {
  result_ = std::move(result);
}

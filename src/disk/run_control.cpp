#include "disk/run_control.h"

namespace salvor {

void RunControl::Stop() {
  running_.store(false);
  std::lock_guard lock(mutex_);
  paused_.store(false, std::memory_order_release);
  resumed_.notify_all();
}

void RunControl::Pause() {
  std::lock_guard lock(mutex_);
  paused_.store(true, std::memory_order_release);
}

void RunControl::Resume() {
  std::lock_guard lock(mutex_);
  paused_.store(false, std::memory_order_release);
  resumed_.notify_all();
}

void RunControl::WaitWhilePaused() {
  std::unique_lock lock(mutex_);
  waiting_.store(paused_.load(std::memory_order_acquire), std::memory_order_release);
  resumed_.wait(lock, [this] { return !paused_.load(std::memory_order_acquire); });
  waiting_.store(false, std::memory_order_release);
}

}  // namespace salvor

#include "disk/run_control.h"

namespace salvor {

void RunControl::Stop() {
  running_.store(false);
  std::lock_guard lock(mutex_);
  paused_ = false;
  resumed_.notify_all();
}

void RunControl::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void RunControl::Resume() {
  std::lock_guard lock(mutex_);
  paused_ = false;
  resumed_.notify_all();
}

bool RunControl::IsPaused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

void RunControl::WaitWhilePaused() {
  std::unique_lock lock(mutex_);
  resumed_.wait(lock, [this] { return !paused_; });
}

}  // namespace salvor

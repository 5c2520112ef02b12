#pragma once
// The process-running flag and the pause gate of the one background process.
// Workers test IsRunning() at every check point and call WaitWhilePaused()
// where the worker thread would be suspended.

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace salvor {

class RunControl {
 public:
  bool IsRunning() const { return running_.load(std::memory_order_relaxed); }
  void Start() { running_.store(true); }
  void Stop();

  void Pause();
  void Resume();
  bool IsPaused() const;
  // Blocks while paused; returns at once otherwise. A stop also releases it.
  void WaitWhilePaused();

 private:
  std::atomic<bool> running_{true};
  mutable std::mutex mutex_;
  std::condition_variable resumed_;
  bool paused_ = false;
};

}  // namespace salvor

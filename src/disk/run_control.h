#pragma once
// The process-running flag and the pause gate of the one background process.
// Every worker loop passes Checkpoint() once per step: it waits out a pause
// and says whether the process may go on.

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
  bool IsPaused() const { return paused_.load(std::memory_order_acquire); }
  // Blocks while paused; returns at once otherwise. A stop also releases it.
  void WaitWhilePaused();
  // True while a worker is held at the gate: a paused process has really
  // stopped moving only then.
  bool IsWaiting() const { return waiting_.load(std::memory_order_acquire); }
  // The one check point of every loop: waits while paused, then returns
  // whether to go on. Unpaused it costs two atomic loads, so loops may pass
  // it once per record.
  bool Checkpoint() {
    if (IsPaused()) WaitWhilePaused();
    return IsRunning();
  }

 private:
  std::atomic<bool> running_{true};
  std::atomic<bool> paused_{false};
  std::atomic<bool> waiting_{false};
  std::mutex mutex_;
  std::condition_variable resumed_;
};

}  // namespace salvor

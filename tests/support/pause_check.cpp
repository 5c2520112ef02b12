#include "support/pause_check.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace salvor::testing {

void ExpectPauseHoldsThenResumes(RecordingHost& host, RunControl& run,
                                 const std::function<bool()>& engine) {
  const std::size_t before = host.reports.size();
  bool paused_once = false;  // the worker's own
  host.on_progress = [&](const ProgressReport&) {
    if (!paused_once) run.Pause();
    paused_once = true;
  };
  std::atomic<bool> finished{false};
  bool completed = false;
  std::thread worker([&] {
    completed = engine();
    finished = true;
  });
  while (!run.IsWaiting() && !finished) std::this_thread::yield();
  // Held at the gate, the worker has published everything it did before.
  const bool held = run.IsWaiting();
  const std::size_t reports_at_gate = held ? host.reports.size() - before : 0;
  run.Resume();
  worker.join();
  host.on_progress = nullptr;
  EXPECT_TRUE(held) << "the engine ran to its end without stopping at the gate";
  EXPECT_EQ(reports_at_gate, 1u) << "progress was made while paused";
  EXPECT_TRUE(completed);
  EXPECT_GT(host.reports.size() - before, 1u);
}

}  // namespace salvor::testing

#pragma once
// How engines report progress: one reporter per operation, which holds back
// reports that come sooner than the host's interval after the last one
// passed (a report per MFT record would flood a GUI's event queue). The first
// report and Final() always pass, and a held-back last report is passed on
// when the reporter ends, so the host always sees where the operation stopped.

#include <chrono>
#include <cstdint>
#include <optional>

#include "disk/host.h"

namespace salvor {

// The time rule alone, apart from the clock, so that it can be checked.
class ProgressThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  explicit ProgressThrottle(std::chrono::nanoseconds interval) : interval_(interval) {}
  // True when a report made at `now` may pass; it then counts as the last.
  bool Pass(Clock::time_point now);

 private:
  std::chrono::nanoseconds interval_;
  std::optional<Clock::time_point> last_;
};

class ProgressReporter {
 public:
  ProgressReporter(Host& host, ProgressPhase phase, ProgressUnit unit)
      : host_(host), phase_(phase), unit_(unit), throttle_(host.ProgressInterval()) {}
  ~ProgressReporter();
  ProgressReporter(const ProgressReporter&) = delete;
  ProgressReporter& operator=(const ProgressReporter&) = delete;

  void Report(std::uint64_t done, std::uint64_t total);
  // The operation's end: always passes, and supersedes a held-back report.
  void Final(std::uint64_t done, std::uint64_t total);

 private:
  void Send(std::uint64_t done, std::uint64_t total);

  Host& host_;
  ProgressPhase phase_;
  ProgressUnit unit_;
  ProgressThrottle throttle_;
  std::optional<ProgressReport> held_;
};

}  // namespace salvor

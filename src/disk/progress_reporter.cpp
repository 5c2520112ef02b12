#include "disk/progress_reporter.h"

namespace salvor {

bool ProgressThrottle::Pass(Clock::time_point now) {
  if (last_ && now - *last_ < interval_) return false;
  last_ = now;
  return true;
}

ProgressReporter::~ProgressReporter() {
  if (held_) host_.Progress(*held_);
}

void ProgressReporter::Report(std::uint64_t done, std::uint64_t total) {
  if (throttle_.Pass(ProgressThrottle::Clock::now()))
    Send(done, total);
  else
    held_ = ProgressReport{phase_, done, total, unit_};
}

void ProgressReporter::Final(std::uint64_t done, std::uint64_t total) {
  throttle_.Pass(ProgressThrottle::Clock::now());
  Send(done, total);
}

void ProgressReporter::Send(std::uint64_t done, std::uint64_t total) {
  held_.reset();
  host_.Progress({phase_, done, total, unit_});
}

}  // namespace salvor

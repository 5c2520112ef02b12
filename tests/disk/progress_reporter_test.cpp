#include "disk/progress_reporter.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace salvor {
namespace {

using namespace std::chrono_literals;
using Reports = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

TEST(ProgressThrottle, PassesTheFirstThenOnePerInterval) {
  ProgressThrottle throttle(33ms);
  const auto t0 = ProgressThrottle::Clock::time_point{} + 1s;
  EXPECT_TRUE(throttle.Pass(t0));
  EXPECT_FALSE(throttle.Pass(t0 + 10ms));
  EXPECT_FALSE(throttle.Pass(t0 + 32ms));
  EXPECT_TRUE(throttle.Pass(t0 + 33ms));
  EXPECT_FALSE(throttle.Pass(t0 + 65ms));
}

// A host that takes one report an hour: everything but the first is held.
struct SlowHost : testing::RecordingHost {
  std::chrono::nanoseconds ProgressInterval() const override { return 1h; }
};

TEST(ProgressReporter, TheFirstAndTheLastReportAlwaysPass) {
  SlowHost host;
  {
    ProgressReporter reporter(host, ProgressPhase::kCopy, ProgressUnit::kSectors);
    for (std::uint64_t done = 1; done <= 5; ++done) reporter.Report(done, 10);
  }
  EXPECT_EQ(host.progress, (Reports{{1, 10}, {5, 10}}));
  EXPECT_EQ(host.reports.back().phase, ProgressPhase::kCopy);
  EXPECT_EQ(host.reports.back().unit, ProgressUnit::kSectors);

  host.progress.clear();
  {
    ProgressReporter reporter(host, ProgressPhase::kSave, ProgressUnit::kBytes);
    reporter.Report(1, 10);
    reporter.Report(2, 10);
    reporter.Final(10, 10);  // supersedes the held report
  }
  EXPECT_EQ(host.progress, (Reports{{1, 10}, {10, 10}}));
}

}  // namespace
}  // namespace salvor

#include "partitions/partition_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/boot_sector_builder.h"
#include "support/memory_device.h"
#include "support/pause_check.h"
#include "support/recording_host.h"

namespace salvor {
namespace {

using testing::BootSectorFields;
using testing::MakeBootSector;
using testing::PutSector;

TEST(CylinderRounding, RoundsToTheNearestCylinder) {
  EXPECT_EQ(RoundStartToCylinder(0), 0u);
  EXPECT_EQ(RoundStartToCylinder(1000), 0u);
  EXPECT_EQ(RoundStartToCylinder(16065), 0u);
  EXPECT_EQ(RoundStartToCylinder(20000), 16065u);  // remainder 3935 rounds down
  EXPECT_EQ(RoundStartToCylinder(25000), 32130u);  // remainder 8935 rounds up
  EXPECT_EQ(RoundStartToCylinder(16065 + 8032), 16065u);
  EXPECT_EQ(RoundStartToCylinder(16065 + 8033), 32130u);
  EXPECT_EQ(RoundEndToCylinder(1000), 16065u);
  EXPECT_EQ(RoundEndToCylinder(0), 16065u);
  EXPECT_EQ(RoundEndToCylinder(41000), 48195u);
}

TEST(CylinderRounding, NeverWrapsPastTheTopOfTheRange) {
  std::uint64_t top = RoundEndToCylinder(UINT64_MAX);
  EXPECT_EQ(top % kCylinderSectors, 0u);
  EXPECT_GT(top, UINT64_MAX - kCylinderSectors);
}

struct SearchFixture : ::testing::Test {
  testing::RecordingHost host;
  RunControl run;
  EngineState state{host, run};
  std::vector<std::uint8_t> disk;
  std::vector<std::uint64_t> found_at;
  PartitionFound found = [this](std::size_t drive, const VolumeInfo& v) {
    EXPECT_EQ(drive, found_at.size() + 1);
    found_at.push_back(v.first_sector);
  };

  void Open(std::uint64_t sectors) {
    disk.resize(sectors * 512);
    state.source.Attach(std::make_unique<testing::MemoryDevice>(disk), "disk", 512);
  }
  std::vector<std::uint64_t> Starts() const {
    std::vector<std::uint64_t> s;
    for (const auto& v : state.partitions) s.push_back(v.first_sector);
    return s;
  }
};

TEST_F(SearchFixture, QuickScanOfASmallRangeProbesTwoCylinders) {
  Open(40000);
  EXPECT_TRUE(QuickScanPartitions(state, 0, 1000, found));
  std::vector<std::uint64_t> probes;
  for (auto [done, total] : host.progress) {
    EXPECT_EQ(total, 16065u);
    probes.push_back(done);
  }
  // Four probes, then the last report.
  EXPECT_EQ(probes, (std::vector<std::uint64_t>{0, 63, 16065, 16128, 16065}));
}

TEST_F(SearchFixture, QuickScanFindsCylinderStartsOnlyThoroughFindsEveryStart) {
  BootSectorFields f;
  f.total_sectors = 4000;
  f.serial = 1;
  PutSector(disk, 2048, MakeBootSector(f));
  f.serial = 2;
  PutSector(disk, 16065 + 63, MakeBootSector(f));
  Open(40000);

  EXPECT_TRUE(QuickScanPartitions(state, 0, 40000, found));
  EXPECT_EQ(Starts(), (std::vector<std::uint64_t>{16128}));
  EXPECT_EQ(state.partitions[0].origin_flags, 0x01);

  found_at.clear();
  EXPECT_TRUE(ThoroughScanPartitions(state, 0, 40000, found));
  EXPECT_EQ(Starts(), (std::vector<std::uint64_t>{2048, 16128}));
  EXPECT_EQ(found_at, Starts());
  const VolumeInfo& v = state.partitions[0];
  EXPECT_EQ(v.length, 4000u);
  EXPECT_EQ(v.mft_sector, 2048u + 4 * 8);
  EXPECT_EQ(v.bytes_per_cluster, 4096u);
  EXPECT_EQ(v.bytes_per_file_record, 1024u);
  EXPECT_EQ(v.sectors_per_index_record, 8u);
  EXPECT_EQ(v.bytes_per_sector, 0u);  // the source's, when the volume is chosen
  EXPECT_EQ(v.bytes_per_index_record, 0u);
}

TEST_F(SearchFixture, PauseHoldsBothScansUntilResumed) {
  Open(40000);
  testing::ExpectPauseHoldsThenResumes(
      host, run, [&] { return QuickScanPartitions(state, 0, 40000, found); });
  testing::ExpectPauseHoldsThenResumes(
      host, run, [&] { return ThoroughScanPartitions(state, 0, 40000, found); });
}

TEST_F(SearchFixture, BootSectorsDescribingMoreThanTheDiskAreIgnored) {
  BootSectorFields f;
  f.total_sectors = 20001;  // larger than the whole disk
  PutSector(disk, 100, MakeBootSector(f));
  f.total_sectors = 15000;  // fits, but would end past the disk
  f.serial = 2;
  PutSector(disk, 6000, MakeBootSector(f));
  f.total_sectors = 1000;  // its $MFT lies past the disk
  f.mft_lcn = 5000;
  f.serial = 3;
  PutSector(disk, 8000, MakeBootSector(f));
  f.mft_lcn = 0x2000000000000000ull;  // the $MFT's sector wraps 64 bits
  f.serial = 4;
  PutSector(disk, 9000, MakeBootSector(f));
  f.mft_lcn = 4;  // and one that fits exactly at the disk's end
  f.total_sectors = 1000;
  f.serial = 5;
  PutSector(disk, 19000, MakeBootSector(f));
  Open(20000);

  EXPECT_TRUE(ThoroughScanPartitions(state, 0, 20000, found));
  EXPECT_EQ(Starts(), (std::vector<std::uint64_t>{19000}));
}

TEST_F(SearchFixture, AVolumeWhoseTwoBootSectorsSurviveIsListedOnce) {
  BootSectorFields f;
  f.total_sectors = 4000;
  PutSector(disk, 1000, MakeBootSector(f));
  PutSector(disk, 5000, MakeBootSector(f));  // the backup, at the volume's last sector
  Open(10000);
  EXPECT_TRUE(ThoroughScanPartitions(state, 0, 10000, found));
  EXPECT_EQ(Starts(), (std::vector<std::uint64_t>{1000}));
  EXPECT_EQ(state.partitions[0].origin_flags, 0x01 | 0x08);
  EXPECT_EQ(found_at.size(), 1u);
}

TEST_F(SearchFixture, ProgressCountsStayWholeBeyond32Bits) {
  Open(300);
  const std::uint64_t base = 0x1'0000'0000ull;  // a range past 2^32 sectors reads as zeros
  EXPECT_TRUE(ThoroughScanPartitions(state, base, base + 300, found));
  ASSERT_FALSE(host.progress.empty());
  EXPECT_EQ(host.progress.back(), std::make_pair(std::uint64_t{256}, base + 300));
}

TEST_F(SearchFixture, AStopEndsTheScanAndKeepsWhatWasFound) {
  BootSectorFields f;
  f.total_sectors = 1000;
  PutSector(disk, 200, MakeBootSector(f));
  f.serial = 2;
  PutSector(disk, 3000, MakeBootSector(f));
  Open(5000);
  found = [this](std::size_t, const VolumeInfo&) { run.Stop(); };
  EXPECT_FALSE(ThoroughScanPartitions(state, 0, 5000, found));
  EXPECT_EQ(Starts(), (std::vector<std::uint64_t>{200}));
}

TEST_F(SearchFixture, TheEndOfASearchIsLoggedAndShown) {
  Open(20000);
  EXPECT_TRUE(RunPartitionSearch(state, {0, 20000, false}, found));
  ASSERT_EQ(host.log.size(), 1u);
  EXPECT_EQ(host.log[0].text, "Completed Searching partitions");
  EXPECT_EQ(host.log[0].kind, LogKind::kCompleted);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Information");
  EXPECT_EQ(host.messages[0].text,
            "Quick scan of drives completed.\nNo logical drive(s) found.\nPlease use thorough scan.");
  EXPECT_EQ(host.progress.back(), std::make_pair(std::uint64_t{1}, std::uint64_t{1}));

  host.log.clear();
  host.messages.clear();
  run.Stop();
  EXPECT_FALSE(RunPartitionSearch(state, {0, 20000, true}, found));
  ASSERT_EQ(host.log.size(), 1u);
  EXPECT_EQ(host.log[0].text, "Aborted searching partitions");
  EXPECT_EQ(host.log[0].detail, "-----------------");
  EXPECT_EQ(host.log[0].kind, LogKind::kFailure);
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  EXPECT_EQ(host.messages[0].text, "Thorough scan of drives aborted.");
}

}  // namespace
}  // namespace salvor

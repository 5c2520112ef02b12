// The lost-partition fixture (tools/make-lost-partitions): no partition
// table; volume 1 at 2048 with only its backup boot sector, volume 2 at the
// cylinder boundary 16065 with both boot sectors, volume 3 at 30720 with
// both boot sectors wiped but $MFT and $MFTMirr intact. Each volume: 4096-byte
// clusters, 1024-byte file records, $MFT at LCN 4, $MFTMirr at LCN 767,
// 12287 sectors (lost-partitions.json).

#include <gtest/gtest.h>

#include "ntfs/locate_mft.h"
#include "partitions/partition_search.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

struct LostPartitions : ::testing::Test {
  testing::RecordingHost host;
  RunControl run;
  EngineState state{host, run};

  void SetUp() override {
    ASSERT_TRUE(state.source.OpenImage((testing::SamplesDir() / "lost-partitions.img").string()));
    ASSERT_EQ(state.source.total_sectors(), 45056u);
  }
  std::vector<std::uint64_t> Starts() const {
    std::vector<std::uint64_t> s;
    for (const auto& v : state.partitions) s.push_back(v.first_sector);
    return s;
  }
};

void ExpectShape(const VolumeInfo& v, std::uint64_t first, std::uint64_t length) {
  SCOPED_TRACE(first);
  EXPECT_EQ(v.first_sector, first);
  EXPECT_EQ(v.length, length);
  EXPECT_EQ(v.mft_lcn, 4u);
  EXPECT_EQ(v.mftmirr_lcn, 767u);
  EXPECT_EQ(v.mft_sector, first + 4 * 8);
  EXPECT_EQ(v.sectors_per_cluster, 8u);
  EXPECT_EQ(v.bytes_per_cluster, 4096u);
  EXPECT_EQ(v.bytes_per_file_record, 1024u);
  EXPECT_EQ(v.sectors_per_file_record, 2u);
}

TEST_F(LostPartitions, QuickScanFindsOnlyTheCylinderAlignedVolume) {
  EXPECT_TRUE(QuickScanPartitions(state, 0, state.source.total_sectors(), {}));
  ASSERT_EQ(Starts(), (std::vector<std::uint64_t>{16065}));
  ExpectShape(state.partitions[0], 16065, 12287);
  EXPECT_EQ(state.partitions[0].serial, 0x2B3C4D5E6F708192u);
  EXPECT_EQ(state.partitions[0].origin_flags, 0x01);
}

TEST_F(LostPartitions, ThoroughScanFindsEveryVolumeAtItsTrueStart) {
  std::vector<std::uint64_t> reported;
  EXPECT_TRUE(ThoroughScanPartitions(state, 0, state.source.total_sectors(),
                                     [&](std::size_t, const VolumeInfo& v) {
                                       reported.push_back(v.first_sector);
                                     }));
  ASSERT_EQ(Starts(), (std::vector<std::uint64_t>{2048, 16065, 30720}));
  EXPECT_EQ(reported, Starts());

  // Its backup boot sector (at 14335) places volume 1 at its start; the
  // $MFT/$MFTMirr pair then finds it again.
  ExpectShape(state.partitions[0], 2048, 12287);
  EXPECT_EQ(state.partitions[0].serial, 0x1A2B3C4D5E6F7081u);
  EXPECT_EQ(state.partitions[0].origin_flags, 0x01 | 0x02);

  ExpectShape(state.partitions[1], 16065, 12287);
  EXPECT_EQ(state.partitions[1].origin_flags, 0x01 | 0x08 | 0x02);

  // Only the MFT copies are left: the mirror is taken to lie in the middle.
  ExpectShape(state.partitions[2], 30720, 2 * 767 * 8);
  EXPECT_EQ(state.partitions[2].serial, 0u);
  EXPECT_EQ(state.partitions[2].bytes_per_sector, 512u);
  EXPECT_EQ(state.partitions[2].origin_flags, 0x02);

  for (const VolumeInfo& v : state.partitions) {
    SCOPED_TRACE(v.first_sector);
    state.volume = SelectVolume(v, state.source.bytes_per_sector());
    EXPECT_TRUE(LocateMft(state));
    EXPECT_GT(state.volume.mft_record_count, 16u);
  }
}

TEST_F(LostPartitions, AStopAfterTheFirstFindStillPairsTheRecordsSeen) {
  // Volume 1's $MFT (2080) and mirror (8184) copies lie before its backup
  // boot sector (14335), the first find.
  EXPECT_FALSE(ThoroughScanPartitions(state, 0, state.source.total_sectors(),
                                      [&](std::size_t, const VolumeInfo&) { run.Stop(); }));
  ASSERT_EQ(Starts(), (std::vector<std::uint64_t>{2048}));
  EXPECT_EQ(state.partitions[0].origin_flags, 0x01 | 0x02);
}

TEST_F(LostPartitions, ARangeCoveringOnlyTheMftCopiesRebuildsTheVolume) {
  // From volume 3's $MFT to past its mirror: no boot sector in range.
  EXPECT_TRUE(ThoroughScanPartitions(state, 30752, 30720 + 767 * 8 + 2, {}));
  ASSERT_EQ(Starts(), (std::vector<std::uint64_t>{30720}));
  EXPECT_EQ(state.partitions[0].origin_flags, 0x02);
}

}  // namespace
}  // namespace salvor

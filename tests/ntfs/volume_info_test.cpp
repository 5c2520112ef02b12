#include "ntfs/volume_info.h"

#include <gtest/gtest.h>

namespace salvor {
namespace {

VolumeInfo Sample() {
  VolumeInfo v;
  v.search_position = 1;
  v.first_sector = 2;
  v.length = 3;
  v.mft_sector = 4;
  v.mft_lcn = 5;
  v.mftmirr_lcn = 6;
  v.serial = 0x0102030405060708ull;
  v.bytes_per_index_record = 4096;
  v.bytes_per_cluster = 512;
  v.bytes_per_file_record = 1024;
  v.bytes_per_sector = 512;
  v.sectors_per_cluster = 1;
  v.sectors_per_file_record = 2;
  v.sectors_per_index_record = 8;
  v.origin_flags = 0x09;
  return v;
}

TEST(StoredRecords, VolumeInfoIs76BytesInFieldOrder) {
  auto bytes = StoreVolumeInfo(Sample());
  ASSERT_EQ(bytes.size(), kVolumeInfoStoredSize);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[8], 2);
  EXPECT_EQ(bytes[48], 0x08);
  EXPECT_EQ(bytes[55], 0x01);
  EXPECT_EQ(bytes[57], 0x10);  // 4096 at offset 56
  EXPECT_EQ(bytes[65], 0x04);  // 1024 at offset 64
  EXPECT_EQ(bytes[71], 0x09);
  EXPECT_EQ(LoadVolumeInfo(bytes), Sample());
  bytes.resize(75);
  EXPECT_FALSE(LoadVolumeInfo(bytes));
}

TEST(StoredRecords, CurrentVolumeIs74BytesInFieldOrder) {
  CurrentVolume c = SelectVolume(Sample(), 512);
  c.mft_record_count = 0x11223344;
  c.turbo_scan_mark = 1;
  auto bytes = StoreCurrentVolume(c);
  ASSERT_EQ(bytes.size(), kCurrentVolumeStoredSize);
  EXPECT_EQ(bytes[40], 2);     // first sector
  EXPECT_EQ(bytes[48], 0);     // run list pointer is not stored
  EXPECT_EQ(bytes[52], 0x44);  // record count
  EXPECT_EQ(bytes[73], 1);
  EXPECT_EQ(LoadCurrentVolume(bytes), c);
}

TEST(SelectVolume, FillsDefaultsFromTheSource) {
  VolumeInfo v;  // as the search leaves it: sizes 0
  v.sectors_per_cluster = 0;
  CurrentVolume c = SelectVolume(v, 4096);
  EXPECT_EQ(c.bytes_per_sector, 4096);
  EXPECT_EQ(c.sectors_per_file_record, 2);
  EXPECT_EQ(c.bytes_per_file_record, 8192u);
  EXPECT_EQ(c.bytes_per_cluster, 8u * 4096);
  EXPECT_EQ(c.sectors_per_index_record, 8);
  EXPECT_EQ(c.bytes_per_index_record, 8u * 4096);
  EXPECT_EQ(c.sectors_per_cluster, 0);  // the default 8 only sizes the cluster

  v.sectors_per_cluster = 2;
  v.bytes_per_sector = 512;
  c = SelectVolume(v, 4096);
  EXPECT_EQ(c.bytes_per_sector, 512);
  EXPECT_EQ(c.bytes_per_cluster, 1024u);
}

TEST(FindSameVolume, MatchesOnSerialAndShape) {
  std::vector<VolumeInfo> list{Sample()};
  VolumeInfo v = Sample();
  v.first_sector = 999;
  EXPECT_EQ(FindSameVolume(list, v), &list[0]);
  v.serial ^= 1;
  EXPECT_EQ(FindSameVolume(list, v), nullptr);
}

TEST(FindSameVolumeNear, AcceptsUpToOneClusterAfterTheListedStart) {
  std::vector<VolumeInfo> list{Sample()};
  list[0].first_sector = 100;
  list[0].sectors_per_cluster = 8;
  VolumeInfo v = list[0];
  v.serial = 0;  // the serial does not matter here
  for (std::uint64_t s : {100, 104, 108}) {
    v.first_sector = s;
    EXPECT_EQ(FindSameVolumeNear(list, v), &list[0]) << s;
  }
  for (std::uint64_t s : {99, 109}) {
    v.first_sector = s;
    EXPECT_EQ(FindSameVolumeNear(list, v), nullptr) << s;
  }
}

}  // namespace
}  // namespace salvor

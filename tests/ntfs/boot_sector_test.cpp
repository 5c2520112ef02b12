#include "ntfs/boot_sector.h"

#include <gtest/gtest.h>

#include "support/boot_sector_builder.h"

namespace salvor {
namespace {

using testing::BootSectorFields;
using testing::MakeBootSector;

TEST(IsNtfsBootSector, AcceptsAWellFormedSectorAndRejectsShortBuffers) {
  auto b = MakeBootSector();
  EXPECT_TRUE(IsNtfsBootSector(b));
  EXPECT_FALSE(IsNtfsBootSector(std::span(b).first(511)));
}

TEST(IsNtfsBootSector, JumpAndSignatureBytes) {
  for (std::size_t at : {0, 1}) {
    auto b = MakeBootSector();
    b[at] = 0;
    EXPECT_FALSE(IsNtfsBootSector(b)) << at;
  }
  auto b = MakeBootSector();
  b[2] = 0x00;
  EXPECT_FALSE(IsNtfsBootSector(b));
  b = MakeBootSector();
  b[0x20] = 1;  // large sector count must be 0
  EXPECT_FALSE(IsNtfsBootSector(b));
  b = MakeBootSector();
  b[0x24] = 0x81;
  EXPECT_FALSE(IsNtfsBootSector(b));
}

TEST(IsNtfsBootSector, BytesPerSectorRule) {
  for (std::uint16_t bps : {0, 512, 1024, 2048, 3072, 4096}) {
    BootSectorFields f;
    f.bytes_per_sector = bps;
    EXPECT_TRUE(IsNtfsBootSector(MakeBootSector(f))) << bps;
  }
  for (std::uint16_t bps : {1536, 256, 513, 2560}) {
    BootSectorFields f;
    f.bytes_per_sector = bps;
    EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f))) << bps;
  }
}

TEST(IsNtfsBootSector, ClusterAndRecordBytesMustBeOneOrEven) {
  for (std::uint8_t spc : {1, 2, 8, 128}) {
    BootSectorFields f;
    f.sectors_per_cluster = spc;
    EXPECT_TRUE(IsNtfsBootSector(MakeBootSector(f))) << int{spc};
  }
  for (std::uint8_t spc : {0, 3, 7}) {
    BootSectorFields f;
    f.sectors_per_cluster = spc;
    EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f))) << int{spc};
  }
  BootSectorFields f;
  f.clusters_per_file_record = 0xF7;
  EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f)));
  f = {};
  f.clusters_per_index_record = 0;
  EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f)));
}

TEST(IsNtfsBootSector, LargeNumbersMustBePlausible) {
  BootSectorFields f;
  f.mft_lcn = ~0ull;
  EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f)));
  f.mft_lcn = 0;
  EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f)));
  f.mft_lcn = 0x00000000FFFFFFFFull;  // its halves AND to 0
  EXPECT_TRUE(IsNtfsBootSector(MakeBootSector(f)));
  f = {};
  f.total_sectors = 0;
  EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f)));
  f = {};
  f.mftmirr_lcn = 0xFFFFFFFF'FFFFFFFFull;
  EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f)));
}

TEST(VolumeFromBootSector, PartitionTableGeometry) {
  BootSectorFields f;  // 0xF6 file records, 1 cluster per index record, 8 sectors per cluster
  VolumeInfo v = VolumeFromBootSector(MakeBootSector(f), 2048, 20480, 512,
                                      GeometryOrigin::kPartitionTable);
  EXPECT_EQ(v.first_sector, 2048u);
  EXPECT_EQ(v.length, 20480u);
  EXPECT_EQ(v.mft_sector, 2048u + 4 * 8);
  EXPECT_EQ(v.bytes_per_cluster, 4096u);
  EXPECT_EQ(v.bytes_per_file_record, 1024);
  EXPECT_EQ(v.sectors_per_file_record, 2);
  EXPECT_EQ(v.sectors_per_index_record, 8);
  EXPECT_EQ(v.bytes_per_index_record, 4096u);
  EXPECT_EQ(v.bytes_per_sector, 512);
  EXPECT_EQ(v.serial, f.serial);
}

TEST(VolumeFromBootSector, SearchKeepsOnlyIndexSectorsAndNoSectorSize) {
  VolumeInfo v = VolumeFromBootSector(MakeBootSector(), 63, 0, 512, GeometryOrigin::kSearch);
  EXPECT_EQ(v.bytes_per_sector, 0);
  EXPECT_EQ(v.bytes_per_index_record, 0u);
  EXPECT_EQ(v.sectors_per_index_record, 8);
  EXPECT_EQ(v.bytes_per_file_record, 1024);
}

TEST(VolumeFromBootSector, ZeroSectorSizeFallsBackToSource) {
  BootSectorFields f;
  f.bytes_per_sector = 0;
  f.sectors_per_cluster = 1;
  f.clusters_per_file_record = 0xF4;  // 4096-byte records
  VolumeInfo v = VolumeFromBootSector(MakeBootSector(f), 0, 8, 4096, GeometryOrigin::kPartitionTable);
  EXPECT_EQ(v.bytes_per_sector, 4096);
  EXPECT_EQ(v.bytes_per_cluster, 4096u);
  EXPECT_EQ(v.bytes_per_file_record, 4096);
  EXPECT_EQ(v.sectors_per_file_record, 1);
}

// Since Windows 10 clusters reach 2 MiB: the sectors-per-cluster byte then
// holds a negative power of two, as the records' sizes do.
TEST(BootSectorClusters, NegativeSectorsPerClusterUpTo2MiB) {
  BootSectorFields f;
  for (std::uint8_t spc : {0xF8, 0xF4}) {  // 128 KiB and 2 MiB of 512-byte sectors
    f.sectors_per_cluster = spc;
    EXPECT_TRUE(IsNtfsBootSector(MakeBootSector(f))) << int{spc};
  }
  f.sectors_per_cluster = 0xF3;  // 4 MiB
  EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f)));
  f.bytes_per_sector = 4096;
  f.sectors_per_cluster = 0xF7;  // 512 sectors of 4096 bytes: odd, yet 2 MiB
  EXPECT_TRUE(IsNtfsBootSector(MakeBootSector(f)));
  f.sectors_per_cluster = 0xF6;
  EXPECT_FALSE(IsNtfsBootSector(MakeBootSector(f)));

  f = {};
  f.sectors_per_cluster = 0xF4;
  f.clusters_per_index_record = 0xF4;  // 4096-byte index blocks, less than a cluster
  for (auto origin : {GeometryOrigin::kPartitionTable, GeometryOrigin::kSearch}) {
    VolumeInfo v = VolumeFromBootSector(MakeBootSector(f), 2048, 20480, 512, origin);
    EXPECT_EQ(v.sectors_per_cluster, 4096u);
    EXPECT_EQ(v.mft_sector, 2048u + 4 * 4096);
    EXPECT_EQ(v.bytes_per_file_record, 1024);
    EXPECT_EQ(v.sectors_per_index_record, 8);
    CurrentVolume c = SelectVolume(v, 512);
    EXPECT_EQ(c.bytes_per_cluster, 2u << 20);
    EXPECT_EQ(c.bytes_per_index_record, 4096u);
    // The stored records keep the boot sector's own byte.
    EXPECT_EQ(StoreVolumeInfo(v)[68], 0xF4);
    EXPECT_EQ(StoreCurrentVolume(c)[72], 0xF4);
    EXPECT_EQ(LoadVolumeInfo(StoreVolumeInfo(v)), v);
    EXPECT_EQ(LoadCurrentVolume(StoreCurrentVolume(c)), c);
  }
}

}  // namespace
}  // namespace salvor

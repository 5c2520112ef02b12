#include "partitions/partition_table.h"

#include <gtest/gtest.h>

#include "partitions/source_volumes.h"
#include "support/boot_sector_builder.h"
#include "support/memory_device.h"
#include "support/recording_host.h"

namespace salvor {
namespace {

using testing::BootSectorFields;
using testing::MakeBootSector;
using testing::MakeTableSector;
using testing::PartitionEntry;
using testing::PutSector;

constexpr std::uint8_t kNtfs = 0x07;
constexpr std::uint8_t kExtended = 0x05;

std::vector<std::uint8_t> Boot(std::uint64_t serial) {
  BootSectorFields f;
  f.serial = serial;
  return MakeBootSector(f);
}

struct TableFixture : ::testing::Test {
  testing::RecordingHost host;
  RunControl run;
  EngineState state{host, run};
  std::vector<std::uint8_t> disk;

  void Open() {
    disk.resize(std::max<std::size_t>(disk.size(), 512 * 12000));
    state.source.Attach(std::make_unique<testing::MemoryDevice>(disk), "disk", 512);
  }
  std::vector<std::uint64_t> Serials() const {
    std::vector<std::uint64_t> s;
    for (const auto& v : state.partitions) s.push_back(v.serial);
    return s;
  }
};

// Two primaries, then an extended partition at 5000 holding two logical
// drives: EBR 5000 -> logical at 5000+63, link to EBR 5000+3000 -> logical at 8000+63.
TEST_F(TableFixture, PrimariesInTableOrderThenLogicalDrivesInChainOrder) {
  PutSector(disk, 0, MakeTableSector({{kNtfs, 63, 2000}, {kExtended, 5000, 6000},
                                      {kNtfs, 2100, 2000}, {0x0C, 4200, 500}}));
  PutSector(disk, 63, Boot(1));
  PutSector(disk, 2100, Boot(2));
  PutSector(disk, 4200, Boot(99));  // a FAT entry pointing at NTFS bytes is still ignored
  PutSector(disk, 5000, MakeTableSector({{kNtfs, 63, 1000}, {kExtended, 3000, 2000}}));
  PutSector(disk, 5063, Boot(3));
  PutSector(disk, 8000, MakeTableSector({{kNtfs, 63, 1000}}));
  PutSector(disk, 8063, Boot(4));
  Open();

  ASSERT_TRUE(ReadPartitionTable(state));
  EXPECT_EQ(Serials(), (std::vector<std::uint64_t>{1, 2, 3, 4}));
  EXPECT_EQ(state.partitions[2].first_sector, 5063u);
  EXPECT_EQ(state.partitions[3].first_sector, 8063u);
  EXPECT_EQ(state.partitions[3].length, 1000u);
  EXPECT_EQ(state.partitions[0].mft_sector, 63u + 4 * 8);
}

TEST_F(TableFixture, WipedBootSectorIsNotListed) {
  PutSector(disk, 0, MakeTableSector({{kNtfs, 63, 2000}, {kNtfs, 2100, 2000}}));
  PutSector(disk, 2100, Boot(2));
  Open();
  ASSERT_TRUE(ReadPartitionTable(state));
  EXPECT_EQ(Serials(), (std::vector<std::uint64_t>{2}));
}

TEST_F(TableFixture, EmptyFirstEntryListsNothing) {
  PutSector(disk, 0, MakeTableSector({{0, 0, 0}, {kNtfs, 2100, 2000}}));
  PutSector(disk, 2100, Boot(2));
  Open();
  EXPECT_FALSE(ReadPartitionTable(state));
  EXPECT_TRUE(state.partitions.empty());
}

TEST_F(TableFixture, MissingSignatureListsNothing) {
  auto mbr = MakeTableSector({{kNtfs, 63, 2000}});
  mbr[511] = 0;
  PutSector(disk, 0, mbr);
  PutSector(disk, 63, Boot(1));
  Open();
  EXPECT_FALSE(ReadPartitionTable(state));
}

TEST_F(TableFixture, LoopingChainEndsAndListsEachDriveOnce) {
  // EBR 5000 links to 6000; EBR 6000 links back to the base (5000 + 0).
  PutSector(disk, 0, MakeTableSector({{kExtended, 5000, 6000}}));
  PutSector(disk, 5000, MakeTableSector({{kNtfs, 63, 100}, {kExtended, 1000, 100}}));
  PutSector(disk, 5063, Boot(7));
  PutSector(disk, 6000, MakeTableSector({{kNtfs, 63, 100}, {kExtended, 0, 100}}));
  PutSector(disk, 6063, Boot(8));
  Open();
  ASSERT_TRUE(ReadPartitionTable(state));
  EXPECT_EQ(Serials(), (std::vector<std::uint64_t>{7, 8}));
}

TEST_F(TableFixture, BareVolumeIsListedAsDriveOneAtSectorZero) {
  PutSector(disk, 0, Boot(5));
  Open();
  EXPECT_EQ(ListSourceVolumes(state, false), VolumeListing::kSingleVolume);
  ASSERT_EQ(state.partitions.size(), 1u);
  EXPECT_EQ(state.partitions[0].first_sector, 0u);
  EXPECT_EQ(state.partitions[0].length, 20479u);
}

TEST_F(TableFixture, BareVolumeWith4096ByteSectorsSetsTheSourceSectorSize) {
  BootSectorFields f;
  f.bytes_per_sector = 4096;
  f.sectors_per_cluster = 1;
  f.clusters_per_file_record = 0xF4;
  PutSector(disk, 0, MakeBootSector(f));
  Open();
  EXPECT_EQ(ListSourceVolumes(state, false), VolumeListing::kSingleVolume);
  EXPECT_EQ(state.source.bytes_per_sector(), 4096);
  EXPECT_EQ(state.partitions[0].bytes_per_file_record, 4096);

  // A forced sector size is kept.
  state.source.SetBytesPerSector(512);
  EXPECT_EQ(ListSourceVolumes(state, true), VolumeListing::kSingleVolume);
  EXPECT_EQ(state.source.bytes_per_sector(), 512);
}

}  // namespace
}  // namespace salvor

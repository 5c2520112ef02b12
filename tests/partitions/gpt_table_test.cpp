// GPT disks and hidden NTFS types (tools/make-gpt-fixtures): two empty NTFS
// volumes at 2048 and 12288 (8192 sectors each, serials ...01 and ...02) with
// a non-NTFS partition between them that must not be listed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "disk/texts.h"
#include "partitions/partition_table.h"
#include "support/memory_device.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

std::vector<std::uint8_t> ReadSample(const char* name) {
  const auto path = testing::SamplesDir() / name;
  std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
  std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

struct GptFixture : ::testing::Test {
  testing::RecordingHost host;
  RunControl run;
  EngineState state{host, run};
  PartitionScheme scheme = PartitionScheme::kMbr;

  bool Read(std::vector<std::uint8_t> disk) {
    state.source.Attach(std::make_unique<testing::MemoryDevice>(std::move(disk)), "disk", 512);
    return ReadPartitionTable(state, &scheme);
  }
  void ExpectBothVolumes() const {
    ASSERT_EQ(state.partitions.size(), 2u);
    EXPECT_EQ(state.partitions[0].first_sector, 2048u);
    EXPECT_EQ(state.partitions[0].length, 8192u);
    EXPECT_EQ(state.partitions[0].serial, 0x4750540000000001u);
    EXPECT_EQ(state.partitions[1].first_sector, 12288u);
    EXPECT_EQ(state.partitions[1].serial, 0x4750540000000002u);
    EXPECT_EQ(state.partitions[1].mft_sector, 12288u + 4 * 8);
  }
  bool Logged(std::string_view text) const {
    for (const auto& e : host.log)
      if (e.text == text && e.kind == LogKind::kFailure) return true;
    return false;
  }
};

TEST_F(GptFixture, IntactPrimaryListsNtfsPartitionsInTableOrder) {
  ASSERT_TRUE(Read(ReadSample("gpt-disk.img")));
  EXPECT_EQ(scheme, PartitionScheme::kGptPrimary);
  ExpectBothVolumes();
  EXPECT_TRUE(host.log.empty());
}

TEST_F(GptFixture, DamagedPrimaryIsReplacedByTheBackupAndSaidSo) {
  ASSERT_TRUE(Read(ReadSample("gpt-backup-only.img")));
  EXPECT_EQ(scheme, PartitionScheme::kGptBackup);
  ExpectBothVolumes();
  EXPECT_TRUE(Logged(text::kGptBackupUsed));
}

TEST_F(GptFixture, PrimaryEntryArrayFailingItsCrcFallsBackToTheBackup) {
  std::vector<std::uint8_t> disk = ReadSample("gpt-disk.img");
  disk[2 * 512 + 32] ^= 1;  // first entry's first LBA, primary array only
  ASSERT_TRUE(Read(std::move(disk)));
  EXPECT_EQ(scheme, PartitionScheme::kGptBackup);
  ExpectBothVolumes();
}

TEST_F(GptFixture, NeitherCopyValidListsNothingAndSaysSo) {
  std::vector<std::uint8_t> disk = ReadSample("gpt-disk.img");
  disk[512 + 16] ^= 1;                  // primary header CRC
  disk[disk.size() - 512 + 16] ^= 1;    // backup header CRC
  EXPECT_FALSE(Read(std::move(disk)));
  EXPECT_EQ(scheme, PartitionScheme::kGptUnreadable);
  EXPECT_TRUE(Logged(text::kGptUnreadable));
}

TEST_F(GptFixture, HiddenNtfsTypesOfAnMbrCount) {
  ASSERT_TRUE(Read(ReadSample("hidden-ntfs.img")));
  EXPECT_EQ(scheme, PartitionScheme::kMbr);
  ExpectBothVolumes();
}

}  // namespace
}  // namespace salvor

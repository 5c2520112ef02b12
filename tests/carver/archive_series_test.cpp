// Numbered archives of a compressed save: roll-over keeps every archive
// below the limit, counting the file that opened a new archive in it.

#include "carver/archive_series.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "support/shell.h"
#include "support/test_paths.h"
#include "zip_reader.h"

namespace salvor::carver {
namespace {

namespace fs = std::filesystem;

void WriteRandom(const fs::path& path, std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string data(n, '\0');
  for (auto& c : data) c = static_cast<char>(rng());
  std::ofstream(path, std::ios::binary) << data;
}

TEST(ArchiveSeries, RollsOverBeforeTheLimitAndCountsTheOpeningFile) {
  testing::ScratchDir dir;
  ArchiveSeries series;
  series.stem = (dir.path() / "DataKLT0").string();
  series.limit = 300000;
  int new_archives = 0;
  for (int i = 0; i < 7; ++i) {
    const fs::path file = dir.path() / ("f" + std::to_string(i) + ".bin");
    WriteRandom(file, 100000, static_cast<std::uint32_t>(i));  // does not compress
    const ArchiveAddResult r = AddToSeries(series, file.filename().string(), file, 100000);
    ASSERT_EQ(r.status, ArchiveStatus::kAdded) << i;
    new_archives += r.new_archive;
    EXPECT_EQ(series.running_total % 100000, 0u);
    EXPECT_GE(series.running_total, 100000u);  // the file that opened the archive counts
  }
  ASSERT_TRUE(FinishSeries(series));
  // Two files of 100000 bytes fit under 300000 with headers; a third would not.
  EXPECT_EQ(new_archives, 4);
  EXPECT_EQ(series.counter, 4u);
  int entries = 0;
  for (unsigned k = 1; k <= series.counter; ++k) {
    const fs::path zip = ArchivePath(series, k);
    EXPECT_EQ(zip.filename(), "DataKLT0" + std::to_string(k) + ".zip");
    EXPECT_LE(fs::file_size(zip), series.limit);
    std::string why;
    const auto read = testing::ReadZipFile(zip, why);
    ASSERT_TRUE(read) << why;
    entries += static_cast<int>(read->entries.size());
    if (testing::HaveCommand("unzip")) {
      EXPECT_EQ(testing::RunCommand("unzip -t '" + zip.string() + "'").status, 0);
    }
  }
  EXPECT_EQ(entries, 7);
}

TEST(ArchiveSeries, FourGibibytesCannotBeArchived) {
  testing::ScratchDir dir;
  const fs::path file = dir.path() / "big.bin";
  WriteRandom(file, 10, 1);
  ArchiveSeries series;
  series.stem = (dir.path() / "A").string();
  EXPECT_EQ(AddToSeries(series, "big.bin", file, 0x100000000ull).status, ArchiveStatus::kTooLarge);
  EXPECT_EQ(AddToSeries(series, "big.bin", file, 0xFFFFFFFFull).status, ArchiveStatus::kTooLarge);
  EXPECT_EQ(series.counter, 0u);  // no archive started for it
  EXPECT_TRUE(FinishSeries(series));
}

TEST(ArchiveSeries, ArchiveThatCannotBeCreatedIsReported) {
  testing::ScratchDir dir;
  const fs::path file = dir.path() / "a.bin";
  WriteRandom(file, 10, 1);
  ArchiveSeries series;
  series.stem = (dir.path() / "missing" / "A").string();
  EXPECT_EQ(AddToSeries(series, "a.bin", file, 10).status, ArchiveStatus::kCreateFailed);
}

TEST(ArchiveSeries, FailedWriteIsAFailureNotSuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  testing::ScratchDir dir;
  const fs::path file = dir.path() / "a.bin";
  WriteRandom(file, 1000, 1);
  ArchiveSeries series;
  series.current = ZipCreate("/dev/full");
  ASSERT_TRUE(series.current);
  EXPECT_EQ(AddToSeries(series, "a.bin", file, 1000).status, ArchiveStatus::kWriteFailed);
  EXPECT_FALSE(FinishSeries(series));
}

}  // namespace
}  // namespace salvor::carver

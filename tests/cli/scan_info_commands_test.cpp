// Saving and loading scan results from the command line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::SalvorCli;

std::string Quote(const fs::path& p) { return testing::Quote(p.string()); }

fs::path SampleCopy(const testing::ScratchDir& dir) {
  fs::path sample = testing::SamplesDir() / "sample-disk.img";
  if (!fs::exists(sample)) return {};
  fs::path copy = dir.path() / "sample-disk.img";
  fs::copy_file(sample, copy);
  return copy;
}

TEST(ScanInfoCommands, SavedTreeLoadsBackIdenticalWithoutReadingTheMft) {
  testing::ScratchDir dir;
  fs::path disk = SampleCopy(dir);
  if (disk.empty()) GTEST_SKIP() << "sample disk not built";
  CliRun built =
      SalvorCli("ls " + Quote(disk) + " --save-scan " + Quote(dir.path() / "scan.VKT"), false);
  ASSERT_EQ(built.status, 0) << built.output;
  fs::path saved = dir.path() / "scan.VKT.vkt";
  ASSERT_TRUE(fs::exists(saved));

  // Zeros where the volumes were: only the saved tree can give the listing now.
  fs::resize_file(disk, 0);
  fs::resize_file(disk, fs::file_size(testing::SamplesDir() / "sample-disk.img"));
  CliRun loaded = SalvorCli("ls --load-scan " + Quote(saved), false);
  ASSERT_EQ(loaded.status, 0);
  EXPECT_EQ(loaded.output, built.output);
}

TEST(ScanInfoCommands, DiskFileUnderTheTreeExtensionIsRejected) {
  testing::ScratchDir dir;
  fs::path disk = SampleCopy(dir);
  if (disk.empty()) GTEST_SKIP() << "sample disk not built";
  ASSERT_EQ(SalvorCli("partitions " + Quote(disk) + " --save " + Quote(dir.path() / "d")).status,
            0);
  fs::rename(dir.path() / "d.vkd", dir.path() / "d.vkt");
  CliRun run = SalvorCli("ls --load-scan " + Quote(dir.path() / "d.vkt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Not a valid Partition scan information."), std::string::npos)
      << run.output;
}

TEST(ScanInfoCommands, SavedVolumesListTheSameWithoutTheSourceArgument) {
  testing::ScratchDir dir;
  fs::path disk = SampleCopy(dir);
  if (disk.empty()) GTEST_SKIP() << "sample disk not built";
  CliRun direct = SalvorCli("--json partitions " + Quote(disk) + " --save " +
                            Quote(dir.path() / "volumes.vkd"), false);
  ASSERT_EQ(direct.status, 0);
  CliRun loaded = SalvorCli("--json partitions --load " + Quote(dir.path() / "volumes.vkd"), false);
  ASSERT_EQ(loaded.status, 0);
  EXPECT_EQ(loaded.output, direct.output);
}

TEST(ScanInfoCommands, SourceOrLoadIsRequired) {
  EXPECT_EQ(SalvorCli("ls").status, 2);
  EXPECT_EQ(SalvorCli("partitions").status, 2);
}

}  // namespace
}  // namespace salvor

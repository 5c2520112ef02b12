// salvor-cli image and clone, run as the user runs them.

#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli_runner.h"
#include "disk/byte_reader.h"
#include "disk/sector_source.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;

using testing::CliRun;
using testing::SalvorCli;

std::string Quote(const fs::path& p) { return testing::Quote(p.string()); }

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WritePattern(const fs::path& path, std::size_t bytes) {
  std::vector<char> data(bytes);
  for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<char>(i * 31 + i / 512 + 3);
  std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(bytes));
}

TEST(ImageCommand, ImageIsTheSourceWithTheTwoStampsAndOpensWithThem) {
  testing::ScratchDir dir;
  fs::path source = dir.path() / "disk.img";
  fs::path image = dir.path() / "disk.vk2";
  fs::path log = dir.path() / "log.txt";
  WritePattern(source, 1000 * 512);
  std::string before = testing::Sha256OfFile(source);

  CliRun run = SalvorCli("--log " + Quote(log) + " image " + Quote(source) + " " + Quote(image));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(testing::Sha256OfFile(source), before);

  std::vector<std::uint8_t> want = ReadBytes(source);
  std::vector<std::uint8_t> got = ReadBytes(image);
  ASSERT_EQ(got.size(), want.size());
  ByteReader stamps(got);
  EXPECT_EQ(*stamps.U64(0x1B0), 1000u);
  EXPECT_EQ(*stamps.U16(0x1BC), 512u);
  std::copy_n(want.begin() + 0x1B0, 8, got.begin() + 0x1B0);
  std::copy_n(want.begin() + 0x1BC, 2, got.begin() + 0x1BC);
  EXPECT_TRUE(got == want) << "bytes besides the stamps differ";

  std::string saved(std::istreambuf_iterator<char>(std::ifstream(log, std::ios::binary).rdbuf()),
                    {});
  EXPECT_NE(saved.find("\r\nImaging Disk :"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\r\nCompleted Imaging Disk :"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\t\tTo Location " + image.string() + "\r\n"), std::string::npos);
}

// An image keeps its rescue map beside it; --resume fills in what the map
// says is missing and nothing else.
TEST(ImageCommand, MapListsTheCopyAndResumeFillsWhatItLacks) {
  testing::ScratchDir dir;
  const fs::path source = dir.path() / "disk.img";
  const fs::path image = dir.path() / "disk.vk2";
  const fs::path map = dir.path() / "disk.vk2.map";
  WritePattern(source, 1000 * 512);
  ASSERT_EQ(SalvorCli("image " + Quote(source) + " " + Quote(image)).status, 0);
  const std::string whole = testing::Sha256OfFile(image);
  std::ifstream written(map);
  const std::string text{std::istreambuf_iterator<char>(written), {}};
  EXPECT_NE(text.find("0x00000000  0x0007D000  +\n"), std::string::npos) << text;

  // As if the copy had stopped after 300 sectors: the rest untried, zeros.
  std::ofstream(map) << "0x00025800 ? 1\n0x0 0x25800 +\n0x25800 0x57800 ?\n";
  {
    std::fstream bytes(image, std::ios::in | std::ios::out | std::ios::binary);
    bytes.seekp(300 * 512);
    const std::string zeros(700 * 512, '\0');
    bytes.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
  }
  CliRun resumed = SalvorCli("image --resume " + Quote(source) + " " + Quote(image));
  ASSERT_EQ(resumed.status, 0) << resumed.output;
  EXPECT_EQ(testing::Sha256OfFile(image), whole);

  fs::remove(map);
  CliRun without = SalvorCli("image --resume " + Quote(source) + " " + Quote(image));
  EXPECT_EQ(without.status, 1);
  EXPECT_NE(without.output.find(map.string()), std::string::npos) << without.output;
  EXPECT_EQ(testing::Sha256OfFile(image), whole);  // a refused resume leaves the image alone
}

TEST(ImageCommand, RefusesToWriteOverTheSource) {
  testing::ScratchDir dir;
  fs::path source = dir.path() / "disk.img";
  WritePattern(source, 64 * 512);
  fs::create_symlink(source, dir.path() / "alias.vk2");
  std::string before = testing::Sha256OfFile(source);
  for (const fs::path& out : {source, dir.path() / "alias.vk2"}) {
    CliRun run = SalvorCli("image " + Quote(source) + " " + Quote(out));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Please choose different destination drive."), std::string::npos)
        << run.output;
  }
  EXPECT_EQ(testing::Sha256OfFile(source), before);
}

TEST(ImageCommand, ExistingOutNeedsForce) {
  testing::ScratchDir dir;
  fs::path source = dir.path() / "disk.img";
  WritePattern(source, 64 * 512);
  fs::path image = dir.path() / "disk.vk2";
  std::ofstream(image) << "an earlier image";
  CliRun run = SalvorCli("image " + Quote(source) + " " + Quote(image));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find(image.string() + " exists; --force replaces it"), std::string::npos)
      << run.output;
  EXPECT_EQ(fs::file_size(image), 16u);
  EXPECT_EQ(SalvorCli("image " + Quote(source) + " " + Quote(image) + " --force").status, 0);
  EXPECT_EQ(fs::file_size(image), 64u * 512);
}

TEST(ImageCommand, TooLittleFreeSpaceNeedsForce) {
  testing::ScratchDir dir;
  fs::path source = dir.path() / "huge.img";
  std::ofstream(source).close();
  std::error_code ec;
  fs::resize_file(source, std::uintmax_t{1} << 43, ec);  // sparse: 8 TiB that take no space
  if (ec) GTEST_SKIP() << "no sparse 8 TiB file here: " << ec.message();
  fs::path image = dir.path() / "huge.vk2";
  CliRun run = SalvorCli("image " + Quote(source) + " " + Quote(image));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("--force"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(image));
}

TEST(CloneCommand, EqualDestinationReceivesAnUnstampedCopy) {
  testing::ScratchDir dir;
  fs::path source = dir.path() / "disk.img";
  fs::path target = dir.path() / "target.img";
  WritePattern(source, 700 * 512);
  WritePattern(target, 100);
  fs::resize_file(target, 700 * 512);
  CliRun run = SalvorCli("clone " + Quote(source) + " " + Quote(target));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(testing::Sha256OfFile(target), testing::Sha256OfFile(source));
}

TEST(CloneCommand, DestinationOneSectorSmallerIsRefusedUntouched) {
  testing::ScratchDir dir;
  fs::path source = dir.path() / "disk.img";
  fs::path target = dir.path() / "target.img";
  WritePattern(source, 700 * 512);
  std::ofstream(target).close();
  fs::resize_file(target, 699 * 512);
  std::string before = testing::Sha256OfFile(target);
  CliRun run = SalvorCli("clone " + Quote(source) + " " + Quote(target));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("Size of destination disk is less than source disk."),
            std::string::npos)
      << run.output;
  EXPECT_EQ(testing::Sha256OfFile(target), before);
}

TEST(CloneCommand, MissingDestinationIsNotCreated) {
  testing::ScratchDir dir;
  fs::path source = dir.path() / "disk.img";
  WritePattern(source, 10 * 512);
  CliRun run = SalvorCli("clone " + Quote(source) + " " + Quote(dir.path() / "nothing"));
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(fs::exists(dir.path() / "nothing"));
}

TEST(ImageCommand, SampleDiskImageListsTheSameVolumes) {
  fs::path sample = testing::SamplesDir() / "sample-disk.img";
  if (!fs::exists(sample)) GTEST_SKIP() << "sample disk not built";
  testing::ScratchDir dir;
  fs::path image = dir.path() / "sample.vk2";
  ASSERT_EQ(SalvorCli("image " + Quote(sample) + " " + Quote(image)).status, 0);
  CliRun original = SalvorCli("--json partitions " + Quote(sample));
  CliRun copy = SalvorCli("--json partitions " + Quote(image));
  EXPECT_EQ(original.status, 0);
  EXPECT_EQ(copy.output, original.output);

  testing::RecordingHost host;
  RunControl run_control;
  SectorSource opened(host, run_control);
  ASSERT_TRUE(opened.OpenImage(image.string()));
  EXPECT_TRUE(opened.has_sector_size_stamp());
  EXPECT_EQ(opened.total_sectors(), fs::file_size(sample) / 512);
}

}  // namespace
}  // namespace salvor

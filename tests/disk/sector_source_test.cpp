#include "disk/sector_source.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "disk/open_failure.h"

#include "support/memory_device.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

using testing::MemoryDevice;
using testing::RecordingHost;

std::vector<std::uint8_t> NumberedSectors(std::size_t count, std::size_t size = 512) {
  std::vector<std::uint8_t> bytes(count * size);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i / size + 1);
  return bytes;
}

struct SourceFixture : ::testing::Test {
  RecordingHost host;
  RunControl run;
  SectorSource source{host, run};
  MemoryDevice* device = nullptr;

  void Attach(std::vector<std::uint8_t> bytes) {
    auto dev = std::make_unique<MemoryDevice>(std::move(bytes));
    device = dev.get();
    source.Attach(std::move(dev), "memory", 512);
  }
};

TEST_F(SourceFixture, WholeRequestReadsOnceWithoutLogging) {
  Attach(NumberedSectors(8));
  std::vector<std::uint8_t> buf(4 * 512, 0);
  EXPECT_EQ(source.ReadSectors(buf, 2), 0u);
  EXPECT_EQ(device->reads, 1);
  EXPECT_EQ(buf[0], 3);
  EXPECT_EQ(buf[3 * 512], 6);
  EXPECT_TRUE(host.log.empty());
}

TEST_F(SourceFixture, BadSectorIsSkippedAsZerosAndLoggedTwice) {
  Attach(NumberedSectors(8));
  device->FailSector(3, EIO);
  std::vector<std::uint8_t> buf(4 * 512, 0);
  EXPECT_EQ(source.ReadSectors(buf, 2), 0u);  // the last sector read fine
  EXPECT_EQ(buf[0], 3);
  EXPECT_EQ(buf[512], 0);  // sector 3 keeps the caller's zeros
  EXPECT_EQ(buf[2 * 512], 5);
  ASSERT_EQ(host.log.size(), 2u);  // the whole request, then the bad sector
  EXPECT_EQ(host.log[0].text, Format("Drive access error @ sector =2 (Code =%u)", unsigned{EIO}));
  EXPECT_EQ(host.log[1].text, Format("Drive access error @ sector =3 (Code =%u)", unsigned{EIO}));
  EXPECT_EQ(host.log[1].kind, LogKind::kFailure);
  EXPECT_FALSE(host.log[1].detail.empty());
  EXPECT_TRUE(host.messages.empty());
}

// What a failing whole-request read left in the buffer must not pass for
// the bad sector's bytes.
TEST_F(SourceFixture, BadSectorReadsAsZerosWhateverTheBufferHeld) {
  Attach(NumberedSectors(8));
  device->FailSector(3, ENODATA);
  std::vector<std::uint8_t> buf(4 * 512, 0xEE);
  EXPECT_EQ(source.ReadSectors(buf, 2), 0u);
  EXPECT_EQ(buf[0], 3);
  EXPECT_TRUE(std::all_of(buf.begin() + 512, buf.begin() + 1024, [](auto b) { return b == 0; }));
  EXPECT_EQ(buf[2 * 512], 5);
  EXPECT_EQ(buf[4 * 512 - 1], 6);
}

TEST_F(SourceFixture, BadLastSectorGivesItsMediaClass) {
  Attach(NumberedSectors(8));
  device->FailSector(5, ENODATA);
  std::vector<std::uint8_t> buf(4 * 512, 0);
  EXPECT_EQ(source.ReadSectors(buf, 2), kDataError);
  device->FailSector(5, ENXIO);
  EXPECT_EQ(source.ReadSectors(buf, 2), kSectorNotFound);
}

TEST_F(SourceFixture, OtherErrorsAreShownAndRaised) {
  Attach(NumberedSectors(8));
  device->FailSector(1, EBADF);
  std::vector<std::uint8_t> buf(2 * 512, 0);
  EXPECT_THROW(source.ReadSectors(buf, 0), UserException);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Error");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
}

TEST_F(SourceFixture, EmptyRequestReturnsFirstFailureWithoutRetry) {
  Attach(NumberedSectors(2));
  device->next_errors = {EIO};
  std::vector<std::uint8_t> buf;
  EXPECT_EQ(source.ReadSectors(buf, 0), static_cast<std::uint32_t>(EIO));
  EXPECT_EQ(device->reads, 1);
}

TEST_F(SourceFixture, StopDuringRetryEndsAtNextSectorAsStopped) {
  Attach(NumberedSectors(16));
  device->FailSector(0, EIO);
  device->before_read = [this] {
    if (device->reads == 3) run.Stop();  // the whole request, then two single sectors
  };
  std::vector<std::uint8_t> buf(8 * 512, 0);
  EXPECT_EQ(source.ReadSectors(buf, 0), kReadStopped);
  EXPECT_EQ(device->reads, 3);
  EXPECT_EQ(buf[2 * 512], 0);  // never read
}

TEST_F(SourceFixture, ReadPastEndSucceedsAndKeepsTheRest) {
  Attach(NumberedSectors(2));
  std::vector<std::uint8_t> buf(4 * 512, 0xAB);
  EXPECT_EQ(source.ReadSectors(buf, 1), 0u);
  EXPECT_EQ(buf[0], 2);
  EXPECT_EQ(buf[512], 0xAB);
}

TEST(MediaErrorClass, MapsTheTwoClasses) {
  EXPECT_EQ(MediaErrorClass(EIO), kDataError);
  EXPECT_EQ(MediaErrorClass(EBADMSG), kDataError);
  EXPECT_EQ(MediaErrorClass(ENXIO), kSectorNotFound);
  EXPECT_EQ(MediaErrorClass(EBADF), 0u);
  EXPECT_EQ(MediaErrorClass(ENODEV), 0u);
}

class ImageStamp : public ::testing::TestWithParam<std::pair<std::uint16_t, std::uint16_t>> {};

TEST_P(ImageStamp, OnlyRealSectorSizesAreAccepted) {
  testing::ScratchDir dir;
  auto [stamp, expected] = GetParam();
  std::vector<std::uint8_t> image(1'000'000, 0);
  image[0x1BC] = static_cast<std::uint8_t>(stamp);
  image[0x1BD] = static_cast<std::uint8_t>(stamp >> 8);
  auto path = dir.path() / "disk.vk2";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  testing::RecordingHost host;
  RunControl run;
  SectorSource source(host, run);
  ASSERT_TRUE(source.OpenImage(path.string()));
  EXPECT_EQ(source.bytes_per_sector(), expected);
  EXPECT_EQ(source.total_sectors(), 1'000'000u / expected);
  EXPECT_EQ(source.info().device_path, Utf8ToUtf16(path.string()));
}

INSTANTIATE_TEST_SUITE_P(Stamps, ImageStamp,
                         ::testing::Values(std::pair<std::uint16_t, std::uint16_t>{0x0200, 512},
                                           std::pair<std::uint16_t, std::uint16_t>{0x0600, 512},
                                           std::pair<std::uint16_t, std::uint16_t>{0x1000, 4096},
                                           std::pair<std::uint16_t, std::uint16_t>{0x0800, 2048},
                                           std::pair<std::uint16_t, std::uint16_t>{0x0400, 1024},
                                           std::pair<std::uint16_t, std::uint16_t>{0, 512},
                                           std::pair<std::uint16_t, std::uint16_t>{69, 512},
                                           std::pair<std::uint16_t, std::uint16_t>{0x2000, 512}));

TEST(ImageOpen, MissingImageFailsAndLeavesNoSource) {
  testing::RecordingHost host;
  RunControl run;
  SectorSource source(host, run);
  EXPECT_FALSE(source.OpenImage("/nonexistent/disk.vk2"));
  EXPECT_FALSE(source.IsOpen());
  EXPECT_EQ(source.bytes_per_sector(), 0);
  EXPECT_EQ(source.open_error(), ENOENT);
}

// Missing rights are told in words that say how to get them, not as a code.
TEST(ImageOpen, PermissionFailuresSayHowToGetAccess) {
  EXPECT_EQ(OpenFailureText("/nonexistent/disk.vk2", ENOENT), ErrorText(ENOENT));
  std::string file = OpenFailureText("/etc/hostname", EACCES);
  EXPECT_NE(file.find("/etc/hostname"), std::string::npos);
  EXPECT_NE(file.find("owner"), std::string::npos);

  std::string device;
  for (const auto& e : std::filesystem::directory_iterator("/dev"))
    if (e.is_block_file()) { device = e.path().string(); break; }
  if (device.empty()) GTEST_SKIP() << "no block device to name";
  struct stat st {};
  ASSERT_EQ(stat(device.c_str(), &st), 0);
  const group* g = getgrgid(st.st_gid);
  std::string disk = OpenFailureText(device, EPERM);
  EXPECT_NE(disk.find("usermod -aG " + std::string(g ? g->gr_name : std::to_string(st.st_gid))),
            std::string::npos) << disk;
  EXPECT_NE(disk.find("sudo"), std::string::npos);
}

}  // namespace
}  // namespace salvor

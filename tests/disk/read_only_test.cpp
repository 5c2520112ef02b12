// The source is never opened for writing: prove it through the kernel's own
// record of the open file's access mode.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "disk/sector_source.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

// The access modes of every descriptor of this process that names `path`.
std::vector<int> AccessModesOf(const std::filesystem::path& path) {
  std::vector<int> modes;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    auto target = std::filesystem::read_symlink(fd.path(), ec);
    if (ec || target != path) continue;
    std::ifstream info("/proc/self/fdinfo/" + fd.path().filename().string());
    std::string key;
    while (info >> key) {
      if (key == "flags:") {
        std::string octal;
        info >> octal;
        modes.push_back(std::stoi(octal, nullptr, 8) & O_ACCMODE);
      }
    }
  }
  return modes;
}

TEST(ReadOnly, ImageAndDiskSourcesAreOpenedReadOnly) {
  testing::ScratchDir dir;
  auto path = std::filesystem::canonical(dir.path()) / "source.img";
  std::ofstream(path, std::ios::binary) << std::string(4096, 'x');

  testing::RecordingHost host;
  RunControl run;
  SectorSource source(host, run);
  ASSERT_TRUE(source.OpenImage(path.string()));
  auto modes = AccessModesOf(path);
  ASSERT_EQ(modes.size(), 1u);
  EXPECT_EQ(modes[0], O_RDONLY);

  ASSERT_TRUE(source.OpenDisk(path.string(), 512, 8));
  modes = AccessModesOf(path);
  ASSERT_EQ(modes.size(), 1u);
  EXPECT_EQ(modes[0], O_RDONLY);

  source.Reset();
  EXPECT_TRUE(AccessModesOf(path).empty());
}

}  // namespace
}  // namespace salvor

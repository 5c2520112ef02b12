// salvor-cli partitions --search and recover --search on a disk whose
// partition table is gone: one volume with both boot sectors, one with only
// its backup boot sector, one with none but its $MFT and mirror intact.

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

using testing::Quote;
using testing::SalvorCli;

std::string Disk() { return (testing::SamplesDir() / "lost-partitions.img").string(); }

// "first_sector:origin_flags" of every listed volume, in list order.
std::string Starts(const std::string& json_lines) {
  std::string out;
  for (std::size_t at = 0; (at = json_lines.find("\"first_sector\":", at)) != std::string::npos;) {
    at += 15;
    out += json_lines.substr(at, json_lines.find(',', at) - at) + ":";
    const std::size_t flags = json_lines.find("\"origin_flags\":", at) + 15;
    out += json_lines.substr(flags, json_lines.find('}', flags) - flags) + " ";
  }
  return out;
}

TEST(SearchCommand, QuickScanFindsOnlyTheCylinderAlignedVolume) {
  testing::CliRun run = SalvorCli("--json partitions " + Quote(Disk()) + " --search quick", false);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Starts(run.output), "16065:1 ");
}

TEST(SearchCommand, ThoroughScanFindsEveryVolumeAtItsTrueStart) {
  testing::CliRun run =
      SalvorCli("--json partitions " + Quote(Disk()) + " --search thorough", false);
  EXPECT_EQ(run.status, 0);
  // Backup boot sector only (listed at its volume's start), both boot
  // sectors, and $MFT with mirror only.
  EXPECT_EQ(Starts(run.output), "2048:3 16065:11 30720:2 ");
}

TEST(SearchCommand, EachFoundVolumeRecoversItsFiles) {
  testing::ScratchDir dir;
  const std::string manifest = (testing::SamplesDir() / "lost-partitions.json").string();
  for (int volume = 1; volume <= 3; ++volume) {
    const std::string out = (dir.path() / std::to_string(volume)).string();
    testing::CliRun run = SalvorCli("recover " + Quote(Disk()) + " --search thorough --volume " +
                                    std::to_string(volume) + " --out " + Quote(out));
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string check =
        "python3 -c \"import hashlib,json,os,sys; v=json.load(open(sys.argv[1]))['volumes']["
        "int(sys.argv[2])]; bad=[f['path'] for f in v['files'] if not os.path.isfile("
        "os.path.join(sys.argv[3],'#',' Root',f['path'])) or hashlib.sha256(open(os.path.join("
        "sys.argv[3],'#',' Root',f['path']),'rb').read()).hexdigest()!=f['sha256']]; "
        "print('bad', bad) if bad else print('all', len(v['files']))\" " +
        Quote(manifest) + " " + std::to_string(volume - 1) + " " + Quote(out);
    const std::string text = testing::RunShell(check).output;
    EXPECT_EQ(text.rfind("all ", 0), 0u) << "volume " << volume << ": " << text;
  }
}

}  // namespace
}  // namespace salvor

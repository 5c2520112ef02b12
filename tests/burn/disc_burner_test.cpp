#include "burn/disc_burner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>

#include "burn/burn_library.h"
#include "carver/texts.h"
#include "support/recording_host.h"
#include "support/shell.h"
#include "support/test_paths.h"

namespace salvor::burn {
namespace {

namespace fs = std::filesystem;
using testing::RecordingHost;
using testing::RunCommand;
using testing::ScratchDir;

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every file below `root` as "relative path -> sha256".
std::set<std::string> Hashes(const fs::path& root) {
  std::set<std::string> hashes;
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    if (!item.is_regular_file()) continue;
    hashes.insert(fs::relative(item.path(), root).string() + " " +
                  testing::Sha256OfFile(item.path()));
  }
  return hashes;
}

bool Shown(const RecordingHost& host, std::string_view text) {
  for (const auto& message : host.messages) {
    if (message.text.rfind(text, 0) == 0) return true;
  }
  return false;
}

class DiscBurnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveCommand("xorriso")) GTEST_SKIP() << "xorriso is not installed";
    ASSERT_TRUE(library_.ok());
    cache_ = scratch_.path() / "cache";
    // Long Unicode names (over Joliet's 64 characters), a folder tree and a
    // file of odd size: what carved saving leaves in its cache.
    WriteFile(cache_ / "Raw Data" / "Graphics" / "jpg" / "123.jpg", std::string(70001, 'j'));
    WriteFile(cache_ / "Raw Data" / "Documents" / "pdf" /
                  ("Überweisung für März – 報告書 " + std::string(80, 'x') + ".pdf"),
              "%PDF-1.4 tiny");
    WriteFile(cache_ / "Orphan Files" / "empty.bin", "");
  }

  // Reads the disc image back with xorriso into a fresh folder.
  fs::path Extract(const fs::path& iso) {
    const fs::path out = scratch_.path() / "extracted";
    const auto run = RunCommand("xorriso -osirrox on -indev '" + iso.string() +
                                "' -extract / '" + out.string() + "' 2>&1");
    EXPECT_EQ(run.status, 0) << run.output;
    return out;
  }

  BurnLibrary library_;
  ScratchDir scratch_;
  fs::path cache_;
  RecordingHost host_;
  RunControl run_;
};

TEST_F(DiscBurnerTest, WrittenImageReadsBackNameForNameAndByteForByte) {
  const fs::path iso = scratch_.path() / "disc.iso";
  DiscBurner burner("stdio:" + iso.string());
  std::vector<std::string> statuses;
  ASSERT_TRUE(burner.WriteFolder(cache_, host_, run_,
                                 [&](std::string_view s) { statuses.emplace_back(s); }))
      << (host_.messages.empty() ? "" : host_.messages.back().text);
  EXPECT_EQ(Hashes(Extract(iso)), Hashes(cache_));
  EXPECT_EQ(statuses, std::vector<std::string>{std::string(carver::text::kStatusFinalizing)});
  ASSERT_FALSE(host_.progress.empty());
  EXPECT_EQ(host_.progress.back().first, host_.progress.back().second);
  const auto label = RunCommand("xorriso -indev '" + iso.string() + "' -pvd_info 2>&1");
  // ISO 9660 keeps volume ids in upper case; the Joliet tree has "Varnok".
  EXPECT_NE(label.output.find("Volume Id    : VARNOK"), std::string::npos) << label.output;
}

TEST_F(DiscBurnerTest, UnknownWriterIsRefusedWithItsMessageAndAddress) {
  DiscBurner missing("/dev/no-such-writer");
  EXPECT_FALSE(missing.WriteFolder(cache_, host_, run_, {}));
  ASSERT_TRUE(Shown(host_, carver::text::kNoBurningDevice));
  EXPECT_NE(host_.messages.back().text.find("/dev/no-such-writer"), std::string::npos);
}

TEST_F(DiscBurnerTest, TooSmallMediumGivesTheCapacityMessageAndWritesNothing) {
  // A 1 MiB block device stands in for a small disc; making one needs root.
  if (geteuid() != 0) GTEST_SKIP() << "loop devices need root";
  const fs::path backing = scratch_.path() / "small.img";
  WriteFile(backing, std::string(1 << 20, '\0'));
  const auto attach = RunCommand("losetup -f --show '" + backing.string() + "' 2>&1");
  if (attach.status != 0) GTEST_SKIP() << "no loop device: " << attach.output;
  const std::string device = attach.output.substr(0, attach.output.find('\n'));
  WriteFile(cache_ / "big.bin", std::string(3 << 20, 'b'));
  const bool written = DiscBurner("stdio:" + device).WriteFolder(cache_, host_, run_, {});
  RunCommand("losetup -d " + device);
  EXPECT_FALSE(written);
  EXPECT_TRUE(Shown(host_, carver::text::kInsertHigherCapacity));
}

// Stops the run at the first progress report of the write itself.
class StoppingHost : public RecordingHost {
 public:
  explicit StoppingHost(RunControl& run) : run_(run) {}
  void Progress(const ProgressReport& report) override {
    RecordingHost::Progress(report);
    if (report.done > 0) run_.Stop();
  }

 private:
  RunControl& run_;
};

TEST_F(DiscBurnerTest, StopDuringWritingEndsCleanly) {
  WriteFile(cache_ / "large.bin", std::string(64 << 20, 'L'));
  StoppingHost host(run_);
  const fs::path iso = scratch_.path() / "stopped.iso";
  EXPECT_FALSE(DiscBurner("stdio:" + iso.string()).WriteFolder(cache_, host, run_, {}));
  EXPECT_TRUE(host.messages.empty());  // a stop is not a failure to report
  // The library is usable again at once: the drive was released idle.
  RunControl again;
  RecordingHost quiet;
  EXPECT_TRUE(DiscBurner("stdio:" + (scratch_.path() / "after.iso").string())
                  .WriteFolder(cache_ / "Raw Data", quiet, again, {}));
}

}  // namespace
}  // namespace salvor::burn

namespace salvor::burn {
namespace {

// From the command line: the carving fixture's found files burned to an image
// file read back identical to the same files saved to a folder, and the
// archives burned the same way; the cache goes after each good burn.
TEST(CarveBurnCommand, BurnedDiscsHoldWhatASaveWrites) {
  if (!testing::HaveCommand("xorriso")) GTEST_SKIP() << "xorriso is not installed";
  testing::ScratchDir scratch;
  const fs::path dir = scratch.path();
  const std::string carve =
      (testing::BinDir() / "salvor-cli").string() + " carve --all --max-size 1K --signatures '" +
      (testing::SourceDir() / "samples" / "Signature").string() + "' '" +
      (testing::SamplesDir() / "carving-fixture.img").string() + "'";
  ASSERT_EQ(RunCommand(carve + " --out '" + (dir / "saved").string() + "'").status, 0);
  const auto plain = RunCommand(carve + " --out '" + (dir / "cache").string() + "' --burn stdio:'" +
                                (dir / "plain.iso").string() + "'");
  ASSERT_EQ(plain.status, 0) << plain.output;
  EXPECT_FALSE(fs::exists(dir / "cache" / "DataKLT0"));
  const auto zipped = RunCommand(carve + " --out '" + (dir / "zcache").string() +
                                 "' --zip --burn stdio:'" + (dir / "zip.iso").string() + "'");
  ASSERT_EQ(zipped.status, 0) << zipped.output;
  EXPECT_FALSE(fs::exists(dir / "zcache" / "VEDod"));

  for (const char* disc : {"plain", "zip"}) {
    const fs::path out = dir / (std::string(disc) + "-read");
    const auto extract = RunCommand("xorriso -osirrox on -indev '" + (dir / disc).string() +
                                    ".iso' -extract / '" + out.string() + "' 2>&1");
    ASSERT_EQ(extract.status, 0) << extract.output;
  }
  EXPECT_EQ(Hashes(dir / "plain-read"), Hashes(dir / "saved" / "DataKLT0"));
  const auto listed = RunCommand("unzip -Z1 '" + (dir / "zip-read" / "DataKLT01.zip").string() + "'");
  ASSERT_EQ(listed.status, 0) << listed.output;
  std::size_t saved_files = 0;
  for (const auto& item : fs::recursive_directory_iterator(dir / "saved" / "DataKLT0"))
    saved_files += item.is_regular_file() ? 1 : 0;
  EXPECT_EQ(static_cast<std::size_t>(std::count(listed.output.begin(), listed.output.end(), '\n')),
            saved_files);
}

}  // namespace
}  // namespace salvor::burn

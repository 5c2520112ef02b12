#include "partitions/disk_copy.h"
#include "partitions/rescue_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "disk/byte_reader.h"
#include "memory_destination.h"
#include "support/memory_device.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

using testing::MemoryDestination;
using testing::MemoryDevice;
using testing::RecordingHost;

std::vector<std::uint8_t> PatternDisk(std::uint64_t sectors, std::size_t sector_size) {
  std::vector<std::uint8_t> bytes(sectors * sector_size);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>((i / sector_size) * 7 + i * 13 + 1);
  return bytes;
}

// The first offset where two byte strings differ, or -1 when they are equal.
long long FirstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return static_cast<long long>(std::min(a.size(), b.size()));
  auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin());
  return ia == a.end() ? -1 : ia - a.begin();
}

struct CopyFixture {
  CopyFixture(std::vector<std::uint8_t> disk, std::uint16_t sector_size = 512)
      : bytes(disk), source(host, run) {
    auto device = std::make_unique<MemoryDevice>(std::move(disk), sector_size);
    memory = device.get();
    source.Attach(std::move(device), "/dev/test", sector_size);
  }
  CopyResult Copy(CopyKind kind) {
    return CopySectors(source, destination, {kind, source.total_sectors()}, host, run);
  }
  CopyResult CopyAndReport(CopyKind kind) {
    LogEntry heading{"Imaging Disk :model,  1.00 MB, Serial:N/A", "To Location /tmp/x.vk2", "",
                     LogKind::kInformation};
    return RunCopy(source, destination, {kind, source.total_sectors()}, heading, host, run);
  }
  // The source with the image stamps applied: what an image must hold.
  std::vector<std::uint8_t> Stamped() const {
    std::vector<std::uint8_t> s = bytes;
    StampImageSector0(std::span(s).first(source.bytes_per_sector()), source.total_sectors(),
                      source.bytes_per_sector());
    return s;
  }

  std::vector<std::uint8_t> bytes;
  RecordingHost host;
  RunControl run;
  SectorSource source;
  MemoryDevice* memory = nullptr;
  MemoryDestination destination;
};

TEST(CopySectors, ThousandSectorsGoInThreeStepsThenSingleSectors) {
  CopyFixture f(PatternDisk(1000, 512));
  CopyResult r = f.Copy(CopyKind::kImaging);
  EXPECT_EQ(r.outcome, CopyOutcome::kCompleted);
  EXPECT_EQ(r.sectors_written, 1000u);
  ASSERT_EQ(f.destination.writes.size(), 3u + 232u);
  using W = std::pair<std::uint64_t, std::size_t>;
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_EQ(f.destination.writes[i], W(i * 256 * 512, 256 * 512));
  for (std::size_t i = 3; i < f.destination.writes.size(); ++i)
    EXPECT_EQ(f.destination.writes[i], W((765 + i) * 512, 512));
  EXPECT_EQ(f.destination.data.size(), 1000u * 512);
  EXPECT_EQ(FirstDifference(f.destination.data, f.Stamped()), -1);
  using P = std::pair<std::uint64_t, std::uint64_t>;
  EXPECT_EQ(f.host.progress, (std::vector<P>{{256, 1000}, {512, 1000}, {1000, 1000}}));
  EXPECT_EQ(f.destination.flushes, 1);
}

TEST(CopySectors, ImageDiffersFromTheSourceOnlyInTheTwoStamps) {
  CopyFixture f(PatternDisk(1000, 512));
  f.Copy(CopyKind::kImaging);
  const auto& image = f.destination.data;
  for (std::size_t i = 0; i < image.size(); ++i) {
    bool stamp = (i >= 0x1B0 && i < 0x1B8) || (i >= 0x1BC && i < 0x1BE);
    if (!stamp) {
      ASSERT_EQ(image[i], f.bytes[i]) << "offset " << i;
    }
  }
  ByteReader sector0(image);
  EXPECT_EQ(*sector0.U64(0x1B0), 1000u);
  EXPECT_EQ(*sector0.U16(0x1BC), 512u);
  EXPECT_NE(*ByteReader(f.bytes).U64(0x1B0), 1000u);  // the stamp really changed bytes
}

TEST(CopySectors, CloneIsTheSourceSectorForSector) {
  CopyFixture f(PatternDisk(600, 512));
  EXPECT_EQ(f.Copy(CopyKind::kCloning).outcome, CopyOutcome::kCompleted);
  EXPECT_EQ(FirstDifference(f.destination.data, f.bytes), -1);
}

TEST(CopySectors, SourceShorterThanOneStepIsCopiedExactly) {
  CopyFixture f(PatternDisk(100, 512));
  CopyResult r = f.Copy(CopyKind::kImaging);
  EXPECT_EQ(r.outcome, CopyOutcome::kCompleted);
  EXPECT_EQ(f.destination.writes.size(), 100u);
  EXPECT_EQ(f.destination.data.size(), 100u * 512);
  EXPECT_EQ(FirstDifference(f.destination.data, f.Stamped()), -1);
}

TEST(CopySectors, EmptySourceWritesNothingAndCompletes) {
  CopyFixture f({});
  EXPECT_EQ(f.Copy(CopyKind::kImaging).outcome, CopyOutcome::kCompleted);
  EXPECT_TRUE(f.destination.writes.empty());
}

TEST(CopySectors, ImageOf4096ByteSectorsCarries4096AndOpensWithIt) {
  testing::ScratchDir dir;
  CopyFixture f(PatternDisk(300, 4096), 4096);
  auto path = dir.path() / "big-sectors.vk2";
  DestinationOpen out = CreateImageFile(path.string());
  ASSERT_TRUE(out.destination) << out.error;
  CopyResult r = CopySectors(f.source, *out.destination, {CopyKind::kImaging, 300}, f.host, f.run);
  out.destination.reset();
  ASSERT_EQ(r.outcome, CopyOutcome::kCompleted);
  EXPECT_EQ(std::filesystem::file_size(path), 300u * 4096);

  RecordingHost host;
  RunControl run;
  SectorSource image(host, run);
  ASSERT_TRUE(image.OpenImage(path.string()));
  EXPECT_EQ(image.bytes_per_sector(), 4096);
  EXPECT_EQ(image.total_sectors(), 300u);
  std::vector<std::uint8_t> sector0(4096);
  image.ReadSectors(sector0, 0);
  EXPECT_EQ(*ByteReader(sector0).U16(0x1BC), 4096u);
  EXPECT_EQ(*ByteReader(sector0).U64(0x1B0), 300u);
}

TEST(CopySectors, UnreadableSectorsAreZerosInTheCopyAndListedInTheLog) {
  CopyFixture f(PatternDisk(1000, 512));
  f.memory->FailSector(300, EIO);
  f.memory->FailSector(900, EIO);  // in the single-sector tail
  CopyResult r = f.Copy(CopyKind::kCloning);
  EXPECT_EQ(r.outcome, CopyOutcome::kCompleted);
  std::vector<std::uint8_t> expected = f.bytes;
  std::fill_n(expected.begin() + 300 * 512, 512, 0);
  std::fill_n(expected.begin() + 900 * 512, 512, 0);
  EXPECT_EQ(FirstDifference(f.destination.data, expected), -1);
  std::vector<std::string> lines;
  for (const LogEntry& e : f.host.log)
    if (e.kind == LogKind::kFailure) lines.push_back(e.text);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Drive access error @ sector =300 (Code =5)"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Drive access error @ sector =900 (Code =5)"),
            lines.end());
  EXPECT_TRUE(f.host.messages.empty());
}

TEST(CopySectors, SourceThatGoesAwayEndsTheCopyAsFailed) {
  CopyFixture f(PatternDisk(1000, 512));
  f.memory->FailSector(600, ENODEV);
  CopyResult r = f.CopyAndReport(CopyKind::kImaging);
  EXPECT_EQ(r.outcome, CopyOutcome::kFailed);
  EXPECT_EQ(r.sectors_written, 512u);
  ASSERT_FALSE(f.host.messages.empty());
  EXPECT_EQ(f.host.messages.front().caption, "Error");
  EXPECT_EQ(f.host.messages.back().text, "Disk Imaging Aborted");
  EXPECT_EQ(f.host.log.back().text, "Aborted Imaging Disk :model,  1.00 MB, Serial:N/A");
}

TEST(CopySectors, FailedWriteEndsTheCopyAsFailedNotCompleted) {
  CopyFixture f(PatternDisk(1000, 512));
  f.destination.fail_write = {{1, ENOSPC}};
  CopyResult r = f.CopyAndReport(CopyKind::kImaging);
  EXPECT_EQ(r.outcome, CopyOutcome::kFailed);
  EXPECT_EQ(r.sectors_written, 256u);
  ASSERT_EQ(f.host.messages.size(), 2u);
  EXPECT_EQ(f.host.messages[0].icon, MessageIcon::kError);
  EXPECT_EQ(f.host.messages[0].caption, "Error");
  EXPECT_EQ(f.host.messages[0].text, ErrorText(ENOSPC));
  EXPECT_EQ(f.host.messages[1].text, "Disk Imaging Aborted");
  EXPECT_EQ(f.host.log.back().kind, LogKind::kFailure);
  EXPECT_EQ(f.destination.writes.size(), 1u);  // nothing after the failure
}

TEST(CopySectors, DeferredWriteErrorAtTheEndIsAFailure) {
  CopyFixture f(PatternDisk(300, 512));
  f.destination.flush_error = EIO;
  const CopyResult r = f.Copy(CopyKind::kCloning);
  EXPECT_EQ(r.outcome, CopyOutcome::kFailed);
  ASSERT_TRUE(r.failure);
  EXPECT_EQ(r.failure->system_error, EIO);
  EXPECT_EQ(r.failure->what, ErrorText(EIO));
  EXPECT_TRUE(f.host.messages.empty());  // the caller shows it, once
}

TEST(CopySectors, FullDiskIsAFailure) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  CopyFixture f(PatternDisk(10, 512));
  DestinationOpen full = OpenCloneTarget("/dev/full");
  ASSERT_TRUE(full.destination) << full.error;
  CopyResult r = CopySectors(f.source, *full.destination, {CopyKind::kCloning, 10}, f.host, f.run);
  EXPECT_EQ(r.outcome, CopyOutcome::kFailed);
  EXPECT_EQ(r.sectors_written, 0u);
}

TEST(CopyStop, StopDuringTheThirdStepKeepsOnlyTheStepsWrittenSoFar) {
  CopyFixture f(PatternDisk(1000, 512));
  f.host.yes_no_answers = {true};
  f.memory->before_read = [&] {
    if (f.memory->reads == 3) AskToStopCopy(CopyKind::kImaging, f.host, f.run);
  };
  CopyResult r = f.CopyAndReport(CopyKind::kImaging);
  EXPECT_EQ(r.outcome, CopyOutcome::kAborted);
  EXPECT_EQ(r.sectors_written, 512u);
  EXPECT_EQ(f.destination.data.size(), 512u * 512);
  std::vector<std::uint8_t> written = f.Stamped();
  written.resize(512 * 512);
  EXPECT_EQ(FirstDifference(f.destination.data, written), -1);

  EXPECT_EQ(f.host.yes_no_questions, std::vector<std::string>{"Do you want to stop process?"});
  ASSERT_EQ(f.host.log.size(), 2u);
  EXPECT_EQ(f.host.log[0].text, "Disk Imaging");
  EXPECT_EQ(f.host.log[0].detail, "Process Paused");
  EXPECT_EQ(f.host.log[1].text, "Aborted Imaging Disk :model,  1.00 MB, Serial:N/A");
  EXPECT_EQ(f.host.log[1].detail, "To Location /tmp/x.vk2");
  EXPECT_EQ(f.host.log[1].kind, LogKind::kFailure);
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0].caption, "Information");
  EXPECT_EQ(f.host.messages[0].icon, MessageIcon::kError);
  EXPECT_EQ(f.host.messages[0].text, "Disk Imaging Aborted");
}

TEST(CopyStop, AnsweringNoLetsTheCopyComplete) {
  CopyFixture f(PatternDisk(1000, 512));
  f.host.yes_no_answers = {false};
  f.memory->before_read = [&] {
    if (f.memory->reads == 3) AskToStopCopy(CopyKind::kCloning, f.host, f.run);
  };
  CopyResult r = f.CopyAndReport(CopyKind::kCloning);
  EXPECT_EQ(r.outcome, CopyOutcome::kCompleted);
  EXPECT_EQ(FirstDifference(f.destination.data, f.bytes), -1);
  ASSERT_EQ(f.host.log.size(), 3u);
  EXPECT_EQ(f.host.log[0].text, "Disk Cloning");
  EXPECT_EQ(f.host.log[0].detail, "Process Paused");
  EXPECT_EQ(f.host.log[1].detail, "Process Resumed");
  EXPECT_EQ(f.host.log[2].text, "Completed Imaging Disk :model,  1.00 MB, Serial:N/A");
  EXPECT_EQ(f.host.log[2].kind, LogKind::kCompleted);
  EXPECT_EQ(f.host.messages.back().text, "Disk Cloning Completed");
  EXPECT_EQ(f.host.messages.back().icon, MessageIcon::kInformation);
}

TEST(CopyStop, PauseHoldsTheWorkerBetweenStepsUntilResumed) {
  CopyFixture f(PatternDisk(1000, 512));
  f.run.Pause();
  std::thread worker([&] { f.Copy(CopyKind::kCloning); });
  while (f.memory->reads < 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(f.memory->reads, 1);  // the first step, then held at the gate
  f.run.Resume();
  worker.join();
  EXPECT_EQ(FirstDifference(f.destination.data, f.bytes), -1);
}

TEST(CopyDestinations, AFileNamingTheSourceOverlapsIt) {
  testing::ScratchDir dir;
  auto source_path = dir.path() / "source.img";
  std::ofstream(source_path, std::ios::binary) << std::string(4096, 'x');
  auto link = dir.path() / "link.img";
  std::filesystem::create_symlink(source_path, link);
  OpenResult opened = OpenBlockDeviceReadOnly(source_path.string());
  ASSERT_TRUE(opened.device);
  EXPECT_TRUE(OverlapsSource(*opened.device, source_path.string()));
  EXPECT_TRUE(OverlapsSource(*opened.device, link.string()));
  EXPECT_FALSE(OverlapsSource(*opened.device, (dir.path() / "new.vk2").string()));
  std::ofstream(dir.path() / "other.img") << "y";
  EXPECT_FALSE(OverlapsSource(*opened.device, (dir.path() / "other.img").string()));
}

TEST(CopyDestinations, CloneTargetIsNeitherCreatedNorTruncated) {
  testing::ScratchDir dir;
  EXPECT_EQ(OpenCloneTarget((dir.path() / "missing").string()).error, ENOENT);
  auto target = dir.path() / "disk.img";
  std::ofstream(target, std::ios::binary) << std::string(2048, 'z');
  DestinationOpen out = OpenCloneTarget(target.string());
  ASSERT_TRUE(out.destination);
  std::vector<std::uint8_t> one(512, 'a');
  EXPECT_EQ(out.destination->WriteAt(one, 0), 0);
  out.destination.reset();
  EXPECT_EQ(std::filesystem::file_size(target), 2048u);
}


// The rescue copy: 4000 sectors in steps of 16, with a bad area early on and
// a lone bad sector late; stopped at its first failure, then resumed.
TEST(RescueCopy, GoodAreasFirstThenTheSkippedOnesAndAResumeFinishesTheMap) {
  CopyFixture f(PatternDisk(4000, 512));
  const std::set<std::uint64_t> bad = {100, 101, 102, 103, 104, 105, 106, 107, 3999};
  for (const std::uint64_t sector : bad) f.memory->FailSector(sector, EIO);
  RescueJob job{4000, 16, 2, 64};
  RescueMap map;
  int saves = 0;
  const SaveRescueMap stop_at_first_failure = [&](const RescueMap&) {
    if (++saves == 1) f.run.Stop();
    return true;
  };
  CopyResult first = RescueCopy(f.source, f.destination, map, job, stop_at_first_failure, f.host, f.run);
  EXPECT_EQ(first.outcome, CopyOutcome::kAborted);
  // The failed step is marked for later and the next two steps were jumped
  // over, not tried sector by sector.
  ASSERT_TRUE(map.FirstFrom(0, MapStatus::kNonTrimmed));
  EXPECT_EQ(map.FirstFrom(0, MapStatus::kNonTrimmed)->pos, 96u * 512);
  EXPECT_EQ(map.FirstFrom(0, MapStatus::kNonTried)->pos, 112u * 512);
  EXPECT_EQ(map.BytesWith(MapStatus::kFinished), 96u * 512);

  RunControl again;
  CopyResult second = RescueCopy(f.source, f.destination, map, job, {}, f.host, again);
  EXPECT_EQ(second.outcome, CopyOutcome::kCompleted);
  std::vector<std::uint8_t> expected = f.Stamped();
  for (const std::uint64_t sector : bad) std::fill_n(expected.begin() + sector * 512, 512, 0);
  EXPECT_EQ(FirstDifference(f.destination.data, expected), -1);
  // Exactly the bad sectors are listed as bad; everything else is finished.
  std::set<std::uint64_t> listed;
  for (const MapBlock& block : map.blocks) {
    ASSERT_TRUE(block.status == MapStatus::kFinished || block.status == MapStatus::kBadSector);
    if (block.status != MapStatus::kBadSector) continue;
    for (std::uint64_t at = block.pos; at < block.end(); at += 512) listed.insert(at / 512);
  }
  EXPECT_EQ(listed, bad);
  EXPECT_EQ(map.current_status, '+');
}

TEST(RescueCopy, LostSourceOrLostMapEndsAsFailed) {
  CopyFixture gone(PatternDisk(64, 512));
  gone.memory->FailSector(40, ENODEV);
  RescueMap map;
  EXPECT_EQ(RescueCopy(gone.source, gone.destination, map, {64, 16}, {}, gone.host, gone.run).outcome,
            CopyOutcome::kFailed);
  EXPECT_EQ(gone.host.messages.size(), 1u);

  CopyFixture f(PatternDisk(64, 512));
  f.memory->FailSector(20, EIO);
  RescueMap fresh;
  const SaveRescueMap refuse = [](const RescueMap&) { return false; };
  EXPECT_EQ(RescueCopy(f.source, f.destination, fresh, {64, 16}, refuse, f.host, f.run).outcome,
            CopyOutcome::kFailed);
}

}  // namespace
}  // namespace salvor

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

#include "carve_test_disk.h"
#include "carver/carving_scan.h"
#include "carver/end_handlers.h"
#include "carver/texts.h"
#include "file_builders.h"
#include "support/pause_check.h"

namespace salvor::carver {
namespace {

using namespace testing;

SignatureRecord Jpeg() { return MakeRecord("JPEG", "jpg", "Graphics", {0xFF, 0xD8}, 0, type_code::kJpeg); }
SignatureRecord Mp3() { return MakeRecord("MP3", "mp3", "Audio", {'I', 'D'}, 0, type_code::kMp3); }
SignatureRecord Plain(std::string ext, std::vector<std::uint8_t> sig, std::uint32_t code = 1) {
  return MakeRecord("Plain " + ext, ext, "Other", std::move(sig), 0, code);
}

// Found files by start sector (copies: the tree may be gone).
struct Found {
  std::string name;
  std::uint64_t length;
  std::vector<std::uint64_t> starts;
  const Found* operator->() const { return this; }
};
std::map<std::uint64_t, Found> ByStart(const CarvingScanResult& r) {
  std::map<std::uint64_t, Found> files;
  ForEachFile(*r.tree.root, [&](const FoundNode& f) {
    files[f.StartSector()] = Found{f.name, f.length, f.starts};
  });
  return files;
}

CarvingScanResult Scan(TestDisk& t, const SignatureList& file_order, std::uint64_t max = 1024) {
  return RunCarvingScan(t.disk, KeepSelected(file_order, max), t.lists, t.host, t.run);
}

TEST(CarvingScanTest, JpegSkipOfTenSectorsAtIndexSixtyStartsTheNextWindowAtSeventy) {
  ImageBytes img(300);
  // A JPEG whose end lies in its tenth sector: skip = 10 sectors.
  Bytes jpeg = MakeJpeg(0xC0, 64, 64, 9 * 512 + 100);
  img.PutSector(60, jpeg);
  img.PutSector(65, "XYZW");  // inside the skipped range: never examined
  img.PutSector(70, "XYZW");  // the first sector of the next window
  TestDisk t(img.bytes());
  auto r = Scan(t, {Plain("xyz", {'X', 'Y', 'Z', 'W'}), Jpeg()});
  auto files = ByStart(r);
  ASSERT_TRUE(files.count(60));
  EXPECT_EQ(files[60]->length, jpeg.size());
  EXPECT_FALSE(files.count(65));
  EXPECT_TRUE(files.count(70));
  std::vector<std::uint64_t> windows;
  for (auto [done, total] : t.host.progress) windows.push_back(done);
  EXPECT_EQ(windows[0], 0u);
  EXPECT_EQ(windows[1], 70u);
  EXPECT_EQ(windows[2], 133u);
}

TEST(CarvingScanTest, PauseHoldsTheScanUntilResumed) {
  ImageBytes img(300);
  TestDisk t(img.bytes());
  salvor::testing::ExpectPauseHoldsThenResumes(t.host, t.run,
                                               [&] { return Scan(t, {Jpeg()}).completed; });
}

TEST(CarvingScanTest, SkipInsideTheWindowContinuesThere) {
  ImageBytes img(100);
  Bytes jpeg = MakeJpeg(0xC0, 64, 64, 3 * 512);  // ends in its 4th sector
  img.PutSector(5, jpeg);
  img.PutSector(7, "XYZW");
  img.PutSector(9, "XYZW");
  TestDisk t(img.bytes());
  auto files = ByStart(Scan(t, {Plain("xyz", {'X', 'Y', 'Z', 'W'}), Jpeg()}));
  EXPECT_TRUE(files.count(5));
  EXPECT_FALSE(files.count(7));
  EXPECT_TRUE(files.count(9));
  EXPECT_EQ(t.host.progress[1].first, 63u);
}

TEST(CarvingScanTest, FfFbSectorIsProbedAsMp3) {
  ImageBytes img(200);
  img.PutSector(3, MakeMp3Frames(40));
  TestDisk t(img.bytes());
  auto files = ByStart(Scan(t, {Jpeg(), Mp3()}));
  ASSERT_TRUE(files.count(3));
  EXPECT_EQ(files[3]->name, "3.mp3");
  EXPECT_EQ(files[3]->length, 40 * kMp3FrameLength);
  // The frames inside were skipped, and their sector starts are continuations.
  EXPECT_EQ(files.size(), 1u);
}

TEST(CarvingScanTest, ThirtyNineFramesAreRejectedFortyAccepted) {
  ImageBytes img(200);
  img.PutSector(0, MakeMp3Frames(39));
  img.PutSector(100, MakeMp3Frames(40));
  TestDisk t(img.bytes());
  auto files = ByStart(Scan(t, {Mp3()}));
  EXPECT_FALSE(files.count(0));
  ASSERT_TRUE(files.count(100));
  EXPECT_EQ(files[100]->length, 40 * kMp3FrameLength);
}

TEST(CarvingScanTest, FfD8SectorFallsFromTheMp3ProbeToJpeg) {
  ImageBytes img(200);
  Bytes jpeg = MakeJpeg(0xC0, 32, 32, 700);
  img.PutSector(2, jpeg);
  TestDisk t(img.bytes());
  auto files = ByStart(Scan(t, {Jpeg(), Mp3()}));
  ASSERT_TRUE(files.count(2));
  EXPECT_EQ(files[2]->name, "2.jpg");
  EXPECT_EQ(files[2]->length, jpeg.size());
}

TEST(CarvingScanTest, Id3TaggedMp3IsFoundWithItsTag) {
  ImageBytes img(200);
  Bytes mp3 = MakeId3(300);
  Append(mp3, MakeMp3Frames(45));
  img.PutSector(10, mp3);
  TestDisk t(img.bytes());
  auto files = ByStart(Scan(t, {Mp3()}));
  ASSERT_TRUE(files.count(10));
  EXPECT_EQ(files[10]->length, mp3.size());
}

TEST(CarvingScanTest, TypeWithoutHandlerNearTheEndIsCutAtTheDiskEnd) {
  ImageBytes img(5000);
  img.PutSector(4990, "XYZW");
  img.PutSector(20, "XYZW");
  TestDisk t(img.bytes());
  auto files = ByStart(Scan(t, {Plain("xyz", {'X', 'Y', 'Z', 'W'})}, 0));
  ASSERT_TRUE(files.count(4990));
  EXPECT_EQ(files[4990]->length, 10u * 512);
  EXPECT_EQ(files[20]->length, kLengthWithoutAny);
}

// Random filler holds "BM" at a sector start now and then; with the size
// field behind it taken as a length, each such hit ran to the disk's end.
TEST(CarvingScanTest, BmpWithAGarbageHeaderInRandomFillerIsNotFound) {
  ImageBytes img(400);
  std::uint32_t x = 12345;
  for (auto& byte : img.bytes()) byte = static_cast<std::uint8_t>((x = x * 1103515245 + 12345) >> 24);
  Bytes garbage = {'B', 'M'};
  for (std::uint8_t i = 0; i < 60; ++i) garbage.push_back(static_cast<std::uint8_t>(i * 37 + 11));
  img.PutSector(10, garbage);
  img.PutSector(100, MakeBmp(64, 48, 24));
  const Bytes bmp = MakeBmp(64, 48, 24);
  img.PutSector(390, Bytes(bmp.begin(), bmp.begin() + 10 * 512));  // 10 of its 19 sectors
  TestDisk t(img.bytes());
  auto r = Scan(t, {MakeRecord("Windows Bitmap", "bmp", "Graphics", {'B', 'M'}, 0, type_code::kBmp)});
  auto files = ByStart(r);
  EXPECT_FALSE(files.count(10));
  ASSERT_TRUE(files.count(100));
  EXPECT_EQ(files[100]->length, 9270u);
  ASSERT_TRUE(files.count(390));
  EXPECT_EQ(files[390]->length, 10u * 512);
  EXPECT_EQ(r.files_cut_at_end, 1u);
}

TEST(CarvingScanTest, LengthRuleTakesFoundThenMaximumThenDefault) {
  SignatureRecord rec;
  rec.default_length = 3000;
  EXPECT_EQ(FoundFileLength(rec, 0, 1'000'000, 512), 3000u);
  rec.maximum_length = 1024;  // the file type page's initial "1 KB"
  EXPECT_EQ(FoundFileLength(rec, 0, 1'000'000, 512), 1024u);
  rec.found_length = 77;
  EXPECT_EQ(FoundFileLength(rec, 0, 1'000'000, 512), 77u);
  rec = {};
  EXPECT_EQ(FoundFileLength(rec, 0, 1'000'000, 512), 2u << 20);
  EXPECT_EQ(FoundFileLength(rec, 999'990, 1'000'000, 512), 10u * 512);
}

TEST(CarvingScanTest, OneKilobyteMaximumForTypesWithoutAMeasure) {
  ImageBytes img(100);
  img.PutSector(4, "XYZW");
  img.PutSector(8, std::string("\0\0\1\xBA", 4) + "not a pack");  // MPEG without a stride
  img.PutSector(12, "\0\0\1\xBB");
  TestDisk t(img.bytes());
  SignatureRecord xyz = Plain("xyz", {'X', 'Y', 'Z', 'W'});
  xyz.default_length = 5000;
  auto r = Scan(t, {xyz, MakeRecord("MPEG", "mpg", "Video", {0, 0, 1, 0xBA}, 0, type_code::kMpegProgramStream)});
  auto files = ByStart(r);
  ASSERT_TRUE(files.count(4));
  EXPECT_EQ(files[4]->length, 1024u);
  EXPECT_FALSE(files.count(8));  // a pack start with no second pack is rejected

  TestDisk t2(img.bytes());
  auto files2 = ByStart(Scan(t2, {xyz}, 0));
  EXPECT_EQ(files2[4]->length, 5000u);
}

TEST(CarvingScanTest, TypeCodeZeroRegistersOnlyThroughExtraExtensions) {
  ImageBytes img(100);
  img.PutSector(5, "QQQQ");
  TestDisk t(img.bytes());
  auto r = Scan(t, {Plain("qqq", {'Q', 'Q', 'Q', 'Q'}, 0)});
  EXPECT_EQ(r.files_found, 0u);

  // Two records with the same bytes: the later one (code 0) owns the entry,
  // the earlier one's extension is an extra extension, registered on rejection.
  TestDisk t2(img.bytes());
  auto r2 = Scan(t2, {Plain("one", {'Q', 'Q', 'Q', 'Q'}, 1), Plain("two", {'Q', 'Q', 'Q', 'Q'}, 0)});
  auto files = ByStart(r2);
  ASSERT_EQ(r2.files_found, 1u);
  EXPECT_EQ(files[5]->name, "5.one");
}

TEST(CarvingScanTest, SignatureReachingPastTheSectorEndIsReadFromTheNextBytes) {
  ImageBytes img(130);
  // Offset 510, four bytes: two in the sector, two in the next one. Sector 62
  // is the last of the first window; the scan must read one sector more.
  img.Put(10 * 512 + 510, "ABCD");
  img.Put(62 * 512 + 510, "ABCD");
  img.Put(129 * 512 + 510, "AB");  // the disk ends after "AB": no match
  TestDisk t(img.bytes());
  auto files = ByStart(Scan(t, {MakeRecord("Span", "spn", "Other", {'A', 'B', 'C', 'D'}, 510, 1)}));
  EXPECT_TRUE(files.count(10));
  EXPECT_TRUE(files.count(62));
  EXPECT_FALSE(files.count(129));
  EXPECT_EQ(files.size(), 2u);
}

TEST(CarvingScanTest, SectorsPastTheDiskEndAreNotExamined) {
  ImageBytes img(70);  // the second window holds 7 real sectors of 63
  TestDisk t(img.bytes());
  auto r = Scan(t, {Plain("zero", {0, 0, 0, 0})});
  EXPECT_EQ(r.files_found, 70u);
  auto files = ByStart(r);
  EXPECT_EQ(files.rbegin()->first, 69u);
  EXPECT_TRUE(files[0]->starts.empty());  // a file at sector 0 has no start element
  EXPECT_EQ(files[0]->name, "0.zero");
}

TEST(CarvingScanTest, TreeIsCategoryThenExtensionNewestFirst) {
  ImageBytes img(100);
  img.PutSector(1, "XYZW");
  img.PutSector(2, "XYZW");
  img.PutSector(3, "QQQQ");
  TestDisk t(img.bytes());
  SignatureRecord q = Plain("qqq", {'Q', 'Q', 'Q', 'Q'});
  q.category = "Second";
  auto r = Scan(t, {Plain("xyz", {'X', 'Y', 'Z', 'W'}), q});
  const FoundNode& root = *r.tree.root;
  EXPECT_EQ(root.name, ".");
  EXPECT_EQ(root.kind, kFolderKind);
  ASSERT_EQ(root.children.size(), 1u);
  const FoundNode& raw = *root.children[0];
  EXPECT_EQ(raw.name, text::kRawData);
  ASSERT_EQ(raw.children.size(), 2u);
  EXPECT_EQ(raw.children[0]->name, "Second");  // created last, stands first
  EXPECT_EQ(raw.children[1]->name, "Other");
  const FoundNode& xyz = *raw.children[1]->children[0];
  EXPECT_EQ(xyz.name, "xyz");
  ASSERT_EQ(xyz.children.size(), 2u);
  EXPECT_EQ(xyz.children[0]->name, "2.xyz");
  EXPECT_EQ(xyz.children[1]->name, "1.xyz");
  EXPECT_EQ(xyz.children[0]->parent, &xyz);
  EXPECT_EQ(r.files_found, 3u);
  AnnounceScanEnd(r, t.host);
  EXPECT_EQ(t.host.messages.back().text, text::kScanningCompleted);
  EXPECT_EQ(t.host.progress.back(), std::make_pair(std::uint64_t{1}, std::uint64_t{1}));
}

TEST(CarvingScanTest, FoundListenerHearsEveryFile) {
  ImageBytes img(100);
  img.PutSector(1, "XYZW");
  img.PutSector(9, "XYZW");
  TestDisk t(img.bytes());
  std::vector<std::string> heard;
  ScanOptions options;
  options.on_found = [&](const FoundNode& f, std::uint32_t n) {
    heard.push_back(f.name + "#" + std::to_string(n));
  };
  RunCarvingScan(t.disk, KeepSelected({Plain("xyz", {'X', 'Y', 'Z', 'W'})}, 1024), t.lists, t.host,
                 t.run, options);
  EXPECT_EQ(heard, (std::vector<std::string>{"1.xyz#1", "9.xyz#2"}));
}

TEST(CarvingScanTest, ContinuationListsAreEmptiedWhenAScanStarts) {
  ImageBytes img(200);
  img.PutSector(4, MakeMp3Frames(60));
  TestDisk t(img.bytes());
  auto first = Scan(t, {Mp3()});
  EXPECT_EQ(first.files_found, 1u);
  EXPECT_FALSE(t.lists.mp3.empty());
  auto second = Scan(t, {Mp3()});
  EXPECT_EQ(second.files_found, 1u);
}

TEST(CarvingScanTest, DisconnectionEndsTheScanKeepingWhatWasFound) {
  ImageBytes img(300);
  img.PutSector(3, "XYZW");
  img.PutSector(200, "XYZW");
  TestDisk t(img.bytes());
  t.device->FailSector(130, ENOMEDIUM);
  auto r = Scan(t, {Plain("xyz", {'X', 'Y', 'Z', 'W'})});
  EXPECT_TRUE(r.disconnected);
  EXPECT_FALSE(r.completed);
  EXPECT_EQ(r.files_found, 1u);
  ASSERT_EQ(t.host.messages.size(), 1u);
  EXPECT_EQ(t.host.messages[0].caption, "Error");
  EXPECT_EQ(t.host.messages[0].text, text::kDiskDisconnected);
}

TEST(CarvingScanTest, OtherReadErrorsLeaveZerosAndTheScanGoesOn) {
  ImageBytes img(300);
  img.PutSector(3, "XYZW");
  img.PutSector(200, "XYZW");
  TestDisk t(img.bytes());
  t.device->FailSector(3, EIO);
  auto r = Scan(t, {Plain("xyz", {'X', 'Y', 'Z', 'W'})});
  EXPECT_TRUE(r.completed);
  auto files = ByStart(r);
  EXPECT_FALSE(files.count(3));
  EXPECT_TRUE(files.count(200));
}

// The scan reads many windows at once; a failing sector must still cost only
// the window that holds it (windows start at multiples of 63 here: 2961 holds
// sector 3010, with its one sector of lookahead reaching 3024).
std::vector<std::uint64_t> ScanPastAFailingSector(int error, bool expect_disconnected) {
  ImageBytes img(5000);
  for (std::uint64_t s : {3, 2100, 2950, 3000, 3030, 4950}) img.PutSector(s, "XYZW");
  TestDisk t(img.bytes());
  t.device->FailSector(3010, error);
  auto r = Scan(t, {Plain("xyz", {'X', 'Y', 'Z', 'W'})});
  EXPECT_EQ(r.disconnected, expect_disconnected);
  std::vector<std::uint64_t> starts;
  for (const auto& [start, file] : ByStart(r)) starts.push_back(start);
  return starts;
}

TEST(CarvingScanTest, AReadErrorFarIntoTheDiskZerosOnlyItsOwnWindow) {
  EXPECT_EQ(ScanPastAFailingSector(EIO, false),
            (std::vector<std::uint64_t>{3, 2100, 2950, 3030, 4950}));
}

TEST(CarvingScanTest, ADisconnectionFarIntoTheDiskKeepsEveryWindowBeforeIt) {
  EXPECT_EQ(ScanPastAFailingSector(ENOMEDIUM, true),
            (std::vector<std::uint64_t>{3, 2100, 2950}));
}

TEST(CarvingScanTest, StopDuringAHandlerWalkEndsTheScan) {
  ImageBytes img(4000);
  // A JPEG with no end marker and a large frame: a long end search.
  img.PutSector(1, MakeJpeg(0xC0, 4000, 4000, 100, false));
  img.PutSector(3000, "XYZW");
  TestDisk t(img.bytes());
  t.device->before_read = [&] {
    if (t.device->reads == 5) t.run.Stop();
  };
  auto r = Scan(t, {Plain("xyz", {'X', 'Y', 'Z', 'W'}), Jpeg()});
  EXPECT_FALSE(r.completed);
  EXPECT_LT(t.device->reads, 10);
  EXPECT_FALSE(ByStart(r).count(3000));
  EXPECT_TRUE(t.host.messages.empty());
}

TEST(CarvingScanTest, EmptyDiskAndEmptySelection) {
  TestDisk empty(Bytes{});
  auto r = Scan(empty, {Jpeg()});
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.files_found, 0u);
  ImageBytes img(10);
  TestDisk t(img.bytes());
  EXPECT_EQ(Scan(t, {}).files_found, 0u);
}

}  // namespace
}  // namespace salvor::carver

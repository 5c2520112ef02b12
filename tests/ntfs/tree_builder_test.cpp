// Rebuilding the tree from the $MFT: files and folders by record number,
// deleted entries, lost folders, folders met late or twice, nameless
// folders, stops and read errors.

#include "ntfs/tree_builder.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "ntfs/file_record.h"
#include "support/test_paths.h"
#include "volume_fixture.h"

namespace salvor {
namespace {

using testing::Bytes;
using testing::FileRecord;
using testing::FolderRecord;
using testing::RecordBuilder;
using testing::ScratchDir;
using testing::VolumeFixture;

constexpr std::uint64_t kMftLcn = 4;

class TreeBuilderTest : public ::testing::Test {
 protected:
  // The $MFT: 64 records in 16 clusters at LCN 4 of a volume at sector 2048.
  TreeBuilderTest() : vol(2048, 256, RunList{salvor::Run{16, kMftLcn}}) {}

  // Builds the tree, closes the database and opens it for reading.
  bool Build() {
    vol.Attach();
    EXPECT_TRUE(CreateDatabase(db, dir.path())) << db.error;
    bool result = BuildTree(vol.state, db);
    EXPECT_TRUE(CloseDatabase(db));
    EXPECT_TRUE(reader.Open(dir.path())) << reader.error();
    return result;
  }
  // Entry n sits at position n of the entry file, for every n.
  void ExpectGaplessNumbering() {
    for (std::uint32_t n = 0; n < reader.entry_count(); ++n)
      EXPECT_EQ(reader.ReadEntry(n)->entry_number, n) << n;
  }

  ScratchDir dir;
  VolumeFixture vol;
  ScanDatabaseWriter db{vol.host};
  ScanDatabaseReader reader;
};

TEST_F(TreeBuilderTest, FilesAndFoldersLandUnderTheirParents) {
  vol.PutRecord(30, FolderRecord(30, 5, u"docs"));
  vol.PutRecord(31, FileRecord(31, 30, u"a.txt", 123));
  vol.PutRecord(32, FileRecord(32, 5, u"top.bin", 5000));
  vol.PutRecord(33, FolderRecord(33, 30, u"old", false));  // deleted folder
  vol.PutRecord(34, FileRecord(34, 33, u"gone.txt", 7, false));
  EXPECT_TRUE(Build());

  auto tree = testing::ReadTree(reader);
  ASSERT_EQ(tree.size(), 6u);
  ASSERT_TRUE(tree.count(" Root/docs/a.txt"));
  const EntryNode& a = tree.at(" Root/docs/a.txt");
  EXPECT_EQ(a.size, 123u);
  EXPECT_EQ(a.own_record, 31u);
  EXPECT_EQ(a.parent_record, 30u);
  EXPECT_EQ(a.flags & 0x18, 0x08);
  EXPECT_EQ(a.record_sector, vol.RecordSector(31));
  EXPECT_EQ(a.creation_date, ((2021 - 1980) << 9) | (3 << 5) | 4);
  EXPECT_EQ(a.access_date, ((2022 - 1980) << 9) | (5 << 5) | 6);
  EXPECT_EQ(tree.at(" Root/top.bin").size, 5000u);
  EXPECT_EQ(tree.at(" Root/docs").flags & 0x18, 0x18);
  EXPECT_EQ(tree.at(" Root/docs/old").flags & 0x18, 0x10);
  EXPECT_EQ(tree.at(" Root/docs/old/gone.txt").flags & 0x18, 0x00);
  // Entries in MFT order after the two fixed ones.
  EXPECT_EQ(tree.at(" Root/docs").entry_number, 2u);
  EXPECT_EQ(tree.at(" Root/docs/old/gone.txt").entry_number, 6u);
  EXPECT_EQ(reader.entry_count(), 7u);
  ExpectGaplessNumbering();
}

TEST_F(TreeBuilderTest, ProgressIsPublishedBeforeEveryRecord) {
  EXPECT_TRUE(Build());
  ASSERT_EQ(vol.host.progress.size(), 64u);
  for (std::uint64_t i = 0; i < 64; ++i) {
    EXPECT_EQ(vol.host.progress[i].first, i);
    EXPECT_EQ(vol.host.progress[i].second, 64u);
  }
}

TEST_F(TreeBuilderTest, FolderMetAfterItsChildrenCollectsThemInOneList) {
  vol.PutRecord(30, FileRecord(30, 40, u"early1.txt"));
  vol.PutRecord(31, FileRecord(31, 40, u"early2.txt"));
  vol.PutRecord(32, FileRecord(32, 5, u"between.txt"));
  vol.PutRecord(40, FolderRecord(40, 5, u"late"));
  vol.PutRecord(41, FileRecord(41, 40, u"after.txt"));
  EXPECT_TRUE(Build());

  auto tree = testing::ReadTree(reader);
  EXPECT_EQ(tree.size(), 6u);
  EXPECT_TRUE(tree.count(" Root/late/early1.txt"));
  EXPECT_TRUE(tree.count(" Root/late/early2.txt"));
  EXPECT_TRUE(tree.count(" Root/late/after.txt"));
  // No lost folder: "#" holds the root alone.
  const ChildList top = reader.ListChildren(0, true);
  ASSERT_EQ(top.children.size(), 1u);
  EXPECT_EQ(top.children[0].name, u" Root");
  // The folder keeps the list its placeholder collected.
  const EntryNode& late = tree.at(" Root/late");
  EXPECT_EQ(reader.ListChildren(late.child_block, true).files, 3u);
  ExpectGaplessNumbering();
}

TEST_F(TreeBuilderTest, DeletedFileOfAnOverwrittenFolderGoesToALostFolder) {
  // Record 45 was the folder of gone.txt; it now holds an unrelated file.
  vol.PutRecord(30, FileRecord(30, 45, u"gone.txt", 99, false));
  vol.PutRecord(45, FileRecord(45, 5, u"new.txt"));
  EXPECT_TRUE(Build());

  auto tree = testing::ReadTree(reader);
  ASSERT_TRUE(tree.count("#45/gone.txt"));
  const EntryNode& lost = tree.at("#45");
  EXPECT_EQ(lost.flags, 0x10);
  EXPECT_EQ(lost.own_record, 45u);
  EXPECT_EQ(lost.parent_record, 0u);
  EXPECT_EQ(lost.size, 0u);
  EXPECT_EQ(lost.record_sector, 0u);
  EXPECT_EQ(lost.creation_date, 0u);
  // Lost folders come last.
  EXPECT_EQ(lost.entry_number, reader.entry_count() - 1);
  EXPECT_TRUE(tree.count(" Root/new.txt"));
  ExpectGaplessNumbering();
}

TEST_F(TreeBuilderTest, SecondFolderWithTheSameRecordNumberIsDropped) {
  vol.PutRecord(30, FolderRecord(40, 5, u"first"));
  vol.PutRecord(31, FileRecord(31, 5, u"x.txt"));
  vol.PutRecord(32, FolderRecord(40, 5, u"second"));
  vol.PutRecord(33, FileRecord(33, 5, u"y.txt"));
  EXPECT_TRUE(Build());

  auto tree = testing::ReadTree(reader);
  EXPECT_TRUE(tree.count(" Root/first"));
  EXPECT_FALSE(tree.count(" Root/second"));
  EXPECT_EQ(tree.at(" Root/x.txt").entry_number, 3u);
  EXPECT_EQ(tree.at(" Root/y.txt").entry_number, 4u);
  EXPECT_EQ(reader.entry_count(), 5u);
  // The name file holds no name of the dropped folder either.
  ExpectGaplessNumbering();
  auto y = reader.ReadEntry(4);
  auto x = reader.ReadEntry(3);
  EXPECT_EQ(y->name_offset, x->name_offset + 2 * x->name_length);
}

TEST_F(TreeBuilderTest, NamelessFolderWithAnIndexRootIsListedInTheTop) {
  RecordBuilder folder;
  folder.Flags(3).RecordNumber(50);
  folder.Resident(0x10, testing::StandardInformation(testing::NtfsTime(2020, 1, 1),
                                                     testing::NtfsTime(2020, 1, 1), 0));
  folder.Resident(0x90, testing::IndexRootValue(50), u"$I30");
  vol.PutRecord(50, folder.Build());
  vol.PutRecord(51, FileRecord(51, 50, u"kept.txt"));
  // A nameless record without an index root is left out.
  RecordBuilder nameless;
  nameless.Flags(1).RecordNumber(52);
  nameless.Resident(0x10, testing::StandardInformation(1, 1, 0));
  nameless.Resident(0x80, Bytes{1, 2, 3});
  vol.PutRecord(52, nameless.Build());
  EXPECT_TRUE(Build());

  auto tree = testing::ReadTree(reader);
  ASSERT_TRUE(tree.count("#50"));
  EXPECT_EQ(tree.at("#50").parent_record, 0u);
  EXPECT_EQ(tree.at("#50").flags & 0x18, 0x18);
  EXPECT_EQ(tree.at("#50").record_sector, vol.RecordSector(50));
  EXPECT_TRUE(tree.count("#50/kept.txt"));
  EXPECT_EQ(tree.size(), 3u);
}

TEST_F(TreeBuilderTest, ExtensionRecordsNeverBecomeEntries) {
  vol.PutRecord(30, FileRecord(30, 5, u"base.txt"));
  Bytes extension = RecordBuilder()
                        .Flags(1)
                        .BaseReference(30)
                        .RecordNumber(31)
                        .Resident(0x30, testing::FileNameValue(5, u"extension.txt"))
                        .Build();
  vol.PutRecord(31, extension);
  EXPECT_TRUE(Build());
  auto tree = testing::ReadTree(reader);
  EXPECT_TRUE(tree.count(" Root/base.txt"));
  EXPECT_FALSE(tree.count(" Root/extension.txt"));
  EXPECT_EQ(reader.entry_count(), 3u);
}

TEST_F(TreeBuilderTest, OldHeaderTakesTheNumberFromTheIndexRootOrThePosition) {
  // Old records (update sequence at 0x2A) carry no number of their own.
  vol.PutRecord(30, FolderRecord(77, 5, u"indexed", true, 0x2A));
  vol.PutRecord(31, FileRecord(0, 77, u"in-indexed.txt", 10, true, 0x2A));
  RecordBuilder empty_index(testing::kRecordBytes, 0x2A);
  empty_index.Flags(3);
  empty_index.Resident(0x10, testing::StandardInformation(1, 1, 0));
  empty_index.Resident(0x30, testing::FileNameValue(5, u"by-position"));
  empty_index.Resident(0x90, testing::IndexRootValue(0, true), u"$I30");
  vol.PutRecord(32, empty_index.Build());
  vol.PutRecord(33, FileRecord(0, 32, u"in-position.txt", 10, true, 0x2A));
  EXPECT_TRUE(Build());

  auto tree = testing::ReadTree(reader);
  ASSERT_TRUE(tree.count(" Root/indexed"));
  EXPECT_EQ(tree.at(" Root/indexed").own_record, 77u);
  EXPECT_TRUE(tree.count(" Root/indexed/in-indexed.txt"));
  ASSERT_TRUE(tree.count(" Root/by-position"));
  EXPECT_EQ(tree.at(" Root/by-position").own_record, 32u);
  EXPECT_TRUE(tree.count(" Root/by-position/in-position.txt"));
  // A file's own number is its position.
  EXPECT_EQ(tree.at(" Root/indexed/in-indexed.txt").own_record, 31u);
}

TEST_F(TreeBuilderTest, SystemFilesAndTheRootRecordAreLeftOut) {
  vol.PutRecord(0, testing::MftRecord(Bytes{0x21, 0x10, kMftLcn, 0}, 15));
  vol.PutRecord(5, FolderRecord(5, 5, u"."));
  vol.PutRecord(7, FileRecord(7, 5, u"$Boot"));
  vol.PutRecord(30, FileRecord(30, 5, u"$Boot"));  // a user's file of that name too
  vol.PutRecord(31, FileRecord(31, 5, u"kept"));
  EXPECT_TRUE(Build());
  auto tree = testing::ReadTree(reader);
  EXPECT_EQ(tree.size(), 2u);
  EXPECT_TRUE(tree.count(" Root/kept"));
}

class StoppingHost : public testing::RecordingHost {
 public:
  void Progress(std::uint64_t done, std::uint64_t total) override {
    RecordingHost::Progress(done, total);
    if (done == stop_at && run) run->Stop();
  }
  std::uint64_t stop_at = 0;
  RunControl* run = nullptr;
};

TEST(TreeBuilderStopTest, StopAfterTheFirstRunStillWritesTheLostFolders) {
  ScratchDir dir;
  // Two runs of 4 clusters (16 records each).
  VolumeFixture vol(0, 256, RunList{salvor::Run{4, 4}, salvor::Run{4, 40}});
  vol.PutRecord(20, FileRecord(20, 99, u"orphan.txt"));  // second run
  vol.PutRecord(3, FileRecord(3, 88, u"early-orphan.txt"));
  vol.PutRecord(4, FileRecord(4, 5, u"root-file.txt"));
  StoppingHost host;
  host.run = &vol.run;
  host.stop_at = 16;  // the first record of the second run
  EngineState state(host, vol.run);
  state.volume = vol.state.volume;
  state.mft_runs = vol.state.mft_runs;
  state.source.Attach(std::make_unique<testing::MemoryDevice>(vol.image), "memory", 512);
  ScanDatabaseWriter db{host};
  ASSERT_TRUE(CreateDatabase(db, dir.path()));
  EXPECT_FALSE(BuildTree(state, db));
  ASSERT_TRUE(CloseDatabase(db));
  ScanDatabaseReader reader;
  ASSERT_TRUE(reader.Open(dir.path()));
  auto tree = testing::ReadTree(reader);
  EXPECT_TRUE(tree.count(" Root/root-file.txt"));
  EXPECT_TRUE(tree.count("#88/early-orphan.txt"));
  EXPECT_FALSE(tree.count("#99/orphan.txt"));
  EXPECT_EQ(host.progress.back().first, 16u);
}

TEST_F(TreeBuilderTest, ReadErrorEndsTheWalkWithWhatItHas) {
  vol.PutRecord(30, FileRecord(30, 60, u"before.txt"));
  vol.PutRecord(50, FileRecord(50, 5, u"after.txt"));
  vol.Attach();
  // Every read touching record 40 fails with an error that is not a media error.
  vol.device()->FailSector(vol.RecordSector(40), EBADF);
  ASSERT_TRUE(CreateDatabase(db, dir.path()));
  EXPECT_TRUE(BuildTree(vol.state, db));
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(reader.Open(dir.path()));
  auto tree = testing::ReadTree(reader);
  EXPECT_TRUE(tree.count("#60/before.txt"));
  EXPECT_FALSE(tree.count(" Root/after.txt"));
  EXPECT_FALSE(vol.host.messages.empty());
}

TEST_F(TreeBuilderTest, MediaErrorsSkipOnlyTheirRecords) {
  vol.PutRecord(30, FileRecord(30, 5, u"before.txt"));
  vol.PutRecord(31, FileRecord(31, 5, u"bad.txt"));
  vol.PutRecord(32, FileRecord(32, 5, u"after.txt"));
  vol.Attach();
  vol.device()->FailSector(vol.RecordSector(31), EIO);
  EXPECT_TRUE(CreateDatabase(db, dir.path()));
  EXPECT_TRUE(BuildTree(vol.state, db));
  CloseDatabase(db);
  ASSERT_TRUE(reader.Open(dir.path()));
  auto tree = testing::ReadTree(reader);
  EXPECT_TRUE(tree.count(" Root/before.txt"));
  EXPECT_FALSE(tree.count(" Root/bad.txt"));
  EXPECT_TRUE(tree.count(" Root/after.txt"));
}

TEST_F(TreeBuilderTest, FullDatabaseEndsTheBuildAsAFailure) {
  for (std::uint32_t r = 20; r < 60; ++r) vol.PutRecord(r, FileRecord(r, 5, u"some-file.txt"));
  vol.Attach();
  ASSERT_TRUE(CreateDatabase(db, dir.path()));
  db.file_limit = 88 + 10 * 44;
  EXPECT_FALSE(BuildTree(vol.state, db));
  EXPECT_TRUE(db.failed);
  ASSERT_FALSE(vol.host.log.empty());
  EXPECT_EQ(vol.host.log.back().kind, LogKind::kFailure);
}

TEST_F(TreeBuilderTest, NoRunsWritesOnlyTheFixedEntries) {
  vol.state.mft_runs.clear();
  EXPECT_TRUE(Build());
  EXPECT_EQ(reader.entry_count(), 2u);
}

TEST_F(TreeBuilderTest, RunsBeyondTheVolumeAreNotRead) {
  vol.state.mft_runs.push_back(salvor::Run{0x7FFFFFFF, 200});  // damaged: far past the end
  vol.PutRecord(30, FileRecord(30, 5, u"kept.txt"));
  EXPECT_TRUE(Build());
  EXPECT_TRUE(testing::ReadTree(reader).count(" Root/kept.txt"));
}

}  // namespace
}  // namespace salvor

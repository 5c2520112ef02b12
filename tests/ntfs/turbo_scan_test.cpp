#include "ntfs/turbo_scan.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "disk/byte_writer.h"
#include "record_builder.h"
#include "support/test_paths.h"
#include "volume_fixture.h"

namespace salvor {
namespace {

using testing::Bytes;
using testing::FileRecord;
using testing::FolderRecord;
using testing::VolumeFixture;

struct IndexKey {
  std::uint32_t record;
  std::uint32_t parent;
  std::u16string name;
  std::uint8_t name_space = 1;
  bool directory = true;
};

// One 4096-byte INDX block holding `keys` (then the end entry), with its
// update sequence applied as NTFS writes it. `length_override` replaces the
// first entry's length when nonzero.
Bytes IndexBlock(const std::vector<IndexKey>& keys, std::uint16_t length_override = 0) {
  ByteWriter entries;
  for (const IndexKey& k : keys) {
    Bytes key = testing::FileNameValue(k.parent, k.name, k.name_space);
    if (k.directory) key[0x3B] = 0x10;  // file attributes 0x10000000: a directory
    const std::size_t length = (0x10 + key.size() + 7) / 8 * 8;
    entries.U64(k.record | (std::uint64_t{1} << 48));
    entries.U16(static_cast<std::uint16_t>(length));
    entries.U16(static_cast<std::uint16_t>(key.size()));
    entries.U32(0);
    entries.Bytes(key);
    entries.Zeros(length - 0x10 - key.size());
  }
  entries.U64(0);
  entries.U16(0x10);
  entries.U16(0);
  entries.U32(2);

  Bytes block(4096, 0);
  const char magic[] = "INDX";
  std::copy(magic, magic + 4, block.begin());
  block[0x04] = 0x28;       // update sequence offset
  block[0x06] = 4096 / 512 + 1;
  const std::uint32_t first = 0x40 - 0x18;
  const auto used = static_cast<std::uint32_t>(first + entries.size());
  for (int i = 0; i < 4; ++i) {
    block[0x18 + i] = static_cast<std::uint8_t>(first >> (8 * i));
    block[0x1C + i] = static_cast<std::uint8_t>(used >> (8 * i));
    block[0x20 + i] = static_cast<std::uint8_t>((4096 - 0x18) >> (8 * i));
  }
  std::copy(entries.bytes().begin(), entries.bytes().end(), block.begin() + 0x40);
  if (length_override) {
    block[0x40 + 8] = static_cast<std::uint8_t>(length_override);
    block[0x40 + 9] = static_cast<std::uint8_t>(length_override >> 8);
  }
  // Update sequence: number 0x0707 at the end of every 512 bytes, originals in the array.
  block[0x28] = 0x07;
  block[0x29] = 0x07;
  for (std::size_t i = 0; i < 8; ++i) {
    block[0x2A + 2 * i] = block[512 * i + 510];
    block[0x2B + 2 * i] = block[512 * i + 511];
    block[512 * i + 510] = 0x07;
    block[512 * i + 511] = 0x07;
  }
  return block;
}

// A volume of 64 clusters whose known $MFT is clusters 4-7; the tests put
// records and blocks anywhere.
struct TurboFixture : ::testing::Test {
  VolumeFixture vol{0, 64, RunList{{4, 4}}};
  testing::ScratchDir dir;
  ScanDatabaseWriter db{vol.host};
  ScanDatabaseReader reader;
  std::map<std::string, EntryNode> tree;
  bool completed = false;

  void Scan() {
    vol.Attach();
    ASSERT_TRUE(CreateDatabase(db, dir.path()));
    completed = TurboScanVolume(vol.state, db);
    ASSERT_TRUE(CloseDatabase(db));
    ASSERT_TRUE(reader.Open(dir.path()));
    tree = testing::ReadTree(reader);
  }
  const EntryNode* At(const std::string& path) const {
    auto it = tree.find(path);
    return it == tree.end() ? nullptr : &it->second;
  }
};

TEST_F(TurboFixture, RecordsOutsideTheKnownMftAreListedWithTheirSector) {
  vol.PutCluster(40, FileRecord(70, 5, u"far.txt", 300));
  vol.PutAtSector(vol.ClusterSectorOf(41) + 2, FileRecord(71, 5, u"second-slot.txt", 10));
  Scan();
  EXPECT_TRUE(completed);
  const EntryNode* far = At(" Root/far.txt");
  ASSERT_NE(far, nullptr);
  EXPECT_EQ(far->record_sector, vol.ClusterSectorOf(40));
  EXPECT_EQ(far->own_record, 70u);
  EXPECT_EQ(far->size, 300u);
  ASSERT_NE(At(" Root/second-slot.txt"), nullptr);
  EXPECT_EQ(At(" Root/second-slot.txt")->record_sector, vol.ClusterSectorOf(41) + 2);
}

TEST_F(TurboFixture, RecordsAreSeenOnlyAtWholeRecordSlots) {
  vol.PutAtSector(vol.ClusterSectorOf(40) + 1, FileRecord(70, 5, u"odd.txt"));
  Scan();
  EXPECT_EQ(At(" Root/odd.txt"), nullptr);
}

TEST_F(TurboFixture, FolderKnownOnlyFromItsParentsIndexHoldsItsFiles) {
  vol.PutCluster(20, IndexBlock({{80, 5, u"Photos"},
                                 {81, 5, u"PHOTOS~1", 2},           // DOS-only: no second folder
                                 {5, 5, u"."},                       // the root's own entry
                                 {82, 5, u"notes.txt", 1, false}}));  // a file's key
  vol.PutCluster(30, FileRecord(90, 80, u"a.jpg", 1000));
  Scan();
  const EntryNode* photos = At(" Root/Photos");
  ASSERT_NE(photos, nullptr);
  EXPECT_TRUE(photos->folder());
  EXPECT_TRUE(photos->present());
  EXPECT_EQ(photos->size, 0u);
  EXPECT_EQ(photos->record_sector, 0u);
  EXPECT_EQ(photos->own_record, 80u);
  EXPECT_NE(At(" Root/Photos/a.jpg"), nullptr);
  for (const auto& [path, e] : tree) {
    EXPECT_EQ(path.find("PHOTOS~1"), std::string::npos);
    EXPECT_EQ(path.find("notes.txt"), std::string::npos);
    EXPECT_NE(path, " Root/.");
  }
}

TEST_F(TurboFixture, FolderFoundAsRecordAndInIndexIsListedOnce) {
  vol.PutCluster(20, FolderRecord(80, 5, u"Docs"));
  vol.PutCluster(21, IndexBlock({{80, 5, u"Docs"}}));
  vol.PutCluster(22, IndexBlock({{80, 5, u"Docs"}}));
  Scan();
  int docs = 0;
  for (const auto& [path, e] : tree) docs += e.own_record == 80;
  EXPECT_EQ(docs, 1);
  ASSERT_NE(At(" Root/Docs"), nullptr);
  EXPECT_EQ(At(" Root/Docs")->record_sector, vol.ClusterSectorOf(20));
}

TEST_F(TurboFixture, FilesOfAParentFoundNowhereSitUnderALostFolder) {
  vol.PutCluster(30, FileRecord(91, 444, u"orphan.txt"));
  Scan();
  const EntryNode* lost = At("#444");
  ASSERT_NE(lost, nullptr);
  EXPECT_TRUE(lost->folder());
  EXPECT_FALSE(lost->present());
  EXPECT_NE(At("#444/orphan.txt"), nullptr);
}

TEST_F(TurboFixture, OldHeadersTakeTheRunningRecordNumber) {
  // New header numbered 100 in slot 0 sets the count; an old header two
  // slots on gets 102. After an INDX block the count starts again from 0,
  // so the second slot of the next step is record 1.
  Bytes step(4096, 0);
  Bytes numbered = FileRecord(100, 5, u"numbered.txt");
  Bytes old_file = FileRecord(0, 5, u"old.txt", 10, true, 0x2A);
  std::copy(numbered.begin(), numbered.end(), step.begin());
  std::copy(old_file.begin(), old_file.end(), step.begin() + 2048);
  vol.PutCluster(30, step);
  vol.PutCluster(31, IndexBlock({{83, 5, u"Music"}}));
  vol.PutAtSector(vol.ClusterSectorOf(32) + 2, FileRecord(0, 5, u"after-index.txt", 10, true, 0x2A));
  Scan();
  ASSERT_NE(At(" Root/numbered.txt"), nullptr);
  ASSERT_NE(At(" Root/old.txt"), nullptr);
  EXPECT_EQ(At(" Root/old.txt")->own_record, 102u);
  ASSERT_NE(At(" Root/after-index.txt"), nullptr);
  EXPECT_EQ(At(" Root/after-index.txt")->own_record, 1u);
}

TEST_F(TurboFixture, StoppingKeepsWhatWasFoundAndStillBuildsTheTree) {
  vol.PutCluster(10, FileRecord(70, 700, u"early.txt"));
  vol.PutCluster(50, FileRecord(71, 5, u"late.txt"));
  vol.Attach();
  vol.device()->before_read = [this] {
    if (vol.device()->reads == 20) vol.run.Stop();
  };
  ASSERT_TRUE(CreateDatabase(db, dir.path()));
  EXPECT_FALSE(TurboScanVolume(vol.state, db, 4096));  // one step per read
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(reader.Open(dir.path()));
  tree = testing::ReadTree(reader);
  EXPECT_NE(At("#700/early.txt"), nullptr);  // the lost folder was still written
  EXPECT_EQ(At(" Root/late.txt"), nullptr);
}

// The buffer is not cleared between reads: a step that cannot be read must
// not hand the previous step's record over a second time.
TEST_F(TurboFixture, AnUnreadableStepYieldsNothingOfTheStepBefore) {
  vol.PutCluster(10, FileRecord(70, 5, u"before.txt"));
  vol.Attach();
  for (std::uint64_t s = 0; s < 8; ++s) vol.device()->FailSector(vol.ClusterSectorOf(11) + s, EIO);
  ASSERT_TRUE(CreateDatabase(db, dir.path()));
  EXPECT_TRUE(TurboScanVolume(vol.state, db, 4096));  // one step per read
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(reader.Open(dir.path()));
  std::size_t copies = 0;
  for (std::uint32_t n = 0; n < reader.entry_count(); ++n) {
    const auto e = reader.ReadEntry(n);
    copies += e && e->name == u"before.txt";
  }
  EXPECT_EQ(copies, 1u);
}

TEST_F(TurboFixture, AVolumeClaimingMoreThanTheSourceEndsAtTheSourcesEnd) {
  vol.PutCluster(40, FileRecord(70, 5, u"far.txt"));
  vol.state.volume.length = UINT64_MAX - 5;  // as a damaged partition entry may say
  Scan();
  EXPECT_TRUE(completed);
  EXPECT_NE(At(" Root/far.txt"), nullptr);
}

TEST(TakeFoldersFromIndexBlock, EntryLongerThanTheBlockEndsTheWalk) {
  testing::RecordingHost host;
  testing::ScratchDir dir;
  ScanDatabaseWriter db(host);
  ASSERT_TRUE(CreateDatabase(db, dir.path()));
  Bytes block = IndexBlock({{80, 5, u"Photos"}, {81, 5, u"Music"}}, 0xFFF0);
  std::uint32_t counter = 2;
  TakeFoldersFromIndexBlock(db, block, counter);
  EXPECT_EQ(counter, 2u);
  block = IndexBlock({{80, 5, u"Photos"}});
  block.resize(0x60);  // the entry runs past the end of what was read
  TakeFoldersFromIndexBlock(db, block, counter);
  EXPECT_EQ(counter, 2u);
}

}  // namespace
}  // namespace salvor

// The folder map's shared steps, as the tree builder and the Turbo Scan use
// them: placeholders, folders met late or twice, lost folders under "#".

#include "ntfs/folder_map.h"

#include <gtest/gtest.h>

#include "ntfs/scan_database.h"
#include "support/recording_host.h"
#include "support/test_paths.h"
#include "volume_fixture.h"

namespace salvor {
namespace {

using testing::RecordingHost;
using testing::ScratchDir;

EntryInfo Folder(std::uint32_t own, std::uint32_t parent, std::u16string_view name) {
  EntryInfo e;
  e.own_record = own;
  e.parent_record = parent;
  e.flags = kEntryFolder | kEntryPresent;
  std::copy(name.begin(), name.end(), e.name.begin());
  e.name_length = static_cast<std::uint16_t>(name.size());
  return e;
}

class FolderMapTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateDatabase(db, dir.path())); }
  void Reopen() {
    ASSERT_TRUE(CloseDatabase(db));
    ASSERT_TRUE(reader.Open(dir.path()));
  }

  ScratchDir dir;
  RecordingHost host;
  ScanDatabaseWriter db{host};
  ScanDatabaseReader reader;
  std::uint32_t counter = 2;
};

TEST_F(FolderMapTest, UnknownParentBecomesAPlaceholderWithItsOwnList) {
  FolderNode& node = FindOrAddParent(db, 70);
  EXPECT_TRUE(node.placeholder);
  EXPECT_EQ(node.record, 70u);
  EXPECT_EQ(node.first_block, 256u);
  EXPECT_EQ(&FindOrAddParent(db, 70), &node);  // found, not added again
  EXPECT_EQ(&FindOrAddParent(db, 5), &db.folders.at(5));
  EXPECT_EQ(db.last_block, 256u);
}

TEST_F(FolderMapTest, FolderEntryJoinsItsParentAndTakesItsList) {
  EntryInfo docs = Folder(30, 5, u"docs");
  ASSERT_TRUE(AddFolderEntry(db, docs, counter));
  EXPECT_EQ(counter, 3u);
  EXPECT_EQ(docs.entry_number, 2u);
  const FolderNode& node = db.folders.at(30);
  EXPECT_FALSE(node.placeholder);
  EXPECT_EQ(node.entry_number, 2u);
  EXPECT_EQ(docs.child_block, node.first_block);
  AddLostFolders(db, counter);
  Reopen();
  auto tree = testing::ReadTree(reader);
  ASSERT_TRUE(tree.count(" Root/docs"));
  EXPECT_EQ(tree.at(" Root/docs").child_block, docs.child_block);
}

TEST_F(FolderMapTest, PlaceholderMetLaterKeepsItsList) {
  FolderNode& placeholder = FindOrAddParent(db, 40);
  const std::uint32_t block = placeholder.first_block;
  EntryInfo late = Folder(40, 5, u"late");
  ASSERT_TRUE(AddFolderEntry(db, late, counter));
  EXPECT_FALSE(db.folders.at(40).placeholder);
  EXPECT_EQ(db.folders.at(40).first_block, block);
  EXPECT_EQ(late.child_block, block);
}

TEST_F(FolderMapTest, SameRecordTwiceIsDropped) {
  EntryInfo first = Folder(40, 5, u"first");
  EntryInfo second = Folder(40, 5, u"second");
  ASSERT_TRUE(AddFolderEntry(db, first, counter));
  const std::uint32_t names = db.name_offset;
  EXPECT_FALSE(AddFolderEntry(db, second, counter));
  EXPECT_EQ(counter, 3u);
  EXPECT_EQ(db.name_offset, names);
  EXPECT_EQ(db.entry_count(), 3u);
}

TEST_F(FolderMapTest, LostFoldersGoUnderTheTopInRecordOrder) {
  FindOrAddParent(db, 90);
  FindOrAddParent(db, 12);
  EntryInfo found = Folder(50, 5, u"found");
  AddFolderEntry(db, found, counter);
  AddLostFolders(db, counter);
  EXPECT_EQ(counter, 5u);
  Reopen();
  const std::vector<EntryNode> top = reader.ListChildren(0, true).children;
  ASSERT_EQ(top.size(), 3u);  // the reverse of the slot order
  EXPECT_EQ(top[0].name, u"#90");
  EXPECT_EQ(top[1].name, u"#12");
  EXPECT_EQ(top[2].name, u" Root");
  EXPECT_EQ(top[1].entry_number, 3u);
  EXPECT_EQ(top[0].entry_number, 4u);
  EXPECT_EQ(top[0].flags, 0x10);
  EXPECT_EQ(top[0].own_record, 90u);
  EXPECT_EQ(top[0].child_block, 256u);
}

TEST_F(FolderMapTest, EverythingIsOnDiskAfterTheLostFolders) {
  FolderNode& lost = FindOrAddParent(db, 77);
  for (std::uint32_t i = 0; i < 3; ++i) {
    EntryInfo f = Folder(0, 77, u"f");
    f.flags = 0;
    f.entry_number = counter;
    AppendEntry(db, f);
    AddChild(db, lost, counter++);
  }
  AddLostFolders(db, counter);
  // Readable without closing: the block buffer and the appended bytes are written.
  ASSERT_TRUE(reader.Open(dir.path()));
  auto tree = testing::ReadTree(reader);
  EXPECT_EQ(tree.count("#77/f"), 1u);
  EXPECT_EQ(reader.entry_count(), 6u);
}

}  // namespace
}  // namespace salvor

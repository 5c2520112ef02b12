// The scan database files: fixed content, entries and names, children lists
// across blocks and folders, reading back, and every write checked.

#include "ntfs/scan_database.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <array>
#include <csignal>
#include <fstream>
#include <iterator>
#include <thread>

#include "disk/sector_source.h"
#include "ntfs/scan_database_reader.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

using testing::RecordingHost;
using testing::ScratchDir;

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

EntryInfo FileEntry(std::uint32_t number, std::uint32_t parent, std::u16string_view name,
                    std::uint64_t size = 0) {
  EntryInfo e;
  e.entry_number = number;
  e.own_record = 100 + number;
  e.parent_record = parent;
  e.size = size;
  e.flags = kEntryPresent;
  std::copy(name.begin(), name.end(), e.name.begin());
  e.name_length = static_cast<std::uint16_t>(name.size());
  return e;
}

class ScanDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateDatabase(db, dir.path())) << db.error; }

  ScratchDir dir;
  RecordingHost host;
  ScanDatabaseWriter db{host};
  ScanDatabaseReader reader;
};

TEST(EntryRecordTest, StoredFieldByFieldIn44Bytes) {
  EntryInfo e;
  e.size = 0x0102030405060708ull;
  e.record_sector = 0x1112131415161718ull;
  e.entry_number = 0x21222324;
  e.own_record = 0x31323334;
  e.parent_record = 0x41424344;
  e.child_block = 0x51525354;
  e.name_offset = 0x61626364;
  e.name_length = 0x7172;
  e.flags = 0x8182;
  e.creation_date = 0x9192;
  e.access_date = 0xA1A2;
  auto b = StoreEntryRecord(e);
  static_assert(sizeof(b) == 44);
  EXPECT_EQ(b[0], 0x08);
  EXPECT_EQ(b[7], 0x01);
  EXPECT_EQ(b[8], 0x18);
  EXPECT_EQ(b[16], 0x24);
  EXPECT_EQ(b[20], 0x34);
  EXPECT_EQ(b[24], 0x44);
  EXPECT_EQ(b[28], 0x54);
  EXPECT_EQ(b[32], 0x64);
  EXPECT_EQ(b[36], 0x72);
  EXPECT_EQ(b[38], 0x82);
  EXPECT_EQ(b[40], 0x92);
  EXPECT_EQ(b[42], 0xA2);
  EXPECT_EQ(b[43], 0xA1);
  EntryNode n = LoadEntryRecord(b);
  EXPECT_EQ(n.size, e.size);
  EXPECT_EQ(n.record_sector, e.record_sector);
  EXPECT_EQ(n.entry_number, e.entry_number);
  EXPECT_EQ(n.own_record, e.own_record);
  EXPECT_EQ(n.parent_record, e.parent_record);
  EXPECT_EQ(n.child_block, e.child_block);
  EXPECT_EQ(n.name_offset, e.name_offset);
  EXPECT_EQ(n.name_length, e.name_length);
  EXPECT_EQ(n.flags, e.flags);
  EXPECT_EQ(n.creation_date, e.creation_date);
  EXPECT_EQ(n.access_date, e.access_date);
}

TEST(TreeBlockTest, StoredIn128Bytes) {
  TreeBlock t;
  t.owner = 0x01020304;
  t.next = 0x80;
  t.children[0] = 7;
  t.children[29] = 0xAABBCCDD;
  auto b = StoreTreeBlock(t);
  static_assert(sizeof(b) == 128);
  EXPECT_EQ(b[0], 0x04);
  EXPECT_EQ(b[4], 0x80);
  EXPECT_EQ(b[8], 7);
  EXPECT_EQ(b[124], 0xDD);
  EXPECT_EQ(LoadTreeBlock(b), t);
}

TEST_F(ScanDatabaseTest, FreshDatabaseHoldsTheFixedContent) {
  ASSERT_TRUE(CloseDatabase(db));
  auto entries = FileBytes(dir.path() / "NSE.VKT");
  auto names = FileBytes(dir.path() / "NSN.VKT");
  auto tree = FileBytes(dir.path() / "NST.VKT");
  ASSERT_EQ(entries.size(), 88u);
  ASSERT_EQ(names.size(), 12u);
  ASSERT_EQ(tree.size(), 256u);
  const std::vector<std::uint8_t> expected_names = {'#', 0, ' ', 0, 'R', 0, 'o', 0, 'o', 0, 't', 0};
  EXPECT_EQ(names, expected_names);
  // Block 0: owner 0, next 0, first slot entry 1; block 128: owner 5, empty.
  EXPECT_EQ(U32At(tree, 0), 0u);
  EXPECT_EQ(U32At(tree, 4), 0u);
  EXPECT_EQ(U32At(tree, 8), 1u);
  for (std::size_t at = 12; at < 128; at += 4) EXPECT_EQ(U32At(tree, at), 0u) << at;
  EXPECT_EQ(U32At(tree, 128), 5u);
  for (std::size_t at = 132; at < 256; at += 4) EXPECT_EQ(U32At(tree, at), 0u) << at;

  ASSERT_TRUE(reader.Open(dir.path())) << reader.error();
  EXPECT_EQ(reader.entry_count(), 2u);
  auto top = reader.ReadEntry(0);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->name, u"#");
  EXPECT_EQ(top->flags, 0x18);
  EXPECT_EQ(top->child_block, 0u);
  EXPECT_EQ(top->own_record, 0u);
  EXPECT_EQ(top->entry_number, 0u);
  EXPECT_EQ(top->name_offset, 0u);
  EXPECT_EQ(top->size, 0u);
  auto root = reader.ReadEntry(1);
  ASSERT_TRUE(root);
  EXPECT_EQ(root->name, u" Root");
  EXPECT_EQ(root->name_length, 5);
  EXPECT_EQ(root->flags, 0x18);
  EXPECT_EQ(root->own_record, 5u);
  EXPECT_EQ(root->entry_number, 1u);
  EXPECT_EQ(root->child_block, 128u);
  EXPECT_EQ(root->parent_record, 0u);
  EXPECT_EQ(root->name_offset, 2u);

  const ChildList listed = reader.ListChildren(0, true);
  ASSERT_EQ(listed.children.size(), 1u);
  EXPECT_EQ(listed.children[0].name, u" Root");
  EXPECT_EQ(listed.folders, 1u);
  EXPECT_EQ(listed.files, 0u);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ScanDatabaseTest, CreateSeedsTheFolderMap) {
  ASSERT_EQ(db.folders.size(), 2u);
  EXPECT_EQ(db.folders.at(0).entry_number, 0u);
  EXPECT_EQ(db.folders.at(0).first_block, 0u);
  EXPECT_FALSE(db.folders.at(0).placeholder);
  EXPECT_EQ(db.folders.at(5).entry_number, 1u);
  EXPECT_EQ(db.folders.at(5).first_block, 128u);
  EXPECT_FALSE(db.folders.at(5).placeholder);
  EXPECT_EQ(db.name_offset, 12u);
  EXPECT_EQ(db.last_block, 128u);
  EXPECT_EQ(db.current_block, 128u);
  EXPECT_EQ(db.block.owner, 5u);
}

TEST_F(ScanDatabaseTest, CreateTruncatesAnEarlierDatabase) {
  EntryInfo e = FileEntry(2, 5, u"old.txt");
  AppendEntry(db, e);
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(CreateDatabase(db, dir.path()));
  ASSERT_TRUE(CloseDatabase(db));
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "NSE.VKT"), 88u);
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "NSN.VKT"), 12u);
}

TEST_F(ScanDatabaseTest, AppendedEntriesReadBackWithTheirNames) {
  EntryInfo a = FileEntry(2, 5, u"a.txt", 1234);
  a.record_sector = 777;
  a.creation_date = 0x5821;
  a.access_date = 0x5822;
  AppendEntry(db, a);
  EXPECT_EQ(a.name_offset, 12u);
  EntryInfo b = FileEntry(3, 5, u"\u00e9t\u00e9 \U0001F600.jpg");
  AppendEntry(db, b);
  EXPECT_EQ(b.name_offset, 22u);
  EXPECT_EQ(db.name_offset, 22u + 2u * b.name_length);
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(reader.Open(dir.path()));
  auto ra = reader.ReadEntry(2);
  ASSERT_TRUE(ra);
  EXPECT_EQ(ra->name, u"a.txt");
  EXPECT_EQ(ra->size, 1234u);
  EXPECT_EQ(ra->record_sector, 777u);
  EXPECT_EQ(ra->entry_number, 2u);
  EXPECT_EQ(ra->own_record, 102u);
  EXPECT_EQ(ra->parent_record, 5u);
  EXPECT_EQ(ra->creation_date, 0x5821);
  EXPECT_EQ(ra->access_date, 0x5822);
  auto rb = reader.ReadEntry(3);
  ASSERT_TRUE(rb);
  EXPECT_EQ(rb->name, u"\u00e9t\u00e9 \U0001F600.jpg");
}

TEST_F(ScanDatabaseTest, ReadingPastTheEndGivesAnEmptyEntry) {
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(reader.Open(dir.path()));
  for (std::uint32_t n : {2u, 3u, 1000u, 0xFFFFFFFFu}) {
    auto e = reader.ReadEntry(n);
    ASSERT_TRUE(e) << n;
    EXPECT_EQ(*e, EntryNode{}) << n;
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ScanDatabaseTest, ThirtyFirstChildOpensASecondBlock) {
  FolderNode folder{2, 40, 0, false};
  NewChildList(db, folder);
  EXPECT_EQ(folder.first_block, 256u);
  for (std::uint32_t n = 1; n <= 31; ++n) AddChild(db, folder, 100 + n);
  EXPECT_EQ(db.last_block, 384u);
  WriteBlock(db);
  ASSERT_TRUE(CloseDatabase(db));

  auto tree = FileBytes(dir.path() / "NST.VKT");
  ASSERT_EQ(tree.size(), 512u);
  EXPECT_EQ(U32At(tree, 256), 40u);       // owner
  EXPECT_EQ(U32At(tree, 256 + 4), 384u);  // next
  for (std::uint32_t i = 0; i < 30; ++i) EXPECT_EQ(U32At(tree, 256 + 8 + 4 * i), 101 + i);
  EXPECT_EQ(U32At(tree, 384), 40u);
  EXPECT_EQ(U32At(tree, 384 + 4), 0u);
  EXPECT_EQ(U32At(tree, 384 + 8), 131u);
  EXPECT_EQ(U32At(tree, 384 + 12), 0u);
}

TEST_F(ScanDatabaseTest, InterruptedListIsResumedInOneList) {
  // Two folders under the root, their files added turn by turn.
  std::uint32_t next = 2;
  FolderNode a{0, 40, 0, false};
  FolderNode b{0, 41, 0, false};
  NewChildList(db, a);
  NewChildList(db, b);
  std::vector<std::uint32_t> in_a;
  std::vector<std::uint32_t> in_b;
  auto add = [&](FolderNode& f, std::vector<std::uint32_t>& list, int count, std::uint32_t parent) {
    for (int i = 0; i < count; ++i) {
      EntryInfo e = FileEntry(next, parent, u"f", 10);
      AppendEntry(db, e);
      AddChild(db, f, next);
      list.push_back(next++);
    }
  };
  add(a, in_a, 20, 40);
  add(b, in_b, 5, 41);
  add(a, in_a, 25, 40);  // crosses into a second block of a's list
  add(b, in_b, 1, 41);
  add(a, in_a, 1, 40);
  WriteBlock(db);
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(reader.Open(dir.path()));

  auto list_of = [&](const FolderNode& f) {
    std::vector<std::uint32_t> got;
    reader.VisitChildren(f.first_block, [&](const EntryNode& e) {
      got.push_back(e.entry_number);
      return true;
    });
    return got;
  };
  EXPECT_EQ(list_of(a), in_a);
  EXPECT_EQ(list_of(b), in_b);

  const ChildList list = reader.ListChildren(a.first_block, true);
  ASSERT_EQ(list.children.size(), in_a.size());
  EXPECT_EQ(list.files, in_a.size());
  EXPECT_EQ(list.bytes, 10u * in_a.size());
  // Files in the reverse of the slot order.
  EXPECT_EQ(list.children.front().entry_number, in_a.back());
  EXPECT_EQ(list.children.back().entry_number, in_a.front());
}

TEST_F(ScanDatabaseTest, ListingPutsFilesFirstAndCountsSkippedFiles) {
  FolderNode f{0, 40, 0, false};
  NewChildList(db, f);
  EntryInfo file1 = FileEntry(2, 40, u"one", 100);
  EntryInfo sub = FileEntry(3, 40, u"sub");
  sub.flags = kEntryFolder | kEntryPresent;
  EntryInfo file2 = FileEntry(4, 40, u"two", 23);
  file2.flags = 0;  // deleted
  for (EntryInfo* e : {&file1, &sub, &file2}) {
    AppendEntry(db, *e);
    AddChild(db, f, e->entry_number);
  }
  WriteBlock(db);
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(reader.Open(dir.path()));

  const std::vector<EntryNode> all = reader.ListChildren(f.first_block, true).children;
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].name, u"two");
  EXPECT_EQ(all[1].name, u"one");
  EXPECT_EQ(all[2].name, u"sub");

  const ChildList only_folders = reader.ListChildren(f.first_block, false);
  ASSERT_EQ(only_folders.children.size(), 1u);
  EXPECT_EQ(only_folders.children[0].name, u"sub");
  EXPECT_EQ(only_folders.files, 2u);
  EXPECT_EQ(only_folders.folders, 1u);
  EXPECT_EQ(only_folders.bytes, 123u);
}

TEST_F(ScanDatabaseTest, EmptyListGivesNothing) {
  FolderNode f{0, 40, 0, false};
  NewChildList(db, f);
  FlushDatabase(db);
  ASSERT_TRUE(reader.Open(dir.path()));
  const ChildList list = reader.ListChildren(f.first_block, true);
  EXPECT_TRUE(list.children.empty());
  EXPECT_EQ(list.files + list.folders, 0u);
}

// A view lists a folder on the UI thread while a worker walks the same
// tree for a save: each reader keeps its own handles and caches, so both see
// the whole list every time.
TEST_F(ScanDatabaseTest, TwoReadersOnTwoThreadsSeeTheSameTree) {
  FolderNode f{0, 40, 0, false};
  NewChildList(db, f);
  for (std::uint32_t n = 2; n < 2 + 500; ++n) {
    EntryInfo e = FileEntry(n, 40, n % 2 ? u"odd-name.txt" : u"even.bin", n);
    AppendEntry(db, e);
    AddChild(db, f, n);
  }
  WriteBlock(db);
  ASSERT_TRUE(CloseDatabase(db));
  ScanDatabaseReader view;
  ASSERT_TRUE(view.Open(dir.path()));
  ASSERT_TRUE(reader.Open(dir.path()));
  const std::uint64_t expected_bytes = (2 + 501) * 500 / 2;

  std::uint64_t listings_whole = 0;
  std::thread ui([&] {
    for (int round = 0; round < 40; ++round) {
      const ChildList list = view.ListChildren(f.first_block, true);
      listings_whole += list.error.empty() && list.files == 500 && list.bytes == expected_bytes;
    }
  });
  std::uint64_t names_right = 0;
  for (int round = 0; round < 40; ++round) {
    for (std::uint32_t n = 2; n < 2 + 500; n += 7) {
      const auto e = reader.ReadEntry(n);
      names_right += e && e->size == n && e->name == (n % 2 ? u"odd-name.txt" : u"even.bin");
    }
  }
  ui.join();
  EXPECT_EQ(listings_whole, 40u);
  EXPECT_EQ(names_right, 40u * 72u);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ScanDatabaseTest, FileLimitEndsTheBuildWithAnErrorInTheLog) {
  db.file_limit = 88 + 44;  // room for one more entry
  EntryInfo a = FileEntry(2, 5, u"a");
  AppendEntry(db, a);
  EntryInfo b = FileEntry(3, 5, u"b");
  EXPECT_THROW(AppendEntry(db, b), UserException);
  EXPECT_TRUE(db.failed);
  ASSERT_EQ(host.log.size(), 1u);
  EXPECT_EQ(host.log[0].kind, LogKind::kFailure);
  EXPECT_NE(host.log[0].detail.find("NSE.VKT"), std::string::npos);
  // Nothing more is written, and nothing was wrapped.
  EXPECT_THROW(AppendEntry(db, b), UserException);
  EXPECT_EQ(host.log.size(), 1u);
  CloseDatabase(db);
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "NSE.VKT"), 132u);
}

TEST_F(ScanDatabaseTest, TreeFileLimitStopsANewList) {
  db.file_limit = 256 + 128;
  FolderNode a{0, 40, 0, false};
  NewChildList(db, a);
  FolderNode b{0, 41, 0, false};
  EXPECT_THROW(NewChildList(db, b), UserException);
  EXPECT_TRUE(db.failed);
  EXPECT_NE(db.error.find("NST.VKT"), std::string::npos);
}

TEST_F(ScanDatabaseTest, NameFileLimitIsCheckedBeforeAnythingIsWritten) {
  db.file_limit = 14;  // the name file holds 12 bytes
  EntryInfo a = FileEntry(2, 5, u"ab");
  EXPECT_THROW(AppendEntry(db, a), UserException);
  EXPECT_EQ(db.entries.size(), 88u);
}

// A write that the system refuses (here: the file size limit of the
// process, as a full disk would) is shown, and the database counts as failed.
TEST_F(ScanDatabaseTest, RefusedWriteIsShownAndEndsTheBuild) {
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool thrown = false;
  try {
    for (std::uint32_t n = 2; n < 10000; ++n) {
      EntryInfo e = FileEntry(n, 5, u"a-long-enough-name.txt");
      AppendEntry(db, e);
    }
    FlushDatabase(db);
  } catch (const UserException&) {
    thrown = true;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(thrown);
  EXPECT_TRUE(db.failed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Error");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  // Closing does not show it a second time, and the failure stays known.
  CloseDatabase(db);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(db.failed);
}

// The tree file's page cache: what is written reads back, evicted pages are
// written back, and the file ends where the last write ended.
TEST(DatabaseFileTest, PageCacheWritesBackWhatItEvicts) {
  ScratchDir dir;
  DatabaseFile file;
  ASSERT_EQ(file.Create(dir.path() / "f"), 0);
  file.UsePageCache(256, 2);
  std::vector<std::uint8_t> shadow;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 500; ++i) {
    seed = seed * 1103515245 + 12345;
    const std::uint64_t offset = (seed >> 8) % 40 * 128;
    std::array<std::uint8_t, 128> block;
    block.fill(static_cast<std::uint8_t>(i));
    ASSERT_EQ(file.WriteAt(block, offset), 0);
    if (shadow.size() < offset + 128) shadow.resize(offset + 128, 0);
    std::copy(block.begin(), block.end(), shadow.begin() + static_cast<std::ptrdiff_t>(offset));
    seed = seed * 1103515245 + 12345;
    const std::uint64_t back = (seed >> 8) % 40 * 128;
    std::array<std::uint8_t, 128> got{};
    std::size_t n = 0;
    ASSERT_EQ(file.ReadAt(got, back, n), 0);
    ASSERT_EQ(n, back < shadow.size() ? 128u : 0u);
    for (std::size_t k = 0; k < n; ++k) ASSERT_EQ(got[k], shadow[back + k]) << i;
  }
  EXPECT_EQ(file.size(), shadow.size());
  ASSERT_EQ(file.Close(), 0);
  EXPECT_EQ(FileBytes(dir.path() / "f"), shadow);
}

TEST(ScanDatabaseOpenTest, MissingFilesAreReported) {
  ScratchDir dir;
  RecordingHost host;
  ScanDatabaseWriter db{host};
  ScanDatabaseReader reader;
  EXPECT_FALSE(reader.Open(dir.path()));
  EXPECT_FALSE(reader.is_open());
  EXPECT_NE(reader.error().find("NSE.VKT"), std::string::npos);
  EXPECT_FALSE(CreateDatabase(db, dir.path() / "missing"));
  EXPECT_FALSE(db.is_open());
}

TEST(ScanDatabaseOpenTest, PlantedLinkIsNotFollowed) {
  ScratchDir dir;
  RecordingHost host;
  ScanDatabaseWriter db{host};
  std::ofstream(dir.path() / "victim") << "keep me";
  std::filesystem::create_symlink(dir.path() / "victim", dir.path() / "NSN.VKT");
  EXPECT_FALSE(CreateDatabase(db, dir.path()));
  std::ifstream in(dir.path() / "victim");
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "keep me");
}

}  // namespace
}  // namespace salvor

// The save walk: roots last to first, files before subfolders, empty
// folders, conflicts and skips, excluded types, hostile names, file times,
// stopping, failed records and the quiet single-file extraction.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "disk/texts.h"
#include "ntfs/folder_map.h"
#include "ntfs/save_entries.h"
#include "ntfs/scan_database.h"
#include "record_builder.h"
#include "support/test_paths.h"
#include "test_volume.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::RecordBuilder;

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every path below `root`, relative, sorted.
std::vector<std::string> Tree(const fs::path& root) {
  std::vector<std::string> out;
  for (auto& e : fs::recursive_directory_iterator(root))
    out.push_back(fs::relative(e.path(), root).string() + (e.is_directory() ? "/" : ""));
  std::sort(out.begin(), out.end());
  return out;
}

class SaveEntriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(db_dir());
    fs::create_directory(out());
    ASSERT_TRUE(CreateDatabase(db, db_dir())) << db.error;
  }

  fs::path db_dir() const { return scratch.path() / "db"; }
  fs::path out() const { return scratch.path() / "out"; }

  // A file in the folder of MFT record `parent`, its data resident.
  std::uint32_t AddFile(std::uint32_t parent, std::u16string name, const std::string& content,
                        std::uint16_t access_date = 0) {
    const std::uint32_t record = next_record++;
    EntryInfo e;
    e.entry_number = counter++;
    e.own_record = record;
    e.parent_record = parent;
    e.flags = kEntryPresent;
    e.size = content.size();
    e.access_date = access_date;
    e.record_sector =
        volume.PutRecord(record, RecordBuilder().Resident(0x80, Bytes(content.begin(), content.end())).Build());
    std::copy(name.begin(), name.end(), e.name.begin());
    e.name_length = static_cast<std::uint16_t>(name.size());
    AppendEntry(db, e);
    AddChild(db, FindOrAddParent(db, parent), e.entry_number);
    return e.entry_number;
  }

  // A folder in the folder of `parent`; returns its record number.
  std::uint32_t AddFolder(std::uint32_t parent, std::u16string name, std::uint32_t* entry = nullptr) {
    EntryInfo e;
    e.own_record = next_record++;
    e.parent_record = parent;
    e.flags = kEntryPresent | kEntryFolder;
    std::copy(name.begin(), name.end(), e.name.begin());
    e.name_length = static_cast<std::uint16_t>(name.size());
    if (entry) *entry = counter;
    EXPECT_TRUE(AddFolderEntry(db, e, counter));
    return e.own_record;
  }

  SaveSummary Save(std::vector<std::uint32_t> roots, std::vector<std::string> excluded = {}) {
    AddLostFolders(db, counter);
    EXPECT_TRUE(CloseDatabase(db));
    EXPECT_TRUE(reader.Open(db_dir()));
    SaveRequest request;
    request.entries = std::move(roots);
    request.destination = out().string();
    request.excluded_types = std::move(excluded);
    return SaveEntries(volume.Open(), reader, request);
  }

  testing::ScratchDir scratch;
  testing::TestVolume volume;
  ScanDatabaseWriter db{volume.host};
  ScanDatabaseReader reader;
  std::uint32_t counter = 2;
  std::uint32_t next_record = 20;
};

TEST_F(SaveEntriesTest, SaveAllWritesTheTreeFromTheTop) {
  std::uint32_t docs_entry = 0;
  const std::uint32_t docs = AddFolder(5, u"docs", &docs_entry);
  AddFile(docs, u"a.txt", "alpha");
  AddFile(docs, u"b.txt", "bravo");
  AddFile(docs, u"c.txt", "charlie");
  const std::uint32_t sub = AddFolder(docs, u"sub");
  AddFile(sub, u"deep.txt", "deep");
  AddFolder(5, u"empty");
  AddFile(5, u"top.txt", "top");
  SaveSummary s = Save({0});
  EXPECT_TRUE(s.ok());
  EXPECT_EQ(s.files, 5u);
  EXPECT_EQ(s.folders, 5u);  // "#", " Root", docs, sub, empty
  EXPECT_EQ(s.bytes, 5u + 5 + 7 + 4 + 3);
  EXPECT_EQ(Tree(out()), (std::vector<std::string>{
                             "#/", "#/ Root/", "#/ Root/docs/", "#/ Root/docs/a.txt",
                             "#/ Root/docs/b.txt", "#/ Root/docs/c.txt", "#/ Root/docs/sub/",
                             "#/ Root/docs/sub/deep.txt", "#/ Root/empty/", "#/ Root/top.txt"}));
  EXPECT_EQ(Read(out() / "#/ Root/docs/sub/deep.txt"), "deep");
  EXPECT_TRUE(fs::is_empty(out() / "#/ Root/empty"));
}

TEST_F(SaveEntriesTest, RootsAreWrittenLastToFirst) {
  const std::uint32_t a = AddFile(5, u"same", "from A");
  const std::uint32_t b = AddFile(5, u"same", "from B");
  volume.host.rename_answers = {std::string("renamed")};
  SaveSummary s = Save({a, b});
  EXPECT_EQ(s.files, 2u);
  EXPECT_EQ(Read(out() / "same"), "from B");
  EXPECT_EQ(Read(out() / "renamed"), "from A");
}

TEST_F(SaveEntriesTest, FilesComeBeforeSubfoldersOfTheSameFolder) {
  // A file and a subfolder of one name: the file is met first and wins it.
  std::uint32_t top_entry = 0;
  const std::uint32_t top = AddFolder(5, u"top", &top_entry);
  AddFolder(top, u"x");
  AddFile(top, u"x", "file");
  SaveSummary s = Save({top_entry});
  EXPECT_EQ(Read(out() / "top/x"), "file");
  EXPECT_EQ(s.skipped, 1u);
  ASSERT_EQ(volume.host.rename_questions.size(), 1u);
  EXPECT_EQ(volume.host.rename_questions[0], "x|name already exists, please provide new name.");
}

TEST_F(SaveEntriesTest, SkippedConflictIsLoggedAndNeverOverwrites) {
  std::ofstream(out() / "a.txt") << "keep";
  const std::uint32_t a = AddFile(5, u"a.txt", "new data");
  SaveSummary s = Save({a});
  EXPECT_EQ(s.skipped, 1u);
  EXPECT_EQ(Read(out() / "a.txt"), "keep");
  ASSERT_EQ(volume.host.log.size(), 1u);
  EXPECT_EQ(volume.host.log[0].text, "a.txt");
  EXPECT_EQ(volume.host.log[0].detail, "file skipped");
}

TEST_F(SaveEntriesTest, SkippedFolderLeavesOutItsContents) {
  fs::create_directory(out() / "f");
  std::uint32_t f_entry = 0;
  const std::uint32_t f = AddFolder(5, u"f", &f_entry);
  AddFile(f, u"inside", "x");
  SaveSummary s = Save({f_entry});
  EXPECT_EQ(s.skipped, 1u);
  EXPECT_EQ(s.files, 0u);
  EXPECT_TRUE(fs::is_empty(out() / "f"));
}

TEST_F(SaveEntriesTest, ExcludedTypesAreSkippedSilently) {
  std::uint32_t f_entry = 0;
  const std::uint32_t f = AddFolder(5, u"f", &f_entry);
  for (auto n : {u"a.tmp", u"b.TMP", u"c.tmp.bak", u"tmp", u"d.txt"}) AddFile(f, n, "x");
  SaveSummary s = Save({f_entry}, {"tmp"});
  EXPECT_EQ(s.excluded, 3u);
  EXPECT_EQ(Tree(out()), (std::vector<std::string>{"f/", "f/c.tmp.bak", "f/d.txt"}));
  EXPECT_TRUE(volume.host.log.empty());
}

TEST(IsExcludedTypeTest, ComparesTheLastExtensionRegardlessOfCase) {
  const std::vector<std::string> tmp{"TMP"};
  EXPECT_TRUE(IsExcludedType("a.tmp", tmp));
  EXPECT_TRUE(IsExcludedType("b.TMP", tmp));
  EXPECT_FALSE(IsExcludedType("c.tmp.bak", tmp));
  EXPECT_TRUE(IsExcludedType("tmp", tmp));
  EXPECT_FALSE(IsExcludedType("tmpx", tmp));
  EXPECT_FALSE(IsExcludedType("a.tmp", {}));
}

TEST_F(SaveEntriesTest, HostileNamesStayInsideTheDestination) {
  std::uint32_t dotdot_entry = 0;
  const std::uint32_t dotdot = AddFolder(5, u"..", &dotdot_entry);
  AddFile(dotdot, u"../../x", "escape");
  AddFile(dotdot, u"a/b", "slash");
  AddFile(dotdot, u".", "dot");
  AddFile(dotdot, u"..", "dotdot");
  SaveSummary s = Save({dotdot_entry});
  EXPECT_EQ(s.files, 4u);
  EXPECT_EQ(Tree(out()), (std::vector<std::string>{"#../", "#../#.", "#../#..", "#../.._.._x",
                                                   "#../a_b"}));
  EXPECT_EQ(Tree(scratch.path()).size(), Tree(out()).size() + Tree(db_dir()).size() + 2);
}

TEST_F(SaveEntriesTest, LastAccessDateBecomesTheModificationTime) {
  const std::uint16_t date = static_cast<std::uint16_t>(((2021 - 1980) << 9) | (7 << 5) | 14);
  const std::uint32_t a = AddFile(5, u"dated", "x", date);
  Save({a});
  struct stat st {};
  ASSERT_EQ(stat((out() / "dated").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1626220800);  // 2021-07-14 00:00 UTC
}

TEST_F(SaveEntriesTest, StopEndsAfterTheEntryInHand) {
  const std::uint32_t a = AddFile(5, u"a", "a");
  const std::uint32_t b = AddFile(5, u"b", "b");
  volume.run.Stop();
  SaveSummary s = Save({a, b});
  EXPECT_TRUE(s.stopped);
  EXPECT_FALSE(s.ok());
  EXPECT_EQ(Tree(out()), std::vector<std::string>{"b"});
}

TEST_F(SaveEntriesTest, RecordThatFailsItsCheckIsLoggedAndTheWalkGoesOn) {
  const std::uint32_t a = AddFile(5, u"good", "fine");
  const std::uint32_t b = AddFile(5, u"bad", "lost");
  Bytes bad = RecordBuilder().Resident(0x80, Bytes(4, 'l')).Build();
  bad[0] = 'B';
  volume.PutRecord(next_record - 1, bad);
  SaveSummary s = Save({a, b});
  EXPECT_EQ(s.failed, 1u);
  EXPECT_EQ(s.files, 1u);
  EXPECT_FALSE(s.ok());
  EXPECT_TRUE(fs::exists(out() / "bad"));
  ASSERT_EQ(volume.host.log.size(), 1u);
  EXPECT_EQ(volume.host.log[0].text, "bad");
  EXPECT_EQ(volume.host.log[0].detail, "file saving failed");
}

TEST_F(SaveEntriesTest, MissingDestinationIsShownAndNothingIsSaved) {
  const std::uint32_t a = AddFile(5, u"a", "a");
  fs::remove(out());
  SaveSummary s = Save({a});
  EXPECT_TRUE(s.abandoned);
  ASSERT_EQ(volume.host.messages.size(), 1u);
  EXPECT_EQ(volume.host.messages[0].caption, "Error");
}

TEST_F(SaveEntriesTest, QuietExtractionGivesThePathItWrote) {
  std::ofstream(out() / "photo.jpg") << "someone else's";
  const std::uint32_t a = AddFile(5, u"photo.jpg", "picture");
  AddLostFolders(db, counter);
  ASSERT_TRUE(CloseDatabase(db));
  ASSERT_TRUE(reader.Open(db_dir()));
  EngineState& state = volume.Open();

  volume.host.rename_answers = {std::string("photo-2.jpg")};
  auto written = ExtractFileQuietly(state, reader, a, out());
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, out() / "photo-2.jpg");
  EXPECT_EQ(Read(*written), "picture");
  EXPECT_EQ(Read(out() / "photo.jpg"), "someone else's");
  EXPECT_TRUE(volume.host.progress.empty());

  // Skipped: nothing written, nothing for the caller to open or delete.
  EXPECT_FALSE(ExtractFileQuietly(state, reader, a, out()));
  EXPECT_EQ(volume.host.log.back().detail, "file skipped");
}

}  // namespace
}  // namespace salvor

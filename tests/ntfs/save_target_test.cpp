// Creating targets: the rename rules, safe names for whatever a disk calls
// its files, the rename question and its four failure classes, symlinks in
// the destination, and a destination on the source disk.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "disk/sector_source.h"
#include "disk/texts.h"
#include "ntfs/destination_check.h"
#include "ntfs/rename_rules.h"
#include "ntfs/safe_name.h"
#include "ntfs/save_target.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;
using testing::RecordingHost;
using testing::ScratchDir;

TEST(RenameRulesTest, OkAddsThreeCharactersOfTheFailedExtension) {
  EXPECT_EQ(NameWithFailedExtension("new", "report.html"), "new.htm");
  EXPECT_EQ(NameWithFailedExtension("new", "a.b.c"), "new.c");
  EXPECT_EQ(NameWithFailedExtension("new", "noextension"), "new");
  EXPECT_EQ(NameWithFailedExtension("new", "trailing."), "new.");
  EXPECT_EQ(NameWithFailedExtension("new", "report.html", std::string::npos), "new.html");
}

TEST(RenameRulesTest, ReasonTextsFollowTheFailure) {
  EXPECT_EQ(RenameReasonText(RenameReason::kTooLong), "name too long to save, please provide new name.");
  EXPECT_EQ(RenameReasonText(RenameReason::kExists), "name already exists, please provide new name.");
  EXPECT_EQ(RenameReasonText(RenameReason::kOther), "please provide new name ( ");
  EXPECT_EQ(ClassifyCreateError(EEXIST), RenameReason::kExists);
  EXPECT_EQ(ClassifyCreateError(ENAMETOOLONG), RenameReason::kTooLong);
  EXPECT_EQ(ClassifyCreateError(ENOENT), RenameReason::kTooLong);
  EXPECT_EQ(ClassifyCreateError(EACCES), RenameReason::kOther);
}

TEST(RenameRulesTest, ForbiddenLastCharacterIsRemovedWithTheMessage) {
  RenameEdit e = CheckRenameEdit("a");
  EXPECT_TRUE(e.ok_enabled);
  EXPECT_FALSE(e.show_forbidden_message);
  e = CheckRenameEdit("a:");
  EXPECT_TRUE(e.show_forbidden_message);
  EXPECT_EQ(e.text, "a");
  e = CheckRenameEdit(e.text + "b");
  EXPECT_EQ(e.text, "ab");
  EXPECT_FALSE(e.show_forbidden_message);
  for (char c : std::string(" \"\\/:*?<>|")) {
    EXPECT_TRUE(IsForbiddenLastCharacter(c)) << c;
    EXPECT_TRUE(CheckRenameEdit(std::string("x") + c).show_forbidden_message) << c;
  }
  // Only the last character is looked at.
  e = CheckRenameEdit("a:b");
  EXPECT_FALSE(e.show_forbidden_message);
  EXPECT_EQ(e.text, "a:b");
  EXPECT_FALSE(CheckRenameEdit("").ok_enabled);
  EXPECT_FALSE(CheckRenameEdit(":").ok_enabled);
  EXPECT_EQ(text::kForbiddenCharacters,
            "A file/ folder cannot contain following special characters:\n\\/ : * ? \" < > | ");
}

TEST(RenameRulesTest, FortyFirstCharacterCannotBeTyped) {
  EXPECT_EQ(CheckRenameEdit(std::string(41, 'n')).text, std::string(40, 'n'));
  // Characters, not bytes: a 40-character name of accented letters stays whole.
  std::string accents;
  for (int i = 0; i < 41; ++i) accents += "\xC3\xA9";
  EXPECT_EQ(CheckRenameEdit(accents).text, accents.substr(0, 80));
}

TEST(RenameRulesTest, NumberedNamesKeepTheWholeExtensionAndFit) {
  EXPECT_EQ(NumberedName("report.html", 1, 255), "report (1).html");
  EXPECT_EQ(NumberedName("report", 12, 255), "report (12)");
  EXPECT_EQ(NumberedName(".bashrc", 2, 255), ".bashrc (2)");
  const std::string stem(300, 'x');
  const std::string n = NumberedName(stem + ".txt", 3, 255);
  EXPECT_EQ(n.size(), 255u);
  EXPECT_EQ(n.substr(n.size() - 8), " (3).txt");
  std::string accents;
  for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";
  const std::string cut = NumberedName(accents, 1, 255);
  EXPECT_LE(cut.size(), 255u);
  EXPECT_EQ(cut.substr(0, 2), "\xC3\xA9");
  EXPECT_EQ(cut.substr(cut.size() - 6, 2), "\xC3\xA9");  // never cut inside a character
}

TEST(SafeNameTest, NamesFromTheDiskNeverLeaveTheirFolder) {
  EXPECT_EQ(SafeTargetName(u"."), "#.");
  EXPECT_EQ(SafeTargetName(u".."), "#..");
  EXPECT_EQ(SafeTargetName(u"../../x"), ".._.._x");
  EXPECT_EQ(SafeTargetName(u"a/b"), "a_b");
  EXPECT_EQ(SafeTargetName(std::u16string(u"a\0b", 3)), "a_b");
  EXPECT_EQ(SafeTargetName(u""), "#");
  EXPECT_EQ(SafeTargetName(u"..."), "...");
  EXPECT_EQ(SafeTargetName(u"C:\\x"), "C:\\x");
  EXPECT_EQ(SafeTargetName(u"\u00e9t\u00e9"), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(SafeTargetName(std::string_view("..")), "#..");
}

class CreateTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int error = 0;
    auto d = OpenDestination(dir.path().string(), &error);
    ASSERT_TRUE(d) << error;
    dest = std::move(*d);
  }
  std::string Read(const fs::path& p) {
    std::ifstream in(p);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  ScratchDir dir;
  RecordingHost host;
  UniqueFd dest;
};

TEST_F(CreateTargetTest, ConflictNeverOverwritesAndSkipIsLogged) {
  std::ofstream(dir.path() / "a.txt") << "keep";
  auto t = CreateTarget(host, dest.get(), u"a.txt", false);
  EXPECT_FALSE(t);
  EXPECT_EQ(Read(dir.path() / "a.txt"), "keep");
  ASSERT_EQ(host.rename_questions.size(), 1u);
  EXPECT_EQ(host.rename_questions[0], "a.txt|name already exists, please provide new name.");
  ASSERT_EQ(host.log.size(), 1u);
  EXPECT_EQ(host.log[0].text, "a.txt");
  EXPECT_EQ(host.log[0].detail, "file skipped");
  EXPECT_EQ(host.log[0].kind, LogKind::kFailure);
}

TEST_F(CreateTargetTest, RenameAnswersAreAskedUntilOneWorks) {
  std::ofstream(dir.path() / "a.txt") << "keep";
  std::ofstream(dir.path() / "b.txt") << "keep too";
  host.rename_answers = {std::string("b.txt"), std::string("../c.txt")};
  auto t = CreateTarget(host, dest.get(), u"a.txt", false);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->name, ".._c.txt");
  EXPECT_TRUE(fs::exists(dir.path() / ".._c.txt"));
  EXPECT_EQ(Read(dir.path() / "b.txt"), "keep too");
  EXPECT_EQ(host.rename_questions.size(), 2u);
  EXPECT_TRUE(host.log.empty());
}

// No file is lost for its name's length: a name past the 255 bytes a Linux
// name may have is shortened at a character boundary, its extension kept,
// numbered while the short form is taken, and logged; nobody is asked.
TEST_F(CreateTargetTest, NameTooLongForTheDestinationIsShortenedAndNumbered) {
  const std::u16string long_name = std::u16string(251, u'\u6f22') + u".txt";  // 757 bytes
  std::string kanji;
  for (int i = 0; i < 83; ++i) kanji += "\xE6\xBC\xA2";
  const std::string first = kanji + ".txt";
  const std::string second = kanji.substr(3) + " (1).txt";
  for (const std::string& expected : {first, second}) {
    auto t = CreateTarget(host, dest.get(), long_name, false);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->name, expected);
    EXPECT_TRUE(fs::exists(dir.path() / expected));
  }
  auto folder = CreateTarget(host, dest.get(), std::u16string(300, u'\u00e9'), true);
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->name.size(), 254u);
  EXPECT_TRUE(fs::is_directory(dir.path() / folder->name));
  EXPECT_TRUE(host.rename_questions.empty());
  ASSERT_EQ(host.log.size(), 3u);
  EXPECT_EQ(host.log[1].text, Utf16ToUtf8(long_name));
  EXPECT_EQ(host.log[1].detail, "name too long for the destination, saved as \"" + second + "\"");
  EXPECT_EQ(host.log[1].kind, LogKind::kInformation);
}

TEST_F(CreateTargetTest, ExistingFolderIsAConflictToo) {
  fs::create_directory(dir.path() / "f");
  EXPECT_FALSE(CreateTarget(host, dest.get(), u"f", true));
  EXPECT_EQ(host.rename_questions.size(), 1u);
}

TEST_F(CreateTargetTest, SymlinksInTheDestinationAreNotFollowed) {
  const fs::path outside = dir.path().parent_path() / (dir.path().filename().string() + "-outside");
  fs::create_directory(outside);
  fs::create_directory_symlink(outside, dir.path() / "link");
  fs::create_symlink(outside / "file", dir.path() / "file");
  EXPECT_FALSE(CreateTarget(host, dest.get(), u"link", true));
  EXPECT_FALSE(CreateTarget(host, dest.get(), u"file", false));
  EXPECT_TRUE(fs::is_empty(outside));
  fs::remove_all(outside);
}

TEST_F(CreateTargetTest, OtherFailuresAreShownAndEndTheSave) {
  std::ofstream(dir.path() / "plain") << "x";
  UniqueFd not_a_folder(open((dir.path() / "plain").c_str(), O_RDONLY | O_CLOEXEC));
  EXPECT_THROW(CreateTarget(host, not_a_folder.get(), u"x", false), UserException);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Error");
  EXPECT_EQ(host.messages[0].text, std::strerror(ENOTDIR));
  EXPECT_TRUE(host.rename_questions.empty());
}

// A block device whose device number is that of the scratch folder's file
// system stands for "the disk being recovered holds the destination".
class FakeDisk : public BlockDevice {
 public:
  FakeDisk(std::uint64_t dev, bool block) : dev_(dev), block_(block) {}
  int ReadAt(std::span<std::uint8_t>, std::uint64_t) override { return 0; }
  std::uint64_t SizeBytes() const override { return 0; }
  std::uint32_t LogicalSectorSize() const override { return 512; }
  bool IsBlockDevice() const override { return block_; }
  std::uint64_t DeviceId() const override { return dev_; }
  std::uint64_t Inode() const override { return 0; }

 private:
  std::uint64_t dev_;
  bool block_;
};

TEST_F(CreateTargetTest, DestinationOnTheSourceDiskIsRecognised) {
  struct stat st {};
  ASSERT_EQ(fstat(dest.get(), &st), 0);
  EXPECT_TRUE(DestinationOnSource(dest.get(), FakeDisk(st.st_dev, true)));
  EXPECT_FALSE(DestinationOnSource(dest.get(), FakeDisk(st.st_dev + 1000, true)));
  // An image file beside the destination is read, never written.
  EXPECT_FALSE(DestinationOnSource(dest.get(), FakeDisk(st.st_dev, false)));
}

}  // namespace
}  // namespace salvor

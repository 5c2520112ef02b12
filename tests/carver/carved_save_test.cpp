// Saving found files from hand-built trees over an in-memory disk: names,
// layout, hostile names, failures, archives and burning.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <random>
#include <set>

#include "carver/carved_name.h"
#include "carver/output_folder.h"
#include "carver/save_job.h"
#include "carver/save_selection.h"
#include "carver/texts.h"
#include "support/memory_device.h"
#include "support/recording_host.h"
#include "support/test_paths.h"
#include "support/shell.h"

namespace salvor::carver {
namespace {

namespace fs = std::filesystem;
using salvor::testing::RecordingHost;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every path below `root`, relative to it (symlinks are not followed).
std::set<std::string> Listing(const fs::path& root) {
  std::set<std::string> names;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
    names.insert(fs::relative(it->path(), root).string());
  return names;
}

bool Shown(const RecordingHost& host, std::string_view text) {
  for (const auto& m : host.messages)
    if (m.text == text) return true;
  return false;
}

class CarvedSaveTest : public ::testing::Test {
 protected:
  static constexpr std::uint64_t kSectors = 8192;  // 4 MiB

  void SetUp() override {
    image_.resize(kSectors * 512);
    // Incompressible, so that archives grow as the files do.
    std::mt19937 random(9);
    for (auto& byte : image_) byte = static_cast<std::uint8_t>(random());
    AttachCarveDisk(disk_, std::make_unique<salvor::testing::MemoryDevice>(image_), 512);
    destination_ = scratch_.path() / "dest";
    fs::create_directory(destination_);
    job_.destination = destination_;
  }

  std::vector<std::uint8_t> Slice(std::uint64_t sector, std::uint64_t length) const {
    return {image_.begin() + static_cast<std::ptrdiff_t>(sector * 512),
            image_.begin() + static_cast<std::ptrdiff_t>(sector * 512 + length)};
  }

  FoundNode* Add(std::string_view category, std::string_view extension, std::uint64_t sector,
                 std::uint64_t length) {
    return AddFoundFile(tree_, category, extension, sector, length);
  }

  SaveResult Save() {
    CheckAll(*tree_.root);
    SectorReader reader(disk_, host_);
    return RunSave(tree_, reader, job_, series_, host_, run_);
  }

  salvor::testing::ScratchDir scratch_;
  fs::path destination_;
  std::vector<std::uint8_t> image_;
  CarveDisk disk_;
  FoundTree tree_ = NewFoundTree();
  SaveJob job_;
  ArchiveSeries series_;
  RecordingHost host_;
  RunControl run_;
};

TEST_F(CarvedSaveTest, FilesKeepTheTreeLayoutAndTheirBytes) {
  Add("Graphics", "jpg", 10, 3000);
  Add("Graphics", "png", 0, 512);
  Add("Documents", "pdf", 100, (1u << 20) * 2 + 77);  // two whole pieces and a tail
  const SaveResult result = Save();
  ASSERT_EQ(result.status, SaveStatus::kCompleted);
  EXPECT_EQ(result.output_folder, destination_ / "DataKLT0");
  const fs::path raw = result.output_folder / "Raw Data";
  EXPECT_EQ(ReadAll(raw / "Graphics" / "jpg" / "10.jpg"), Slice(10, 3000));
  EXPECT_EQ(ReadAll(raw / "Graphics" / "png" / "0.png"), Slice(0, 512));
  EXPECT_EQ(ReadAll(raw / "Documents" / "pdf" / "100.pdf"), Slice(100, (1u << 20) * 2 + 77));
  EXPECT_EQ(result.files_saved, 3u);
  EXPECT_EQ(result.items_saved, 9u);  // Raw Data, two categories, three extensions, three files
  EXPECT_TRUE(Shown(host_, text::kSavingCompleted));
  EXPECT_EQ(host_.progress.back(), std::make_pair(std::uint64_t{1}, std::uint64_t{1}));
}

TEST_F(CarvedSaveTest, SecondFileOfOneNameGetsHashZero) {
  Add("Graphics", "jpg", 10, 600);
  Add("Graphics", "jpg", 10, 900);  // newest first: this one is saved first
  Add("Graphics", "jpg", 10, 1200);
  const SaveResult result = Save();
  ASSERT_EQ(result.status, SaveStatus::kCompleted);
  const fs::path folder = result.output_folder / "Raw Data" / "Graphics" / "jpg";
  EXPECT_EQ(ReadAll(folder / "10.jpg"), Slice(10, 1200));
  EXPECT_EQ(ReadAll(folder / "#010.jpg"), Slice(10, 900));
  EXPECT_EQ(ReadAll(folder / "#110.jpg"), Slice(10, 600));
}

TEST_F(CarvedSaveTest, ExistingOutputFoldersAreNotReused) {
  fs::create_directory(destination_ / "DataKLT0");
  fs::create_symlink(scratch_.path(), destination_ / "DataKLT1");
  Add("Graphics", "gif", 3, 100);
  const SaveResult result = Save();
  ASSERT_EQ(result.status, SaveStatus::kCompleted);
  EXPECT_EQ(result.output_folder, destination_ / "DataKLT2");
  EXPECT_TRUE(fs::is_empty(destination_ / "DataKLT0"));
}

TEST_F(CarvedSaveTest, OutputFolderSearchIsBounded) {
  for (int n = 0; n < 3; ++n) fs::create_directory(destination_ / ("DataKLT" + std::to_string(n)));
  int error = 0;
  UniqueFd folder = OpenFolderPath(destination_.string(), error);
  EXPECT_FALSE(CreateOutputFolder(folder.get(), host_, 3));
  EXPECT_TRUE(Shown(host_, "Failed to write in destination disk."));
  EXPECT_TRUE(CreateOutputFolder(folder.get(), host_, 4));
}

TEST_F(CarvedSaveTest, DestinationThatIsNoFolderFails) {
  std::ofstream(scratch_.path() / "plain") << "x";
  job_.destination = scratch_.path() / "plain";
  Add("Graphics", "gif", 3, 100);
  EXPECT_EQ(Save().status, SaveStatus::kFailed);
  EXPECT_TRUE(Shown(host_, "Failed to write in destination disk."));
  EXPECT_FALSE(Shown(host_, text::kSavingCompleted));
}

// Files may grow to 1 MiB here: the next write fails with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit saved_{};
  void (*old_handler_)(int) = nullptr;
};

TEST_F(CarvedSaveTest, FailedWriteEndsTheSaveAsFailure) {
  Add("Graphics", "gif", 3, 100);
  Add("Documents", "pdf", 100, 3u << 20);
  SaveResult result;
  {
    const FileSizeLimit limit(1u << 20);
    result = Save();
  }
  EXPECT_EQ(result.status, SaveStatus::kFailed);
  EXPECT_TRUE(Shown(host_, ErrorText(EFBIG)));
  EXPECT_FALSE(Shown(host_, text::kSavingCompleted));
  // The cut-off copy is not left to pass for a recovered file, and nothing
  // after the failure was written.
  EXPECT_FALSE(fs::exists(result.output_folder / "Raw Data" / "Documents" / "pdf" / "100.pdf"));
  EXPECT_FALSE(fs::exists(result.output_folder / "Raw Data" / "Graphics"));
}

TEST_F(CarvedSaveTest, FailedArchiveWriteEndsTheSaveAsFailure) {
  job_.compress = true;
  Add("Documents", "pdf", 100, (3u << 20) / 2);
  Add("Documents", "pdf", 2000, (3u << 20) / 2);  // the archive passes the limit with this one
  SaveResult result;
  {
    const FileSizeLimit limit(2u << 20);
    result = Save();
  }
  EXPECT_EQ(result.status, SaveStatus::kFailed);
  EXPECT_FALSE(Shown(host_, text::kSavingCompletedCompressed));
  EXPECT_FALSE(fs::exists(result.output_folder));  // the staging folder went all the same
}

TEST_F(CarvedSaveTest, HostileNamesStayInsideTheDestination) {
  fs::create_directory(scratch_.path() / "outside");
  Add("..", "../../outside", 1, 10);
  Add("/tmp", "..\\..\\outside", 2, 10);
  FoundNode* file = Add("Graphics", "jpg", 3, 10);
  file->name = "../../../outside/evil";
  FoundNode* dot = Add("Graphics", "jpg", 4, 10);
  dot->name = "..";
  FoundNode* empty = Add("Graphics", "jpg", 5, 10);
  empty->name = "";
  const SaveResult result = Save();
  EXPECT_EQ(result.status, SaveStatus::kCompleted);
  EXPECT_TRUE(fs::is_empty(scratch_.path() / "outside"));
  const std::set<std::string> names = Listing(result.output_folder / "Raw Data");
  EXPECT_TRUE(names.count("#../.._.._outside/1..._.._outside"));
  EXPECT_TRUE(names.count("_tmp/.._.._outside/2..._.._outside"));
  EXPECT_TRUE(names.count("Graphics/jpg/.._.._.._outside_evil"));
  EXPECT_TRUE(names.count("Graphics/jpg/#.."));
  EXPECT_TRUE(names.count("Graphics/jpg/#"));
}

TEST_F(CarvedSaveTest, NameTooLongGoesToOrphanFilesWithANewName) {
  FoundNode* file = Add("Graphics", "jpg", 3, 10);
  file->name = std::string(300, 'a');
  host_.rename_answers.push_back("short.jpg");
  const SaveResult result = Save();
  EXPECT_EQ(result.status, SaveStatus::kCompleted);
  ASSERT_EQ(host_.rename_questions.size(), 1u);
  EXPECT_EQ(host_.rename_questions[0], std::string(300, 'a') + "|" + std::string(text::kFileNameTooLong));
  EXPECT_EQ(ReadAll(destination_ / "Orphan Files" / "#0short.jpg"), Slice(3, 10));
}

TEST_F(CarvedSaveTest, OrphanFilesSymlinkIsNotFollowed) {
  fs::create_directory(scratch_.path() / "outside");
  fs::create_directory_symlink(scratch_.path() / "outside", destination_ / "Orphan Files");
  FoundNode* file = Add("Graphics", "jpg", 3, 10);
  file->name = std::string(300, 'a');
  host_.rename_answers.push_back("short.jpg");
  const SaveResult result = Save();
  EXPECT_EQ(result.status, SaveStatus::kFailed);
  EXPECT_TRUE(fs::is_empty(scratch_.path() / "outside"));
}

TEST_F(CarvedSaveTest, SkippedRenameLeavesTheFileOut) {
  FoundNode* file = Add("Graphics", "jpg", 3, 10);
  file->name = std::string(300, 'b');
  Add("Graphics", "jpg", 4, 10);
  const SaveResult result = Save();
  EXPECT_EQ(result.status, SaveStatus::kCompleted);
  EXPECT_EQ(result.files_saved, 1u);
  EXPECT_TRUE(fs::is_empty(destination_ / "Orphan Files"));
}

TEST_F(CarvedSaveTest, ExcludedExtensionsAreLeftOutWhateverTheirCase) {
  Add("Graphics", "jpg", 3, 10);
  Add("Graphics", "JPG", 4, 10);
  Add("Graphics", "png", 5, 10);
  CheckAll(*tree_.root);
  EXPECT_EQ(ApplyExclusions(*tree_.root, std::vector<std::string>{"jpg"}), 2u);
  EXPECT_EQ(CountSelected(*tree_.root).files, 1u);
  job_.excluded = {"JPG"};
  const SaveResult result = Save();
  EXPECT_EQ(result.files_saved, 1u);
  EXPECT_TRUE(fs::exists(result.output_folder / "Raw Data" / "Graphics" / "png" / "5.png"));
}

TEST_F(CarvedSaveTest, UncheckedNodesAreNotSaved) {
  Add("Graphics", "jpg", 3, 10);
  FoundNode* other = Add("Graphics", "jpg", 4, 10);
  CheckAll(*tree_.root);
  other->checked = 0;
  SectorReader reader(disk_, host_);
  const SaveResult result = RunSave(tree_, reader, job_, series_, host_, run_);
  EXPECT_EQ(Listing(result.output_folder / "Raw Data"),
            (std::set<std::string>{"Graphics", "Graphics/jpg", "Graphics/jpg/3.jpg"}));
}

TEST_F(CarvedSaveTest, StopEndsWithoutTheCompletionMessage) {
  Add("Graphics", "jpg", 3, 10);
  run_.Stop();
  EXPECT_EQ(Save().status, SaveStatus::kStopped);
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(CarvedSaveTest, CompressedSaveRollsOverAndAsksAboutTooLargeFiles) {
  job_.compress = true;
  series_.limit = 12000;  // lowered so that small files show the roll-over
  Add("Graphics", "jpg", 10, 5000);
  Add("Graphics", "jpg", 40, 5000);
  Add("Graphics", "jpg", 80, 5000);
  Add("Documents", "pdf", 200, 20000);  // too large for any archive
  Add("Documents", "pdf", 300, 20000);
  host_.yes_no_answers = {true, false};
  std::vector<fs::path> targets;
  SectorReader reader(disk_, host_);
  CheckAll(*tree_.root);
  const SaveResult result = RunSave(tree_, reader, job_, series_, host_, run_,
                                    SaveEvents{[&](const fs::path& p) { targets.push_back(p); }, {}});
  ASSERT_EQ(result.status, SaveStatus::kCompleted);
  EXPECT_TRUE(Shown(host_, text::kSavingCompletedCompressed));
  EXPECT_FALSE(fs::exists(result.output_folder));
  ASSERT_EQ(result.archives.size(), 2u);
  EXPECT_EQ(result.archives[0], destination_ / "DataKLT01.zip");
  EXPECT_EQ(result.archives[1], destination_ / "DataKLT02.zip");
  EXPECT_EQ(targets, result.archives);
  ASSERT_EQ(host_.yes_no_questions.size(), 2u);
  EXPECT_EQ(host_.yes_no_questions[0], "300.pdf" + std::string(text::kCannotSaveCompressed));
  EXPECT_EQ(ReadAll(destination_ / "300.pdf"), Slice(300, 20000));
  EXPECT_FALSE(fs::exists(destination_ / "200.pdf"));
  EXPECT_EQ(result.files_saved, 4u);
  for (const fs::path& archive : result.archives) {
    const auto test = salvor::testing::RunCommand("unzip -t '" + archive.string() + "'");
    EXPECT_EQ(test.status, 0) << test.output;
  }
  const auto listing = salvor::testing::RunCommand("unzip -l '" + result.archives[0].string() + "'");
  EXPECT_NE(listing.output.find("80.jpg"), std::string::npos) << listing.output;
  EXPECT_NE(listing.output.find("40.jpg"), std::string::npos) << listing.output;
  EXPECT_EQ(listing.output.find("10.jpg"), std::string::npos) << listing.output;
}

TEST_F(CarvedSaveTest, ArchiveNumbersInUseArePassedOver) {
  job_.compress = true;
  std::ofstream(destination_ / "DataKLT01.zip") << "earlier archive";
  Add("Graphics", "jpg", 10, 5000);
  const SaveResult result = Save();
  ASSERT_EQ(result.status, SaveStatus::kCompleted);
  ASSERT_EQ(result.archives.size(), 1u);
  EXPECT_EQ(result.archives[0], destination_ / "DataKLT02.zip");
  EXPECT_EQ(ReadAll(destination_ / "DataKLT01.zip").size(), 15u);
}

TEST_F(CarvedSaveTest, ArchiveCounterGrowsAcrossSavesOfOneRun) {
  job_.compress = true;
  Add("Graphics", "jpg", 10, 5000);
  ASSERT_EQ(Save().archives.at(0), destination_ / "DataKLT01.zip");
  const SaveResult second = Save();
  EXPECT_EQ(second.output_folder, destination_ / "DataKLT0");  // the staging folder went
  EXPECT_EQ(second.archives.at(0), destination_ / "DataKLT02.zip");
}

class RecordingDisc : public DiscWriter {
 public:
  bool WriteFolder(const fs::path& folder, Host&, RunControl&) override {
    folders.push_back(folder);
    for (const auto& name : Listing(folder)) seen.insert(name);
    return answer;
  }
  std::vector<fs::path> folders;
  std::set<std::string> seen;
  bool answer = true;
};

TEST_F(CarvedSaveTest, BurnSavesIntoTheCacheAndHandsItToTheDisc) {
  FoundNode* file = Add("Graphics", "jpg", 3, 10);
  file->name = std::string(110, 'c');
  host_.rename_answers.push_back("renamed.jpg");
  RecordingDisc disc;
  std::vector<std::string> statuses;
  CheckAll(*tree_.root);
  SectorReader reader(disk_, host_);
  const SaveResult result =
      RunBurn(tree_, reader, job_, series_, disc, host_, run_,
              SaveEvents{{}, [&](std::string_view s) { statuses.emplace_back(s); }});
  ASSERT_EQ(result.status, SaveStatus::kCompleted);
  ASSERT_EQ(disc.folders, std::vector<fs::path>{destination_});
  EXPECT_TRUE(disc.seen.count("DataKLT0/Raw Data/Graphics/jpg/renamed.jpg"));
  EXPECT_EQ(statuses, std::vector<std::string>{"Burning data"});
  EXPECT_TRUE(Shown(host_, "Burning operation completed successfully"));
  EXPECT_FALSE(Shown(host_, text::kSavingCompleted));
}

TEST_F(CarvedSaveTest, CompressedBurnHandsOverTheArchiveFolder) {
  job_.compress = true;
  Add("Graphics", "jpg", 3, 10);
  RecordingDisc disc;
  disc.answer = false;
  CheckAll(*tree_.root);
  SectorReader reader(disk_, host_);
  const SaveResult result = RunBurn(tree_, reader, job_, series_, disc, host_, run_);
  EXPECT_EQ(result.status, SaveStatus::kFailed);
  ASSERT_EQ(disc.folders, std::vector<fs::path>{destination_ / "VEDod"});
  EXPECT_EQ(disc.seen, std::set<std::string>{"DataKLT01.zip"});
  EXPECT_FALSE(Shown(host_, "Burning operation completed successfully"));
}

TEST(CarvedTargetNameTest, NamesNeverLeaveTheirFolder) {
  EXPECT_EQ(CarvedTargetName("123.jpg"), "123.jpg");
  EXPECT_EQ(CarvedTargetName(".."), "#..");
  EXPECT_EQ(CarvedTargetName("."), "#.");
  EXPECT_EQ(CarvedTargetName(""), "#");
  EXPECT_EQ(CarvedTargetName("a/../b"), "a_.._b");
  EXPECT_EQ(CarvedTargetName("..\\x"), ".._x");
  EXPECT_EQ(CarvedTargetName(std::string("a\0b", 3)), "a_b");
}

}  // namespace
}  // namespace salvor::carver

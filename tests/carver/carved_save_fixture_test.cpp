// The carving fixture scanned and saved, as files and as archives, by the
// engine and by salvor-cli carve --out: every file whose length the carver
// measured comes back with the manifest's sha256.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "carver/carving_scan.h"
#include "carver/save_job.h"
#include "carver/save_selection.h"
#include "carver/signature_database.h"
#include "support/carving_manifest.h"
#include "support/memory_device.h"
#include "support/recording_host.h"
#include "support/test_paths.h"
#include "support/shell.h"

namespace salvor::carver {
namespace {

namespace fs = std::filesystem;
using salvor::testing::RunCommand;

using Planted = salvor::testing::PlantedFile;

std::map<std::uint64_t, Planted> ReadManifest() { return salvor::testing::AlignedCarvingFixtureFiles(); }

// name -> (size, sha256) of every member of the archives, read and checked
// by Python's zipfile.
std::map<std::string, std::pair<std::uint64_t, std::string>> ArchiveMembers(const std::vector<fs::path>& archives) {
  std::map<std::string, std::pair<std::uint64_t, std::string>> members;
  for (const fs::path& archive : archives) {
    const auto listed = RunCommand(
        "python3 -c 'import zipfile,hashlib,sys\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "assert z.testzip() is None\n"
        "for i in z.infolist():\n"
        "  d = z.read(i)\n"
        "  print(i.filename, len(d), hashlib.sha256(d).hexdigest())' '" +
        archive.string() + "'");
    EXPECT_EQ(listed.status, 0) << listed.output;
    std::istringstream in(listed.output);
    std::string name, sha;
    std::uint64_t size = 0;
    while (in >> name >> size >> sha) members[name] = {size, sha};
    const auto test = RunCommand("unzip -t '" + archive.string() + "'");
    EXPECT_EQ(test.status, 0) << test.output;
  }
  return members;
}

class CarvedSaveFixtureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ifstream in(salvor::testing::SamplesDir() / "carving-fixture.img", std::ios::binary);
    image_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    planted_ = ReadManifest();
  }

  void SetUp() override {
    ASSERT_FALSE(image_.empty());
    ASSERT_GT(planted_.size(), 30u);
    auto shipped = LoadSignatureFile(salvor::testing::SourceDir() / "samples" / "Signature");
    ASSERT_TRUE(shipped);
    AttachCarveDisk(disk_, std::make_unique<salvor::testing::MemoryDevice>(image_), 512);
    ContinuationLists lists;
    scan_ = RunCarvingScan(disk_, KeepSelected(*shipped, 1024), lists, host_, run_);
    ASSERT_TRUE(scan_.completed);
    ForEachFile(*scan_.tree.root, [&](const FoundNode& f) { found_[f.name] = &f; });
    ASSERT_GT(found_.size(), 30u);
    CheckAll(*scan_.tree.root);
  }

  // Found files whose measured length is the planted one.
  int CheckMeasured(const std::function<std::pair<std::uint64_t, std::string>(const FoundNode&)>& saved) {
    int measured = 0;
    for (const auto& [name, file] : found_) {
      SCOPED_TRACE(name);
      const auto [size, sha] = saved(*file);
      EXPECT_EQ(size, file->length);
      auto it = planted_.find(file->StartSector());
      if (it == planted_.end() || it->second.length != file->length) continue;
      EXPECT_EQ(sha, it->second.sha256);
      ++measured;
    }
    return measured;
  }

  static inline std::vector<std::uint8_t> image_;
  static inline std::map<std::uint64_t, Planted> planted_;
  salvor::testing::ScratchDir scratch_;
  CarveDisk disk_;
  salvor::testing::RecordingHost host_;
  RunControl run_;
  CarvingScanResult scan_;
  std::map<std::string, const FoundNode*> found_;
};

TEST_F(CarvedSaveFixtureTest, SavedFilesMatchTheManifest) {
  SectorReader reader(disk_, host_);
  ArchiveSeries series;
  const SaveResult result = RunSave(scan_.tree, reader, SaveJob{scratch_.path(), false, {}}, series, host_, run_);
  ASSERT_EQ(result.status, SaveStatus::kCompleted);
  EXPECT_EQ(result.files_saved, found_.size());
  std::map<std::string, fs::path> saved;
  for (const auto& entry : fs::recursive_directory_iterator(result.output_folder / "Raw Data"))
    if (entry.is_regular_file()) saved[entry.path().filename().string()] = entry.path();
  ASSERT_EQ(saved.size(), found_.size());
  const int measured = CheckMeasured([&](const FoundNode& f) {
    const fs::path& path = saved[f.name];
    return std::make_pair(static_cast<std::uint64_t>(fs::file_size(path)), salvor::testing::Sha256OfFile(path));
  });
  EXPECT_GE(measured, 20);
}

TEST_F(CarvedSaveFixtureTest, ArchivesHoldTheSameBytes) {
  SectorReader reader(disk_, host_);
  ArchiveSeries series;
  const SaveResult result = RunSave(scan_.tree, reader, SaveJob{scratch_.path(), true, {}}, series, host_, run_);
  ASSERT_EQ(result.status, SaveStatus::kCompleted);
  ASSERT_EQ(result.archives.size(), 1u);
  EXPECT_FALSE(fs::exists(result.output_folder));
  auto members = ArchiveMembers(result.archives);
  ASSERT_EQ(members.size(), found_.size());
  EXPECT_GE(CheckMeasured([&](const FoundNode& f) { return members[f.name]; }), 20);
}

// The same through the command line, with an exclusion; a destination that
// is not there yet is made.
TEST_F(CarvedSaveFixtureTest, CommandLineSavesAndArchives) {
  const std::string cli = (salvor::testing::BinDir() / "salvor-cli").string();
  const std::string image = (salvor::testing::SamplesDir() / "carving-fixture.img").string();
  const std::string signatures = (salvor::testing::SourceDir() / "samples" / "Signature").string();
  const fs::path plain = scratch_.path() / "plain";
  const fs::path packed = scratch_.path() / "not" / "yet" / "packed";
  const std::string carve = cli + " carve --all --max-size 1K --signatures '" + signatures + "' '" + image + "'";
  const auto saved = RunCommand(carve + " --out '" + plain.string() + "' --exclude .jpg,PNG");
  ASSERT_EQ(saved.status, 0) << saved.output;
  EXPECT_NE(saved.output.find("Saving process completed successfully."), std::string::npos) << saved.output;
  const auto zipped = RunCommand(carve + " --out '" + packed.string() + "' --zip");
  ASSERT_EQ(zipped.status, 0) << zipped.output;

  std::map<std::string, fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(plain / "DataKLT0"))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = entry.path();
  const auto members = ArchiveMembers({packed / "DataKLT01.zip"});
  ASSERT_EQ(members.size(), found_.size());
  for (const auto& [name, file] : found_) {
    SCOPED_TRACE(name);
    const bool excluded = name.ends_with(".jpg") || name.ends_with(".png");
    ASSERT_EQ(files.count(name), excluded ? 0u : 1u);
    if (!excluded) {
      EXPECT_EQ(salvor::testing::Sha256OfFile(files[name]), members.at(name).second);
    }
  }
}

// The report has a record per found file: the saved ones with the digest of
// their written bytes, the excluded ones skipped; a dry run creates nothing.
TEST_F(CarvedSaveFixtureTest, CommandLineReportAndDryRun) {
  const std::string cli = (salvor::testing::BinDir() / "salvor-cli").string();
  const std::string image = (salvor::testing::SamplesDir() / "carving-fixture.img").string();
  const std::string signatures = (salvor::testing::SourceDir() / "samples" / "Signature").string();
  const std::string carve = cli + " carve --all --max-size 1K --signatures '" + signatures + "' '" + image + "'";
  const fs::path out = scratch_.path() / "out";
  const fs::path report = scratch_.path() / "r.jsonl";
  const auto saved = RunCommand(carve + " --out '" + out.string() + "' --exclude jpg --report '" +
                                report.string() + "'");
  ASSERT_EQ(saved.status, 0) << saved.output;
  std::size_t jpgs = 0;
  for (const auto& [name, file] : found_) jpgs += name.ends_with(".jpg");
  const auto check = RunCommand("python3 '" + (salvor::testing::SourceDir() / "tests/cli/check_report.py").string() +
                                "' '" + report.string() + "' jsonl '" + out.string() + "'");
  EXPECT_EQ(check.output, "records " + std::to_string(found_.size()) + " saved " +
                              std::to_string(found_.size() - jpgs) + " renamed 0 skipped " +
                              std::to_string(jpgs) + " failed 0 ok " +
                              std::to_string(found_.size() - jpgs) + " bad 0\n");

  const auto dry = RunCommand(carve + " --out '" + (scratch_.path() / "dry").string() + "' --dry-run");
  ASSERT_EQ(dry.status, 0) << dry.output;
  EXPECT_NE(dry.output.find("dry run: " + std::to_string(found_.size()) + " files"), std::string::npos)
      << dry.output;
  EXPECT_FALSE(fs::exists(scratch_.path() / "dry"));
}

TEST_F(CarvedSaveFixtureTest, CommandLineFailsOnAnUnwritableDestination) {
  const std::string cli = (salvor::testing::BinDir() / "salvor-cli").string();
  const std::string image = (salvor::testing::SamplesDir() / "carving-fixture.img").string();
  const std::string signatures = (salvor::testing::SourceDir() / "samples" / "Signature").string();
  std::ofstream(scratch_.path() / "file") << "not a folder";
  const auto result = RunCommand(cli + " carve --all --signatures '" + signatures + "' '" + image +
                                 "' --out '" + (scratch_.path() / "file").string() + "'");
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_NE(result.output.find("Failed to write in destination disk."), std::string::npos) << result.output;
  EXPECT_EQ(result.output.find("completed successfully"), std::string::npos) << result.output;
}

}  // namespace
}  // namespace salvor::carver

// The carving fixture: real files of every handled type planted in random
// and zero filler (tools/make-carving-fixture, manifest beside the image).
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "carver/carving_scan.h"
#include "carver/signature_database.h"
#include "support/memory_device.h"
#include "support/recording_host.h"
#include "support/test_paths.h"

namespace salvor::carver {
namespace {

struct Planted {
  std::string name, extension;
  std::uint64_t offset = 0, sector = 0, length = 0;
  bool aligned = false;
};

std::vector<Planted> ReadManifest() {
  std::ifstream in(salvor::testing::SamplesDir() / "carving-fixture.json");
  std::vector<Planted> files;
  std::string line;
  // The manifest holds one file per line: `"key": "text"` or `"key": 123`.
  auto field = [](const std::string& l, const std::string& key) {
    const std::string tag = "\"" + key + "\": ";
    std::size_t at = l.find(tag);
    if (at == std::string::npos) return std::string();
    at += tag.size();
    if (l[at] == '"') return l.substr(at + 1, l.find('"', at + 1) - at - 1);
    return l.substr(at, l.find_first_of(",}", at) - at);
  };
  while (std::getline(in, line)) {
    if (line.find("\"sha256\"") == std::string::npos || line.find("\"name\"") == std::string::npos)
      continue;
    Planted p;
    p.name = field(line, "name");
    p.extension = field(line, "extension");
    p.offset = std::stoull(field(line, "offset"));
    p.sector = std::stoull(field(line, "sector"));
    p.length = std::stoull(field(line, "length"));
    p.aligned = field(line, "aligned") == "true";
    files.push_back(p);
  }
  return files;
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct FoundFile {
  std::string name;
  std::uint64_t length;
};

class FixtureTest : public ::testing::Test {
 protected:
  // One scan serves every case of the suite.
  static void SetUpTestSuite() {
    image_ = ReadAll(salvor::testing::SamplesDir() / "carving-fixture.img");
    planted_ = ReadManifest();
    auto shipped = LoadSignatureFile(salvor::testing::SourceDir() / "samples" / "Signature");
    if (image_.empty() || !shipped) return;
    AttachCarveDisk(disk_, std::make_unique<salvor::testing::MemoryDevice>(image_), 512);
    auto result = RunCarvingScan(disk_, KeepSelected(*shipped, 1024), lists_, host_, run_);
    completed_ = result.completed;
    ForEachFile(*result.tree.root, [&](const FoundNode& f) {
      found_[f.StartSector()] = FoundFile{f.name, f.length};
    });
  }

  // What the carver measures for a planted file of this kind.
  void SetUp() override {
    ASSERT_FALSE(image_.empty());
    ASSERT_GT(planted_.size(), 30u);
    ASSERT_TRUE(completed_);
  }

  static std::uint64_t ExpectedLength(const Planted& p) {
    const std::string& ext = p.extension;
    if (ext == "rtf" || ext == "gz" || ext == "rar" || ext == "7z") return 1024;  // no end handler
    return p.length;
  }

  static inline std::vector<std::uint8_t> image_;
  static inline std::vector<Planted> planted_;
  static inline CarveDisk disk_;
  static inline ContinuationLists lists_;
  static inline salvor::testing::RecordingHost host_;
  static inline RunControl run_;
  static inline std::map<std::uint64_t, FoundFile> found_;
  static inline bool completed_ = false;
};

TEST_F(FixtureTest, EveryAlignedFileIsFoundAtItsSectorWithItsLength) {
  for (const Planted& p : planted_) {
    if (!p.aligned) continue;
    SCOPED_TRACE(p.name);
    auto it = found_.find(p.sector);
    ASSERT_NE(it, found_.end());
    EXPECT_EQ(it->second.name, std::to_string(p.sector) + "." + p.extension);
    EXPECT_EQ(it->second.length, ExpectedLength(p));
  }
}

TEST_F(FixtureTest, UnalignedFilesAreNotFound) {
  int unaligned = 0;
  for (const Planted& p : planted_) {
    if (p.aligned) continue;
    ++unaligned;
    SCOPED_TRACE(p.name);
    auto it = found_.lower_bound(p.sector);
    EXPECT_TRUE(it == found_.end() || it->first * 512 >= p.offset + p.length)
        << "found " << it->second.name;
  }
  EXPECT_GE(unaligned, 4);
}

TEST_F(FixtureTest, NothingElseIsFound) {
  std::map<std::uint64_t, std::string> expected;
  for (const Planted& p : planted_) {
    if (p.aligned) expected[p.sector] = p.name;
  }
  for (const auto& [sector, file] : found_) {
    EXPECT_TRUE(expected.count(sector)) << "unexpected " << file.name;
  }
}

TEST_F(FixtureTest, SkipsAndContinuationsHideFileInteriors) {
  for (const Planted& p : planted_) {
    if (!p.aligned) continue;
    if (p.name == "nested.zip") {
      // A stored JPEG starts the archive's second sector; the ZIP's skip
      // keeps it from being found a second time.
      ASSERT_EQ(image_[p.offset + 512], 0xFF);
      ASSERT_EQ(image_[p.offset + 513], 0xD8);
      EXPECT_FALSE(found_.count(p.sector + 1));
    }
    if (p.name == "clip.mpg") {
      // 2048-byte packs: every fourth sector starts a pack and is listed.
      for (std::uint64_t s = p.sector + 4; s * 512 < p.offset + p.length - 4; s += 4) {
        EXPECT_TRUE(lists_.mpeg.count(s)) << s;
        EXPECT_FALSE(found_.count(s)) << s;
      }
    }
  }
}

}  // namespace
}  // namespace salvor::carver

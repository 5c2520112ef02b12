// The shipped "Signature" file must say what tools/signatures.txt says.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "carver/end_handlers.h"
#include "carver/signature_database.h"
#include "carver/signature_groups.h"
#include "support/test_paths.h"

namespace salvor::carver {
namespace {

std::string Trim(const std::string& s) {
  auto b = s.find_first_not_of(" \t");
  auto e = s.find_last_not_of(" \t");
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

struct SourceLine {
  std::string name, extension, category;
  std::vector<std::uint8_t> signature;
  unsigned offset, default_length, type_code, selected;
};

std::vector<SourceLine> ReadSource() {
  std::ifstream in(salvor::testing::SourceDir() / "tools" / "signatures.txt");
  std::vector<SourceLine> lines;
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> parts;
    std::stringstream ss(line);
    std::string part;
    while (std::getline(ss, part, '|')) parts.push_back(Trim(part));
    EXPECT_EQ(parts.size(), 8u) << line;
    if (parts.size() != 8) continue;
    SourceLine s{parts[0], parts[1], parts[2], {}, 0, 0, 0, 0};
    std::stringstream hex(parts[3]);
    std::string byte;
    while (hex >> byte) s.signature.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
    s.offset = static_cast<unsigned>(std::stoul(parts[4], nullptr, 0));
    s.default_length = static_cast<unsigned>(std::stoul(parts[5], nullptr, 0));
    s.type_code = static_cast<unsigned>(std::stoul(parts[6], nullptr, 0));
    s.selected = static_cast<unsigned>(std::stoul(parts[7], nullptr, 0));
    lines.push_back(s);
  }
  return lines;
}

SignatureList ReadShipped() {
  auto list = LoadSignatureFile(salvor::testing::SourceDir() / "samples" / "Signature");
  EXPECT_TRUE(list);
  return list ? *list : SignatureList{};
}

TEST(ShippedDatabaseTest, EveryRecordMatchesItsSourceLine) {
  auto source = ReadSource();
  auto shipped = ReadShipped();
  ASSERT_FALSE(source.empty());
  ASSERT_EQ(shipped.size(), source.size());
  for (std::size_t i = 0; i < source.size(); ++i) {
    SCOPED_TRACE(source[i].name);
    const SignatureRecord& r = shipped[i];
    EXPECT_EQ(r.name, source[i].name);
    EXPECT_EQ(r.extension, source[i].extension);
    EXPECT_EQ(r.category, source[i].category);
    EXPECT_EQ(std::vector<std::uint8_t>(r.SignatureBytes().begin(), r.SignatureBytes().end()),
              source[i].signature);
    EXPECT_EQ(r.signature_offset, source[i].offset);
    EXPECT_EQ(r.default_length, source[i].default_length);
    EXPECT_EQ(r.type_code, source[i].type_code);
    EXPECT_EQ(r.selected, source[i].selected);
    // Run-time fields must be stored as zero or they act on every hit.
    EXPECT_EQ(r.found_length, 0u);
    EXPECT_EQ(r.skip_length, 0u);
    EXPECT_EQ(r.skip_valid, 0);
    EXPECT_EQ(r.link != 0, i + 1 < source.size());
  }
}

TEST(ShippedDatabaseTest, CoversTheAdvertisedTypesAndCategories) {
  std::set<std::string> extensions, categories;
  for (const auto& r : ReadShipped()) {
    extensions.insert(r.extension);
    categories.insert(r.category);
  }
  for (const char* ext : {"jpg", "png", "gif", "bmp", "tif", "pdf", "wav", "mp3", "mid", "mpg",
                          "mp4", "mov", "3gp", "doc", "zip", "rar", "7z", "gz", "rtf"}) {
    EXPECT_TRUE(extensions.count(ext)) << ext;
  }
  EXPECT_EQ(categories, (std::set<std::string>{"Graphics", "Audio", "Video", "Documents", "Archives"}));
}

TEST(ShippedDatabaseTest, MpThreeProbeRecordAndTiffByteOrders) {
  auto shipped = ReadShipped();
  int tiffs = 0;
  bool mp3 = false;
  for (const auto& r : shipped) {
    if (r.extension == "mp3") {
      mp3 = r.signature_length == 2 && r.signature_offset == 0 && r.signature[0] == 'I' &&
            r.signature[1] == 'D' && r.type_code == type_code::kMp3;
    }
    if (r.extension == "tif") ++tiffs;
  }
  EXPECT_TRUE(mp3);
  EXPECT_EQ(tiffs, 2);
}

TEST(ShippedDatabaseTest, BrandedFtypGroupIsTestedBeforePlainFtyp) {
  auto groups = BuildGroups(KeepSelected(ReadShipped(), 1024));
  std::ptrdiff_t branded = -1, plain = -1;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (groups[i].offset == 4 && groups[i].length == 6) branded = static_cast<std::ptrdiff_t>(i);
    if (groups[i].offset == 4 && groups[i].length == 4) plain = static_cast<std::ptrdiff_t>(i);
  }
  ASSERT_GE(branded, 0);
  ASSERT_GE(plain, 0);
  EXPECT_LT(branded, plain);
}

}  // namespace
}  // namespace salvor::carver

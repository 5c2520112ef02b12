#include <gtest/gtest.h>

#include "carve_test_disk.h"
#include "carver/signature_database.h"
#include "carver/signature_groups.h"
#include "disk/byte_writer.h"

namespace salvor::carver {
namespace {

using testing::MakeRecord;

TEST(SignatureRecordTest, FieldsSitAtTheirStoredOffsets) {
  SignatureRecord rec = MakeRecord("JPEG Image", "jpg", "Graphics", {0xFF, 0xD8}, 0x1234, 167);
  rec.default_length = 0x01020304;
  rec.maximum_length = 0x05060708;
  rec.link = 1;
  auto bytes = StoreSignatureRecord(rec);
  ASSERT_EQ(bytes.size(), kSignatureRecordSize);
  EXPECT_EQ(bytes[1], 1);
  EXPECT_EQ(bytes[2], 2);
  EXPECT_EQ(bytes[3], 0x34);
  EXPECT_EQ(bytes[4], 0x12);
  EXPECT_EQ(bytes[5], 0xFF);
  EXPECT_EQ(bytes[6], 0xD8);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[518])), "JPEG Image");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[774])), "jpg");
  EXPECT_EQ(bytes[806], 0x04);
  EXPECT_EQ(bytes[810], 0x08);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[824])), "Graphics");
  EXPECT_EQ(bytes[840], 167);
  EXPECT_EQ(bytes[844], 1);

  auto back = ParseSignatureRecord(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, "JPEG Image");
  EXPECT_EQ(back->signature_offset, 0x1234);
  EXPECT_EQ(back->default_length, 0x01020304u);
  EXPECT_EQ(back->type_code, 167u);
  EXPECT_EQ(StoreSignatureRecord(*back), bytes);
}

TEST(SignatureRecordTest, TextWithoutTerminatorStaysInsideItsField) {
  std::vector<std::uint8_t> bytes(kSignatureRecordSize, 'x');
  auto rec = ParseSignatureRecord(bytes);
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->extension.size(), kExtensionField);
  EXPECT_EQ(rec->category.size(), kCategoryField);
  EXPECT_EQ(rec->name.size(), kNameField);
  EXPECT_FALSE(ParseSignatureRecord(std::vector<std::uint8_t>(847, 0)));
}

TEST(SignatureRecordTest, KeyTextHasNoZeroPadding) {
  const std::uint8_t a[] = {0x0A};
  const std::uint8_t b[] = {0x00, 0xFF, 0x49, 0x44};
  EXPECT_EQ(KeyText(a), "a");
  EXPECT_EQ(KeyText(b), "0ff4944");
  // Why matching is not done on this text: different bytes, same text.
  const std::uint8_t x[] = {0x01, 0x11};
  const std::uint8_t y[] = {0x11, 0x01};
  EXPECT_EQ(KeyText(x), KeyText(y));
}

TEST(SignatureDatabaseTest, ReadsUpToTheRecordWithZeroLink) {
  SignatureList list = {MakeRecord("A", "a", "C", {1}, 0, 1), MakeRecord("B", "b", "C", {2}, 0, 1)};
  auto bytes = StoreSignatureDatabase(list);
  // Bytes after the last record are not read.
  bytes.resize(bytes.size() + 100, 0xEE);
  auto read = ReadSignatureDatabase(bytes);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 2u);
  EXPECT_EQ((*read)[0].name, "A");
  EXPECT_NE((*read)[0].link, 0u);
  EXPECT_EQ((*read)[1].link, 0u);
}

TEST(SignatureDatabaseTest, ShortEndAppendsAnAllZeroRecord) {
  SignatureRecord rec = MakeRecord("A", "a", "C", {1}, 0, 1);
  rec.link = 7;  // claims another record follows
  auto bytes = StoreSignatureRecord(rec);
  auto read = ReadSignatureDatabase(bytes);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 2u);
  EXPECT_EQ((*read)[1].name, "");
  EXPECT_EQ((*read)[1].signature_length, 0);
  EXPECT_EQ((*read)[1].selected, 0);
}

TEST(SignatureDatabaseTest, PartialLastRecordIsCompletedWithZeros) {
  SignatureRecord rec = MakeRecord("A", "a", "C", {1}, 0, 1);
  rec.link = 1;
  auto bytes = StoreSignatureRecord(rec);
  auto second = StoreSignatureRecord(MakeRecord("Cut", "cut", "C", {2}, 0, 1));
  bytes.insert(bytes.end(), second.begin(), second.begin() + 600);
  auto read = ReadSignatureDatabase(bytes);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 2u);
  EXPECT_EQ((*read)[1].name, "Cut");
  EXPECT_EQ((*read)[1].extension, "");
}

TEST(SignatureDatabaseTest, EmptyOrMissingFileFails) {
  EXPECT_FALSE(ReadSignatureDatabase({}));
  EXPECT_FALSE(LoadSignatureFile("/nonexistent/Signature"));
}

TEST(SignatureDatabaseTest, KeepSelectedReversesAndSetsTheMaximum) {
  SignatureList list = {MakeRecord("A", "a", "C", {1}, 0, 1, 1),
                        MakeRecord("B", "b", "C", {2}, 0, 1, 0),
                        MakeRecord("C", "c", "C", {3}, 0, 1, 2)};
  auto kept = KeepSelected(list, 1024);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].name, "C");
  EXPECT_EQ(kept[1].name, "A");
  EXPECT_EQ(kept[0].maximum_length, 1024u);
  // 4 GiB does not fit the 32-bit field; it must not become 0 ("no maximum").
  EXPECT_EQ(KeepSelected(list, 4ull << 30)[0].maximum_length, 0xFFFFFFFFu);
}

TEST(SignatureGroupsTest, SameBytesShareOneEntryAndTheLaterRecordWins) {
  // KeepSelected order: the later file record comes first.
  SignatureList file = {MakeRecord("Early", "early", "C", {0xAB, 0xCD}, 0, 1),
                        MakeRecord("Late", "late", "C", {0xAB, 0xCD}, 0, 1)};
  auto groups = BuildGroups(KeepSelected(file, 1));
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0].index.size(), 1u);
  const std::uint8_t key[] = {0xAB, 0xCD};
  const SignatureEntry* entry = LookUp(groups[0], key);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->record.name, "Late");
  EXPECT_EQ(entry->extra_extensions, std::vector<std::string>{"early"});
}

TEST(SignatureGroupsTest, SameBytesAtDifferentOffsetsMakeTwoGroups) {
  SignatureList list = {MakeRecord("A", "a", "C", {1, 2}, 0, 1), MakeRecord("B", "b", "C", {1, 2}, 4, 1),
                        MakeRecord("D", "d", "C", {9, 9}, 0, 1)};
  auto groups = BuildGroups(list);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].offset, 0);
  EXPECT_EQ(groups[0].index.size(), 2u);
  EXPECT_EQ(groups[1].offset, 4);
}

TEST(SignatureGroupsTest, MatchingIsOnExactBytesNotOnKeyText) {
  SignatureList list = {MakeRecord("A", "a", "C", {0x01, 0x11}, 0, 1)};
  auto groups = BuildGroups(list);
  const std::uint8_t other[] = {0x11, 0x01};
  const std::uint8_t same[] = {0x01, 0x11};
  EXPECT_EQ(LookUp(groups[0], other), nullptr);
  EXPECT_NE(LookUp(groups[0], same), nullptr);
}

TEST(SignatureGroupsTest, LookaheadCoversTheFurthestSignature) {
  SignatureList list = {MakeRecord("A", "a", "C", {1, 2, 3, 4}, 510, 1)};
  EXPECT_EQ(LookaheadSectors(BuildGroups(list), 512), 1u);
  list.push_back(MakeRecord("B", "b", "C", {1}, 2000, 1));
  EXPECT_EQ(LookaheadSectors(BuildGroups(list), 512), 3u);
  EXPECT_EQ(LookaheadSectors(BuildGroups({MakeRecord("C", "c", "C", {1}, 0, 1)}), 512), 0u);
}

}  // namespace
}  // namespace salvor::carver

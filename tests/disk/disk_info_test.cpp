#include "disk/disk_info.h"

#include <gtest/gtest.h>

namespace salvor {
namespace {

TEST(DiskInfo, StoredFormIs542BytesFieldByField) {
  DiskInfo info;
  info.device_path = u"/dev/sdb";
  info.handle = 7;
  info.bytes_per_sector = 4096;
  info.total_sectors = 0x0102030405060708ull;
  std::vector<std::uint8_t> stored = StoreDiskInfo(info);
  ASSERT_EQ(stored.size(), kDiskInfoStoredSize);
  EXPECT_EQ(stored[0], '/');
  EXPECT_EQ(stored[1], 0);
  EXPECT_EQ(stored[16], 0);  // zero-filled behind the text
  EXPECT_EQ(stored[512], 7);
  EXPECT_EQ(stored[516], 0x00);
  EXPECT_EQ(stored[517], 0x10);
  EXPECT_EQ(stored[518], 0x08);
  EXPECT_EQ(stored[525], 0x01);
  for (std::size_t i = 526; i < 542; ++i) EXPECT_EQ(stored[i], 0) << i;

  auto back = LoadDiskInfo(stored);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->device_path, info.device_path);
  EXPECT_EQ(back->bytes_per_sector, 4096);
  EXPECT_EQ(back->total_sectors, info.total_sectors);
  stored.pop_back();
  EXPECT_FALSE(LoadDiskInfo(stored));
}

TEST(DiskInfo, PathOfFullLengthHasNoTerminator) {
  DiskInfo info;
  info.device_path = std::u16string(256, u'x');
  auto back = LoadDiskInfo(StoreDiskInfo(info));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->device_path.size(), 256u);
}

TEST(Utf, RoundTripsNonAsciiAndSurrogatePairs) {
  std::string text = "\xC3\x9Cn\xC3\xAF \xE3\x83\x95\xE3\x82\xA1 \xF0\x9F\x98\x80";
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide.size(), 9u);  // the emoji takes a surrogate pair
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace salvor

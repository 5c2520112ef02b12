// Preview data: buffer and length for resident and non-resident files, the
// 30 MiB limit, and compressed files shown as not available.

#include <gtest/gtest.h>

#include "ntfs/preview_data.h"
#include "record_builder.h"
#include "test_volume.h"

namespace salvor {
namespace {

using testing::Bytes;
using testing::kClusterSize;
using testing::NoiseBytes;
using testing::RecordBuilder;
using testing::RunListBytes;

class PreviewTest : public ::testing::Test {
 protected:
  std::optional<PreviewData> Preview(const Bytes& record, std::uint64_t size) {
    EntryNode entry;
    entry.record_sector = volume.PutRecord(40, record);
    entry.size = size;
    return LoadPreview(volume.Open(), entry);
  }
  testing::TestVolume volume;
};

TEST_F(PreviewTest, ResidentFileOf300Bytes) {
  const Bytes data = NoiseBytes(300, 1);
  auto p = Preview(RecordBuilder().Resident(0x80, data).Build(), 300);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->length, 300u);
  EXPECT_EQ(p->buffer.size(), kClusterSize);
  EXPECT_EQ(Bytes(p->buffer.begin(), p->buffer.begin() + 300), data);
}

TEST_F(PreviewTest, NonResidentLengthsFollowTheSize) {
  const Bytes data = NoiseBytes(3 * kClusterSize, 2);
  volume.PutClusters(100, data);
  auto p = Preview(RecordBuilder().NonResident(0x80, RunListBytes({{2, 100}}), 5000, 0, 1).Build(), 5000);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->buffer.size(), 8192u);
  EXPECT_EQ(p->length, 5000u);
  EXPECT_EQ(Bytes(p->buffer.begin(), p->buffer.begin() + 5000), Bytes(data.begin(), data.begin() + 5000));
  EXPECT_EQ(p->buffer[5000], 0);

  p = Preview(RecordBuilder().NonResident(0x80, RunListBytes({{2, 100}}), 8192, 0, 1).Build(), 8192);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->buffer.size(), 12288u);
  EXPECT_EQ(p->length, 8192u);
}

TEST_F(PreviewTest, SparseRunsShowAsZerosInPlace) {
  const Bytes data = NoiseBytes(kClusterSize, 3);
  volume.PutClusters(100, data);
  auto p = Preview(
      RecordBuilder().NonResident(0x80, RunListBytes({{1, 0}, {1, 100}}), 2 * kClusterSize, 0, 1).Build(),
      2 * kClusterSize);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->length, 2 * kClusterSize);
  EXPECT_EQ(Bytes(p->buffer.begin(), p->buffer.begin() + kClusterSize), Bytes(kClusterSize, 0));
  EXPECT_EQ(Bytes(p->buffer.begin() + kClusterSize, p->buffer.begin() + 2 * kClusterSize), data);
}

TEST_F(PreviewTest, SizeLimits) {
  const Bytes record = RecordBuilder().Resident(0x80, Bytes(1, 1)).Build();
  EXPECT_FALSE(Preview(record, 0));
  EXPECT_FALSE(Preview(record, 31457281));
  EXPECT_TRUE(Preview(record, 31457280));
}

TEST_F(PreviewTest, CompressedFileShowsTheMessageOnceAndNoData) {
  RecordBuilder builder;
  builder.NonResident(0x80, RunListBytes({{4, 100}, {12, 0}}), 20000, 0, 15);
  Bytes record = builder.Build();
  testing::SetCompression(record, builder.first_attribute(), 0x8001, 4);
  auto p = Preview(record, 20000);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->length, 0u);
  ASSERT_EQ(volume.host.messages.size(), 1u);
  EXPECT_EQ(volume.host.messages[0].caption, "Compressed data");
  EXPECT_EQ(volume.host.messages[0].text, "Preview not available");
  EXPECT_EQ(volume.host.messages[0].icon, MessageIcon::kWarning);
}

}  // namespace
}  // namespace salvor

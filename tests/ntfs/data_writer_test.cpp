// The data writers: plain, sparse, compressed and attribute-list streams
// written byte for byte, named streams never written, failed writes shown.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "disk/sector_source.h"
#include "lznt1_compressor.h"
#include "ntfs/data_sink.h"
#include "ntfs/data_writer.h"
#include "record_builder.h"
#include "test_volume.h"

namespace salvor {
namespace {

using testing::AttributeListEntry;
using testing::Bytes;
using testing::kClusterSize;
using testing::NoiseBytes;
using testing::RecordBuilder;
using testing::RunListBytes;
using testing::TestVolume;

Bytes Slice(const Bytes& b, std::size_t from, std::size_t n) {
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
               b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class DataWriterTest : public ::testing::Test {
 protected:
  // Writes the file whose record is `record` (placed as MFT record 40).
  SaveDataResult Save(const Bytes& record, Bytes& out) {
    const std::uint64_t sector = volume.PutRecord(40, record);
    EngineState& state = volume.Open();
    VectorSink sink;
    ProgressReporter progress(volume.host, ProgressPhase::kSave, ProgressUnit::kBytes);
    SaveDataResult r = SaveFileData(state, sector, sink, &progress);
    out = sink.bytes();
    return r;
  }

  TestVolume volume;
};

TEST_F(DataWriterTest, FiveThousandBytesOnFourKiBClustersCutsTheSecondCluster) {
  const Bytes data = NoiseBytes(2 * kClusterSize, 1);
  volume.PutClusters(100, data);
  Bytes out;
  auto r = Save(RecordBuilder().NonResident(0x80, RunListBytes({{2, 100}}), 5000, 0, 1).Build(), out);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.bytes, 5000u);
  EXPECT_EQ(out, Slice(data, 0, 5000));
  ASSERT_FALSE(volume.host.progress.empty());
  EXPECT_EQ(volume.host.progress.back(), std::make_pair(std::uint64_t{5000}, std::uint64_t{5000}));
}

TEST_F(DataWriterTest, SparseRunsOfAPlainStreamAreZeros) {
  const Bytes a = NoiseBytes(kClusterSize, 2);
  const Bytes b = NoiseBytes(kClusterSize, 3);
  volume.PutClusters(100, a);
  volume.PutClusters(105, b);
  const std::uint64_t size = 4 * kClusterSize - 100;
  Bytes out;
  auto r = Save(RecordBuilder()
                    .NonResident(0x80, RunListBytes({{1, 100}, {2, 0}, {1, 105}}), size, 0, 3)
                    .Build(),
                out);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(out, Cat({a, Bytes(2 * kClusterSize, 0), Slice(b, 0, kClusterSize - 100)}));
}

TEST_F(DataWriterTest, BytesBeyondTheInitializedSizeAreZeros) {
  const Bytes data = NoiseBytes(2 * kClusterSize, 4);
  volume.PutClusters(100, data);
  RecordBuilder builder;
  builder.NonResident(0x80, RunListBytes({{2, 100}}), 2 * kClusterSize, 0, 1);
  Bytes record = builder.Build();
  const std::size_t init_at = builder.first_attribute() + 0x38;
  const std::uint64_t initialized = 1000;
  for (int i = 0; i < 8; ++i) record[init_at + i] = static_cast<std::uint8_t>(initialized >> (8 * i));
  Bytes out;
  ASSERT_TRUE(Save(record, out).ok);
  EXPECT_EQ(out, Cat({Slice(data, 0, 1000), Bytes(2 * kClusterSize - 1000, 0)}));
}

// A compressed stream of four 16-cluster units: stored uncompressed,
// compressed (ending in sparse clusters), wholly sparse, and a compressed
// last unit that the file's size cuts. The flags carry the sparse bit beside
// the compression bits.
TEST_F(DataWriterTest, CompressedUnitsAreStoredDecompressedOrZerosAndCutAtTheSize) {
  constexpr std::size_t kUnit = 16 * kClusterSize;
  const Bytes stored = NoiseBytes(kUnit, 5);
  Bytes text1;
  while (text1.size() < kUnit) {
    const char* line = "a line of text that repeats, as text does in files. ";
    text1.insert(text1.end(), line, line + std::strlen(line));
  }
  text1.resize(kUnit);
  Bytes text2(kUnit, 0);
  for (std::size_t i = 0; i < kUnit; ++i) text2[i] = static_cast<std::uint8_t>("0123456789"[i % 10]);
  const Bytes packed1 = testing::CompressLznt1(text1);
  const Bytes packed2 = testing::CompressLznt1(text2);
  const std::uint64_t c1 = (packed1.size() + kClusterSize - 1) / kClusterSize;
  const std::uint64_t c2 = (packed2.size() + kClusterSize - 1) / kClusterSize;
  ASSERT_LT(c1, 16u);
  ASSERT_LT(c2, 16u);
  volume.PutClusters(100, stored);
  volume.PutClusters(200, packed1);
  volume.PutClusters(300, packed2);
  const std::uint64_t size = 3 * kUnit + 10000;
  RecordBuilder builder;
  builder.NonResident(
      0x80,
      RunListBytes({{16, 100}, {c1, 200}, {16 - c1, 0}, {16, 0}, {c2, 300}, {16 - c2, 0}}),
      size, 0, 63);
  Bytes record = builder.Build();
  testing::SetCompression(record, builder.first_attribute(), 0x8001, 4);
  Bytes out;
  auto r = Save(record, out);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.bytes, size);
  ASSERT_EQ(out.size(), size);
  EXPECT_EQ(Slice(out, 0, kUnit), stored);
  EXPECT_EQ(Slice(out, kUnit, kUnit), text1);
  EXPECT_EQ(Slice(out, 2 * kUnit, kUnit), Bytes(kUnit, 0));
  EXPECT_EQ(Slice(out, 3 * kUnit, 10000), Slice(text2, 0, 10000));
}

TEST_F(DataWriterTest, NamedStreamOnlyGivesAnEmptyFile) {
  Bytes out;
  auto r = Save(RecordBuilder().Resident(0x80, Bytes(50, 'x'), u"stream").Build(), out);
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(out.empty());
}

TEST_F(DataWriterTest, NamedStreamBeforeTheUnnamedOneIsPassedOver) {
  Bytes out;
  auto r = Save(RecordBuilder()
                    .Resident(0x80, Bytes(50, 'x'), u"stream")
                    .Resident(0x80, Bytes(7, 'y'))
                    .Build(),
                out);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(out, Bytes(7, 'y'));
}

TEST_F(DataWriterTest, EmptyResidentDataGivesAnEmptyFile) {
  Bytes out;
  auto r = Save(RecordBuilder().Resident(0x80, {}).Build(), out);
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(out.empty());
}

TEST_F(DataWriterTest, RecordThatFailsItsCheckFails) {
  Bytes record = RecordBuilder().Resident(0x80, Bytes(10, 'z')).Build();
  record[0] = 'B';  // "BILE": chkdsk marks a bad record "BAAD" the same way
  Bytes out;
  EXPECT_FALSE(Save(record, out).ok);
}

// Through an attribute list only the unnamed stream's extents count, each
// once, in VCN order, whatever order and repetitions the list has.
TEST_F(DataWriterTest, AttributeListExtentsAreWrittenOnceInVcnOrder) {
  const Bytes first = NoiseBytes(2 * kClusterSize, 6);
  const Bytes second = NoiseBytes(2 * kClusterSize, 7);
  volume.PutClusters(100, first);
  volume.PutClusters(110, second);
  volume.PutClusters(120, NoiseBytes(kClusterSize, 8));
  const std::uint64_t size = 4 * kClusterSize - 300;
  volume.PutRecord(41, RecordBuilder()
                           .BaseReference(40)
                           .NonResident(0x80, RunListBytes({{2, 100}}), size, 0, 1)
                           .Build());
  volume.PutRecord(42, RecordBuilder()
                           .BaseReference(40)
                           .NonResident(0x80, RunListBytes({{2, 110}}), 0, 2, 3)
                           .Build());
  volume.PutRecord(43, RecordBuilder()
                           .BaseReference(40)
                           .NonResident(0x80, RunListBytes({{1, 120}}), 4096, 0, 0, u"n")
                           .Build());
  const Bytes list = Cat({AttributeListEntry(0x30, 40), AttributeListEntry(0x80, 42, 2),
                          AttributeListEntry(0x80, 43, 0, 1), AttributeListEntry(0x80, 41, 0),
                          AttributeListEntry(0x80, 42, 2)});
  Bytes out;
  auto r = Save(RecordBuilder().Resident(0x20, list).Build(), out);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(out, Slice(Cat({first, second}), 0, size));
}

TEST_F(DataWriterTest, ExtensionRecordThatFailsItsCheckFailsTheFile) {
  Bytes bad = RecordBuilder().BaseReference(40).Resident(0x80, Bytes(10, 'q')).Build();
  bad[0] = 'B';
  volume.PutRecord(41, bad);
  Bytes out;
  EXPECT_FALSE(
      Save(RecordBuilder().Resident(0x20, AttributeListEntry(0x80, 41, 0)).Build(), out).ok);
}

TEST(DataSinkTest, FailedWriteIsShownAndRaised) {
  int fd = open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  testing::RecordingHost host;
  FdSink sink(host, fd);
  const Bytes data(4096, 1);
  EXPECT_THROW(sink.Write(data), UserException);
  close(fd);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Error");
  EXPECT_EQ(host.messages[0].text, std::strerror(ENOSPC));
}

TEST(DataSinkTest, ZerosAtTheEndOfAFileGiveItItsFullSize) {
  char path[] = "/tmp/salvor-sink-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  testing::RecordingHost host;
  FdSink sink(host, fd);
  sink.Write(Bytes(10, 7));
  sink.WriteZeros(100000);
  sink.Finish();
  EXPECT_EQ(lseek(fd, 0, SEEK_END), 100010);
  close(fd);
  unlink(path);
}

}  // namespace
}  // namespace salvor

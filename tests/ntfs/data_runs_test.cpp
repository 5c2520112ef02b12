#include "ntfs/data_runs.h"

#include <gtest/gtest.h>

#include <vector>

#include "ntfs/mft_locator.h"

namespace salvor {
namespace {

using Bytes = std::vector<std::uint8_t>;

Run R(std::uint64_t length, std::uint64_t lcn) { return Run{length, lcn}; }

TEST(DecodeRuns, OneRunOfThirtyTwoClusters) {
  Bytes a = {0x11, 0x30, 0x20, 0x00};
  RunList runs;
  EXPECT_EQ(DecodeRuns(a, 0, runs), 1u);
  EXPECT_EQ(runs, RunList{R(0x30, 0x20)});
}

TEST(DecodeRuns, NegativeOffsetIsRelativeToThePreviousRun) {
  Bytes a = {0x11, 0x30, 0x20, 0x11, 0x10, 0xF0, 0x00};
  RunList runs;
  DecodeRuns(a, 0, runs);
  EXPECT_EQ(runs, (RunList{R(0x30, 0x20), R(0x10, 0x10)}));
}

TEST(DecodeRuns, WideNegativeOffsetIsSignExtendedFromItsWidth) {
  // +0x12345, then -0x100 as a two-byte field 0xFF00.
  Bytes a = {0x31, 0x08, 0x45, 0x23, 0x01, 0x21, 0x04, 0x00, 0xFF, 0x00};
  RunList runs;
  DecodeRuns(a, 0, runs);
  EXPECT_EQ(runs, (RunList{R(8, 0x12345), R(4, 0x12245)}));
}

TEST(DecodeRuns, SparseRunKeepsTheRunningLcn) {
  Bytes a = {0x11, 0x10, 0x40, 0x01, 0x20, 0x11, 0x08, 0x10, 0x00};
  RunList runs;
  DecodeRuns(a, 0, runs);
  EXPECT_EQ(runs, (RunList{R(0x10, 0x40), R(0x20, 0), R(0x08, 0x50)}));
  EXPECT_TRUE(runs[1].sparse());
}

TEST(DecodeRuns, AppendingStartsTheLcnArithmeticFromZero) {
  RunList runs = {R(5, 100)};
  Bytes a = {0x11, 0x04, 0x30, 0x00};
  EXPECT_EQ(DecodeRuns(a, 0, runs), 1u);
  EXPECT_EQ(runs, (RunList{R(5, 100), R(4, 0x30)}));
  // A second call does not continue from the first call's last LCN either.
  Bytes b = {0x11, 0x02, 0x10, 0x00};
  DecodeRuns(b, 0, runs);
  EXPECT_EQ(runs.back(), R(2, 0x10));
}

TEST(DecodeRuns, StartsAtTheGivenOffset) {
  Bytes a = {0xEE, 0xEE, 0x11, 0x01, 0x05, 0x00};
  RunList runs;
  DecodeRuns(a, 2, runs);
  EXPECT_EQ(runs, RunList{R(1, 5)});
}

TEST(DecodeRuns, LengthFieldWiderThanFourBytesStopsDecoding) {
  Bytes a = {0x11, 0x01, 0x05, 0x15, 1, 2, 3, 4, 5, 0x09, 0x11, 0x01, 0x05, 0x00};
  RunList runs;
  EXPECT_EQ(DecodeRuns(a, 0, runs), 1u);
  EXPECT_EQ(runs, RunList{R(1, 5)});
}

TEST(DecodeRuns, FourByteLengthAndEightByteOffsetStillDecode) {
  Bytes a = {0x84, 0x78, 0x56, 0x34, 0x12, 0x10, 0, 0, 0, 0, 0, 0, 0, 0x00};
  RunList runs;
  DecodeRuns(a, 0, runs);
  EXPECT_EQ(runs, RunList{R(0x12345678, 0x10)});
}

TEST(DecodeRuns, OffsetFieldWiderThanEightBytesStopsDecoding) {
  Bytes a = {0x11, 0x01, 0x05, 0x91, 0x01, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x00};
  RunList runs;
  EXPECT_EQ(DecodeRuns(a, 0, runs), 1u);
}

TEST(DecodeRuns, RunListPastTheAttributeEndStops) {
  // The second run's offset field would need two more bytes than there are.
  Bytes a = {0x11, 0x01, 0x05, 0x31, 0x02, 0x10};
  RunList runs;
  EXPECT_EQ(DecodeRuns(a, 0, runs), 1u);
  EXPECT_EQ(runs, RunList{R(1, 5)});
  // No end byte at all: the list ends with the attribute.
  Bytes b = {0x11, 0x01, 0x05};
  runs.clear();
  EXPECT_EQ(DecodeRuns(b, 0, runs), 1u);
  // An offset beyond the attribute decodes nothing.
  runs.clear();
  EXPECT_EQ(DecodeRuns(b, 100, runs), 0u);
}

TEST(DecodeRuns, LcnArithmeticWrapsWithoutTrapping) {
  Bytes a = {0x11, 0x01, 0x80, 0x00};  // -128 from 0
  RunList runs;
  DecodeRuns(a, 0, runs);
  EXPECT_EQ(runs[0].lcn, ~std::uint64_t{0} - 127);
}

TEST(Power, IntegerPowers) {
  EXPECT_EQ(Power(2, 4), 16);
  EXPECT_EQ(Power(2, 0), 1);
  EXPECT_EQ(Power(3, 3), 27);
  EXPECT_EQ(Power(2, -1), 0);  // 1 / 2 in integers
  EXPECT_EQ(Power(1, -5), 1);
  EXPECT_EQ(Power(0, -1), 0);
  EXPECT_EQ(Power(2, 31), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(Power(2, 32), 0);  // wraps like a 32-bit integer
  EXPECT_EQ(Power(-1, std::numeric_limits<std::int32_t>::min()), 1);
}

TEST(Power, CompressionUnitOfSixteenClustersIs64KiB) {
  EXPECT_EQ(CompressionUnitClusters(4), 16u);
  EXPECT_EQ(CompressionUnitClusters(4) * 4096u, 65536u);
}

CurrentVolume Volume() {
  CurrentVolume v;
  v.first_sector = 2048;
  v.sectors_per_cluster = 8;
  v.sectors_per_file_record = 2;
  v.bytes_per_file_record = 1024;
  v.bytes_per_sector = 512;
  v.bytes_per_cluster = 4096;
  return v;
}

TEST(MftRecordSector, WalksTheRunsRecordByRecord) {
  const CurrentVolume v = Volume();
  RunList runs = {R(4, 100), R(2, 500)};  // 16 records, then 8
  EXPECT_EQ(MftRecordSector(runs, v, 0), 2048u + 800u);
  EXPECT_EQ(MftRecordSector(runs, v, 15), 2048u + 800u + 30u);
  EXPECT_EQ(MftRecordSector(runs, v, 16), 2048u + 4000u);
  EXPECT_EQ(MftRecordSector(runs, v, 23), 2048u + 4000u + 14u);
  EXPECT_EQ(MftRecordSector(runs, v, 24), std::nullopt);
}

TEST(MftRecordSector, IntegerDivisionPerRun) {
  CurrentVolume v = Volume();
  v.sectors_per_cluster = 1;  // a run of 3 clusters holds 1 record of 2 sectors
  RunList runs = {R(3, 10), R(2, 20)};
  EXPECT_EQ(MftRecordSector(runs, v, 0), 2048u + 10u);
  EXPECT_EQ(MftRecordSector(runs, v, 1), 2048u + 20u);
  EXPECT_EQ(MftRecordSector(runs, v, 2), std::nullopt);
}

TEST(MftRecordSector, SparseRunAndMissingGeometry) {
  CurrentVolume v = Volume();
  RunList runs = {R(1, 0), R(1, 40)};
  EXPECT_EQ(MftRecordSector(runs, v, 0), std::nullopt);
  EXPECT_EQ(MftRecordSector(runs, v, 4), 2048u + 320u);
  v.sectors_per_file_record = 0;
  EXPECT_EQ(MftRecordSector(runs, v, 4), std::nullopt);
  EXPECT_EQ(MftRecordSector({}, Volume(), 0), std::nullopt);
}

TEST(MftRecordSector, HugeDamagedRunDoesNotOverflow) {
  RunList runs = {R(~std::uint64_t{0}, 7)};
  EXPECT_EQ(MftRecordSector(runs, Volume(), 0xFFFFFFFF), 2048u + 56u + 2ull * 0xFFFFFFFF);
}

}  // namespace
}  // namespace salvor

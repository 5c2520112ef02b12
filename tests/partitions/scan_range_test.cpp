#include "partitions/scan_range.h"

#include <gtest/gtest.h>

namespace salvor {
namespace {

TEST(CheckSectorRange, ReportsTheFirstFailureInOrder) {
  EXPECT_EQ(CheckSectorRange(1000, 500, 1000), "Start sector should be less than total sectors");
  EXPECT_EQ(CheckSectorRange(2000, 3000, 1000), "Start sector should be less than total sectors");
  EXPECT_EQ(CheckSectorRange(10, 10, 1000), "End sector should be greater than start sector");
  EXPECT_EQ(CheckSectorRange(10, 5, 1000), "End sector should be greater than start sector");
  EXPECT_EQ(CheckSectorRange(10, 1001, 1000), "End sector should be less than total sectors");
  EXPECT_EQ(CheckSectorRange(0, 0, 0), "Start sector should be less than total sectors");
}

TEST(CheckSectorRange, AcceptsAnEndEqualToTheTotal) {
  EXPECT_EQ(CheckSectorRange(0, 1000, 1000), std::nullopt);
  EXPECT_EQ(CheckSectorRange(999, 1000, 1000), std::nullopt);
}

TEST(SectorRangeSizeText, SwitchesUnitsAtEachThreshold) {
  EXPECT_EQ(SectorRangeSizeText(0, 2, 512), "1024 bytes");
  EXPECT_EQ(SectorRangeSizeText(0, 3, 512), "1.50 KB");
  EXPECT_EQ(SectorRangeSizeText(0, 2048, 512), "1024.00 KB");
  EXPECT_EQ(SectorRangeSizeText(0, 2049, 512), "1.00 MB");
  EXPECT_EQ(SectorRangeSizeText(0, 2097152, 512), "1024.00 MB");
  EXPECT_EQ(SectorRangeSizeText(0, 2097153, 512), "1.00 GB");
  EXPECT_EQ(SectorRangeSizeText(100, 156301588, 512), "74.53 GB");
  EXPECT_EQ(SectorRangeSizeText(0, 1, 4096), "4.00 KB");
}

TEST(SectorRangeSizeText, AHugeRangeDoesNotWrapToASmallSize) {
  EXPECT_EQ(SectorRangeSizeText(0, UINT64_MAX, 4096).find("bytes"), std::string::npos);
}

TEST(ScanAreaPercentages, RoundsUpFromJustUnderAHalf) {
  ScanAreaBar whole = ScanAreaPercentages(0, 1000, 1000);
  EXPECT_EQ(whole.start_percent, 0u);
  EXPECT_EQ(whole.end_percent, 100u);
  ScanAreaBar part = ScanAreaPercentages(5, 995, 1000);  // 0.5 + 0.49 and 99.5 + 0.49
  EXPECT_EQ(part.start_percent, 0u);
  EXPECT_EQ(part.end_percent, 99u);
  ScanAreaBar up = ScanAreaPercentages(6, 996, 1000);  // 0.6 + 0.49 and 99.6 + 0.49
  EXPECT_EQ(up.start_percent, 1u);
  EXPECT_EQ(up.end_percent, 100u);
  EXPECT_TRUE(up.shows_area());
  EXPECT_FALSE(ScanAreaPercentages(900, 100, 1000).shows_area());
}

TEST(RangeEditDigits, AsManyAsTheTotalHas) {
  EXPECT_EQ(RangeEditDigits(156301488), 9u);
  EXPECT_EQ(RangeEditDigits(0), 1u);
}

}  // namespace
}  // namespace salvor

#include "ntfs/dos_date.h"

#include <gtest/gtest.h>

#include "record_builder.h"

namespace salvor {
namespace {

using testing::NtfsTime;

std::uint16_t Dos(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

TEST(DosDate, CalendarDays) {
  EXPECT_EQ(DosDateFromNtfsTime(NtfsTime(1980, 1, 1)), 0x21);
  EXPECT_EQ(DosDateFromNtfsTime(NtfsTime(2006, 12, 7)), Dos(2006, 12, 7));
  EXPECT_EQ(DosDateFromNtfsTime(NtfsTime(2000, 2, 29)), Dos(2000, 2, 29));
  EXPECT_EQ(DosDateFromNtfsTime(NtfsTime(2100, 3, 1)), Dos(2100, 3, 1));
  EXPECT_EQ(DosDateFromNtfsTime(NtfsTime(2107, 12, 31)), Dos(2107, 12, 31));
  // The last tick of a day stays on that day (no time-zone shift).
  EXPECT_EQ(DosDateFromNtfsTime(NtfsTime(2024, 6, 30) + 863'999'999'999ull), Dos(2024, 6, 30));
}

TEST(DosDate, OutsideTheDosYearsIsZero) {
  EXPECT_EQ(DosDateFromNtfsTime(0), 0);
  EXPECT_EQ(DosDateFromNtfsTime(NtfsTime(1979, 12, 31)), 0);
  EXPECT_EQ(DosDateFromNtfsTime(NtfsTime(2108, 1, 1)), 0);
  EXPECT_EQ(DosDateFromNtfsTime(~std::uint64_t{0}), 0);
}

}  // namespace
}  // namespace salvor

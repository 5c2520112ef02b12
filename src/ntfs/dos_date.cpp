#include "ntfs/dos_date.h"

namespace salvor {

std::uint16_t DosDateFromNtfsTime(std::uint64_t ntfs_time) {
  constexpr std::uint64_t kTicksPerDay = 864'000'000'000ull;
  // Days from 1601-01-01 to 0000-03-01 on the proleptic Gregorian calendar
  // shifted so that a year starts in March (leap day last).
  const std::int64_t days = static_cast<std::int64_t>(ntfs_time / kTicksPerDay) + 584'694;
  const std::int64_t era = days / 146'097;
  const std::int64_t doe = days - era * 146'097;                                  // [0, 146096]
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36'524 - doe / 146'096) / 365;  // [0, 399]
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // [0, 365]
  const std::int64_t mp = (5 * doy + 2) / 153;                                    // [0, 11]
  const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;                          // [1, 31]
  const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;                           // [1, 12]
  const std::int64_t year = era * 400 + yoe + (month <= 2 ? 1 : 0);
  if (year < 1980 || year > 2107) return 0;
  return static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

}  // namespace salvor

#pragma once
// DOS dates (day bits 0-4, month bits 5-8, year - 1980 bits 9-15), the one
// date form kept per entry, from NTFS times (100-ns intervals since
// 1601-01-01, taken as they are: no time-zone conversion).

#include <cstdint>

namespace salvor {

// The DOS date of an NTFS time; 0 when the day lies outside the years a DOS
// date can hold (1980-2107), as for a time that was never set.
std::uint16_t DosDateFromNtfsTime(std::uint64_t ntfs_time);

}  // namespace salvor

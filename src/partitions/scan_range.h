#pragma once
// The rules of the sector-range choice before a lost-partition search: which
// ranges are accepted (and the text that says why not), the size of a range
// as the user reads it, and where the scan-area bar begins and ends.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace salvor {

// Why a range cannot be scanned, checked in this order: start not below the
// total, end not above the start, end above the total. nullopt: valid.
std::optional<std::string_view> CheckSectorRange(std::uint64_t start, std::uint64_t end,
                                                 std::uint64_t total_sectors);

// (end - start) x bytes per sector as "N bytes" up to 1 KiB, then "%0.2f KB",
// "%0.2f MB" up to 1 GiB, "%0.2f GB" above.
std::string SectorRangeSizeText(std::uint64_t start, std::uint64_t end,
                                std::uint16_t bytes_per_sector);

// The scan-area bar: start and end as whole percentages of the disk
// (value / total x 100 + 0.49, cut). The bar shows the area only when end is
// not below start.
struct ScanAreaBar {
  unsigned start_percent = 0;
  unsigned end_percent = 0;
  bool shows_area() const { return end_percent >= start_percent; }
};
ScanAreaBar ScanAreaPercentages(std::uint64_t start, std::uint64_t end, std::uint64_t total_sectors);

// Both edits take at most as many digits as the total sector count has.
std::size_t RangeEditDigits(std::uint64_t total_sectors);

}  // namespace salvor

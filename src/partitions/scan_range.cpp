#include "partitions/scan_range.h"

#include "disk/sector_source.h"
#include "disk/texts.h"

namespace salvor {

std::optional<std::string_view> CheckSectorRange(std::uint64_t start, std::uint64_t end,
                                                 std::uint64_t total_sectors) {
  if (start >= total_sectors) return text::kStartNotBelowTotal;
  if (end <= start) return text::kEndNotAboveStart;
  if (end > total_sectors) return text::kEndAboveTotal;
  return std::nullopt;
}

std::string SectorRangeSizeText(std::uint64_t start, std::uint64_t end,
                                std::uint16_t bytes_per_sector) {
  // Computed wide so that a range near 2^64 bytes cannot wrap to a small size.
  unsigned __int128 wide = static_cast<unsigned __int128>(end - start) * bytes_per_sector;
  double bytes = static_cast<double>(wide);
  if (wide <= 1024) return Format(text::kRangeBytes, static_cast<unsigned long long>(wide));
  if (wide <= 1048576) return Format(text::kRangeKb, bytes / 1024.0);
  if (wide <= 1073741824) return Format(text::kRangeMb, bytes / 1048576.0);
  return Format(text::kRangeGb, bytes / 1073741824.0);
}

ScanAreaBar ScanAreaPercentages(std::uint64_t start, std::uint64_t end, std::uint64_t total_sectors) {
  if (total_sectors == 0) return {};
  auto percent = [total_sectors](std::uint64_t v) {
    double p = static_cast<double>(v) / static_cast<double>(total_sectors) * 100.0 + 0.49;
    return static_cast<unsigned>(p);
  };
  return {percent(start), percent(end)};
}

std::size_t RangeEditDigits(std::uint64_t total_sectors) {
  return std::to_string(total_sectors).size();
}

}  // namespace salvor

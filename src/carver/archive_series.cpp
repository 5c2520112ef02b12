#include "carver/archive_series.h"

#include <algorithm>

namespace salvor::carver {
namespace {

// Closes the current archive and opens the next number.
ArchiveStatus StartNewArchive(ArchiveSeries& series) {
  if (!FinishSeries(series)) return ArchiveStatus::kWriteFailed;
  ++series.counter;
  series.running_total = 0;
  series.current = ZipCreate(ArchivePath(series, series.counter));
  return series.current ? ArchiveStatus::kAdded : ArchiveStatus::kCreateFailed;
}

}  // namespace

std::filesystem::path ArchivePath(const ArchiveSeries& series, unsigned number) {
  return series.stem + std::to_string(number) + ".zip";
}

ArchiveAddResult AddToSeries(ArchiveSeries& series, std::string_view entry_name,
                             const std::filesystem::path& source, std::uint64_t size) {
  ArchiveAddResult result;
  // Sizes are 32-bit fields: a file of exactly 4 GiB cannot be described either.
  const ZipArchive empty;
  if (size > std::min(series.limit, kZipSizeLimit) || !ZipHasRoomFor(empty, entry_name, size, series.limit))
    return {ArchiveStatus::kTooLarge, false};
  // Roll over on the archive's real size (headers, data that may grow a
  // little when deflated, the central directory to come), not on the sum of
  // file lengths alone, so that no offset can pass 4 GiB - 1.
  if (!series.current || !ZipHasRoomFor(*series.current, entry_name, size, series.limit)) {
    result.new_archive = true;
    if (const ArchiveStatus s = StartNewArchive(series); s != ArchiveStatus::kAdded) {
      result.status = s;
      return result;
    }
  }
  switch (ZipAdd(*series.current, entry_name, source)) {
    case ZipAddResult::kAdded:
      series.running_total += size;  // the file that opened a new archive counts in it
      break;
    case ZipAddResult::kSourceUnreadable:
      result.status = ArchiveStatus::kSourceUnreadable;
      break;
    case ZipAddResult::kNoRoom:
      result.status = ArchiveStatus::kTooLarge;
      break;
    case ZipAddResult::kFailed:
      result.status = ArchiveStatus::kWriteFailed;
      break;
  }
  return result;
}

bool FinishSeries(ArchiveSeries& series) {
  if (!series.current) return true;
  const bool ok = ZipClose(*series.current);
  series.current.reset();
  return ok;
}

}  // namespace salvor::carver

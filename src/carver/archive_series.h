#pragma once
// The numbered ZIP archives of one compressed save: "<stem><k>.zip" with k
// growing for the whole run. A file goes into the current archive while the
// archive surely stays below 4 GiB with it; otherwise a new archive is
// started and that file counts towards the new one.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "carver/zip_writer.h"

namespace salvor::carver {

struct ArchiveSeries {
  std::string stem;              // path of the archives without the number and ".zip"
  unsigned counter = 0;          // number of the last archive started (kept between saves)
  std::uint64_t limit = kZipSizeLimit;
  std::unique_ptr<ZipArchive> current;
  std::uint64_t running_total = 0;  // bytes of files in the current archive
};

enum class ArchiveStatus {
  kAdded,
  kTooLarge,          // above 4 GiB - 1: cannot be archived (the caller offers to copy it as is)
  kSourceUnreadable,  // skipped; the archive stays good
  kCreateFailed,      // "Faild to create zip file."
  kWriteFailed,       // the current archive failed; the save must end with failure
};

struct ArchiveAddResult {
  ArchiveStatus status = ArchiveStatus::kAdded;
  bool new_archive = false;  // a new archive was started (its path changed the target text)
};

std::filesystem::path ArchivePath(const ArchiveSeries& series, unsigned number);

// Adds the file `source` of `size` bytes under `entry_name`.
ArchiveAddResult AddToSeries(ArchiveSeries& series, std::string_view entry_name,
                             const std::filesystem::path& source, std::uint64_t size);

// Closes the current archive, if any; false when it could not be finished.
bool FinishSeries(ArchiveSeries& series);

}  // namespace salvor::carver

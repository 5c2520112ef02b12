#pragma once
// Saving entries of a rebuilt tree as ordinary files and folders below a
// destination folder: whole sub-trees depth first, files before subfolders,
// the roots from the last to the first.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ntfs/engine_state.h"
#include "ntfs/scan_database_reader.h"

namespace salvor {

struct SaveRequest {
  std::vector<std::uint32_t> entries;  // the roots of the save, entry numbers
  std::string destination;             // an existing folder
  // No progress and no "file saving failed" entries ("file skipped" still is).
  bool quiet = false;
  std::vector<std::string> excluded_types;  // extensions without the dot
};

struct SaveSummary {
  std::uint64_t files = 0;    // files written (their data whole)
  std::uint64_t folders = 0;  // folders created
  std::uint64_t bytes = 0;    // bytes of file data written
  std::uint64_t skipped = 0;  // files and folders the rename question skipped
  std::uint64_t failed = 0;   // files whose records failed their check
  std::uint64_t excluded = 0; // files left out by their type
  bool stopped = false;       // the running flag was cleared
  bool abandoned = false;     // an error was shown and the save ended
  bool ok() const { return !stopped && !abandoned && failed == 0; }
};

// True when the name's extension (the text after its last ".", or the whole
// name when it has none) is one of `excluded`, regardless of case.
bool IsExcludedType(std::string_view name, std::span<const std::string> excluded);

// Runs one save. Files get the entry's last-access date (at 00:00 UTC) as
// modification time; the creation date has no settable counterpart here and
// is left out. A destination on the disk being recovered is refused. The
// walk ends after the entry in hand when the running flag is cleared.
SaveSummary SaveEntries(EngineState& state, ScanDatabaseReader& db, const SaveRequest& request);

// Writes one file entry quietly into `folder` (the preview of an image) and
// gives the path of the file it wrote, renamed if the rename question gave
// another name, so that the caller opens and deletes that file and no
// other. nullopt when nothing was written (skipped, not a file, an error).
std::optional<std::filesystem::path> ExtractFileQuietly(EngineState& state, ScanDatabaseReader& db,
                                                        std::uint32_t entry,
                                                        const std::filesystem::path& folder);

}  // namespace salvor

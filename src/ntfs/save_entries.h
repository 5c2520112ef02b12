#pragma once
// Saving entries of a rebuilt tree as ordinary files and folders below a
// destination folder: whole sub-trees depth first, files before subfolders,
// the roots from the last to the first.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ntfs/engine_state.h"
#include "ntfs/scan_database_reader.h"

namespace salvor {

enum class SavedOutcome { kSaved, kRenamed, kSkipped, kExcluded, kFailed };

// What became of one file or folder of a save, for a report of the save.
struct SavedItem {
  const EntryNode& entry;
  std::string source_path;  // names from the save's root down, joined by "/"
  std::string target_path;  // below the destination; empty when nothing was created
  SavedOutcome outcome;
  std::uint64_t bytes = 0;  // file data written
};

struct SaveRequest {
  std::vector<std::uint32_t> entries;  // the roots of the save, entry numbers
  std::string destination;             // an existing folder
  // No progress and no "file saving failed" entries ("file skipped" still is).
  bool quiet = false;
  std::vector<std::string> excluded_types;  // extensions without the dot
  std::function<void(const SavedItem&)> on_item;  // told of every file and folder
  // Walk and count as a save would, creating nothing: the destination need
  // not exist, and each item is told under the name it would first try.
  bool dry_run = false;
};

struct SaveSummary {
  std::uint64_t files = 0;    // files written (their data whole)
  std::uint64_t folders = 0;  // folders created
  std::uint64_t bytes = 0;    // bytes of file data written
  std::uint64_t skipped = 0;  // files and folders the rename question skipped
  std::uint64_t failed = 0;   // files whose records failed their check
  std::uint64_t excluded = 0; // files left out by their type
  std::uint64_t renamed = 0;  // files and folders saved under a shortened name
  std::uint64_t linked = 0;   // further names of a saved file, made hard links to it
  std::uint64_t stopped_files = 0;  // files a stop cut short (their partial data removed)
  bool stopped = false;       // the running flag was cleared
  bool abandoned = false;     // an error was shown and the save ended
  bool ok() const { return !stopped && !abandoned && failed == 0; }
};

// True when the name's extension (the text after its last ".", or the whole
// name when it has none) is one of `excluded`, regardless of case; an
// excluded type may be written with its leading dot.
bool IsExcludedType(std::string_view name, std::span<const std::string> excluded);

// Runs one save. The names of a file with hard links are saved as hard
// links to the first one saved, where the destination allows it (else the
// data is written again). Files get the entry's last-access date (at 00:00 UTC) as
// modification time; the creation date has no settable counterpart here and
// is left out. A destination on the disk being recovered is refused. Every
// item, and every piece of a file, passes the run control's checkpoint: a
// stop inside a file removes what was written of it.
SaveSummary SaveEntries(EngineState& state, ScanDatabaseReader& db, const SaveRequest& request);

// Writes one file entry quietly into `folder` (the preview of an image) and
// gives the path of the file it wrote, renamed if the rename question gave
// another name, so that the caller opens and deletes that file and no
// other. nullopt when nothing was written (skipped, not a file, an error).
std::optional<std::filesystem::path> ExtractFileQuietly(EngineState& state, ScanDatabaseReader& db,
                                                        std::uint32_t entry,
                                                        const std::filesystem::path& folder);

}  // namespace salvor

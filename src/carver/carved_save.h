#pragma once
// Saving the checked nodes of the found-file tree below a destination folder:
// a new "DataKLT<n>" folder holds the tree's layout ("Raw Data", category,
// extension, files). Compressed, that folder is only a staging area: each
// file is copied there, added to the current archive of the series and
// deleted, and the folder goes at the end. Nothing is ever created outside
// the destination, and a failed write ends the save as a failure.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "carver/archive_series.h"
#include "carver/carve_disk.h"
#include "carver/found_tree.h"
#include "disk/host.h"
#include "disk/run_control.h"

namespace salvor::carver {

enum class SaveMode { kSave = 0, kBurn = 1 };

// Names longer than this are put to the rename question when burning (the
// disc's file system cannot hold them); in "Orphan Files" from this length.
inline constexpr std::size_t kBurnNameLimit = 105;
inline constexpr std::size_t kOrphanNameLimit = 220;
// "#0name", "#1name", ... are tried at most this many times for one item.
inline constexpr unsigned kNameTries = 10000;

struct SaveSettings {
  std::filesystem::path destination;  // the cache folder when burning
  bool compress = false;
  SaveMode mode = SaveMode::kSave;
};

enum class SaveStatus {
  kCompleted,
  kStopped,  // the running flag was cleared
  kFailed,   // something could not be written; the reason was shown
};

struct SaveResult {
  SaveStatus status = SaveStatus::kCompleted;
  std::filesystem::path output_folder;   // DataKLT<n>; gone again after a compressed save
  std::filesystem::path archive_folder;  // where the archives lie (compressed)
  std::vector<std::filesystem::path> archives;  // started by this save
  std::uint64_t items_saved = 0;  // files and folders created
  std::uint64_t files_saved = 0;  // files written (archived, or kept as they are)
};

// Told when the place being written to changes: the output folder, then each
// new archive.
using TargetListener = std::function<void(const std::filesystem::path& target)>;

// Told of each file saved: where it went (a staged file: the archive
// followed by its name there) and whether it got another name than its own.
using SavedFileListener = std::function<void(const FoundNode& file, const std::filesystem::path& written,
                                             bool renamed)>;

// Saves every checked node below the tree's root. The series keeps its
// archive counter between saves of one run; its stem is set here.
SaveResult SaveCarvedFiles(const FoundTree& tree, SectorReader& reader, const SaveSettings& settings,
                           ArchiveSeries& series, Host& host, RunControl& run,
                           const TargetListener& on_target = {},
                           const SavedFileListener& on_file = {});

}  // namespace salvor::carver

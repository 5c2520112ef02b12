#pragma once
// Processing the chosen volume: its tree rebuilt into a new scan database
// (from its MFT, or by the Turbo Scan over the whole volume), the database
// closed for writing and opened for reading, each step logged as the GUI's
// process log shows it.

#include <filesystem>

#include "app/operation_status.h"
#include "ntfs/engine_state.h"
#include "ntfs/private_folder.h"
#include "ntfs/scan_database_reader.h"

namespace salvor {

// The user's private database folder, locked against other runs for as long
// as `lock` lives. Failed with the reason when it cannot be had safely.
OperationStatus LockDatabaseFolder(DatabaseFolderLock& lock, std::filesystem::path& folder);

enum class TreeWalk { kMft, kTurboScan };

// With the current volume chosen (drive `drive` of the list). Stopped when
// the run was stopped during the walk: `reader` then holds the partial tree.
// Failed (with the database's error text) when the database could not be
// created, written or reopened.
OperationStatus ProcessVolume(EngineState& state, unsigned drive, TreeWalk walk,
                              const std::filesystem::path& database_folder,
                              ScanDatabaseReader& reader);

}  // namespace salvor

#pragma once
// Saving entries of a rebuilt tree, with the process-log lines around the
// save, and writing one file entry's data to an open file.

#include "ntfs/engine_state.h"
#include "ntfs/save_entries.h"
#include "ntfs/scan_database_reader.h"

namespace salvor {

// Makes the destination folder when it is missing, logs "Saving data...",
// saves, and logs how the save ended with its counts.
SaveSummary SaveTreeEntries(EngineState& state, ScanDatabaseReader& db, const SaveRequest& request);

// The counts of a save as one line of text.
std::string SaveSummaryText(const SaveSummary& summary);

// Writes the data of file entry `entry` to `fd` with the data writers of a
// save; a file whose data could not be written whole is logged as failed.
// False when it failed (a read error has been shown where it happened).
bool WriteFileEntry(EngineState& state, const EntryNode& entry, int fd);

}  // namespace salvor

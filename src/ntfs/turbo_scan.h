#pragma once
// The Turbo Scan: reads the whole chosen volume, one index-buffer-sized step
// at a time, and rebuilds the tree from every FILE record and every INDX
// block it meets, wherever they lie. Folders that survive only as names in
// their parents' index blocks come back too.

#include <cstddef>
#include <cstdint>
#include <span>

#include "ntfs/engine_state.h"
#include "ntfs/scan_database.h"

namespace salvor {

// How many bytes one read of the volume takes (whole steps of one index
// buffer each).
inline constexpr std::size_t kTurboReadBytes = 1024 * 1024;

// Scans state.volume into `db`, which CreateDatabase has just made anew, then
// writes the lost folders. True when the whole volume was read, false when
// the user stopped it (what was found is kept and the tree still built) or
// the database failed.
bool TurboScanVolume(EngineState& state, ScanDatabaseWriter& db,
                     std::size_t read_bytes = kTurboReadBytes);

// Writes the folders named by the entries of one checked INDX block. Entry
// walks stop at the end entry, at an entry too short for a file name key, or
// at one whose length leaves the block.
void TakeFoldersFromIndexBlock(ScanDatabaseWriter& db, std::span<const std::uint8_t> block,
                               std::uint32_t& counter);

}  // namespace salvor

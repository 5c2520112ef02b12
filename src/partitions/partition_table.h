#pragma once
// Reading the NTFS partitions that the MBR and the EBR chain still describe.

#include <cstddef>

#include "ntfs/engine_state.h"

namespace salvor {

// An EBR chain is never followed further than this many table sectors; a
// chain that loops back on itself stops at the first sector seen twice.
inline constexpr std::size_t kMaxPartitionTables = 4096;

// Empties the partition list and fills it from the tables of the open source.
// True when at least one NTFS partition was listed.
bool ReadPartitionTable(EngineState& state);

}  // namespace salvor

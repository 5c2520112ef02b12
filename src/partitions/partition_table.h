#pragma once
// Reading the NTFS partitions that the MBR and the EBR chain still describe.

#include <cstddef>

#include "ntfs/engine_state.h"

namespace salvor {

// An EBR chain is never followed further than this many table sectors; a
// chain that loops back on itself stops at the first sector seen twice.
inline constexpr std::size_t kMaxPartitionTables = 4096;

// Which table the partitions were listed from. A GPT whose primary copy fails
// its checks is read from its backup; one with neither copy intact leaves the
// MBR's own entries.
enum class PartitionScheme { kMbr, kGptPrimary, kGptBackup, kGptUnreadable };

// Empties the partition list and fills it from the tables of the open source:
// the GPT when the MBR holds a protective partition, else the MBR and its EBR
// chain. A damaged GPT is also reported in the host's log.
// True when at least one NTFS partition was listed.
bool ReadPartitionTable(EngineState& state, PartitionScheme* scheme = nullptr);

}  // namespace salvor

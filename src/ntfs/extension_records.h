#pragma once
// Names and data sizes that an attribute list places in other MFT records
// (extension records, or the base record itself read anew).

#include <cstdint>

#include "ntfs/engine_state.h"
#include "ntfs/entry_info.h"
#include "ntfs/run.h"

namespace salvor {

// Reads and checks MFT record `record` and takes its names: every $FILE_NAME
// of any namespace, the last one winning, sets the parent, name length and
// name. True when at least one name was taken.
bool FileNameFromRecord(EngineState& state, std::uint32_t record, EntryInfo& entry);

// Reads and checks MFT record `record` and takes the size of its first $DATA
// attribute (whatever its name). True when a size was taken.
bool DataSizeFromRecord(EngineState& state, std::uint32_t record, EntryInfo& entry);

// The lookups of a non-resident attribute list of `list_size` bytes lying in
// `runs`: read cluster by cluster, each $FILE_NAME entry looked up by
// FileNameFromRecord, the first unnamed $DATA entry by DataSizeFromRecord
// (which ends that cluster). The result is that of the last lookup; a
// cluster that ends with a success ends the walk. A list that names no
// $FILE_NAME or unnamed $DATA at all gives true, so that a folder's walk goes
// on to its own attributes.
bool FileNameFromAttributeList(EngineState& state, const RunList& runs, std::uint64_t list_size,
                               EntryInfo& entry);

// NTFS keeps attribute lists below 256 KiB; a larger claim is damage and is
// read only that far.
inline constexpr std::uint64_t kMaxAttributeListSize = 0x40000;

}  // namespace salvor

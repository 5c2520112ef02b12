#pragma once
// Parsing a checked base FILE record into an EntryInfo: name, parent, size,
// flags, dates, and a folder's own number as its index root gives it.

#include <cstdint>
#include <span>
#include <string_view>

#include "ntfs/engine_state.h"
#include "ntfs/entry_info.h"

namespace salvor {

// Fills `entry` from `record`, a base record that passed CheckFileRecord
// (record.size() = the volume's file record size). Follows an attribute list
// into other records through `state`. Returns false when the record is not
// an entry for the tree: its name is a system file's (ExcludedEntryName,
// whatever its folder), it is the root folder's own ".", or its own number
// equals its parent's (the root folder, and records without any name); the
// name is then cleared.
// Fields set by the caller (record sector, entry number, child block, name
// offset) are left alone, as is everything the record does not give.
bool ParseFileRecord(EngineState& state, std::span<const std::uint8_t> record, EntryInfo& entry);

// The names left out of the tree wherever they are: "$MFT", "$MFTMirr",
// "$LogFile", "$Volume", "$AttrDef", "$Bitmap", "$Boot", "$BadClus",
// "$Secure", "$UpCase".
bool ExcludedEntryName(std::u16string_view name);

}  // namespace salvor

#pragma once
// Every name of a file record. A file with hard links has one $FILE_NAME per
// link, and when they do not fit its base record they spill into extension
// records; each is a place where the user will look for the file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ntfs/engine_state.h"

namespace salvor {

struct RecordName {
  std::uint32_t parent = 0;  // record number of the folder it names
  std::u16string name;
};

// The Win32 and POSIX names of base record `record` (checked), from its own
// $FILE_NAME attributes and then from the extension records its attribute
// list names, in list order, each record read once. An extension record is
// taken only when it names this base (`base_number`; with old headers, whose
// records carry no number, any base) . The DOS 8.3 alias is an alias, not a
// name: it counts only when a record has no other name at all.
std::vector<RecordName> RecordNames(EngineState& state, std::span<const std::uint8_t> record,
                                    std::optional<std::uint32_t> base_number);

}  // namespace salvor

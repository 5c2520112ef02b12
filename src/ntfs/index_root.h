#pragma once
// $INDEX_ROOT (0x90) value: the resident top of a directory's index.
//   0x00 u32 indexed attribute type (0x30 for directories)
//   0x10 index node header: u32 entries offset, u32 index length, u32
//        allocated length (offsets relative to the node header)
// Index entry: u64 file reference @0, u16 entry length @8, u16 key length
// @0x0A, u32 flags @0x0C, key @0x10 (a $FILE_NAME value for directories).

#include <cstddef>
#include <cstdint>

namespace salvor::index_root {
inline constexpr std::size_t kIndexedType = 0x00;      // u32
inline constexpr std::size_t kNodeHeader = 0x10;
inline constexpr std::size_t kEntriesOffset = 0x10;    // u32, relative to the node header
inline constexpr std::size_t kIndexLength = 0x14;      // u32
inline constexpr std::size_t kAllocatedLength = 0x18;  // u32
inline constexpr std::size_t kEntryKey = 0x10;         // within an index entry
// An index length above this holds an entry besides the end entry.
inline constexpr std::uint32_t kEmptyIndexLength = 0x28;
}  // namespace salvor::index_root

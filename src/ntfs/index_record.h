#pragma once
// INDX records, the blocks of a directory's index allocation.
//
// Header fields (offsets from the record start):
//   0x00 magic "INDX"
//   0x04 u16 update sequence offset   0x18 u32 entries offset (from 0x18)
//   0x06 u16 update sequence count    0x1C u32 index length (from 0x18)
//                                     0x20 u32 allocated length (from 0x18)

#include <cstddef>
#include <cstdint>
#include <span>

namespace salvor {

namespace index_record {
inline constexpr std::size_t kMagic = 0x00;
inline constexpr std::size_t kUpdateSequenceOffset = 0x04;  // u16
inline constexpr std::size_t kUpdateSequenceCount = 0x06;   // u16
inline constexpr std::size_t kNodeHeader = 0x18;
inline constexpr std::size_t kEntriesOffset = 0x18;    // u32, relative to the node header
inline constexpr std::size_t kIndexLength = 0x1C;      // u32, relative to the node header
inline constexpr std::size_t kAllocatedLength = 0x20;  // u32, relative to the node header
}  // namespace index_record

// Tests an INDX record of record.size() bytes (the volume's index record
// size) and applies its update sequence in place, over the node header and
// the index length. The update sequence must have one entry per 512 bytes of
// the record plus the sequence number, whatever the disk's sector size. A
// record whose index length reaches past its end is refused.
bool CheckIndexRecord(std::span<std::uint8_t> record);

}  // namespace salvor

#pragma once
// The update sequence ("fixup") of FILE and INDX records. The last u16 of
// every 512 bytes of a record is replaced on disk by the update sequence
// number U (the first u16 of the update sequence array); the array keeps the
// original u16s behind U. A torn write shows as a block whose last u16 is not
// U. NTFS protects every 512 bytes whatever the sector size of the disk, so
// a 4096-byte record carries 8 + 1 entries on 512- and 4096-byte sectors alike.

#include <cstddef>
#include <cstdint>
#include <span>

namespace salvor {

inline constexpr std::size_t kUpdateSequenceStride = 512;

// The update sequence count a record of `record_size` bytes must declare.
constexpr std::size_t UpdateSequenceCount(std::size_t record_size) {
  return record_size / kUpdateSequenceStride + 1;
}

// Checks and undoes the update sequence in place for every 512-byte block
// that ends within the first `protected_bytes` bytes. The array of `count`
// u16s at `array_offset` must lie inside the record and hold an entry for
// every such block. Returns false at the first block whose last u16 is not
// the sequence number (blocks before it stay repaired) or when the array
// does not fit.
bool ApplyUpdateSequence(std::span<std::uint8_t> record, std::size_t array_offset,
                         std::size_t count, std::size_t protected_bytes);

}  // namespace salvor

#pragma once
// FILE records, the entries of the master file table.
//
// Header fields (offsets from the record start):
//   0x00 magic "FILE"                 0x16 u16 flags (1 in use, 2 directory)
//   0x04 u16 update sequence offset   0x18 u32 bytes in use
//        (0x2A old header, 0x30 new)  0x1C u32 bytes allocated (record size)
//   0x06 u16 update sequence count    0x20 u64 base record reference (0 = base)
//   0x14 u16 first attribute offset   0x2C u32 own record number (new header only)

#include <cstddef>
#include <cstdint>
#include <span>

namespace salvor {

namespace file_record {
inline constexpr std::size_t kMagic = 0x00;
inline constexpr std::size_t kUpdateSequenceOffset = 0x04;  // u16
inline constexpr std::size_t kUpdateSequenceCount = 0x06;   // u16
inline constexpr std::size_t kFirstAttribute = 0x14;        // u16
inline constexpr std::size_t kFlags = 0x16;                 // u16
inline constexpr std::size_t kBytesInUse = 0x18;            // u32
inline constexpr std::size_t kBytesAllocated = 0x1C;        // u32
inline constexpr std::size_t kBaseReference = 0x20;         // u64
inline constexpr std::size_t kRecordNumber = 0x2C;          // u32, when the header is new

inline constexpr std::uint16_t kOldHeader = 0x2A;  // update sequence offset, NT 4
inline constexpr std::uint16_t kNewHeader = 0x30;  // update sequence offset, XP on
inline constexpr std::uint16_t kFlagInUse = 0x0001;
inline constexpr std::uint16_t kFlagDirectory = 0x0002;
}  // namespace file_record

// Tests a FILE record of record.size() bytes and applies its update sequence
// in place; the record is changed even when a later test fails, so a failed
// record must not be used further. The update sequence must have one entry
// per 512 bytes of the record (plus the sequence number), whatever the
// disk's sector size, and is checked only over the bytes in use. The record
// must hold at least one attribute in front of its end.
bool CheckFileRecord(std::span<std::uint8_t> record);

// Header fields of a record (0 when the record is too short to hold them).
std::uint16_t FileRecordFlags(std::span<const std::uint8_t> record);
std::uint64_t BaseRecordReference(std::span<const std::uint8_t> record);
std::uint16_t UpdateSequenceOffset(std::span<const std::uint8_t> record);
std::uint32_t HeaderRecordNumber(std::span<const std::uint8_t> record);

}  // namespace salvor

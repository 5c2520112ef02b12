#pragma once
// $ATTRIBUTE_LIST (0x20) entries: which record holds each attribute of a
// file spread over extension records.
//   0x00 u32 type          0x06 u8 name length    0x08 u64 starting VCN
//   0x04 u16 entry length  0x07 u8 name offset    0x10 u64 record reference
//   0x18 u16 attribute identifier

#include <cstddef>
#include <cstdint>
#include <optional>

#include "disk/byte_reader.h"

namespace salvor {

namespace attribute_list {
inline constexpr std::size_t kType = 0x00;         // u32
inline constexpr std::size_t kEntryLength = 0x04;  // u16
inline constexpr std::size_t kNameLength = 0x06;   // u8
inline constexpr std::size_t kNameOffset = 0x07;   // u8
inline constexpr std::size_t kStartingVcn = 0x08;  // u64
inline constexpr std::size_t kReference = 0x10;    // u64
inline constexpr std::size_t kIdentifier = 0x18;   // u16
inline constexpr std::size_t kMinimumEntry = 0x18;
}  // namespace attribute_list

struct AttributeListEntry {
  std::uint32_t type = 0;
  std::uint16_t length = 0;
  std::uint8_t name_length = 0;
  std::uint8_t name_offset = 0;
  std::uint64_t starting_vcn = 0;
  std::uint32_t record = 0;  // low 32 bits of the reference
  std::uint16_t identifier = 0;
  bool unnamed() const { return name_length == 0 || name_offset == 0; }
  bool is_unnamed_data_start() const { return type == 0x80 && starting_vcn == 0 && unnamed(); }
};

// The entry at `offset`; nullopt when its fixed part or its declared length
// does not fit in `list`, or the length is too short to move on by.
inline std::optional<AttributeListEntry> ReadAttributeListEntry(const ByteReader& list,
                                                                std::size_t offset) {
  using namespace attribute_list;
  if (!list.Has(offset, kMinimumEntry)) return std::nullopt;
  AttributeListEntry e;
  e.type = *list.U32(offset + kType);
  e.length = *list.U16(offset + kEntryLength);
  if (e.length < kMinimumEntry || !list.Has(offset, e.length)) return std::nullopt;
  e.name_length = *list.U8(offset + kNameLength);
  e.name_offset = *list.U8(offset + kNameOffset);
  e.starting_vcn = *list.U64(offset + kStartingVcn);
  e.record = static_cast<std::uint32_t>(*list.U64(offset + kReference));
  e.identifier = list.U16(offset + kIdentifier).value_or(0);
  return e;
}

}  // namespace salvor

#pragma once
// The attribute header of FILE records and a bounded walk over a record's
// attributes.
//
// Common header: type u32 @0, length u32 @4, non-resident u8 @8, name length
// u8 @9 (UTF-16 units), name offset u16 @0x0A.
// Resident:      value length u32 @0x10, value offset u16 @0x14.
// Non-resident:  lowest VCN u64 @0x10, highest VCN u64 @0x18, run list offset
//                u16 @0x20, compression unit u16 @0x22, real size u64 @0x30.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "disk/byte_reader.h"

namespace salvor {

namespace attr {
inline constexpr std::size_t kType = 0x00;            // u32
inline constexpr std::size_t kLength = 0x04;          // u32
inline constexpr std::size_t kNonResident = 0x08;     // u8
inline constexpr std::size_t kNameLength = 0x09;      // u8
inline constexpr std::size_t kNameOffset = 0x0A;      // u16
inline constexpr std::size_t kValueLength = 0x10;     // u32, resident
inline constexpr std::size_t kValueOffset = 0x14;     // u16, resident
inline constexpr std::size_t kLowestVcn = 0x10;       // u64, non-resident
inline constexpr std::size_t kHighestVcn = 0x18;      // u64, non-resident
inline constexpr std::size_t kRunListOffset = 0x20;   // u16, non-resident
inline constexpr std::size_t kCompressionUnit = 0x22; // u16, non-resident
inline constexpr std::size_t kRealSize = 0x30;        // u64, non-resident

inline constexpr std::uint32_t kEndMarker = 0xFFFFFFFF;
inline constexpr std::uint32_t kStandardInformation = 0x10;
inline constexpr std::uint32_t kAttributeList = 0x20;
inline constexpr std::uint32_t kFileName = 0x30;
inline constexpr std::uint32_t kData = 0x80;
inline constexpr std::uint32_t kIndexRoot = 0x90;
}  // namespace attr

// One attribute: its bytes from the header to its declared end, which the
// walk has proved to lie inside the record. Fields a short (damaged) header
// does not hold read as 0.
class Attribute {
 public:
  Attribute(std::span<const std::uint8_t> bytes, std::size_t offset, std::uint32_t type)
      : r_(bytes), offset_(offset), type_(type) {}

  std::size_t offset() const { return offset_; }  // within the record
  std::uint32_t type() const { return type_; }
  std::span<const std::uint8_t> bytes() const { return r_.bytes(); }
  const ByteReader& reader() const { return r_; }

  bool non_resident() const { return r_.U8(attr::kNonResident).value_or(0) != 0; }
  std::uint8_t name_length() const { return r_.U8(attr::kNameLength).value_or(0); }
  std::uint16_t name_offset() const { return r_.U16(attr::kNameOffset).value_or(0); }
  // The unnamed stream: name length 0, or (as old records have it) name offset 0.
  bool unnamed() const { return name_length() == 0 || name_offset() == 0; }

  std::uint32_t value_length() const { return r_.U32(attr::kValueLength).value_or(0); }
  std::uint16_t value_offset() const { return r_.U16(attr::kValueOffset).value_or(0); }
  // The resident value, or nullopt when it does not lie inside the attribute.
  std::optional<ByteReader> Value() const { return r_.Sub(value_offset(), value_length()); }

  std::uint64_t lowest_vcn() const { return r_.U64(attr::kLowestVcn).value_or(0); }
  std::uint64_t highest_vcn() const { return r_.U64(attr::kHighestVcn).value_or(0); }
  std::uint16_t run_list_offset() const { return r_.U16(attr::kRunListOffset).value_or(0); }
  std::uint16_t compression_unit() const { return r_.U16(attr::kCompressionUnit).value_or(0); }
  std::uint64_t real_size() const { return r_.U64(attr::kRealSize).value_or(0); }

 private:
  ByteReader r_;
  std::size_t offset_;
  std::uint32_t type_;
};

// Walks the attributes of a record that passed CheckFileRecord, from the
// first attribute offset while the offset is below the bytes in use. Ends at
// the end marker, and (for damaged records) at a zero length or an attribute
// that reaches past the record.
class AttributeWalker {
 public:
  explicit AttributeWalker(std::span<const std::uint8_t> record);
  std::optional<Attribute> Next();

 private:
  ByteReader r_;
  std::size_t offset_ = 0;
  std::size_t end_ = 0;
};

}  // namespace salvor

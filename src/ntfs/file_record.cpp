#include "ntfs/file_record.h"

#include "disk/byte_reader.h"
#include "ntfs/attribute.h"
#include "ntfs/update_sequence.h"

namespace salvor {
namespace {

// Where the first attribute of a record lies: behind the update sequence
// array, padded to 8 bytes (the old header's offset 0x2A is 2 short of 8).
std::size_t ExpectedFirstAttribute(std::uint16_t usa_offset, std::uint16_t usa_count) {
  std::size_t padded = (std::size_t{2} * usa_count + 7) / 8 * 8;
  if (usa_offset == file_record::kOldHeader) padded -= 2;
  return usa_offset + padded;
}

bool ValidAttributeType(std::uint32_t type) {
  return (type % 0x10 == 0 && type >= 0x10 && type <= 0xF0) || type == 0x100;
}

}  // namespace

bool CheckFileRecord(std::span<std::uint8_t> record) {
  using namespace file_record;
  ByteReader r(record);
  const std::size_t size = record.size();
  if (!r.Has(0, 0x30)) return false;
  if (LoadU32(record.data() + kMagic) != 0x454C4946) return false;  // "FILE"

  const std::uint16_t usa_offset = *r.U16(kUpdateSequenceOffset);
  const std::uint16_t usa_count = *r.U16(kUpdateSequenceCount);
  if (usa_offset != kOldHeader && usa_offset != kNewHeader) return false;
  if (usa_count != static_cast<std::uint16_t>(UpdateSequenceCount(size))) return false;

  const std::uint16_t first = *r.U16(kFirstAttribute);
  if (first % 8 != 0 || first != ExpectedFirstAttribute(usa_offset, usa_count)) return false;

  const std::uint32_t in_use = *r.U32(kBytesInUse);
  const std::uint32_t allocated = *r.U32(kBytesAllocated);
  if (in_use > allocated || allocated != size || in_use % 8 != 0 || allocated % 8 != 0)
    return false;

  if (!ApplyUpdateSequence(record, usa_offset, usa_count, in_use)) return false;

  // Every attribute in front of the bytes in use must look like one.
  std::size_t offset = first;
  for (;;) {
    if (offset >= in_use || !r.Has(offset, 8)) break;
    const std::uint32_t type = LoadU32(record.data() + offset);
    if (type == attr::kEndMarker) break;
    const std::uint32_t length = LoadU32(record.data() + offset + 4);
    if (!ValidAttributeType(type) || length == 0 || length % 8 != 0) return false;
    if (offset + length >= in_use) break;  // stays at the last attribute
    offset += length;
  }
  return offset != first;
}

std::uint16_t FileRecordFlags(std::span<const std::uint8_t> record) {
  return ByteReader(record).U16(file_record::kFlags).value_or(0);
}
std::uint64_t BaseRecordReference(std::span<const std::uint8_t> record) {
  return ByteReader(record).U64(file_record::kBaseReference).value_or(0);
}
std::uint16_t UpdateSequenceOffset(std::span<const std::uint8_t> record) {
  return ByteReader(record).U16(file_record::kUpdateSequenceOffset).value_or(0);
}
std::uint32_t HeaderRecordNumber(std::span<const std::uint8_t> record) {
  return ByteReader(record).U32(file_record::kRecordNumber).value_or(0);
}

}  // namespace salvor

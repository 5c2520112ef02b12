#include "ntfs/index_record.h"

#include "disk/byte_reader.h"
#include "ntfs/update_sequence.h"

namespace salvor {

bool CheckIndexRecord(std::span<std::uint8_t> record) {
  using namespace index_record;
  ByteReader r(record);
  if (!r.Has(0, 0x28)) return false;
  if (LoadU32(record.data() + kMagic) != 0x58444E49) return false;  // "INDX"
  const std::uint16_t usa_offset = *r.U16(kUpdateSequenceOffset);
  const std::uint16_t usa_count = *r.U16(kUpdateSequenceCount);
  if (usa_offset % 8 != 0) return false;
  if (usa_count != static_cast<std::uint16_t>(UpdateSequenceCount(record.size()))) return false;

  const std::uint32_t entries = *r.U32(kEntriesOffset);
  const std::uint32_t length = *r.U32(kIndexLength);
  const std::uint32_t allocated = *r.U32(kAllocatedLength);
  if (entries % 8 != 0 || length > allocated || length % 8 != 0 || allocated % 8 != 0)
    return false;
  const std::size_t protected_bytes = std::size_t{length} + kNodeHeader;
  if (protected_bytes > record.size()) return false;

  return ApplyUpdateSequence(record, usa_offset, usa_count, protected_bytes);
}

}  // namespace salvor

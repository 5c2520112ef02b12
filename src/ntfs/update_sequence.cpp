#include "ntfs/update_sequence.h"

#include "disk/byte_reader.h"

namespace salvor {

bool ApplyUpdateSequence(std::span<std::uint8_t> record, std::size_t array_offset,
                         std::size_t count, std::size_t protected_bytes) {
  ByteReader r(record);
  if (count == 0 || !r.Has(array_offset, 2 * count)) return false;
  const std::uint8_t* array = record.data() + array_offset;
  const std::uint16_t number = LoadU16(array);
  for (std::size_t k = 1; k * kUpdateSequenceStride <= protected_bytes; ++k) {
    const std::size_t at = k * kUpdateSequenceStride - 2;
    if (k >= count || !r.Has(at, 2)) return false;
    if (LoadU16(record.data() + at) != number) return false;
    record[at] = array[2 * k];
    record[at + 1] = array[2 * k + 1];
  }
  return true;
}

}  // namespace salvor

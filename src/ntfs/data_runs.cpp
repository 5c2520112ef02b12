#include "ntfs/data_runs.h"

#include "disk/byte_reader.h"

namespace salvor {

std::size_t DecodeRuns(std::span<const std::uint8_t> attribute, std::size_t run_list_offset,
                       RunList& list) {
  ByteReader r(attribute);
  std::size_t pos = run_list_offset;
  std::uint64_t lcn = 0;
  std::size_t added = 0;
  for (;;) {
    auto header = r.U8(pos);
    if (!header || *header == 0) break;
    const unsigned length_bytes = *header & 0x0F;
    const unsigned offset_bytes = *header >> 4;
    if (length_bytes > kMaxRunLengthBytes || offset_bytes > kMaxRunOffsetBytes) break;
    if (!r.Has(pos + 1, std::size_t{length_bytes} + offset_bytes)) break;

    Run run;
    if (length_bytes != 0) run.length = *r.UIntN(pos + 1, length_bytes);
    if (offset_bytes != 0) {
      // Wrapping add: a damaged list may walk "below 0"; the run then points
      // somewhere the sector source will refuse or read as garbage, as any
      // other damaged list does.
      lcn += static_cast<std::uint64_t>(*r.SIntN(pos + 1 + length_bytes, offset_bytes));
      run.lcn = lcn;
    }
    list.push_back(run);
    ++added;
    pos += 1 + length_bytes + offset_bytes;
  }
  return added;
}

std::int32_t Power(std::int32_t base, std::int32_t exponent) {
  std::int64_t e = exponent;
  const bool negative = e < 0;
  if (negative) e = -e;
  // Square-and-multiply in unsigned arithmetic so that overflow wraps like
  // the 32-bit integers the field is defined in.
  std::uint32_t result = 1;
  std::uint32_t b = static_cast<std::uint32_t>(base);
  while (e > 0) {
    if (e & 1) result *= b;
    b *= b;
    e >>= 1;
  }
  const auto signed_result = static_cast<std::int32_t>(result);
  if (!negative) return signed_result;
  if (signed_result == 0) return 0;
  if (signed_result == -1) return -1;  // 1 / -1, without the INT_MIN / -1 trap
  return 1 / signed_result;
}

std::uint32_t CompressionUnitClusters(std::uint16_t compression_unit_field) {
  return static_cast<std::uint32_t>(Power(2, compression_unit_field));
}

}  // namespace salvor

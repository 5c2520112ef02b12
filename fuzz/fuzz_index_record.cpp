// CheckIndexRecord on one INDX record. Input: the record; its length rounded
// down to 512 bytes (at least 512, at most 64 KiB) is the index record size.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ntfs/index_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t record_size = std::clamp<std::size_t>(size / 512 * 512, 512, 65536);
  std::vector<std::uint8_t> record(data, data + std::min(size, record_size));
  record.resize(record_size, 0);
  salvor::CheckIndexRecord(record);
  // The same bytes as a record of exactly their own length.
  std::vector<std::uint8_t> exact(data, data + std::min<std::size_t>(size, 65536));
  salvor::CheckIndexRecord(exact);
  return 0;
}

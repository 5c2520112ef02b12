// DecodeRuns on an attribute's bytes, and the record locator over the runs.
// Input: byte 0 is the run list offset, the rest the attribute.

#include <cstddef>
#include <cstdint>
#include <span>

#include "ntfs/data_runs.h"
#include "ntfs/mft_locator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::span<const std::uint8_t> attribute(data + 1, size - 1);
  salvor::RunList runs = {salvor::Run{3, 7}};  // appending to a list that holds runs
  salvor::DecodeRuns(attribute, data[0], runs);
  salvor::DecodeRuns(attribute, 0, runs);

  salvor::CurrentVolume v;
  v.first_sector = 63;
  v.sectors_per_cluster = 8;
  v.sectors_per_file_record = 2;
  for (std::uint32_t record : {0u, 1u, 16u, 1000u, 0xFFFFFFFFu}) {
    (void)salvor::MftRecordSector(runs, v, record);
  }
  if (size >= 3) {
    (void)salvor::Power(static_cast<std::int8_t>(data[1]), static_cast<std::int8_t>(data[2]));
  }
  return 0;
}

// The thorough lost-partition search over an arbitrary small disk: boot
// sectors with hostile sizes, FILE records with hostile headers and
// attributes, and the pairing of whatever $MFT/$MFTMirr copies they make.
// Reads past the input's end see zeros, as on a short image.

#include <cstddef>
#include <cstdint>

#include "disk/host.h"
#include "fuzz/memory_block_device.h"
#include "partitions/partition_search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 18)) return 0;
  salvor::SilentHost host;
  salvor::RunControl run;
  salvor::EngineState state(host, run);
  state.source.Attach(std::make_unique<salvor::fuzz::MemoryBlockDevice>(std::span(data, size)),
                      "fuzz", 512);
  const std::uint64_t sectors = state.source.total_sectors();
  salvor::ThoroughScanPartitions(state, 0, sectors, {});
  salvor::QuickScanPartitions(state, 0, sectors, {});
  return 0;
}

// Boot sector test, geometry and the MBR/EBR walk over an arbitrary disk.
// Input: a small disk image; reads past its end see zeros, as on a short image.

#include <cstddef>
#include <cstdint>

#include "disk/host.h"
#include "fuzz/memory_block_device.h"
#include "partitions/source_volumes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 20)) return 0;
  salvor::SilentHost host;
  salvor::RunControl run;
  salvor::EngineState state(host, run);
  state.source.Attach(std::make_unique<salvor::fuzz::MemoryBlockDevice>(std::span(data, size)),
                      "fuzz", 512);
  salvor::ListSourceVolumes(state, false);
  for (const auto& v : state.partitions) {
    salvor::CurrentVolume c = salvor::SelectVolume(v, state.source.bytes_per_sector());
    (void)c;
  }
  return 0;
}

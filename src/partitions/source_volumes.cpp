#include "partitions/source_volumes.h"

#include <vector>

#include "disk/byte_reader.h"
#include "ntfs/boot_sector.h"
#include "partitions/partition_table.h"

namespace salvor {

VolumeListing ListSourceVolumes(EngineState& state, bool sector_size_fixed) {
  if (ReadPartitionTable(state)) return VolumeListing::kPartitionTable;

  std::vector<std::uint8_t> boot(std::max<std::size_t>(state.source.bytes_per_sector(), 512), 0);
  state.source.ReadSectors(boot, 0);
  if (!IsNtfsBootSector(boot)) return VolumeListing::kNone;

  std::uint16_t boot_bps = *ByteReader(boot).U16(boot::kBytesPerSector);
  if (!sector_size_fixed && boot_bps != 0 && boot_bps != state.source.bytes_per_sector())
    state.source.SetBytesPerSector(boot_bps);
  std::uint64_t total = *ByteReader(boot).U64(boot::kTotalSectors);
  state.partitions.push_back(VolumeFromBootSector(boot, 0, total, state.source.bytes_per_sector(),
                                                  GeometryOrigin::kPartitionTable));
  return VolumeListing::kSingleVolume;
}

}  // namespace salvor

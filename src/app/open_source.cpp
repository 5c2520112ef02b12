#include "app/open_source.h"

#include <algorithm>
#include <vector>

#include "disk/block_device.h"
#include "disk/byte_reader.h"
#include "disk/texts.h"
#include "ntfs/boot_sector.h"

namespace salvor {

OperationStatus OpenSource(EngineState& state, const std::string& path,
                           std::uint16_t forced_sector_size) {
  ResetSource(state);
  OpenResult opened = OpenBlockDeviceReadOnly(path);
  if (!opened.device)
    return OperationStatus::Failed(
        Format(text::kCannotOpenSourceBecause, path.c_str(), ErrorText(opened.error).c_str()));
  SectorSource& source = state.source;
  bool ok = false;
  if (opened.device->IsBlockDevice()) {
    std::uint32_t bps = opened.device->LogicalSectorSize();
    if (bps == 0) bps = 512;
    const std::uint64_t size = opened.device->SizeBytes();
    opened.device.reset();
    ok = source.OpenDisk(path, static_cast<std::uint16_t>(bps), size / bps);
  } else {
    opened.device.reset();
    ok = source.OpenImage(path);
  }
  if (!ok) return OperationStatus::Failed(Format(text::kCannotOpenSource, path.c_str()));
  if (forced_sector_size != 0) source.SetBytesPerSector(forced_sector_size);
  return OperationStatus::Completed();
}

VolumeAtSector ReadVolumeAt(EngineState& state, std::uint64_t sector) {
  SectorSource& source = state.source;
  std::vector<std::uint8_t> boot(std::max<std::size_t>(source.bytes_per_sector(), 512), 0);
  try {
    source.ReadSectors(boot, sector);
  } catch (const UserException&) {
    return {OperationStatus::Failed(), std::nullopt};
  }
  if (!IsNtfsBootSector(boot)) return {};
  const std::uint64_t total = *ByteReader(boot).U64(boot::kTotalSectors);
  return {{},
          VolumeFromBootSector(boot, sector, total, source.bytes_per_sector(),
                               GeometryOrigin::kPartitionTable)};
}

}  // namespace salvor

#include "app/volume_source.h"

#include "disk/block_device.h"
#include "disk/texts.h"
#include "ntfs/locate_mft.h"
#include "partitions/source_volumes.h"

namespace salvor {

bool OpenSourcePath(EngineState& state, const std::string& path, std::string& error) {
  ResetSource(state);
  OpenResult opened = OpenBlockDeviceReadOnly(path);
  if (!opened.device) {
    error = path + ": " + ErrorText(opened.error);
    return false;
  }
  bool ok = false;
  if (opened.device->IsBlockDevice()) {
    std::uint32_t bps = opened.device->LogicalSectorSize();
    if (bps == 0) bps = 512;
    const std::uint64_t size = opened.device->SizeBytes();
    opened.device.reset();
    ok = state.source.OpenDisk(path, static_cast<std::uint16_t>(bps), size / bps);
  } else {
    opened.device.reset();
    ok = state.source.OpenImage(path);
  }
  if (!ok) {
    error = path;
    return false;
  }
  try {
    ListSourceVolumes(state, false);
  } catch (const UserException&) {
    return false;  // the sector source has said why
  }
  return true;
}

std::optional<ChosenVolume> ChooseDrive(EngineState& state, unsigned drive, std::string& error) {
  if (drive == 0 || drive > state.partitions.size()) {
    error = Format(text::kNoSuchVolume, "The source", drive, state.partitions.size());
    return std::nullopt;
  }
  state.volume = SelectVolume(state.partitions[drive - 1], state.source.bytes_per_sector());
  ChosenVolume chosen;
  chosen.name = Format(text::kLogicalDrive, drive);
  try {
    chosen.mft_found = LocateMft(state);
  } catch (const UserException&) {
    chosen.mft_found = false;
  }
  return chosen;
}

}  // namespace salvor

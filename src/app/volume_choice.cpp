#include "app/volume_choice.h"

#include "app/open_source.h"
#include "disk/texts.h"
#include "ntfs/locate_mft.h"

namespace salvor {
namespace {

ChosenVolume Refused(std::string why) { return {OperationStatus::Failed(std::move(why)), 0}; }

}  // namespace

ChosenVolume ChooseVolume(EngineState& state, const VolumeChoice& choice,
                          const std::string& source_name, bool require_mft) {
  unsigned drive = 0;
  VolumeInfo chosen;
  if (choice.start_sector) {
    for (std::size_t i = 0; i < state.partitions.size() && drive == 0; ++i) {
      if (state.partitions[i].first_sector == *choice.start_sector) {
        drive = static_cast<unsigned>(i + 1);
        chosen = state.partitions[i];
      }
    }
    if (drive == 0) {
      VolumeAtSector found = ReadVolumeAt(state, *choice.start_sector);
      if (found.status.failed()) return {found.status, 0};
      if (!found.volume)
        return Refused(Format(text::kNoBootSectorAt,
                              static_cast<unsigned long long>(*choice.start_sector),
                              source_name.c_str()));
      chosen = *found.volume;
    }
  } else {
    if (choice.drive == 0 || choice.drive > state.partitions.size())
      return Refused(
          Format(text::kNoSuchVolume, source_name.c_str(), choice.drive, state.partitions.size()));
    drive = choice.drive;
    chosen = state.partitions[drive - 1];
  }
  state.volume = SelectVolume(chosen, state.source.bytes_per_sector());
  try {
    if (!LocateMft(state) && require_mft)
      return Refused(
          Format(text::kMftNotFound, static_cast<unsigned long long>(chosen.first_sector)));
  } catch (const UserException&) {
    return Refused({});  // the sector source has said why
  }
  return {OperationStatus::Completed(), drive};
}

}  // namespace salvor

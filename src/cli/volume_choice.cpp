#include "cli/volume_choice.h"

#include <cstdio>
#include <vector>

#include "disk/byte_reader.h"
#include "disk/texts.h"
#include "ntfs/boot_sector.h"
#include "ntfs/locate_mft.h"
#include "partitions/source_volumes.h"

namespace salvor::cli {
namespace {

void Complain(const std::string& text) {
  std::fprintf(stderr, "salvor-cli: %s\n", text.c_str());
}

// The volume whose boot sector lies at `sector`, as the partition table
// reader would describe it.
std::optional<VolumeInfo> VolumeAt(CliContext& ctx, std::uint64_t sector) {
  SectorSource& source = ctx.state.source;
  std::vector<std::uint8_t> boot(std::max<std::size_t>(source.bytes_per_sector(), 512), 0);
  source.ReadSectors(boot, sector);
  if (!IsNtfsBootSector(boot)) return std::nullopt;
  const std::uint64_t total = *ByteReader(boot).U64(boot::kTotalSectors);
  return VolumeFromBootSector(boot, sector, total, source.bytes_per_sector(),
                              GeometryOrigin::kPartitionTable);
}

}  // namespace

void AddVolumeOptions(CLI::App* cmd, VolumeChoice& choice) {
  auto* drive =
      cmd->add_option("--volume", choice.drive, "Volume N of the partition list (default 1)")
          ->check(CLI::PositiveNumber);
  auto* start = cmd->add_option_function<std::uint64_t>(
      "--volume-start", [&choice](const std::uint64_t& s) { choice.start_sector = s; },
      "The volume whose boot sector lies at SECTOR");
  drive->excludes(start);
}

std::optional<unsigned> ChooseVolume(CliContext& ctx, const VolumeChoice& choice,
                                     const std::string& source_name, bool require_mft) {
  try {
    ListSourceVolumes(ctx.state, ctx.options.sector_size != 0);
  } catch (const UserException&) {
    return std::nullopt;  // the sector source has said why
  }
  return ChooseListedVolume(ctx, choice, source_name, require_mft);
}

std::optional<unsigned> ChooseListedVolume(CliContext& ctx, const VolumeChoice& choice,
                                           const std::string& source_name, bool require_mft) {
  EngineState& state = ctx.state;
  unsigned drive = 0;
  VolumeInfo chosen;
  try {
    if (choice.start_sector) {
      for (std::size_t i = 0; i < state.partitions.size() && drive == 0; ++i) {
        if (state.partitions[i].first_sector == *choice.start_sector) {
          drive = static_cast<unsigned>(i + 1);
          chosen = state.partitions[i];
        }
      }
      if (drive == 0) {
        std::optional<VolumeInfo> found = VolumeAt(ctx, *choice.start_sector);
        if (!found) {
          Complain(Format(text::kNoBootSectorAt,
                          static_cast<unsigned long long>(*choice.start_sector),
                          source_name.c_str()));
          return std::nullopt;
        }
        chosen = *found;
      }
    } else {
      if (choice.drive == 0 || choice.drive > state.partitions.size()) {
        Complain(Format(text::kNoSuchVolume, source_name.c_str(), choice.drive,
                        state.partitions.size()));
        return std::nullopt;
      }
      drive = choice.drive;
      chosen = state.partitions[drive - 1];
    }
  } catch (const UserException&) {
    return std::nullopt;  // the sector source has said why
  }
  state.volume = SelectVolume(chosen, state.source.bytes_per_sector());
  if (!LocateMft(state) && require_mft) {
    Complain(Format(text::kMftNotFound, static_cast<unsigned long long>(chosen.first_sector)));
    return std::nullopt;
  }
  return drive;
}

}  // namespace salvor::cli

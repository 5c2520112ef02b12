#pragma once
// What the wizard hands to the main frame when it finishes: which task the
// user chose and everything the frame needs to start it. The engine state
// the wizard was given is left with the source open (and, for recoveries, the
// chosen volume selected and its $MFT located).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "disk/host.h"
#include "ntfs/volume_info.h"
#include "partitions/copy_destination.h"

namespace salvor::ui {

enum class WizardTaskKind : std::uint8_t {
  kRecoverDisk = 0,
  kRecoverImage = 1,
  kCloneDisk = 2,
  kImageDisk = 3,
  kNone = 0xFF,
};

struct WizardTask {
  WizardTaskKind kind = WizardTaskKind::kNone;
  std::string source_path;  // disk device or image file, open in the engine state
  std::uint16_t bytes_per_sector = 0;
  std::uint64_t total_sectors = 0;

  // Recoveries: the listed volumes (partition table or search) and the chosen one.
  std::vector<VolumeInfo> volumes;
  std::size_t volume_index = 0;
  unsigned drive_number = 0;  // "NTFS logical drive %u" of the chosen volume
  // The volume's boot sector or $MFT was not found: the frame runs Turbo Scan
  // on it instead of the Basic Scan.
  bool turbo = false;

  // Copies: the clone target disk or the image file, already open for writing.
  std::string destination_path;
  std::shared_ptr<CopyDestination> destination;

  // The process log record of the last step ("Selected %s", "Cloning Disk #[...]").
  LogEntry log;
};

}  // namespace salvor::ui

#pragma once
// The one sector source every engine reads through: a disk or an image file,
// opened read-only, read by sector address with media errors logged and
// skipped and any other error shown and raised as UserException.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "disk/block_device.h"
#include "disk/disk_info.h"
#include "disk/host.h"
#include "disk/run_control.h"

namespace salvor {

// Raised after the user has been told of a failure; the loop that started the
// operation catches it and ends with what it has.
class UserException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Result codes of ReadSectors besides 0.
inline constexpr std::uint32_t kDataError = 23;       // CRC / unreadable data
inline constexpr std::uint32_t kSectorNotFound = 27;  // address the medium cannot find

// Which errno values are media errors. A failing sector on Linux surfaces as
// EIO (most drivers), ENODATA (SCSI "critical medium error"), EBADMSG or
// EILSEQ (ECC / protection information failures): those are data errors.
// ENXIO ("no such device or address") is what a read of an address the device
// cannot reach gives: sector not found. Anything else (EBADF, ENODEV, ...)
// means the source itself is gone and the operation must stop.
std::uint32_t MediaErrorClass(int error);  // 23, 27, or 0 for "not a media error"

class SectorSource {
 public:
  SectorSource(Host& host, const RunControl& run) : host_(&host), run_(&run) {}

  // Opens a disk whose sector size and sector count the disk list gave.
  bool OpenDisk(const std::string& path, std::uint16_t bytes_per_sector,
                std::uint64_t total_sectors);
  // Opens an image file and takes its sector size from the stamp at 0x1BC.
  bool OpenImage(const std::string& path);
  // Uses an already opened device (tests inject fault doubles here).
  void Attach(std::unique_ptr<BlockDevice> device, const std::string& path,
              std::uint16_t bytes_per_sector);
  void Reset();

  bool IsOpen() const { return device_ != nullptr; }
  const DiskInfo& info() const { return info_; }
  std::uint16_t bytes_per_sector() const { return info_.bytes_per_sector; }
  std::uint64_t total_sectors() const { return info_.total_sectors; }
  BlockDevice* device() const { return device_.get(); }
  // True when the opened image carried a sector-size stamp we accept.
  bool has_sector_size_stamp() const { return stamp_valid_; }
  // Overrides the sector size (e.g. a forced size, or one from a boot sector).
  void SetBytesPerSector(std::uint16_t bytes_per_sector);

  std::uint32_t ReadSectors(std::span<std::uint8_t> buffer, std::uint64_t sector);
  int ReadSectorsOnce(std::span<std::uint8_t> buffer, std::uint64_t sector);
  bool ReadImageSectorSize();

  Host& host() const { return *host_; }
  const RunControl& run() const { return *run_; }

 private:
  void UpdateTotalSectors();

  Host* host_;
  const RunControl* run_;
  std::unique_ptr<BlockDevice> device_;
  DiskInfo info_;
  bool stamp_valid_ = false;
};

// The size of a disk in bytes, asked of the device itself. Shows the
// specified messages on failure.
std::optional<std::uint64_t> QueryDiskSize(Host& host, const std::string& device_path);

// The accepted sector-size stamp of an image's first sector, or 512.
std::uint16_t SectorSizeFromStamp(std::uint16_t stamp, bool* valid = nullptr);


}  // namespace salvor

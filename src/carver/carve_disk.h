#pragma once
// The disk Trawler scans (one at a time) and the scan's own sector reader.
// The reader treats a vanished device as the end of the process: it tells the
// user and raises DiskDisconnected, which handlers pass on and the scan catches.

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include "disk/block_device.h"
#include "disk/host.h"

namespace salvor::carver {

struct CarveDisk {
  std::string device_path;
  std::unique_ptr<BlockDevice> device;
  std::uint64_t total_sectors = 0;
  std::uint16_t sector_size = 512;
  std::string model_text;
  std::string size_text;
};

struct OpenDiskResult {
  bool ok = false;
  int error = 0;  // errno when !ok
};

// Opens a device or an image file read-only. The sector size is the forced
// one when nonzero, else the device's logical sector size, else 512; the
// total is the whole sectors of the medium.
OpenDiskResult OpenCarveDisk(CarveDisk& disk, const std::string& path,
                             std::uint16_t forced_sector_size = 0);
// Uses an opened device (tests and fuzzing attach memory devices).
void AttachCarveDisk(CarveDisk& disk, std::unique_ptr<BlockDevice> device,
                     std::uint16_t sector_size, std::string path = {});

class DiskDisconnected : public std::runtime_error {
 public:
  DiskDisconnected() : std::runtime_error("source disk disconnected") {}
};

// errno values that mean the medium went away rather than one read failing.
bool IsDisconnection(int error);

class SectorReader {
 public:
  SectorReader(CarveDisk& disk, Host& host) : disk_(&disk), host_(&host) {}

  // Reads buffer.size() bytes from first_sector on. The buffer is cleared
  // where the read cannot deliver (beyond the medium, or a failed read), so
  // callers always work on zeros there. Returns 0 or the errno.
  int Read(std::span<std::uint8_t> buffer, std::uint64_t first_sector);
  // Read without the disconnection handling: any failure is only returned, so
  // that a read ahead of need can be retried in the parts that are needed.
  int TryRead(std::span<std::uint8_t> buffer, std::uint64_t first_sector);

  std::uint64_t total_sectors() const { return disk_->total_sectors; }
  std::uint32_t sector_size() const { return disk_->sector_size; }
  std::uint64_t reads() const { return reads_; }

 private:
  CarveDisk* disk_;
  Host* host_;
  std::uint64_t reads_ = 0;
};

}  // namespace salvor::carver

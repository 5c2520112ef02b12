#include "carver/carve_disk.h"

#include <cerrno>
#include <cstring>

#include "carver/texts.h"

namespace salvor::carver {

OpenDiskResult OpenCarveDisk(CarveDisk& disk, const std::string& path,
                             std::uint16_t forced_sector_size) {
  disk = CarveDisk{};
  OpenResult opened = OpenBlockDeviceReadOnly(path);
  if (!opened.device) return {false, opened.error};
  std::uint16_t sector_size = forced_sector_size;
  if (sector_size == 0) {
    std::uint32_t logical = opened.device->LogicalSectorSize();
    sector_size = (logical > 0 && logical <= 0x8000) ? static_cast<std::uint16_t>(logical) : 512;
  }
  AttachCarveDisk(disk, std::move(opened.device), sector_size, path);
  return {true, 0};
}

void AttachCarveDisk(CarveDisk& disk, std::unique_ptr<BlockDevice> device,
                     std::uint16_t sector_size, std::string path) {
  disk.device_path = std::move(path);
  disk.sector_size = sector_size == 0 ? 512 : sector_size;
  disk.total_sectors = device ? device->SizeBytes() / disk.sector_size : 0;
  disk.device = std::move(device);
}

bool IsDisconnection(int error) {
  return error == ENODEV || error == ENXIO || error == ENOMEDIUM;
}

int SectorReader::Read(std::span<std::uint8_t> buffer, std::uint64_t first_sector) {
  const int error = TryRead(buffer, first_sector);
  if (IsDisconnection(error)) {
    host_->ShowMessage(MessageIcon::kError, text::kCaptionError, text::kDiskDisconnected);
    throw DiskDisconnected();
  }
  return error;
}

int SectorReader::TryRead(std::span<std::uint8_t> buffer, std::uint64_t first_sector) {
  if (buffer.empty()) return 0;
  BlockDevice* device = disk_->device.get();
  const std::uint64_t size = device ? device->SizeBytes() : 0;
  const std::uint64_t sector_size = disk_->sector_size;
  // Offsets past the medium (or past 64 bits) hold nothing to read.
  if (first_sector > size / sector_size) {
    std::memset(buffer.data(), 0, buffer.size());
    return 0;
  }
  const std::uint64_t offset = first_sector * sector_size;
  // The device leaves bytes it cannot deliver untouched: clear them first
  // unless the whole range lies inside the medium.
  const bool inside = buffer.size() <= size - offset;
  if (!inside) std::memset(buffer.data(), 0, buffer.size());
  ++reads_;
  const int error = device->ReadAt(buffer, offset);
  if (error != 0) std::memset(buffer.data(), 0, buffer.size());
  return error;
}

}  // namespace salvor::carver

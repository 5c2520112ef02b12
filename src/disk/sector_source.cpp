#include "disk/sector_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "disk/byte_reader.h"
#include "disk/texts.h"

namespace salvor {

std::uint32_t MediaErrorClass(int error) {
  switch (error) {
    case EIO:
    case ENODATA:
    case EBADMSG:
    case EILSEQ:
      return kDataError;
    case ENXIO:
      return kSectorNotFound;
    default:
      return 0;
  }
}

std::uint16_t SectorSizeFromStamp(std::uint16_t stamp, bool* valid) {
  // Only real sector sizes count: a raw image made elsewhere has boot code or
  // zeros at this offset, and a value like 69 would shred every read.
  bool ok = stamp == 512 || stamp == 1024 || stamp == 2048 || stamp == 4096;
  if (valid) *valid = ok;
  return ok ? stamp : 512;
}

bool SectorSource::OpenDisk(const std::string& path, std::uint16_t bytes_per_sector,
                            std::uint64_t total_sectors) {
  Reset();
  OpenResult opened = OpenBlockDeviceReadOnly(path);
  if (!opened.device) return false;
  device_ = std::move(opened.device);
  info_.device_path = Utf8ToUtf16(path).substr(0, kDevicePathUnits);
  info_.handle = 1;
  info_.bytes_per_sector = bytes_per_sector;
  info_.total_sectors = total_sectors;
  return true;
}

bool SectorSource::OpenImage(const std::string& path) {
  Reset();
  OpenResult opened = OpenBlockDeviceReadOnly(path);
  if (!opened.device) return false;
  Attach(std::move(opened.device), path, 512);
  ReadImageSectorSize();
  UpdateTotalSectors();
  return true;
}

void SectorSource::Attach(std::unique_ptr<BlockDevice> device, const std::string& path,
                          std::uint16_t bytes_per_sector) {
  device_ = std::move(device);
  info_ = DiskInfo{};
  info_.device_path = Utf8ToUtf16(path).substr(0, kDevicePathUnits);
  info_.handle = 1;
  info_.bytes_per_sector = bytes_per_sector;
  stamp_valid_ = false;
  UpdateTotalSectors();
}

void SectorSource::Reset() {
  device_.reset();
  info_ = DiskInfo{};
  stamp_valid_ = false;
}

void SectorSource::SetBytesPerSector(std::uint16_t bytes_per_sector) {
  info_.bytes_per_sector = bytes_per_sector;
  UpdateTotalSectors();
}

void SectorSource::UpdateTotalSectors() {
  if (device_ && info_.bytes_per_sector != 0)
    info_.total_sectors = device_->SizeBytes() / info_.bytes_per_sector;
}

bool SectorSource::ReadImageSectorSize() {
  std::vector<std::uint8_t> first(512, 0);
  try {
    // A stop request must not turn this read into a silent zero stamp; the
    // read is one sector, so the retry path cannot change the result.
    ReadSectors(first, 0);
  } catch (const UserException&) {
    return false;
  }
  std::uint16_t stamp = *ByteReader(first).U16(0x1BC);
  info_.bytes_per_sector = SectorSizeFromStamp(stamp, &stamp_valid_);
  return true;
}

int SectorSource::ReadSectorsOnce(std::span<std::uint8_t> buffer, std::uint64_t sector) {
  int code = device_ ? device_->ReadAt(buffer, std::uint64_t{info_.bytes_per_sector} * sector)
                     : EBADF;
  if (code == 0) return 0;
  LogEntry entry;
  entry.text = Format(text::kDriveAccessError, static_cast<unsigned long long>(sector),
                      static_cast<unsigned>(code));
  entry.detail = ErrorText(code);
  entry.kind = LogKind::kFailure;
  host_->AddLogEntry(entry);
  return code;
}

std::uint32_t SectorSource::ReadSectors(std::span<std::uint8_t> buffer, std::uint64_t sector) {
  int first = ReadSectorsOnce(buffer, sector);
  if (first == 0) return 0;
  if (buffer.empty()) return static_cast<std::uint32_t>(first);

  const std::size_t step = info_.bytes_per_sector ? info_.bytes_per_sector : 512;
  std::uint32_t last = 0;
  for (std::size_t at = 0; at < buffer.size(); at += step, ++sector) {
    if (!run_->IsRunning()) return 0;
    std::size_t n = std::min(step, buffer.size() - at);
    int code = ReadSectorsOnce(buffer.subspan(at, n), sector);
    if (code == 0) {
      last = 0;
      continue;
    }
    last = MediaErrorClass(code);
    if (last == 0) {
      host_->ShowMessage(MessageIcon::kError, text::kCaptionError, ErrorText(code));
      throw UserException(ErrorText(code));
    }
    // The failed whole-request read may have left part of this sector
    // behind; an unreadable sector reads as zeros, whatever the buffer held.
    std::fill_n(buffer.begin() + static_cast<std::ptrdiff_t>(at), n, std::uint8_t{0});
  }
  return last;
}

std::optional<std::uint64_t> QueryDiskSize(Host& host, const std::string& device_path) {
  OpenResult opened = OpenBlockDeviceReadOnly(device_path);
  if (!opened.device) {
    host.ShowMessage(MessageIcon::kInformation, text::kCaptionInformation,
                     Format(text::kDiskOpeningError, static_cast<unsigned>(opened.error)));
    return std::nullopt;
  }
  std::uint64_t size = opened.device->SizeBytes();
  if (opened.device->IsBlockDevice() && size == 0) {
    host.ShowMessage(MessageIcon::kError, text::kCaptionError,
                     Format(text::kErrorAccessingDevice, static_cast<unsigned>(ENOTTY)));
    return std::nullopt;
  }
  return size;
}

}  // namespace salvor

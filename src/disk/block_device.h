#pragma once
// Raw, read-only access to a disk or an image file. The product never opens
// a source for writing; this interface has no write call at all.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "disk/text_format.h"

namespace salvor {

class BlockDevice {
 public:
  virtual ~BlockDevice() = default;
  // Positioned read of buffer.size() bytes at a byte offset. Returns 0 or an
  // errno value. Bytes beyond the end of the medium are left as they were,
  // and reading there is not an error.
  virtual int ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset) = 0;
  virtual std::uint64_t SizeBytes() const = 0;
  // The logical sector size the kernel reports for a block device; 0 for files.
  virtual std::uint32_t LogicalSectorSize() const = 0;
  virtual bool IsBlockDevice() const = 0;
  // Device and inode numbers, to tell whether two paths name the same medium.
  virtual std::uint64_t DeviceId() const = 0;
  virtual std::uint64_t Inode() const = 0;
};

struct OpenResult {
  std::unique_ptr<BlockDevice> device;
  int error = 0;  // errno when device is null
};

// Opens a block device or a regular file read-only (O_RDONLY).
OpenResult OpenBlockDeviceReadOnly(const std::string& path);


}  // namespace salvor

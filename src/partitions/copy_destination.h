#pragma once
// Where a disk copy goes: the image file or the disk that receives a clone.
// This is the only thing the product ever opens for writing; sources are read
// through SectorSource, which has no write call.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "disk/block_device.h"

namespace salvor {

class CopyDestination {
 public:
  virtual ~CopyDestination() = default;
  // Writes all of `bytes` at a byte offset. 0 or an errno value.
  virtual int WriteAt(std::span<const std::uint8_t> bytes, std::uint64_t offset) = 0;
  // Makes everything written durable; errors the kernel deferred surface here.
  virtual int Flush() = 0;
};

struct DestinationOpen {
  std::unique_ptr<CopyDestination> destination;
  int error = 0;  // errno when destination is null
};

// Creates (or truncates) an image file; others may read it while it grows.
DestinationOpen CreateImageFile(const std::string& path);
// Opens an existing image file to go on writing it (a resumed copy).
DestinationOpen ReopenImageFile(const std::string& path);
// Opens an existing disk (or file standing in for one) for writing, without
// truncating it.
DestinationOpen OpenCloneTarget(const std::string& path);

// True when writing to `path` (or, for a file that does not exist yet, into
// its folder) would write to the medium `source` reads from: the same file,
// the same device, a partition of the source disk, or the disk that holds
// the source partition.
bool OverlapsSource(const BlockDevice& source, const std::string& path);

}  // namespace salvor

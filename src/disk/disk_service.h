#pragma once
// Raw disks without running as root. A desktop user may not open /dev/sdX
// directly; the system's disk service (UDisks2, on the system bus) can hand
// out a descriptor after asking the user through the desktop's
// authentication prompt (polkit). Both programs and the command line come
// here when opening a disk fails for lack of permission.

#include <string>

namespace salvor {

enum class DiskServiceAccess { kRead, kReadWrite };

struct DiskServiceOpen {
  int fd = -1;                   // owned by the caller when >= 0
  bool service_missing = false;  // no disk service answers: say which group gives access
  std::string error;             // why there is no descriptor
};

// Asks the disk service for a descriptor of the block device `device_path`.
// A descriptor for writing is asked with O_EXCL, so a mounted disk is refused.
// The descriptor must name the same device as the path, or it is refused.
DiskServiceOpen OpenThroughDiskService(const std::string& device_path, DiskServiceAccess access);

// Whether an open that failed with `error` on `path` is worth asking the disk
// service about: a block device the user may not open.
bool ShouldAskDiskService(const std::string& path, int error);

}  // namespace salvor

#pragma once
// Reading what the kernel tells about whole disks from a sysfs tree.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disk/disk_list.h"

namespace salvor {

// True for the names of whole disks: sdX, hdX, vdX, xvdX, nvmeNnM, mmcblkN,
// loopN. Partitions (sda1, nvme0n1p1, mmcblk0p1) and other block devices
// (zram, dm, md, sr) are not disks to recover from.
bool IsWholeDiskName(std::string_view name);

// The whole disks under sysfs/block, sorted by name (sdb before sdaa).
std::vector<std::string> WholeDiskNames(const std::filesystem::path& sysfs);

// The properties of one disk, or nullopt when it has no medium (size 0), no
// sector size, or is a loop device with nothing attached. `udev` supplies
// what sysfs does not hold for every bus (serial, model, revision, bus).
std::optional<DiskProperties> ReadDiskProperties(const std::filesystem::path& sysfs,
                                                 const std::string& name,
                                                 const DeviceProperties& udev);

}  // namespace salvor

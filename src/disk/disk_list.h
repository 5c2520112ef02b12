#pragma once
// The list of physical disks the user chooses from: one DiskListEntry of
// eleven texts per whole disk, in a fixed field order that consumers rely on.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disk/host.h"

namespace salvor {

struct DiskListEntry {
  std::string device_name;  // "sda"; the device path is "/dev/" + this
  std::string media_type;
  std::string interface_type;
  std::string total_sectors;
  std::string total_cylinders;
  std::string total_heads;
  std::string size;
  std::string serial_number;
  std::string firmware;
  std::string model;
  std::string bytes_per_sector;
  // False when this user may not open the disk (no root, not in the disk
  // group): the texts then come from the kernel's tables alone.
  bool readable = true;

  bool operator==(const DiskListEntry&) const = default;
};

inline constexpr std::size_t kDiskListFieldCount = 11;
// The texts of an entry by position, and the keys the command line prints them under.
std::array<std::string_view, kDiskListFieldCount> DiskListTexts(const DiskListEntry& e);
inline constexpr std::array<std::string_view, kDiskListFieldCount> kDiskListKeys = {
    "device", "media_type", "interface", "total_sectors", "cylinders", "heads",
    "size",   "serial",     "firmware",  "model",         "bytes_per_sector"};

// What the platform tells about one disk before the list rules are applied.
struct DiskProperties {
  std::string name;
  std::uint32_t bytes_per_sector = 0;  // 0: no medium, the disk is left out
  std::uint64_t size_bytes = 0;        // the kernel's size, used when the size query fails
  bool removable = false;
  std::string interface_type;
  std::optional<std::uint32_t> heads;              // legacy geometry, when the driver has one
  std::optional<std::uint32_t> sectors_per_track;
  std::string serial_number;  // as the drive reports it; empty when unknown
  std::string firmware;
  std::string model;
};

// "%.2f GB" of bytes / 2^30 (in single precision) when that is at least 1,
// else "%.2f MB" of bytes / 2^20.
std::string DiskSizeText(std::uint64_t bytes);

// Applies the list rules to one disk; `queried_size` is the size the device
// itself gave, nullopt when asking it failed.
DiskListEntry MakeDiskListEntry(const DiskProperties& p, std::optional<std::uint64_t> queried_size);

// Where the enumeration looks: tests point these at a fake tree.
struct DiskListRoots {
  std::filesystem::path sysfs = "/sys";
  std::filesystem::path dev = "/dev";
};

// The device database's properties of a block device by kernel name.
using DeviceProperties = std::map<std::string, std::string, std::less<>>;
using DevicePropertyLookup = std::function<DeviceProperties(std::string_view name)>;

// Every whole disk (sd*, hd*, vd*, xvd*, nvme*n*, mmcblk*, attached loop*),
// in name order. The size query shows its own message for a disk it cannot
// open; that disk keeps the kernel's size.
std::vector<DiskListEntry> EnumerateDisks(Host& host, const DiskListRoots& roots,
                                          const DevicePropertyLookup& lookup);
// The same on this machine, with the udev database.
std::vector<DiskListEntry> EnumerateDisks(Host& host);

}  // namespace salvor

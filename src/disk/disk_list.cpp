#include "disk/disk_list.h"

#include <fcntl.h>
#include <linux/hdreg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cctype>

#include "disk/sector_source.h"
#include "disk/sysfs_disks.h"
#include "disk/texts.h"

namespace salvor {
namespace {

struct LegacyGeometry {
  std::uint32_t heads = 0;
  std::uint32_t sectors_per_track = 0;
};

// The heads and sectors per track that the driver reports for old tools;
// nullopt for devices without one (NVMe, loop, regular files).
std::optional<LegacyGeometry> ReadLegacyGeometry(const std::filesystem::path& device) {
  int fd = open(device.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct hd_geometry g {};
  int rc = ioctl(fd, HDIO_GETGEO, &g);
  close(fd);
  if (rc != 0 || g.heads == 0 || g.sectors == 0) return std::nullopt;
  return LegacyGeometry{g.heads, g.sectors};
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string TrimUnderscores(std::string_view s) {
  std::size_t first = s.find_first_not_of("_ ");
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of("_ ") - first + 1));
}

}  // namespace

std::array<std::string_view, kDiskListFieldCount> DiskListTexts(const DiskListEntry& e) {
  return {e.device_name, e.media_type, e.interface_type, e.total_sectors, e.total_cylinders,
          e.total_heads, e.size,       e.serial_number,  e.firmware,      e.model,
          e.bytes_per_sector};
}

std::string DiskSizeText(std::uint64_t bytes) {
  float gigabytes = static_cast<float>(static_cast<double>(bytes) / 1073741824.0);
  if (gigabytes >= 1.0f) return Format(text::kDiskSizeGb, static_cast<double>(gigabytes));
  return Format(text::kDiskSizeMb, static_cast<double>(bytes) / 1048576.0);
}

DiskListEntry MakeDiskListEntry(const DiskProperties& p, std::optional<std::uint64_t> queried_size) {
  DiskListEntry e;
  e.device_name = p.name;
  e.bytes_per_sector = Format("%u", p.bytes_per_sector);
  std::uint64_t bytes = queried_size.value_or(p.size_bytes);
  std::uint64_t sectors = p.bytes_per_sector ? bytes / p.bytes_per_sector : 0;
  e.total_sectors = Format("%llu", static_cast<unsigned long long>(sectors));
  e.size = DiskSizeText(bytes);

  e.interface_type = p.interface_type;
  e.media_type = std::string(p.removable ? text::kRemovableMedia : text::kFixedMedia);
  e.model = p.model;
  if (EqualsNoCase(p.interface_type, "USB")) {
    e.media_type = std::string(text::kRemovableMedia);
    e.model = std::string(text::kUsbDiskModel);
  }

  if (p.heads && p.sectors_per_track && *p.heads && *p.sectors_per_track) {
    e.total_heads = Format("%u", *p.heads);
    std::uint64_t per_cylinder = std::uint64_t{*p.heads} * *p.sectors_per_track;
    e.total_cylinders = Format("%llu", static_cast<unsigned long long>(sectors / per_cylinder));
  } else {
    e.total_heads = std::string(text::kNotAvailable);
    e.total_cylinders = std::string(text::kNotAvailable);
  }
  e.serial_number = p.serial_number.empty() ? std::string(text::kNotAvailable) : p.serial_number;
  e.firmware = TrimUnderscores(p.firmware);
  return e;
}

std::vector<DiskListEntry> EnumerateDisks(Host& host, const DiskListRoots& roots,
                                          const DevicePropertyLookup& lookup) {
  std::vector<DiskListEntry> list;
  for (const std::string& name : WholeDiskNames(roots.sysfs)) {
    std::optional<DiskProperties> p = ReadDiskProperties(roots.sysfs, name, lookup(name));
    if (!p) continue;
    const std::filesystem::path device = roots.dev / name;
    if (auto g = ReadLegacyGeometry(device)) {
      p->heads = g->heads;
      p->sectors_per_track = g->sectors_per_track;
    }
    bool denied = false;
    list.push_back(MakeDiskListEntry(*p, QueryDiskSize(host, device.string(), &denied)));
    list.back().readable = !denied;
  }
  return list;
}

}  // namespace salvor

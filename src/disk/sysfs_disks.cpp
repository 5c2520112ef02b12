#include "disk/sysfs_disks.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <system_error>

namespace salvor {
namespace fs = std::filesystem;
namespace {

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}
bool AllLower(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string Trim(std::string_view s, std::string_view chars = " \t\n\r") {
  std::size_t first = s.find_first_not_of(chars);
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(chars) - first + 1));
}

// The first line of a sysfs attribute, trimmed; empty when it is missing.
std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return Trim(line);
}

std::uint64_t ReadNumber(const fs::path& file) {
  std::string text = ReadAttribute(file);
  std::uint64_t v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

std::string FirstAttribute(const fs::path& dir, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    std::string v = ReadAttribute(dir / n);
    if (!v.empty()) return v;
  }
  return {};
}

std::string Property(const DeviceProperties& p, std::string_view key) {
  auto it = p.find(key);
  return it == p.end() ? std::string{} : it->second;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The bus as the disk list names it, from where the disk hangs in the device
// tree: a SATA disk sits below an "ataN" port and is listed as IDE, as other
// systems list it.
std::string InterfaceType(const std::string& name, const std::string& device_path,
                          const DeviceProperties& udev) {
  if (Property(udev, "ID_BUS") == "usb" || device_path.find("/usb") != std::string::npos)
    return "USB";
  if (StartsWith(name, "nvme")) return "NVMe";
  if (StartsWith(name, "mmcblk")) return "MMC";
  if (StartsWith(name, "loop")) return "Loop";
  if (StartsWith(name, "xvd")) return "Xen";
  if (StartsWith(name, "vd")) return "VirtIO";
  if (device_path.find("/ata") != std::string::npos || Property(udev, "ID_BUS") == "ata")
    return "IDE";
  return "SCSI";
}

// Disk names grouped by kind (their first two letters), then compared run by
// run: letter runs shorter first (sdz before sdaa, as the kernel counts),
// digit runs by value (nvme0n2 before nvme0n10).
std::vector<std::string_view> Runs(std::string_view name) {
  std::vector<std::string_view> runs;
  std::size_t start = 0;
  for (std::size_t i = 1; i <= name.size(); ++i) {
    if (i == name.size() || std::isdigit(static_cast<unsigned char>(name[i])) !=
                                std::isdigit(static_cast<unsigned char>(name[i - 1]))) {
      runs.push_back(name.substr(start, i - start));
      start = i;
    }
  }
  return runs;
}

bool NameBefore(const std::string& a, const std::string& b) {
  auto key = [](std::string_view run) {
    std::size_t zeros = std::min(run.find_first_not_of('0'), run.size());
    run.remove_prefix(std::isdigit(static_cast<unsigned char>(run.front())) ? zeros : 0);
    return std::pair{run.size(), run};
  };
  if (a.substr(0, 2) != b.substr(0, 2)) return a.substr(0, 2) < b.substr(0, 2);
  auto ra = Runs(a), rb = Runs(b);
  return std::lexicographical_compare(ra.begin(), ra.end(), rb.begin(), rb.end(),
                                      [&](std::string_view x, std::string_view y) {
                                        return key(x) < key(y);
                                      });
}

}  // namespace

bool IsWholeDiskName(std::string_view name) {
  for (std::string_view prefix : {"sd", "hd", "vd", "xvd"})
    if (StartsWith(name, prefix) && AllLower(name.substr(prefix.size()))) return true;
  if (StartsWith(name, "mmcblk")) return AllDigits(name.substr(6));
  if (StartsWith(name, "loop")) return AllDigits(name.substr(4));
  if (StartsWith(name, "nvme")) {
    std::string_view rest = name.substr(4);
    std::size_t n = rest.find('n');
    return n != std::string_view::npos && AllDigits(rest.substr(0, n)) &&
           AllDigits(rest.substr(n + 1));
  }
  return false;
}

std::vector<std::string> WholeDiskNames(const fs::path& sysfs) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(sysfs / "block", ec)) {
    std::string name = entry.path().filename().string();
    if (IsWholeDiskName(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), NameBefore);
  return names;
}

std::optional<DiskProperties> ReadDiskProperties(const fs::path& sysfs, const std::string& name,
                                                 const DeviceProperties& udev) {
  const fs::path block = sysfs / "block" / name;
  if (StartsWith(name, "loop") && !fs::exists(block / "loop" / "backing_file")) return std::nullopt;

  DiskProperties p;
  p.name = name;
  p.bytes_per_sector = static_cast<std::uint32_t>(ReadNumber(block / "queue" / "logical_block_size"));
  p.size_bytes = ReadNumber(block / "size") * 512;  // sysfs counts 512-byte units on every disk
  if (p.bytes_per_sector == 0 || p.size_bytes == 0) return std::nullopt;
  p.removable = ReadAttribute(block / "removable") == "1";

  std::error_code ec;
  fs::path resolved = fs::canonical(block, ec);
  p.interface_type = InterfaceType(name, ec ? block.string() : resolved.string(), udev);

  const fs::path device = block / "device";
  p.serial_number = Property(udev, "ID_SERIAL_SHORT");
  if (p.serial_number.empty()) p.serial_number = ReadAttribute(device / "serial");
  p.firmware = FirstAttribute(device, {"rev", "firmware_rev", "fwrev"});
  if (p.firmware.empty()) p.firmware = Property(udev, "ID_REVISION");
  p.model = FirstAttribute(device, {"model", "name"});
  if (p.model.empty()) {
    p.model = Property(udev, "ID_MODEL");
    std::replace(p.model.begin(), p.model.end(), '_', ' ');  // udev's stand-in for spaces
  }
  return p;
}

}  // namespace salvor

#include "ntfs/safe_name.h"

#include "disk/disk_info.h"

namespace salvor {

std::string SafeTargetName(std::string_view name) {
  if (name.empty()) return "#";
  if (name == "." || name == "..") return "#" + std::string(name);
  std::string safe(name);
  for (char& c : safe)
    if (c == '/' || c == '\0') c = '_';
  return safe;
}

std::string SafeTargetName(std::u16string_view name) { return SafeTargetName(Utf16ToUtf8(name)); }

}  // namespace salvor

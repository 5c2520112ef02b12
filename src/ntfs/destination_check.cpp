#include "ntfs/destination_check.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace salvor {
namespace {

std::string DevText(dev_t dev) {
  return std::to_string(major(dev)) + ":" + std::to_string(minor(dev));
}

// The whole disk a partition belongs to (the device itself when it is a disk
// or sysfs does not say).
dev_t WholeDisk(dev_t dev) {
  const std::string dir = "/sys/dev/block/" + DevText(dev);
  if (!std::ifstream(dir + "/partition")) return dev;
  std::ifstream parent(dir + "/../dev");
  unsigned maj = 0;
  unsigned min = 0;
  char colon = 0;
  if (parent >> maj >> colon >> min && colon == ':') return makedev(maj, min);
  return dev;
}

// The devices a file system with device number `dev` is stored on: the
// number itself, and the block device its mount names as source (a FUSE
// mount has an anonymous number of its own).
std::vector<dev_t> BackingDevices(dev_t dev) {
  std::vector<dev_t> devices{dev};
  std::ifstream mounts("/proc/self/mountinfo");
  const std::string wanted = DevText(dev);
  for (std::string line; std::getline(mounts, line);) {
    // id parent major:minor root mountpoint options [optional...] - fstype source superopts
    std::istringstream fields(line);
    std::string id, parent, majmin;
    fields >> id >> parent >> majmin;
    if (majmin != wanted) continue;
    const auto dash = line.find(" - ");
    if (dash == std::string::npos) continue;
    std::istringstream tail(line.substr(dash + 3));
    std::string fstype, source;
    tail >> fstype >> source;
    struct stat st {};
    if (stat(source.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) devices.push_back(st.st_rdev);
  }
  return devices;
}

}  // namespace

bool DestinationOnSource(int dir_fd, const BlockDevice& source) {
  if (!source.IsBlockDevice()) return false;
  struct stat st {};
  if (fstat(dir_fd, &st) != 0) return false;
  const dev_t source_disk = WholeDisk(static_cast<dev_t>(source.DeviceId()));
  for (dev_t dev : BackingDevices(st.st_dev))
    if (WholeDisk(dev) == source_disk) return true;
  return false;
}

}  // namespace salvor

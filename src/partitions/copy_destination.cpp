#include "partitions/copy_destination.h"
#include "disk/fd_io.h"
#include "disk/disk_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>

namespace salvor {
namespace {

class PosixDestination final : public CopyDestination {
 public:
  explicit PosixDestination(int fd) : fd_(fd) {}
  ~PosixDestination() override { close(fd_); }
  PosixDestination(const PosixDestination&) = delete;
  PosixDestination& operator=(const PosixDestination&) = delete;

  int WriteAt(std::span<const std::uint8_t> bytes, std::uint64_t offset) override {
    return WriteFullyAt(fd_, bytes, offset);
  }

  int Flush() override {
    if (fsync(fd_) == 0) return 0;
    // Character devices and some file systems cannot sync; that is no failure.
    return errno == EINVAL || errno == EROFS ? 0 : errno;
  }

 private:
  int fd_;
};

DestinationOpen Wrap(int fd) {
  if (fd < 0) return {nullptr, errno};
  return {std::make_unique<PosixDestination>(fd), 0};
}

// The whole disk that holds a partition device, or the device itself.
dev_t WholeDisk(dev_t dev) {
  std::filesystem::path node = "/sys/dev/block/" + std::to_string(major(dev)) + ":" +
                               std::to_string(minor(dev));
  std::error_code ec;
  if (!std::filesystem::exists(node / "partition", ec)) return dev;
  std::ifstream in(std::filesystem::canonical(node, ec).parent_path() / "dev");
  unsigned maj = 0, min = 0;
  char colon = 0;
  if (ec || !(in >> maj >> colon >> min) || colon != ':') return dev;
  return makedev(maj, min);
}

bool DevicesOverlap(dev_t a, dev_t b) {
  return a == b || WholeDisk(a) == b || WholeDisk(b) == a;
}

}  // namespace

DestinationOpen CreateImageFile(const std::string& path) {
  return Wrap(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
}

DestinationOpen ReopenImageFile(const std::string& path) {
  return Wrap(open(path.c_str(), O_WRONLY | O_CLOEXEC));
}

DestinationOpen OpenCloneTarget(const std::string& path) {
  int flags = O_WRONLY | O_CLOEXEC;
  struct stat st {};
  // On a block device O_EXCL makes the kernel refuse a disk that is mounted
  // or otherwise in use, instead of writing under a live file system.
  if (stat(path.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) flags |= O_EXCL;
  const int fd = open(path.c_str(), flags);
  if (fd < 0 && ShouldAskDiskService(path, errno)) {
    const int error = errno;
    const DiskServiceOpen granted = OpenThroughDiskService(path, DiskServiceAccess::kReadWrite);
    if (granted.fd >= 0) return Wrap(granted.fd);
    errno = error;
  }
  return Wrap(fd);
}

bool OverlapsSource(const BlockDevice& source, const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    // A new file: it lands on the file system of its folder.
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    if (stat(folder.c_str(), &st) != 0) return false;
    return source.IsBlockDevice() &&
           DevicesOverlap(static_cast<dev_t>(source.DeviceId()), st.st_dev);
  }
  if (S_ISBLK(st.st_mode)) {
    // A source file lives on the device of its file system (DeviceId is st_dev).
    return DevicesOverlap(static_cast<dev_t>(source.DeviceId()), st.st_rdev);
  }
  if (source.IsBlockDevice())
    return DevicesOverlap(static_cast<dev_t>(source.DeviceId()), st.st_dev);
  return source.DeviceId() == st.st_dev && source.Inode() == st.st_ino;
}

}  // namespace salvor

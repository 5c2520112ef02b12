#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "disk/block_device.h"
#include "disk/fd_io.h"

namespace salvor {
namespace {

class PosixBlockDevice final : public BlockDevice {
 public:
  PosixBlockDevice(int fd, const struct stat& st) : fd_(fd), st_(st) {
    if (S_ISBLK(st.st_mode)) {
      std::uint64_t bytes = 0;
      if (ioctl(fd_, BLKGETSIZE64, &bytes) == 0) size_ = bytes;
      int ssz = 0;
      if (ioctl(fd_, BLKSSZGET, &ssz) == 0 && ssz > 0) sector_size_ = static_cast<std::uint32_t>(ssz);
    } else {
      size_ = static_cast<std::uint64_t>(st.st_size);
    }
  }
  ~PosixBlockDevice() override { close(fd_); }
  PosixBlockDevice(const PosixBlockDevice&) = delete;
  PosixBlockDevice& operator=(const PosixBlockDevice&) = delete;

  int ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset) override {
    // Past the end of the medium the rest of the buffer keeps its contents.
    std::size_t got = 0;
    return ReadFullyAt(fd_, buffer, offset, got);
  }
  std::uint64_t SizeBytes() const override { return size_; }
  std::uint32_t LogicalSectorSize() const override { return sector_size_; }
  bool IsBlockDevice() const override { return S_ISBLK(st_.st_mode); }
  std::uint64_t DeviceId() const override {
    return S_ISBLK(st_.st_mode) ? st_.st_rdev : st_.st_dev;
  }
  std::uint64_t Inode() const override { return S_ISBLK(st_.st_mode) ? 0 : st_.st_ino; }

 private:
  int fd_;
  struct stat st_;
  std::uint64_t size_ = 0;
  std::uint32_t sector_size_ = 0;
};

}  // namespace

OpenResult OpenBlockDeviceReadOnly(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {nullptr, errno};
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    int err = errno;
    close(fd);
    return {nullptr, err};
  }
  if (!S_ISBLK(st.st_mode) && !S_ISREG(st.st_mode)) {
    close(fd);
    return {nullptr, EINVAL};
  }
  return {std::make_unique<PosixBlockDevice>(fd, st), 0};
}

}  // namespace salvor

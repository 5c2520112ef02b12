#include "disk/fd_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace salvor {

int WriteFully(int fd, std::span<const std::uint8_t> bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

int WriteFullyAt(int fd, std::span<const std::uint8_t> bytes, std::uint64_t offset) {
  for (std::size_t done = 0; done < bytes.size();) {
    if (offset + done > static_cast<std::uint64_t>(INT64_MAX)) return EFBIG;
    const ssize_t n = pwrite(fd, bytes.data() + done, bytes.size() - done,
                             static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace salvor

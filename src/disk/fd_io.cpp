#include "disk/fd_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace salvor {

namespace {

// Calls `write_from(done)`, which writes part of what is left of `bytes` and
// returns as write(2) does, until everything is written; retries after
// signals and short writes.
template <typename WriteFrom>
int WriteAll(std::span<const std::uint8_t> bytes, WriteFrom write_from) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = write_from(done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// The offsets the kernel's off_t can carry.
bool FitsOffset(std::uint64_t offset) {
  return offset <= static_cast<std::uint64_t>(INT64_MAX);
}

}  // namespace

int WriteFully(int fd, std::span<const std::uint8_t> bytes) {
  return WriteAll(
      bytes, [&](std::size_t done) { return write(fd, bytes.data() + done, bytes.size() - done); });
}

int WriteFullyAt(int fd, std::span<const std::uint8_t> bytes, std::uint64_t offset) {
  return WriteAll(bytes, [&](std::size_t done) -> ssize_t {
    if (!FitsOffset(offset + done)) {
      errno = EFBIG;
      return -1;
    }
    return pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
  });
}

int ReadFullyAt(int fd, std::span<std::uint8_t> bytes, std::uint64_t offset, std::size_t& got) {
  got = 0;
  while (got < bytes.size()) {
    if (!FitsOffset(offset + got)) return EINVAL;
    const ssize_t n =
        pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(offset + got));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    if (n == 0) break;  // the end of the file or medium
    got += static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace salvor

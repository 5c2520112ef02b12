#include "ntfs/database_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace salvor {
namespace {

int WriteAll(int fd, const std::uint8_t* p, std::size_t n, std::uint64_t offset) {
  while (n > 0) {
    ssize_t w = pwrite(fd, p, n, static_cast<off_t>(offset));
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    if (w == 0) return ENOSPC;  // nothing written: the device is full
    p += w;
    n -= static_cast<std::size_t>(w);
    offset += static_cast<std::uint64_t>(w);
  }
  return 0;
}

}  // namespace

DatabaseFile::~DatabaseFile() {
  Close();
}

int DatabaseFile::Create(const std::filesystem::path& path) {
  Close();
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return errno;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
    close(fd);
    return EPERM;
  }
  fd_ = fd;
  writable_ = true;
  size_ = 0;
  pending_.reserve(kBufferSize);
  return 0;
}

int DatabaseFile::Open(const std::filesystem::path& path) {
  Close();
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    int e = errno;
    close(fd);
    return e;
  }
  if (!S_ISREG(st.st_mode)) {
    close(fd);
    return EINVAL;
  }
  fd_ = fd;
  writable_ = false;
  size_ = static_cast<std::uint64_t>(st.st_size);
  return 0;
}

int DatabaseFile::Close() {
  if (fd_ < 0) return 0;
  int result = Flush();
  close(fd_);
  fd_ = -1;
  writable_ = false;
  size_ = 0;
  pending_.clear();
  pending_.shrink_to_fit();
  window_.clear();
  window_.shrink_to_fit();
  window_len_ = 0;
  return result;
}

int DatabaseFile::Append(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0 || !writable_) return EBADF;
  if (pending_.size() + bytes.size() > kBufferSize) {
    if (int e = Flush()) return e;
    if (bytes.size() >= kBufferSize) {
      if (int e = WriteAll(fd_, bytes.data(), bytes.size(), size_)) return e;
      size_ += bytes.size();
      window_len_ = 0;
      return 0;
    }
  }
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  size_ += bytes.size();
  return 0;
}

int DatabaseFile::Flush() {
  if (fd_ < 0 || pending_.empty()) return 0;
  const std::uint64_t at = size_ - pending_.size();
  int e = WriteAll(fd_, pending_.data(), pending_.size(), at);
  if (e == 0) {
    pending_.clear();
    window_len_ = 0;
  }
  return e;
}

int DatabaseFile::WriteAt(std::span<const std::uint8_t> bytes, std::uint64_t offset) {
  if (fd_ < 0 || !writable_) return EBADF;
  if (!pending_.empty())
    if (int e = Flush()) return e;
  if (int e = WriteAll(fd_, bytes.data(), bytes.size(), offset)) return e;
  size_ = std::max<std::uint64_t>(size_, offset + bytes.size());
  window_len_ = 0;
  return 0;
}

int DatabaseFile::ReadDirect(std::span<std::uint8_t> bytes, std::uint64_t offset,
                             std::size_t& got) {
  got = 0;
  while (got < bytes.size()) {
    ssize_t r =
        pread(fd_, bytes.data() + got, bytes.size() - got, static_cast<off_t>(offset + got));
    if (r < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    if (r == 0) break;  // the end of the file
    got += static_cast<std::size_t>(r);
  }
  return 0;
}

int DatabaseFile::ReadAt(std::span<std::uint8_t> bytes, std::uint64_t offset, std::size_t& got) {
  got = 0;
  if (fd_ < 0) return EBADF;
  if (!pending_.empty())
    if (int e = Flush()) return e;
  if (bytes.size() >= kBufferSize / 2) return ReadDirect(bytes, offset, got);
  if (offset < window_at_ || offset + bytes.size() > window_at_ + window_len_) {
    if (offset >= size_) return 0;
    window_.resize(kBufferSize);
    window_len_ = 0;
    std::size_t filled = 0;
    if (int e = ReadDirect(window_, offset, filled)) return e;
    window_at_ = offset;
    window_len_ = filled;
  }
  if (offset < window_at_ || offset >= window_at_ + window_len_) return 0;
  got = std::min<std::size_t>(bytes.size(), window_at_ + window_len_ - offset);
  std::memcpy(bytes.data(), window_.data() + (offset - window_at_), got);
  return 0;
}

}  // namespace salvor

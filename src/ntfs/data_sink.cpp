#include "ntfs/data_sink.h"
#include "disk/fd_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "disk/block_device.h"
#include "disk/sector_source.h"

namespace salvor {

void DataSink::WriteZeros(std::uint64_t count) {
  static constexpr std::array<std::uint8_t, 64 * 1024> kZeros{};
  while (count > 0) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, kZeros.size()));
    Write(std::span<const std::uint8_t>(kZeros.data(), n));
    count -= n;
  }
}

FdSink::FdSink(Host& host, int fd) : host_(&host), fd_(fd) {}

bool FdSink::Seekable() {
  // Asked at the first hole only: most files have none, and a whole-volume
  // save would pay a system call per file for nothing.
  if (!seekable_) {
    struct stat st {};
    seekable_ = fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
  }
  return *seekable_;
}

void FdSink::Fail(int error) {
  host_->ShowError(ErrorText(error));
  throw UserException(ErrorText(error));
}

void FdSink::Write(std::span<const std::uint8_t> bytes) {
  if (int error = WriteFully(fd_, bytes)) Fail(error);
  position_ += bytes.size();
  ends_in_hole_ = false;
}

void FdSink::WriteZeros(std::uint64_t count) {
  if (!Seekable()) return DataSink::WriteZeros(count);
  if (count == 0) return;
  if (lseek(fd_, static_cast<off_t>(count), SEEK_CUR) < 0) Fail(errno);
  position_ += count;
  ends_in_hole_ = true;
}

void FdSink::Finish() {
  if (ends_in_hole_ && ftruncate(fd_, static_cast<off_t>(position_)) != 0) Fail(errno);
  ends_in_hole_ = false;
}

void MemorySink::Write(std::span<const std::uint8_t> bytes) {
  // An empty span may carry a null pointer, which memcpy must never see.
  if (!bytes.empty() && length_ < buffer_.size()) {
    const auto room = static_cast<std::size_t>(buffer_.size() - length_);
    const std::size_t n = std::min(room, bytes.size());
    std::memcpy(buffer_.data() + length_, bytes.data(), n);
    length_ += n;
  }
}

void MemorySink::WriteZeros(std::uint64_t count) {
  if (length_ < buffer_.size()) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer_.size() - length_));
    std::memset(buffer_.data() + length_, 0, n);
    length_ += n;
  }
}

}  // namespace salvor

#pragma once
// One file of the scan database: positioned reads and writes with errno
// results, an append buffer for the files that only grow (entries, names)
// and a read window for the readers, so that walking a tree costs few system
// calls while memory stays fixed.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace salvor {

class DatabaseFile {
 public:
  DatabaseFile() = default;
  ~DatabaseFile();
  DatabaseFile(const DatabaseFile&) = delete;
  DatabaseFile& operator=(const DatabaseFile&) = delete;

  // Creates the file anew (truncating it) for reading and writing, mode 0600,
  // without following a symbolic link; refuses a file owned by someone else.
  // Returns 0 or an errno value.
  int Create(const std::filesystem::path& path);
  // Opens an existing file for reading only. 0 or an errno value.
  int Open(const std::filesystem::path& path);
  // Writes what is pending and closes. 0 or the errno of the failed write
  // (the file is closed either way).
  int Close();

  bool is_open() const { return fd_ >= 0; }
  bool writable() const { return writable_; }
  // The file's size, counting appended bytes not yet written.
  std::uint64_t size() const { return size_; }

  // Appends at the end through the append buffer. 0 or an errno value.
  int Append(std::span<const std::uint8_t> bytes);
  // Writes the append buffer. 0 or an errno value (ENOSPC for a short write).
  int Flush();
  // Writes at an offset, directly. 0 or an errno value.
  int WriteAt(std::span<const std::uint8_t> bytes, std::uint64_t offset);
  // Reads up to bytes.size() bytes at an offset; `got` tells how many (fewer
  // at the end of the file). Reads of less than the window go through it.
  // 0 or an errno value.
  int ReadAt(std::span<std::uint8_t> bytes, std::uint64_t offset, std::size_t& got);

  // Bytes kept in the append buffer and in the read window.
  static constexpr std::size_t kBufferSize = 64 * 1024;

 private:
  int ReadDirect(std::span<std::uint8_t> bytes, std::uint64_t offset, std::size_t& got);

  int fd_ = -1;
  bool writable_ = false;
  std::uint64_t size_ = 0;
  std::vector<std::uint8_t> pending_;  // bytes from size_ - pending_.size() on
  std::vector<std::uint8_t> window_;
  std::uint64_t window_at_ = 0;
  std::size_t window_len_ = 0;
};

}  // namespace salvor

#pragma once
// One file of the scan database: positioned reads and writes with errno
// results, an append buffer for the files that only grow (entries, names),
// a read window for the readers, and for the tree file a bounded write-back
// page cache (children lists are read and written back 128 bytes at a time,
// in the order the MFT names their folders), so that building and walking a
// tree cost few system calls while memory stays fixed.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <unordered_map>
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

  // Keeps up to `max_pages` pages of `page_size` bytes of the file in memory
  // for ReadAt and WriteAt, written back when evicted and by Flush.
  void UsePageCache(std::size_t page_size, std::size_t max_pages);

  // Bytes kept in the append buffer and in the read window.
  static constexpr std::size_t kBufferSize = 64 * 1024;

 private:
  struct Page {
    std::uint64_t at = 0;
    std::vector<std::uint8_t> bytes;
    bool dirty = false;
    bool referenced = false;  // used since the clock hand last passed
  };

  int ReadDirect(std::span<std::uint8_t> bytes, std::uint64_t offset, std::size_t& got);
  // The cached page holding `offset`, loaded (evicting one not used lately) when
  // missing; nullptr with `error` set when a write-back or read fails.
  Page* CachedPage(std::uint64_t offset, int& error);
  int WritePage(Page& page);

  int fd_ = -1;
  bool writable_ = false;
  std::uint64_t size_ = 0;
  std::vector<std::uint8_t> pending_;  // bytes from size_ - pending_.size() on
  std::vector<std::uint8_t> window_;
  std::uint64_t window_at_ = 0;
  std::size_t window_len_ = 0;
  std::size_t page_size_ = 0;  // 0: no page cache
  std::size_t max_pages_ = 0;
  std::vector<Page> pages_;
  std::unordered_map<std::uint64_t, std::size_t> page_index_;  // page offset -> pages_ slot
  std::size_t hand_ = 0;                                       // the clock's hand
};

}  // namespace salvor

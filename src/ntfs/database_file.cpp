#include "ntfs/database_file.h"
#include "disk/fd_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace salvor {

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
  pages_.clear();
  pages_.shrink_to_fit();
  page_index_.clear();
  hand_ = 0;
  page_size_ = 0;  // the next Create or Open chooses again
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
      if (int e = WriteFullyAt(fd_, bytes, size_)) return e;
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
  if (fd_ < 0) return 0;
  for (Page& page : pages_)
    if (int e = WritePage(page)) return e;
  if (pending_.empty()) return 0;
  const std::uint64_t at = size_ - pending_.size();
  int e = WriteFullyAt(fd_, pending_, at);
  if (e == 0) {
    pending_.clear();
    window_len_ = 0;
  }
  return e;
}

int DatabaseFile::WriteAt(std::span<const std::uint8_t> bytes, std::uint64_t offset) {
  if (fd_ < 0 || !writable_) return EBADF;
  if (page_size_ != 0) {
    // The size first, so that evicting a page written just now keeps all of it.
    size_ = std::max<std::uint64_t>(size_, offset + bytes.size());
    for (std::size_t done = 0; done < bytes.size();) {
      int e = 0;
      Page* page = CachedPage(offset + done, e);
      if (!page) return e;
      const std::size_t at = static_cast<std::size_t>(offset + done - page->at);
      const std::size_t n = std::min(bytes.size() - done, page->bytes.size() - at);
      std::memcpy(page->bytes.data() + at, bytes.data() + done, n);
      page->dirty = true;
      done += n;
    }
    return 0;
  }
  if (!pending_.empty())
    if (int e = Flush()) return e;
  if (int e = WriteFullyAt(fd_, bytes, offset)) return e;
  size_ = std::max<std::uint64_t>(size_, offset + bytes.size());
  window_len_ = 0;
  return 0;
}

int DatabaseFile::ReadDirect(std::span<std::uint8_t> bytes, std::uint64_t offset,
                             std::size_t& got) {
  return ReadFullyAt(fd_, bytes, offset, got);
}

int DatabaseFile::ReadAt(std::span<std::uint8_t> bytes, std::uint64_t offset, std::size_t& got) {
  got = 0;
  if (fd_ < 0) return EBADF;
  if (page_size_ != 0) {
    if (offset >= size_) return 0;
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), size_ - offset));
    while (got < want) {
      int e = 0;
      Page* page = CachedPage(offset + got, e);
      if (!page) return e;
      const std::size_t at = static_cast<std::size_t>(offset + got - page->at);
      const std::size_t n = std::min(want - got, page->bytes.size() - at);
      std::memcpy(bytes.data() + got, page->bytes.data() + at, n);
      got += n;
    }
    return 0;
  }
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

void DatabaseFile::UsePageCache(std::size_t page_size, std::size_t max_pages) {
  page_size_ = page_size;
  max_pages_ = std::max<std::size_t>(max_pages, 1);
  pages_.reserve(max_pages_);
}

int DatabaseFile::WritePage(Page& page) {
  if (!page.dirty) return 0;
  // Only what the file holds: a page beyond its end is not padded out.
  if (page.at < size_) {
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(page.bytes.size(), size_ - page.at));
    if (int e = WriteFullyAt(fd_, std::span(page.bytes).first(n), page.at)) return e;
  }
  page.dirty = false;
  return 0;
}

DatabaseFile::Page* DatabaseFile::CachedPage(std::uint64_t offset, int& error) {
  const std::uint64_t at = offset / page_size_ * page_size_;
  if (auto found = page_index_.find(at); found != page_index_.end()) {
    Page& page = pages_[found->second];
    page.referenced = true;
    return &page;
  }
  std::size_t slot = pages_.size();
  if (slot < max_pages_) {
    pages_.emplace_back().bytes.resize(page_size_);
  } else {
    // Clock: pass over pages used since the last round, take the first that was not.
    while (pages_[hand_].referenced) {
      pages_[hand_].referenced = false;
      hand_ = (hand_ + 1) % pages_.size();
    }
    slot = hand_;
    hand_ = (hand_ + 1) % pages_.size();
    if ((error = WritePage(pages_[slot])) != 0) return nullptr;
    page_index_.erase(pages_[slot].at);
  }
  Page& page = pages_[slot];
  std::fill(page.bytes.begin(), page.bytes.end(), std::uint8_t{0});
  page.at = at;
  page.dirty = false;
  page.referenced = true;
  std::size_t got = 0;
  if ((error = ReadDirect(page.bytes, at, got)) != 0) {
    page.at = ~std::uint64_t{0};  // holds nothing
    return nullptr;
  }
  page_index_[at] = slot;
  return &page;
}

}  // namespace salvor

#pragma once
// A whole file mapped read-only, so that a loader can check every length in
// it against the real file size without reading gigabytes into memory.

#include <cstdint>
#include <filesystem>
#include <span>

namespace salvor {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // 0 or an errno value. A regular file only.
  int Open(const std::filesystem::path& path);
  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  void* mapping_ = nullptr;
};

}  // namespace salvor

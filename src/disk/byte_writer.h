#pragma once
// Little-endian field-by-field writer for the records the product stores in
// files (DiskInfo, VolumeInfo, CurrentVolume, database entries ...).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace salvor {

class ByteWriter {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v) { Put(v, 2); }
  void U32(std::uint32_t v) { Put(v, 4); }
  void U64(std::uint64_t v) { Put(v, 8); }
  void Zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }
  void Bytes(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  // UTF-16LE text in a fixed field of `units` code units, zero-filled behind it.
  void Utf16Field(std::u16string_view text, std::size_t units) {
    for (std::size_t i = 0; i < units; ++i) U16(i < text.size() ? text[i] : 0);
  }

  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  void Put(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> bytes_;
};

}  // namespace salvor

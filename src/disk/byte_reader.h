#pragma once
// Bounds-checked little-endian access to on-disk bytes. Every parser of the
// product reads through this class: a field that does not lie wholly inside
// the buffer reads as std::nullopt, never as bytes beyond it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace salvor {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  std::span<const std::uint8_t> bytes() const { return bytes_; }

  // True when [offset, offset + length) lies inside the buffer (overflow-safe).
  bool Has(std::size_t offset, std::size_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }

  std::optional<std::uint8_t> U8(std::size_t offset) const { return Get<std::uint8_t>(offset); }
  std::optional<std::uint16_t> U16(std::size_t offset) const { return Get<std::uint16_t>(offset); }
  std::optional<std::uint32_t> U32(std::size_t offset) const { return Get<std::uint32_t>(offset); }
  std::optional<std::uint64_t> U64(std::size_t offset) const { return Get<std::uint64_t>(offset); }
  std::optional<std::int8_t> S8(std::size_t offset) const {
    auto v = U8(offset);
    if (!v) return std::nullopt;
    return static_cast<std::int8_t>(*v);
  }

  // Little-endian unsigned integer of 1..8 bytes (used by run lists).
  std::optional<std::uint64_t> UIntN(std::size_t offset, std::size_t width) const {
    if (width == 0 || width > 8 || !Has(offset, width)) return std::nullopt;
    std::uint64_t v = 0;
    for (std::size_t i = width; i-- > 0;) v = (v << 8) | bytes_[offset + i];
    return v;
  }
  // Little-endian two's-complement integer of 1..8 bytes, sign-extended.
  std::optional<std::int64_t> SIntN(std::size_t offset, std::size_t width) const {
    auto v = UIntN(offset, width);
    if (!v) return std::nullopt;
    if (width < 8 && (*v >> (width * 8 - 1)) & 1) *v |= ~std::uint64_t{0} << (width * 8);
    return static_cast<std::int64_t>(*v);
  }

  std::optional<std::span<const std::uint8_t>> Slice(std::size_t offset, std::size_t length) const {
    if (!Has(offset, length)) return std::nullopt;
    return bytes_.subspan(offset, length);
  }
  std::optional<ByteReader> Sub(std::size_t offset, std::size_t length) const {
    auto s = Slice(offset, length);
    if (!s) return std::nullopt;
    return ByteReader(*s);
  }

 private:
  template <typename T>
  std::optional<T> Get(std::size_t offset) const {
    if (!Has(offset, sizeof(T))) return std::nullopt;
    T v = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) v = static_cast<T>((v << 8) | bytes_[offset + i]);
    return v;
  }

  std::span<const std::uint8_t> bytes_;
};

// Unchecked little-endian loads for callers that have already proved the
// range with ByteReader::Has (hot loops over fixed-size records).
inline std::uint16_t LoadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
inline std::uint64_t LoadU64(const std::uint8_t* p) {
  return std::uint64_t{LoadU32(p)} | (std::uint64_t{LoadU32(p + 4)} << 32);
}

}  // namespace salvor

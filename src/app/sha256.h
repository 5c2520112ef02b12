#pragma once
// SHA-256 (FIPS 180-4) of a byte stream, for the recovery report: a
// recovered file's digest lets the user check it against another copy.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace salvor {

class Sha256 {
 public:
  Sha256();
  void Update(std::span<const std::uint8_t> bytes);
  // The digest in lower-case hex; the object is spent afterwards.
  std::string HexDigest();

 private:
  void Block(const std::uint8_t* block);
  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> pending_{};
  std::size_t pending_length_ = 0;
  std::uint64_t total_ = 0;
};

}  // namespace salvor

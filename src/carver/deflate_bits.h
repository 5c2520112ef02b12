#pragma once
// Least-significant-bit-first bit writer for Deflate output. The pending
// bits live in the encoder state so that a block may end in the middle of a
// byte and the next call goes on from there.

#include <cstdint>
#include <cstring>
#include <vector>

namespace salvor::carver::deflate {

struct PendingBits {
  std::uint64_t bits = 0;
  int count = 0;  // < 8 between calls
};

class BitWriter {
 public:
  BitWriter(std::vector<std::uint8_t>& out, PendingBits& pending)
      : out_(out), pending_(pending), pos_(out.size()), start_(out.size()) {}
  BitWriter(const BitWriter&) = delete;
  BitWriter& operator=(const BitWriter&) = delete;
  // Leaves whole bytes in `out` and keeps the last partial byte pending.
  ~BitWriter() {
    while (pending_.count >= 8) {
      out_[pos_++] = static_cast<std::uint8_t>(pending_.bits);
      pending_.bits >>= 8;
      pending_.count -= 8;
    }
    out_.resize(pos_);
  }

  // Makes room for `bytes` more bytes of output; call before a run of Put.
  void Reserve(std::size_t bytes) {
    if (out_.size() < pos_ + bytes + 16) out_.resize(pos_ + bytes + 16 + (out_.size() >> 1));
  }

  // Appends the low `n` bits (n <= 32) of `value`. Needs room reserved.
  void Put(std::uint32_t value, int n) {
    pending_.bits |= std::uint64_t{value} << pending_.count;
    pending_.count += n;
    if (pending_.count >= 32) {
      const auto word = static_cast<std::uint32_t>(pending_.bits);
      const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
                                     static_cast<std::uint8_t>(word >> 16),
                                     static_cast<std::uint8_t>(word >> 24)};
      std::memcpy(out_.data() + pos_, bytes, 4);
      pos_ += 4;
      pending_.bits >>= 32;
      pending_.count -= 32;
    }
  }

  // Pads with zero bits to the next byte boundary and writes out whole bytes.
  void AlignToByte() {
    pending_.count = (pending_.count + 7) & ~7;
    Reserve(8);
    while (pending_.count > 0) {
      out_[pos_++] = static_cast<std::uint8_t>(pending_.bits);
      pending_.bits >>= 8;
      pending_.count -= 8;
    }
    pending_.bits = 0;
    pending_.count = 0;
  }

  // Raw bytes; the writer must be byte-aligned.
  void Bytes(const std::uint8_t* data, std::size_t n) {
    Reserve(n);
    if (n != 0) std::memcpy(out_.data() + pos_, data, n);
    pos_ += n;
  }

  // Bits written through this writer so far (including pending ones).
  std::uint64_t BitCount() const { return (pos_ - start_) * 8 + static_cast<unsigned>(pending_.count); }

 private:
  std::vector<std::uint8_t>& out_;
  PendingBits& pending_;
  std::size_t pos_;
  std::size_t start_;
};

}  // namespace salvor::carver::deflate

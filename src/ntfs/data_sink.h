#pragma once
// Where the data writers put a stream's bytes: an output file (or standard
// output), or a buffer in memory. A sink that cannot write shows the
// platform's text for the error and raises UserException, so that a save
// never goes on, or reports success, after a failed write.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "disk/host.h"

namespace salvor {

class DataSink {
 public:
  virtual ~DataSink() = default;
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
  // `count` zero bytes (sparse ranges).
  virtual void WriteZeros(std::uint64_t count);
};

// Writes to a file descriptor it does not own. On a regular file, zeros
// become a hole (the file stays sparse); Finish() then sets the final size.
class FdSink final : public DataSink {
 public:
  FdSink(Host& host, int fd);
  void Write(std::span<const std::uint8_t> bytes) override;
  void WriteZeros(std::uint64_t count) override;
  // Gives a file that ends in a hole its full size. Call once at the end.
  void Finish();

 private:
  [[noreturn]] void Fail(int error);
  bool Seekable();
  Host* host_;
  int fd_;
  std::optional<bool> seekable_;
  std::uint64_t position_ = 0;
  bool ends_in_hole_ = false;
};

// Copies into a fixed buffer from its start; bytes beyond its end are
// dropped (the callers size it to hold the whole stream).
class MemorySink final : public DataSink {
 public:
  explicit MemorySink(std::span<std::uint8_t> buffer) : buffer_(buffer) {}
  void Write(std::span<const std::uint8_t> bytes) override;
  void WriteZeros(std::uint64_t count) override;
  std::uint64_t length() const { return length_; }  // bytes held

 private:
  std::span<std::uint8_t> buffer_;
  std::uint64_t length_ = 0;
};

// Appends to a growing vector.
class VectorSink final : public DataSink {
 public:
  void Write(std::span<const std::uint8_t> bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace salvor

#pragma once
// An in-memory BlockDevice for tests, with chosen sectors that fail with a
// chosen errno, and an optional hook run before each read (to stop a retry).

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "disk/block_device.h"

namespace salvor::testing {

class MemoryDevice : public BlockDevice {
 public:
  explicit MemoryDevice(std::vector<std::uint8_t> bytes, std::uint32_t sector_size = 512)
      : bytes_(std::move(bytes)), sector_size_(sector_size) {}

  int ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset) override;
  std::uint64_t SizeBytes() const override { return bytes_.size(); }
  std::uint32_t LogicalSectorSize() const override { return 0; }
  bool IsBlockDevice() const override { return false; }
  std::uint64_t DeviceId() const override { return 0; }
  std::uint64_t Inode() const override { return 0; }

  // Reads touching this sector (in units of sector_size) fail with errno `error`.
  void FailSector(std::uint64_t sector, int error) { failing_[sector] = error; }
  std::function<void()> before_read;
  // Errors returned by the next reads, in order, before any other rule.
  std::vector<int> next_errors;
  int reads = 0;

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint32_t sector_size_;
  std::map<std::uint64_t, int> failing_;
};

}  // namespace salvor::testing

#pragma once
// A read-only BlockDevice over fuzzer input, for targets that drive engines
// through a sector source.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "disk/block_device.h"

namespace salvor::fuzz {

class MemoryBlockDevice final : public BlockDevice {
 public:
  explicit MemoryBlockDevice(std::span<const std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}
  int ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset) override {
    if (offset >= bytes_.size()) return 0;
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), bytes_.size() - offset));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), n, buffer.begin());
    return 0;
  }
  std::uint64_t SizeBytes() const override { return bytes_.size(); }
  std::uint32_t LogicalSectorSize() const override { return 0; }
  bool IsBlockDevice() const override { return false; }
  std::uint64_t DeviceId() const override { return 0; }
  std::uint64_t Inode() const override { return 0; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace salvor::fuzz

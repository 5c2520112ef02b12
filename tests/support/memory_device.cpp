#include "support/memory_device.h"

#include <algorithm>

namespace salvor::testing {

int MemoryDevice::ReadAt(std::span<std::uint8_t> buffer, std::uint64_t offset) {
  ++reads;
  if (before_read) before_read();
  if (!next_errors.empty()) {
    int e = next_errors.front();
    next_errors.erase(next_errors.begin());
    return e;
  }
  if (!buffer.empty()) {
    std::uint64_t first = offset / sector_size_;
    std::uint64_t last = (offset + buffer.size() - 1) / sector_size_;
    for (auto it = failing_.lower_bound(first); it != failing_.end() && it->first <= last; ++it)
      return it->second;
  }
  if (offset >= bytes_.size()) return 0;
  std::size_t n = std::min<std::uint64_t>(buffer.size(), bytes_.size() - offset);
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), n, buffer.begin());
  return 0;
}

}  // namespace salvor::testing

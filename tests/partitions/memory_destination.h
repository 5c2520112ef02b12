#pragma once
// A copy destination in memory: keeps the bytes and the shape of every write,
// and fails a chosen write or the final flush with a chosen errno.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "partitions/copy_destination.h"

namespace salvor::testing {

class MemoryDestination : public CopyDestination {
 public:
  int WriteAt(std::span<const std::uint8_t> bytes, std::uint64_t offset) override {
    if (fail_write && writes.size() == fail_write->first) return fail_write->second;
    writes.emplace_back(offset, bytes.size());
    if (data.size() < offset + bytes.size()) data.resize(offset + bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
    return 0;
  }
  int Flush() override {
    ++flushes;
    return flush_error;
  }

  std::vector<std::uint8_t> data;
  std::vector<std::pair<std::uint64_t, std::size_t>> writes;  // offset, bytes
  std::optional<std::pair<std::size_t, int>> fail_write;      // write index, errno
  int flush_error = 0;
  int flushes = 0;
};

}  // namespace salvor::testing

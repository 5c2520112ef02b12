#include "test_volume.h"

#include <algorithm>
#include <memory>

#include "support/memory_device.h"

namespace salvor::testing {
namespace {
constexpr std::uint64_t kMftLcn = 1;
constexpr std::uint64_t kVolumeClusters = 2048;
}  // namespace

TestVolume::TestVolume() : image_(kVolumeClusters * kClusterSize, 0) {
  CurrentVolume& v = state.volume;
  v.first_sector = 0;
  v.length = kVolumeClusters * 8;
  v.bytes_per_sector = 512;
  v.sectors_per_cluster = 8;
  v.bytes_per_cluster = kClusterSize;
  v.bytes_per_file_record = 1024;
  v.sectors_per_file_record = 2;
  v.mft_lcn = kMftLcn;
  v.mft_record_count = 64;
  state.mft_runs = {{16, kMftLcn}};
}

std::uint64_t TestVolume::PutRecord(std::uint32_t number, const std::vector<std::uint8_t>& record) {
  const std::uint64_t sector = kMftLcn * 8 + number * 2;
  std::copy(record.begin(), record.end(), image_.begin() + static_cast<std::ptrdiff_t>(sector * 512));
  return sector;
}

void TestVolume::PutClusters(std::uint64_t lcn, const std::vector<std::uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(),
            image_.begin() + static_cast<std::ptrdiff_t>(lcn * kClusterSize));
}

EngineState& TestVolume::Open() {
  state.source.Attach(std::make_unique<MemoryDevice>(image_), "test-volume", 512);
  return state;
}

std::vector<std::uint8_t> RunListBytes(
    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& runs) {
  std::vector<std::uint8_t> out;
  std::int64_t previous = 0;
  auto put = [&](std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  for (auto [length, lcn] : runs) {
    if (lcn == 0) {
      out.push_back(0x04);
      put(length, 4);
      continue;
    }
    const std::int64_t delta = static_cast<std::int64_t>(lcn) - previous;
    previous = static_cast<std::int64_t>(lcn);
    out.push_back(0x44);
    put(length, 4);
    put(static_cast<std::uint64_t>(delta), 4);
  }
  return out;
}

std::vector<std::uint8_t> NoiseBytes(std::size_t n, std::uint32_t seed) {
  std::vector<std::uint8_t> out(n);
  std::uint32_t x = seed * 2654435761u + 1;
  for (auto& b : out) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<std::uint8_t>(x);
  }
  return out;
}

void SetCompression(std::vector<std::uint8_t>& record, std::size_t attribute_offset,
                    std::uint16_t flags, std::uint16_t unit_field) {
  record[attribute_offset + 0x0C] = static_cast<std::uint8_t>(flags);
  record[attribute_offset + 0x0D] = static_cast<std::uint8_t>(flags >> 8);
  record[attribute_offset + 0x22] = static_cast<std::uint8_t>(unit_field);
  record[attribute_offset + 0x23] = static_cast<std::uint8_t>(unit_field >> 8);
}

}  // namespace salvor::testing

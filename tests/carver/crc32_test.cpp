#include "disk/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string_view>
#include <vector>

namespace salvor::carver {
namespace {

std::span<const std::uint8_t> AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Crc32, KnownValues) {
  EXPECT_EQ(Crc32({}), 0u);
  EXPECT_EQ(Crc32(AsBytes("123456789")), 0xCBF43926u);
  EXPECT_EQ(Crc32(AsBytes("The quick brown fox jumps over the lazy dog")), 0x414FA339u);
}

TEST(Crc32, PiecesAgreeWithWholeAndWithZlib) {
  std::mt19937 rng(1);
  std::vector<std::uint8_t> data(100003);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  const std::uint32_t whole = Crc32(data);
  EXPECT_EQ(whole, static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size()))));
  std::uint32_t crc = 0;
  std::size_t at = 0;
  while (at < data.size()) {
    const std::size_t n = std::min<std::size_t>(data.size() - at, rng() % 37);
    crc = Crc32Update(crc, std::span(data).subspan(at, n));
    at += n;
  }
  EXPECT_EQ(crc, whole);
}

}  // namespace
}  // namespace salvor::carver

#include "carver/deflate_tables.h"

namespace salvor::carver::deflate {
namespace {

constexpr std::array<std::uint8_t, 256> MakeLengthCode() {
  std::array<std::uint8_t, 256> t{};
  for (int code = 0; code < 29; ++code) {
    const int first = kLengthBase[code] - kMinMatch;
    const int count = code == 28 ? 1 : 1 << kLengthExtra[code];
    for (int i = 0; i < count && first + i < 256; ++i)
      t[static_cast<std::size_t>(first + i)] = static_cast<std::uint8_t>(code);
  }
  // Length 258 has its own code (285) although 284's range would reach it.
  t[255] = 28;
  return t;
}

// Entries 0-255 map distance - 1 directly; entries 256-511 map (distance - 1) >> 7
// for distances above 256 (every code from 16 on spans a multiple of 128).
constexpr std::array<std::uint8_t, 512> MakeDistCode() {
  std::array<std::uint8_t, 512> t{};
  for (int code = 0; code < 30; ++code) {
    const int first = kDistBase[code] - 1;
    const int last = first + (1 << kDistExtra[code]) - 1;
    for (int d = first; d <= last; ++d) {
      if (d < 256) t[static_cast<std::size_t>(d)] = static_cast<std::uint8_t>(code);
      else t[static_cast<std::size_t>(256 + (d >> 7))] = static_cast<std::uint8_t>(code);
    }
  }
  return t;
}

constexpr std::array<std::uint8_t, 288> MakeFixedLitLen() {
  std::array<std::uint8_t, 288> t{};
  for (int i = 0; i < 288; ++i) t[static_cast<std::size_t>(i)] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
  return t;
}

constexpr std::array<std::uint8_t, 32> MakeFixedDist() {
  std::array<std::uint8_t, 32> t{};
  t.fill(5);
  return t;
}

}  // namespace

const std::array<std::uint8_t, 256> kLengthCode = MakeLengthCode();
const std::array<std::uint8_t, 512> kDistCodeTable = MakeDistCode();
const std::array<std::uint8_t, 288> kFixedLitLenLengths = MakeFixedLitLen();
const std::array<std::uint8_t, 32> kFixedDistLengths = MakeFixedDist();

}  // namespace salvor::carver::deflate

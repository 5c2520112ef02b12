// Deflate encoder: every stream must inflate (with zlib, an independent
// reader) to exactly the input, whatever the input, level and piece sizes.

#include "carver/deflate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "carver/texts.h"
#include "zlib_reference.h"

namespace salvor::carver {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& c : b) c = static_cast<std::uint8_t>(rng());
  return b;
}

// Text-like data: words from a small vocabulary, so there are many matches
// of all lengths and distances.
Bytes WordSoup(std::size_t n, std::uint32_t seed) {
  static const char* kWords[] = {"sector ", "cluster ", "record ", "the ", "of ", "MFT ",
                                 "volume\n", "index ", "attribute ", "run ", "0x1F ", "{ }; "};
  std::mt19937 rng(seed);
  Bytes b;
  b.reserve(n + 16);
  while (b.size() < n) {
    const std::string w = kWords[rng() % std::size(kWords)];
    b.insert(b.end(), w.begin(), w.end());
  }
  b.resize(n);
  return b;
}

// A random mix of literals, copies from anywhere in the last 40 KiB (some
// beyond the window) and runs: exercises every length and distance code.
Bytes LzMix(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b;
  b.reserve(n + 300);
  while (b.size() < n) {
    switch (rng() % 4) {
      case 0: {
        for (unsigned i = rng() % 20; i > 0; --i) b.push_back(static_cast<std::uint8_t>(rng()));
        break;
      }
      case 1:
      case 2: {
        if (b.empty()) break;
        const std::size_t dist = 1 + rng() % std::min<std::size_t>(b.size(), 40000);
        const std::size_t len = 3 + rng() % 300;
        for (std::size_t i = 0; i < len; ++i) b.push_back(b[b.size() - dist]);
        break;
      }
      default:
        b.insert(b.end(), rng() % 600, static_cast<std::uint8_t>(rng()));
    }
  }
  b.resize(n);
  return b;
}

Bytes Compress(const Bytes& data, int level) {
  Bytes out;
  const DeflateResult r = DeflateBuffer(data, level, out);
  EXPECT_TRUE(r.ok) << r.error;
  return out;
}

// Writes `data` in pieces of random sizes (0 included) and a last call.
Bytes CompressInPieces(const Bytes& data, int level, std::uint32_t seed) {
  std::mt19937 rng(seed);
  DeflateStream stream;
  EXPECT_TRUE(DeflateStart(stream, level).ok);
  Bytes out;
  std::size_t at = 0;
  while (at < data.size()) {
    const std::size_t n = std::min<std::size_t>(data.size() - at, rng() % 3 == 0 ? rng() % 70000 : rng() % 600);
    const DeflateResult r = DeflateWrite(stream, std::span(data).subspan(at, n), false, out);
    EXPECT_TRUE(r.ok) << r.error;
    at += n;
  }
  EXPECT_TRUE(DeflateWrite(stream, {}, true, out).ok);
  return out;
}

void ExpectRoundTrip(const Bytes& data, int level) {
  const Bytes packed = Compress(data, level);
  const auto unpacked = testing::ZlibInflateRaw(packed);
  ASSERT_TRUE(unpacked.has_value()) << "level " << level << ", " << data.size() << " bytes";
  ASSERT_EQ(unpacked->size(), data.size());
  EXPECT_TRUE(*unpacked == data) << "level " << level;
  EXPECT_LE(packed.size(), DeflateBound(data.size()));
}

TEST(Deflate, LevelOutsideOneToNineIsBadPackLevel) {
  for (int level : {0, -1, 10, 100}) {
    DeflateStream stream;
    const DeflateResult r = DeflateStart(stream, level);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, text::kBadPackLevel);
    Bytes out;
    EXPECT_EQ(DeflateBuffer(Bytes{1, 2, 3}, level, out).error, "bad pack level");
  }
}

TEST(Deflate, TooSmallBufferIsReported) {
  const Bytes data = RandomBytes(1000, 7);
  Bytes small(100);
  std::size_t written = 99;
  const DeflateResult r = DeflateToBuffer(data, 8, small, written);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "output buffer too small for in-memory compression");
  EXPECT_EQ(written, 0u);

  Bytes big(DeflateBound(data.size()));
  ASSERT_TRUE(DeflateToBuffer(data, 8, big, written).ok);
  big.resize(written);
  EXPECT_EQ(testing::ZlibInflateRaw(big), data);
}

TEST(Deflate, EmptyInputIsOneFinalBlock) {
  for (int level = 1; level <= 9; ++level) {
    const Bytes packed = Compress({}, level);
    EXPECT_EQ(packed, (Bytes{0x03, 0x00}));  // fixed block holding only end-of-block
    EXPECT_EQ(testing::ZlibInflateRaw(packed), Bytes{});
  }
}

TEST(Deflate, OneByteAndTinyInputs) {
  for (int level = 1; level <= 9; ++level)
    for (std::size_t n = 1; n <= 12; ++n) {
      ExpectRoundTrip(RandomBytes(n, static_cast<std::uint32_t>(n)), level);
      ExpectRoundTrip(Bytes(n, 'a'), level);
    }
}

TEST(Deflate, LongRuns) {
  for (int level : {1, 4, 8, 9}) {
    ExpectRoundTrip(Bytes(3 << 20, 0), level);
    Bytes ab;
    for (int i = 0; i < 1 << 20; ++i) ab.push_back(i & 1 ? 'a' : 'b');
    ExpectRoundTrip(ab, level);
  }
  // A run compresses to a few hundred bytes per MiB at most.
  EXPECT_LT(Compress(Bytes(1 << 20, 0x55), 8).size(), 2500u);
}

TEST(Deflate, IncompressibleDataBarelyGrows) {
  const Bytes data = RandomBytes(4 << 20, 11);
  for (int level : {1, 8}) {
    const Bytes packed = Compress(data, level);
    EXPECT_LE(packed.size(), data.size() + data.size() / 2000 + 16);
    EXPECT_EQ(testing::ZlibInflateRaw(packed), data);
  }
}

TEST(Deflate, SizesAroundWindowBlockAndStoredLimits) {
  const std::size_t sizes[] = {32767, 32768, 32769, 32768 + 258, 32768 + 263, 65535, 65536, 65537,
                               16383, 16384, 16385, 131072 + 1, 3 * 65535 + 7};
  for (std::size_t n : sizes) {
    SCOPED_TRACE(n);
    for (int level : {1, 3, 4, 8, 9}) {
      ExpectRoundTrip(RandomBytes(n, static_cast<std::uint32_t>(n)), level);
      ExpectRoundTrip(WordSoup(n, static_cast<std::uint32_t>(n)), level);
      ExpectRoundTrip(LzMix(n, static_cast<std::uint32_t>(n)), level);
    }
  }
}

TEST(Deflate, SeveralMebibytesAtEveryLevel) {
  const Bytes soup = WordSoup(4 << 20, 5);
  const Bytes mix = LzMix(1 << 20, 6);
  for (int level = 1; level <= 9; ++level) ExpectRoundTrip(mix, level);
  for (int level : {1, 6, 8, 9}) ExpectRoundTrip(soup, level);
}

TEST(Deflate, RandomizedInputsLevelsAndPieces) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 60; ++round) {
    const std::uint32_t seed = rng();
    SCOPED_TRACE(seed);
    const std::size_t n = rng() % 4 == 0 ? rng() % 300000 : rng() % 5000;
    Bytes data;
    switch (rng() % 4) {
      case 0: data = RandomBytes(n, seed); break;
      case 1: data = WordSoup(n, seed); break;
      case 2: data = LzMix(n, seed); break;
      default: {
        // Pieces of all three glued together: block types change mid-stream.
        data = LzMix(n / 3, seed);
        const Bytes r = RandomBytes(n / 3, seed + 1);
        const Bytes w = WordSoup(n / 3, seed + 2);
        data.insert(data.end(), r.begin(), r.end());
        data.insert(data.end(), w.begin(), w.end());
      }
    }
    const int level = 1 + static_cast<int>(rng() % 9);
    const Bytes packed = CompressInPieces(data, level, seed);
    ASSERT_EQ(testing::ZlibInflateRaw(packed), data) << "level " << level << " size " << n;
  }
}

TEST(Deflate, PiecewiseWritingOfManyMebibytes) {
  const Bytes data = LzMix(6 << 20, 77);
  const Bytes packed = CompressInPieces(data, 8, 78);
  EXPECT_EQ(testing::ZlibInflateRaw(packed), data);
}

TEST(Deflate, StreamCanBeRestarted) {
  DeflateStream stream;
  for (int round = 0; round < 3; ++round) {
    const Bytes data = WordSoup(100000 + 1000 * static_cast<std::size_t>(round), static_cast<std::uint32_t>(round));
    ASSERT_TRUE(DeflateStart(stream, 8).ok);
    Bytes out;
    ASSERT_TRUE(DeflateWrite(stream, data, true, out).ok);
    EXPECT_EQ(testing::ZlibInflateRaw(out), data);
    EXPECT_FALSE(DeflateWrite(stream, data, true, out).ok);  // finished until restarted
  }
}

TEST(Deflate, BlockKindFollowsTheData) {
  // First block's type: bits 1-2 of the first byte.
  auto type = [](const Bytes& packed) { return (packed[0] >> 1) & 3; };
  EXPECT_EQ(type(Compress(RandomBytes(20000, 3), 8)), 0);         // stored
  EXPECT_EQ(type(Compress(Bytes{'a', 'b', 'c', 'a', 'b', 'c'}, 8)), 1);  // fixed
  EXPECT_EQ(type(Compress(WordSoup(100000, 3), 8)), 2);           // dynamic
}

TEST(Deflate, LevelEightIsCloseToZlibLevelEight) {
  const Bytes data = WordSoup(2 << 20, 9);
  const Bytes ours = Compress(data, 8);
  const Bytes theirs = testing::ZlibDeflateRaw(data, 8);
  EXPECT_LE(static_cast<double>(ours.size()), 1.03 * static_cast<double>(theirs.size()))
      << ours.size() << " vs zlib " << theirs.size();
}

}  // namespace
}  // namespace salvor::carver

#include "ntfs/lznt1.h"

#include <gtest/gtest.h>

#include <random>
#include <span>
#include <vector>

#include "lznt1_compressor.h"

namespace salvor {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::CompressLznt1;

Bytes Pattern(std::size_t n, unsigned seed) {
  // Text-like data: words from a small vocabulary, so that it compresses.
  static const char* kWords[] = {"sector ", "cluster ", "record ", "the ", "run ", "NTFS "};
  std::mt19937 rng(seed);
  Bytes out;
  while (out.size() < n) {
    if (rng() % 5 == 0) {
      out.push_back(static_cast<std::uint8_t>(rng()));
      continue;
    }
    for (const char* c = kWords[rng() % 6]; *c && out.size() < n; ++c) out.push_back(*c);
  }
  return out;
}

TEST(DecompressLznt1, FourByteChunkOfOneRepeatedByteGives4096Bytes) {
  // Flag 0b10: literal 'A', then a back reference of displacement 1 and
  // length 4095 (at position 1 the split is 4/12: 0x0FFC).
  Bytes src = {0x03, 0xB0, 0x02, 'A', 0xFC, 0x0F};
  Bytes out(4096, 0);
  EXPECT_EQ(DecompressLznt1(src, out), 4096u);
  EXPECT_EQ(out, Bytes(4096, 'A'));
  EXPECT_EQ(src, CompressLznt1(Bytes(4096, 'A')));
}

TEST(DecompressLznt1, UncompressedChunkThatExactlyFillsTheCapacityIsCopiedWhole) {
  Bytes data(4096);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + i / 13);
  Bytes src = {0xFF, 0x3F};
  src.insert(src.end(), data.begin(), data.end());
  Bytes out(4096, 0);
  EXPECT_EQ(DecompressLznt1(src, out), 4096u);
  EXPECT_EQ(out, data);
}

TEST(DecompressLznt1, StopsAtTheCapacity) {
  Bytes src = {0x03, 0xB0, 0x02, 'A', 0xFC, 0x0F, 0x03, 0xB0, 0x02, 'B', 0xFC, 0x0F};
  Bytes out(5000, 0);
  EXPECT_EQ(DecompressLznt1(src, out), 5000u);
  EXPECT_EQ(out[4095], 'A');
  EXPECT_EQ(out[4096], 'B');
  EXPECT_EQ(out[4999], 'B');
  Bytes small(10, 0);
  EXPECT_EQ(DecompressLznt1(src, small), 10u);
  EXPECT_EQ(small, Bytes(10, 'A'));
  Bytes stored = {0x09, 0x30, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  Bytes three(3, 0);
  EXPECT_EQ(DecompressLznt1(stored, three), 3u);
  EXPECT_EQ(three, (Bytes{1, 2, 3}));
  EXPECT_EQ(DecompressLznt1(stored, std::span<std::uint8_t>()), 0u);
}

TEST(DecompressLznt1, ChunkHeadersClaimingMoreThanTheSourceHoldsAreCut) {
  // A stored chunk claiming 4096 bytes with only 5 present.
  Bytes src = {0xFF, 0x3F, 1, 2, 3, 4, 5};
  Bytes out(8192, 0xEE);
  EXPECT_EQ(DecompressLznt1(src, out), 5u);
  EXPECT_EQ(out[4], 5);
  EXPECT_EQ(out[5], 0xEE);
  // A compressed chunk whose back reference is cut off by the source's end.
  Bytes cut = {0xFF, 0xBF, 0x02, 'A', 0xFC};
  EXPECT_EQ(DecompressLznt1(cut, out), 1u);
  // Half a header.
  Bytes half = {0x03};
  EXPECT_EQ(DecompressLznt1(half, out), 0u);
}

TEST(DecompressLznt1, TerminatingHeaderEndsTheStream) {
  Bytes src = {0x03, 0xB0, 0x02, 'A', 0xFC, 0x0F, 0x00, 0x00, 0x03, 0xB0, 0x02, 'B', 0xFC, 0x0F};
  Bytes out(8192, 0);
  EXPECT_EQ(DecompressLznt1(src, out), 4096u);
}

TEST(DecompressLznt1, BackReferenceBeforeTheChunkStartCopiesFromTheChunkStart) {
  // Literal 'x', then displacement 5 at position 1 (more than written):
  // the copy starts at the chunk start and repeats 'x'.
  Bytes src = {0x03, 0xB0, 0x02, 'x', 0x01, 0x40};  // token 0x4001: disp 5, len 4
  Bytes out(16, 0);
  EXPECT_EQ(DecompressLznt1(src, out), 5u);
  EXPECT_EQ(out[4], 'x');
}

TEST(DecompressLznt1, SplitNarrowsAsThePositionGrows) {
  // 17 literals, then at p = 17 (p - 1 = 16: one halving, split 5/11) a
  // reference of displacement 17 and length 3: token (16 << 11) | 0.
  Bytes src = {0x00, 0xB0};
  Bytes data;
  data.push_back(0x00);
  for (int i = 0; i < 8; ++i) data.push_back(static_cast<std::uint8_t>('a' + i));
  data.push_back(0x00);
  for (int i = 8; i < 16; ++i) data.push_back(static_cast<std::uint8_t>('a' + i));
  data.push_back(0x02);
  data.push_back('q');
  data.push_back(0x00);
  data.push_back(0x80);
  src[0] = static_cast<std::uint8_t>(data.size() - 1);
  src.insert(src.end(), data.begin(), data.end());
  Bytes out(64, 0);
  ASSERT_EQ(DecompressLznt1(src, out), 20u);
  EXPECT_EQ(out[17], 'a');
  EXPECT_EQ(out[18], 'b');
  EXPECT_EQ(out[19], 'c');
}

TEST(DecompressLznt1, RoundTripsThroughTheTestCompressor) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    Bytes data = Pattern(4096 * 3 + 1234 * seed, seed);
    Bytes packed = CompressLznt1(data);
    EXPECT_LT(packed.size(), data.size());
    EXPECT_TRUE(IsCompressedStream(packed));
    Bytes out(65536, 0);
    ASSERT_EQ(DecompressLznt1(packed, out), data.size());
    EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin()));
  }
}

TEST(IsCompressedStream, ChainsThatFitOrEndEarly) {
  Bytes exact = {0x03, 0xB0, 0x02, 'A', 0xFC, 0x0F};
  EXPECT_TRUE(IsCompressedStream(exact));
  Bytes terminated = {0x03, 0xB0, 0x02, 'A', 0xFC, 0x0F, 0x00, 0x00, 0xAB, 0xCD};
  EXPECT_TRUE(IsCompressedStream(terminated));
  Bytes only_end = {0x00, 0x00};
  EXPECT_TRUE(IsCompressedStream(only_end));
}

TEST(IsCompressedStream, ChunkSizesAddingUpToMoreThanTheLengthFail) {
  Bytes over = {0x03, 0xB0, 0x02, 'A', 0xFC, 0x0F, 0x10, 0xB0, 1, 2, 3};
  EXPECT_FALSE(IsCompressedStream(over));
  Bytes half_header = {0x03, 0xB0, 0x02, 'A', 0xFC, 0x0F, 0x10};
  EXPECT_FALSE(IsCompressedStream(half_header));
  EXPECT_FALSE(IsCompressedStream({}));
}

}  // namespace
}  // namespace salvor

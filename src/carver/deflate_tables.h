#pragma once
// The fixed alphabets of the Deflate format (RFC 1951 3.2.5-3.2.7): length
// and distance codes with their extra bits, the fixed Huffman code lengths
// and the order in which code-length code lengths are sent.

#include <array>
#include <cstdint>

namespace salvor::carver::deflate {

inline constexpr int kWindowSize = 32768;
inline constexpr int kMinMatch = 3;
inline constexpr int kMaxMatch = 258;
inline constexpr int kLitLenCodes = 286;  // 0-255 literals, 256 end of block, 257-285 lengths
inline constexpr int kDistCodes = 30;
inline constexpr int kCodeLenCodes = 19;
inline constexpr int kEndOfBlock = 256;
inline constexpr int kMaxCodeBits = 15;
inline constexpr int kMaxCodeLenBits = 7;

inline constexpr std::array<std::uint8_t, 29> kLengthExtra = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
inline constexpr std::array<std::uint16_t, 29> kLengthBase = {
    3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
inline constexpr std::array<std::uint8_t, 30> kDistExtra = {
    0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
inline constexpr std::array<std::uint16_t, 30> kDistBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
inline constexpr std::array<std::uint8_t, kCodeLenCodes> kCodeLenOrder = {
    16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Length code index (0-28, i.e. symbol - 257) of a match length 3-258, by length - 3.
extern const std::array<std::uint8_t, 256> kLengthCode;
// Distance code of a distance 1-32768: DistCode(d).
extern const std::array<std::uint8_t, 512> kDistCodeTable;

inline int DistCode(unsigned distance) {
  const unsigned d = distance - 1;
  return d < 256 ? kDistCodeTable[d] : kDistCodeTable[256 + (d >> 7)];
}

// Code lengths of the fixed Huffman codes (3.2.6).
extern const std::array<std::uint8_t, 288> kFixedLitLenLengths;
extern const std::array<std::uint8_t, 32> kFixedDistLengths;

}  // namespace salvor::carver::deflate

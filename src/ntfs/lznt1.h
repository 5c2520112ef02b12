#pragma once
// LZNT1, the compression of NTFS compressed files.
//
// A compressed stream is a chain of chunks, each a u16 header followed by
// (header & 0x0FFF) + 1 data bytes; bit 15 set means the data is compressed,
// clear means it is stored as is. A header of size field 0 ends the chain.
// Compressed data is groups of one flag byte and up to 8 tokens: a clear flag
// bit is a literal byte, a set one a u16 back reference whose split between
// length and displacement depends on the output position within the chunk.
// Each chunk decodes to 4096 bytes, except the last of a compression unit.

#include <cstddef>
#include <cstdint>
#include <span>

namespace salvor {

// True when `data` is a chain of chunk headers that fits it: the sizes end
// with a terminating header inside the data, or land exactly on its end.
bool IsCompressedStream(std::span<const std::uint8_t> data);

// Decodes `source` into `destination` and returns the number of bytes
// written. Whatever the headers claim, nothing is read outside `source` or
// written outside `destination`; damaged input just yields less output.
std::size_t DecompressLznt1(std::span<const std::uint8_t> source,
                            std::span<std::uint8_t> destination);

}  // namespace salvor

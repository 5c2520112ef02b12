#pragma once
// CRC-32 as ZIP and GPT store it (reflected polynomial 0xEDB88320, initial and final
// value inverted). Streaming: feed pieces through Crc32Update starting at 0.

#include <cstdint>
#include <span>

namespace salvor {

// Continues `crc` (the value returned for the bytes so far, 0 for none) over `bytes`.
std::uint32_t Crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes);

inline std::uint32_t Crc32(std::span<const std::uint8_t> bytes) { return Crc32Update(0, bytes); }

}  // namespace salvor

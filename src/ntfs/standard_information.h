#pragma once
// $STANDARD_INFORMATION (0x10) value: four u64 times (100-ns intervals since
// 1601) at 0x00 creation, 0x08 modification, 0x10 MFT change, 0x18 last
// access; u32 file attributes at 0x20.

#include <cstddef>

namespace salvor::standard_information {
inline constexpr std::size_t kCreationTime = 0x00;
inline constexpr std::size_t kModificationTime = 0x08;
inline constexpr std::size_t kChangeTime = 0x10;
inline constexpr std::size_t kAccessTime = 0x18;
inline constexpr std::size_t kFileAttributes = 0x20;
}  // namespace salvor::standard_information

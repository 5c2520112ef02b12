#pragma once
// The 128-byte blocks of the scan database's tree file (NST.VKT): one block
// of a folder's children list.
//
//   0 u32 owner: own record number of the folder (0 for entry 0's block)
//   4 u32 next: offset of the list's next block, 0 for the last
//   8 30 x u32 children: entry numbers from the first slot, 0 = empty slot

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace salvor {

inline constexpr std::size_t kTreeBlockSize = 128;
inline constexpr std::size_t kChildSlots = 30;

struct TreeBlock {
  std::uint32_t owner = 0;
  std::uint32_t next = 0;
  std::array<std::uint32_t, kChildSlots> children{};

  void Clear() { *this = TreeBlock{}; }
  bool operator==(const TreeBlock&) const = default;
};

std::array<std::uint8_t, kTreeBlockSize> StoreTreeBlock(const TreeBlock& block);
TreeBlock LoadTreeBlock(std::span<const std::uint8_t, kTreeBlockSize> bytes);

}  // namespace salvor

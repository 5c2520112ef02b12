#include "ntfs/tree_block.h"

#include <algorithm>

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"

namespace salvor {

std::array<std::uint8_t, kTreeBlockSize> StoreTreeBlock(const TreeBlock& block) {
  ByteWriter w;
  w.U32(block.owner);
  w.U32(block.next);
  for (std::uint32_t child : block.children) w.U32(child);
  std::array<std::uint8_t, kTreeBlockSize> b{};
  std::copy_n(w.bytes().begin(), std::min(w.size(), b.size()), b.begin());
  return b;
}

TreeBlock LoadTreeBlock(std::span<const std::uint8_t, kTreeBlockSize> bytes) {
  TreeBlock block;
  block.owner = LoadU32(bytes.data());
  block.next = LoadU32(bytes.data() + 4);
  for (std::size_t i = 0; i < kChildSlots; ++i)
    block.children[i] = LoadU32(bytes.data() + 8 + 4 * i);
  return block;
}

}  // namespace salvor

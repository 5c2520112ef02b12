// ParseRescueMap on any text; a map that parses formats and parses again to
// the same blocks, and marking inside it keeps the blocks gap-free.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "partitions/rescue_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto map = salvor::ParseRescueMap(text);
  if (!map) return 0;
  const auto again = salvor::ParseRescueMap(salvor::FormatRescueMap(*map, "fuzz"));
  if (!again || again->blocks.size() != map->blocks.size()) __builtin_trap();
  map->Mark(map->size() / 3, map->size() / 2 + 1, salvor::MapStatus::kBadSector);
  std::uint64_t expected = 0;
  for (const auto& block : map->blocks) {
    if (block.pos != expected || block.size == 0) __builtin_trap();
    expected = block.end();
  }
  return 0;
}

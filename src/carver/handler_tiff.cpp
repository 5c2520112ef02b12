// TIFF: walk the IFD chain and take the furthest byte that any valid IFD
// points at (out-of-line values, strips, tiles).
#include <algorithm>
#include <unordered_set>

#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

constexpr std::uint16_t kStripOffsets = 273;
constexpr std::uint16_t kStripByteCounts = 279;
constexpr std::uint16_t kTileOffsets = 324;
constexpr std::uint16_t kTileByteCounts = 325;
// A chain longer than this is a loop or garbage; real files have a few IFDs.
constexpr std::size_t kMaxIfds = 4096;

class Tiff {
 public:
  Tiff(FileBytes& file, bool big_endian) : file_(file), big_(big_endian) {}
  std::uint16_t U16(std::uint64_t at) { return big_ ? file_.BE16(at) : file_.LE16(at); }
  std::uint32_t U32(std::uint64_t at) { return big_ ? file_.BE32(at) : file_.LE32(at); }

 private:
  FileBytes& file_;
  bool big_;
};

std::uint32_t TypeSize(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: return 4;
    case 5: case 10: case 12: return 8;
    default: return 0;
  }
}

struct Entry {
  std::uint16_t tag, type;
  std::uint32_t count, value;
  std::uint64_t at;  // offset of the entry
};

bool EntryValid(const Entry& e) {
  if (e.count == 0 || e.type < 1 || e.type > 12) return false;
  const bool short_out = (e.type == 3 || e.type == 8) && e.count > 2;
  const bool long_out = (e.type == 4 || e.type == 9) && e.count > 1;
  return !((short_out || long_out) && (e.value & 1));
}

// The last value of an offsets or byte-counts list, inline or out of line.
std::uint64_t LastValue(Tiff& tiff, const Entry& e) {
  const bool shorts = e.type == 3;
  if (shorts && e.count <= 2) return tiff.U16(e.at + 8 + 2 * (e.count - 1));
  if (!shorts && e.count == 1) return e.value;
  const std::uint64_t size = shorts ? 2 : 4;
  const std::uint64_t at = e.value + size * (std::uint64_t{e.count} - 1);
  return shorts ? tiff.U16(at) : tiff.U32(at);
}

}  // namespace

HandlerResult HandleTiff(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec,
                         bool both_orders) {
  FileBytes file(ctx.reader, start, 4);
  if (both_orders) {
    auto head = file.Bytes(0, 1012);
    for (std::size_t i = 0; i + 4 <= head.size(); ++i) {
      if (head[i] == 'N' && head[i + 1] == 'I' && head[i + 2] == 'K' && head[i + 3] == 'O')
        return HandlerResult::kRejected;
    }
    if (file.LE32(8) == 0x00025243u) return HandlerResult::kRejected;
  }
  const bool big = both_orders && file.Equals(0, std::string_view("MM\0*", 4));
  Tiff tiff(file, big);
  const std::size_t max_entries = both_orders ? 50 : 30;

  std::uint64_t o = tiff.U32(4);
  if (o & 1) return HandlerResult::kRejected;
  std::uint64_t length = 0;
  std::unordered_set<std::uint64_t> seen;
  while (o != 0 && seen.size() < kMaxIfds && seen.insert(o).second && ctx.KeepGoing()) {
    const std::size_t n = tiff.U16(o);
    if (n > max_entries) break;
    std::vector<Entry> entries;
    entries.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t at = o + 2 + 12 * i;
      entries.push_back({tiff.U16(at), tiff.U16(at + 2), tiff.U32(at + 4), tiff.U32(at + 8), at});
    }
    const std::uint64_t next = tiff.U32(o + 2 + 12 * n);
    if ((next & 1) || !std::all_of(entries.begin(), entries.end(), EntryValid)) break;

    std::uint64_t e = 0;
    std::uint64_t strip_offset = 0, strip_count = 0, tile_offset = 0, tile_count = 0;
    for (const Entry& entry : entries) {
      const std::uint32_t size = TypeSize(entry.type);
      const bool out_of_line = (size == 1 && entry.count >= 5) || (size == 2 && entry.count > 2) ||
                               (size == 4 && entry.count >= 2) || size == 8;
      if (out_of_line && entry.value >= e) e = entry.value + std::uint64_t{entry.count} * size;
      if (entry.tag == kStripOffsets) strip_offset = LastValue(tiff, entry);
      if (entry.tag == kStripByteCounts) strip_count = LastValue(tiff, entry);
      if (both_orders && entry.tag == kTileOffsets) tile_offset = LastValue(tiff, entry);
      if (both_orders && entry.tag == kTileByteCounts) tile_count = LastValue(tiff, entry);
    }
    length = std::max({length, e, strip_offset + strip_count, tile_offset + tile_count});
    o = next;
  }
  if (length == 0) return HandlerResult::kRejected;
  SetLengthAndSkip(rec, length);
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

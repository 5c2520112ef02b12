// QuickTime-family files (MP4, MOV, 3GP): a chain of top-level atoms, each a
// 32-bit big-endian size and a four-letter lower-case type.
#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {

HandlerResult HandleAtomWalk(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 2);
  const std::uint64_t sector_size = ctx.sector_size();
  const std::uint64_t total = ctx.total_sectors();
  std::uint64_t t = 0;
  while (t <= kMaxMeasure && ctx.KeepGoing()) {
    auto header = file.Bytes(t, 8);
    const std::uint32_t size = (std::uint32_t{header[0]} << 24) | (std::uint32_t{header[1]} << 16) |
                               (std::uint32_t{header[2]} << 8) | header[3];
    bool letters = true;
    for (int i = 4; i < 8; ++i) letters = letters && header[i] >= 'a' && header[i] <= 'z';
    if (!letters || size == 0) break;
    if (start + size / sector_size + t / sector_size > total) break;
    t += size;
  }
  rec.found_length = ClampLength(t);
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

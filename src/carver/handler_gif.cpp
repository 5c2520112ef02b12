#include <algorithm>

#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

// Skips data sub-blocks (a length byte and that many bytes) up to and
// including the zero-length terminator.
std::uint64_t SkipSubBlocks(HandlerContext& ctx, FileBytes& file, std::uint64_t p) {
  while (p <= kMaxMeasure && ctx.KeepGoing()) {
    const std::uint8_t length = file.U8(p);
    p += std::uint64_t{length} + 1;
    if (length == 0) break;
  }
  return p;
}

}  // namespace

HandlerResult HandleGif(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 8);
  std::uint64_t p = 13;
  const std::uint8_t screen = file.U8(10);
  if (screen & 0x80) p += 3u << ((screen & 7) + 1);
  // Zero bytes pass one at a time, so the disk's end bounds the walk too.
  const std::uint64_t end = std::min(ctx.BytesToDiskEnd(start), kMaxMeasure);
  bool done = false;
  while (!done && p <= end && ctx.KeepGoing()) {
    switch (file.U8(p)) {
      case 0x3B:
        p += 1;
        done = true;
        break;
      case 0x00: {
        // Runs of zero bytes are common after a damaged file; pass them a
        // sector at a time rather than one byte per turn.
        auto run = file.Bytes(p, 512);
        std::size_t n = 0;
        while (n < run.size() && run[n] == 0) ++n;
        p += n;
        break;
      }
      case 0x21:
        p += 3 + std::uint64_t{file.U8(p + 2)};
        p = SkipSubBlocks(ctx, file, p);
        break;
      case 0x2C: {
        const std::uint8_t flags = file.U8(p + 9);
        p += 10;
        if (flags & 0x80) p += 3u << ((flags & 7) + 1);
        p += 1;
        p = SkipSubBlocks(ctx, file, p);
        break;
      }
      default:
        done = true;
        break;
    }
  }
  rec.found_length = ClampLength(p);
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

// MPEG program streams: packs of a fixed stride, each starting with a pack
// start code, up to the program end code.
#include <vector>

#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

constexpr std::uint32_t kPackStart = 0x000001BA;
constexpr std::uint32_t kProgramEnd = 0x000001B9;
constexpr std::uint64_t kStrideWindow = 63;  // sectors searched for the second pack

}  // namespace

HandlerResult HandleMpegProgramStream(HandlerContext& ctx, std::uint64_t start,
                                      SignatureRecord& rec) {
  if (ctx.lists.mpeg.count(start) != 0) return HandlerResult::kRejected;
  const std::uint64_t sector_size = ctx.sector_size();
  FileBytes file(ctx.reader, start, 1);
  if (file.BE32(0) != kPackStart) return HandlerResult::kAccepted;

  // The pack stride: the first later pack start in the first 63 sectors.
  std::vector<std::uint8_t> window(kStrideWindow * sector_size);
  ctx.reader.Read(window, start);
  std::uint64_t stride = 0;
  for (std::size_t i = 4; i + 4 <= window.size(); ++i) {
    if (window[i] == 0 && window[i + 1] == 0 && window[i + 2] == 1 && window[i + 3] == 0xBA) {
      stride = i;
      break;
    }
  }
  if (stride == 0) return HandlerResult::kRejected;

  FileBytes packs(ctx.reader, start, static_cast<std::uint32_t>(stride / sector_size + 2));
  std::uint64_t d = stride;
  while (d <= kMaxMeasure && ctx.KeepGoing()) {
    if (packs.BE32(d) != kPackStart) break;
    if (d % sector_size == 0) ctx.lists.mpeg.insert(start + d / sector_size);
    const std::uint32_t last = packs.BE32(d + stride - 4);
    d += stride;
    if (last == kProgramEnd) break;
  }
  if (packs.BE32(d) == kProgramEnd) d += 4;
  rec.found_length = ClampLength(d);
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

// MPEG program streams: packs, each a pack header and packets, up to the
// program end code. Packs are walked one by one (encoders do not space them
// evenly); a stream whose first pack header is neither MPEG-1 nor MPEG-2 is
// measured by the stride of its first two packs instead.
#include <vector>

#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

constexpr std::uint32_t kPackStart = 0x000001BA;
constexpr std::uint32_t kProgramEnd = 0x000001B9;
constexpr std::uint32_t kSystemHeader = 0x000001BB;  // and every stream id above it
constexpr std::uint64_t kStrideWindow = 63;  // sectors searched for the second pack
constexpr std::uint32_t kWalkWindow = 64;    // sectors read at a time by the pack walk

// Length of the pack header at p: 12 bytes for MPEG-1, 14 and its stuffing
// for MPEG-2, told apart by their marker bits; 0 when neither.
std::uint64_t PackHeaderLength(FileBytes& file, std::uint64_t p) {
  auto h = file.Bytes(p, 14);
  if ((h[4] & 0xF1) == 0x21 && (h[6] & 1) && (h[8] & 1) && (h[9] & 0x80) && (h[11] & 1)) return 12;
  if ((h[4] & 0xC4) == 0x44 && (h[6] & 4) && (h[8] & 4) && (h[9] & 1) && (h[12] & 3) == 3) {
    return 14 + (h[13] & 7);
  }
  return 0;
}

// Packs and packets from offset 0 to the end code or to the first bytes that
// are no pack-level start code; packs that begin a sector are continuations.
std::uint64_t WalkPacks(HandlerContext& ctx, std::uint64_t start) {
  const std::uint64_t sector_size = ctx.sector_size();
  FileBytes file(ctx.reader, start, kWalkWindow);
  std::uint64_t p = 0;
  while (p <= kMaxMeasure && ctx.KeepGoing()) {
    const std::uint32_t code = file.BE32(p);
    if (code == kPackStart) {
      const std::uint64_t header = PackHeaderLength(file, p);
      if (header == 0) break;
      if (p != 0 && p % sector_size == 0) ctx.lists.mpeg.insert(start + p / sector_size);
      p += header;
    } else if (code == kProgramEnd) {
      p += 4;
      break;
    } else if (code >= kSystemHeader && code <= 0x000001FF) {
      p += 6 + std::uint64_t{file.BE16(p + 4)};
    } else {
      break;
    }
  }
  return p;
}

// The stride of the first two packs, walked while packs follow at it.
HandlerResult MeasureByStride(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  const std::uint64_t sector_size = ctx.sector_size();
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

}  // namespace

HandlerResult HandleMpegProgramStream(HandlerContext& ctx, std::uint64_t start,
                                      SignatureRecord& rec) {
  if (ctx.lists.mpeg.count(start) != 0) return HandlerResult::kRejected;
  FileBytes file(ctx.reader, start, 1);
  if (file.BE32(0) != kPackStart) return HandlerResult::kAccepted;
  if (PackHeaderLength(file, 0) == 0) return MeasureByStride(ctx, start, rec);
  rec.found_length = ClampLength(WalkPacks(ctx, start));
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

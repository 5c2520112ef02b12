// JPEG: walk the markers to the start of scan, then look for the end-of-image
// marker within a range estimated from the frame size. High-quality and noisy
// images run past that estimate; their end is then looked for up to the
// maximum length, through bytes that can still be JPEG data.
#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "carver/carving_scan.h"
#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

constexpr std::uint64_t kSearchWindow = 64;  // sectors read per step of the end search
constexpr std::uint64_t kSearchStride = 63;  // sectors advanced per step

// Baseline, extended sequential and progressive frames carry height and
// width at the same offsets.
bool IsStartOfFrame(std::uint8_t marker) {
  return marker == 0xC0 || marker == 0xC1 || marker == 0xC2;
}

// Offset of the first FF D9 in buffer[from, end), or -1.
std::int64_t FindEndOfImage(const std::vector<std::uint8_t>& buffer, std::size_t from) {
  const std::uint8_t* base = buffer.data();
  std::size_t i = from;
  while (i + 1 < buffer.size()) {
    const void* hit = std::memchr(base + i, 0xFF, buffer.size() - 1 - i);
    if (hit == nullptr) return -1;
    i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - base);
    if (base[i + 1] == 0xD9) return static_cast<std::int64_t>(i);
    ++i;
  }
  return -1;
}

// Segments a progressive file carries between its scans: tables, restart
// interval, line count, comments, application data and the next scan header.
bool IsSegmentBetweenScans(std::uint8_t marker) {
  return marker == 0xC4 || marker == 0xCC || (marker >= 0xDA && marker <= 0xDD) ||
         marker == 0xFE || (marker >= 0xE0 && marker <= 0xEF);
}

enum class Walked { kGoOn, kEnd, kBroken };

// Follows entropy-coded data and the segments between scans to the
// end-of-image marker. Offsets count from the file start.
struct EntropyWalk {
  std::uint64_t next = 0;  // the next byte to look at
  std::uint64_t end = 0;   // just past FF D9, once found

  // Looks at the FF bytes of `window` (file offset `base`) that lie before
  // `stop`; the window holds at least three bytes beyond `stop`.
  Walked Walk(std::span<const std::uint8_t> window, std::uint64_t base, std::uint64_t stop) {
    while (next < stop) {
      const std::uint8_t* from = window.data() + (next - base);
      const void* hit = std::memchr(from, 0xFF, stop - next);
      if (hit == nullptr) {
        next = stop;
        break;
      }
      const std::uint64_t at = base + static_cast<std::uint64_t>(static_cast<const std::uint8_t*>(hit) - window.data());
      const std::uint8_t marker = window[at - base + 1];
      if (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7)) {
        next = at + 2;  // a stuffed FF or a restart marker
      } else if (marker == 0xFF) {
        next = at + 1;  // fill bytes before a marker
      } else if (marker == 0xD9) {
        end = at + 2;
        return Walked::kEnd;
      } else if (IsSegmentBetweenScans(marker)) {
        const std::uint64_t length = (std::uint64_t{window[at - base + 2]} << 8) | window[at - base + 3];
        if (length < 2) return Walked::kBroken;
        next = at + 2 + length;
      } else {
        return Walked::kBroken;
      }
    }
    return Walked::kGoOn;
  }
};

// How far the end is looked for: the user's maximum length, and at least as
// far as a file without any length reaches, so that a small maximum (1 KiB
// at first) does not cut high-quality images at their estimate.
std::uint64_t SearchLimit(const SignatureRecord& rec) {
  return std::max<std::uint64_t>(rec.maximum_length, kLengthWithoutAny);
}

// The end marker beyond the estimate: the walk from the image data (offset
// `data`) through windows up to the maximum length; 0 when the data break off
// first or the maximum is reached.
std::uint64_t FindEndUpToMaximum(HandlerContext& ctx, std::uint64_t start, std::uint64_t data,
                                 std::uint64_t maximum, std::vector<std::uint8_t>& window) {
  const std::uint64_t sector_size = ctx.sector_size();
  const std::uint64_t last = start + (maximum + sector_size - 1) / sector_size;
  EntropyWalk walk{data};
  for (std::uint64_t w = start + data / sector_size; w < last && w < ctx.total_sectors() && ctx.KeepGoing();
       w += kSearchStride) {
    const std::uint64_t base = (w - start) * sector_size;
    if (walk.next >= base + kSearchStride * sector_size) continue;  // inside a long segment
    std::memset(window.data(), 0, window.size());
    ctx.reader.Read(window, w);
    switch (walk.Walk(window, base, base + kSearchStride * sector_size)) {
      case Walked::kEnd: return walk.end <= maximum ? walk.end : 0;
      case Walked::kBroken: return 0;
      case Walked::kGoOn: break;
    }
  }
  return 0;
}

}  // namespace

HandlerResult HandleJpeg(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  const std::uint64_t sector_size = ctx.sector_size();
  const std::uint64_t total = ctx.total_sectors();
  FileBytes file(ctx.reader, start, 4);
  const std::uint8_t second = file.U8(3);
  if (file.U8(2) != 0xFF || second == 0x00 || second == 0xFF) return HandlerResult::kRejected;

  // 1. Marker walk.
  std::uint64_t p = 2;
  std::uint64_t length = file.BE16(4);
  bool frame = false, scan = false;
  std::uint64_t width = 0, height = 0, data = 0;
  while (length != 0 && ctx.KeepGoing()) {
    const std::uint64_t q = p + length + 2;
    const std::uint8_t b0 = file.U8(q);
    const std::uint8_t b1 = file.U8(q + 1);
    if (b0 == 0xFF && IsStartOfFrame(b1)) {
      frame = true;
      height = file.BE16(q + 5);
      width = file.BE16(q + 7);
    } else if (b0 == 0xFF && b1 == 0xDA) {
      scan = true;
    } else if (b0 != 0xFF || b1 == 0x00 || b1 == 0xFF) {
      return HandlerResult::kRejected;
    }
    if (scan && !frame) return HandlerResult::kRejected;
    length = file.BE16(q + 2);
    if (frame && scan) {
      data = q + length + 2;
      break;
    }
    p = q;
  }
  // The walk ran into a zero length before reaching the image data.
  if (!(frame && scan)) return HandlerResult::kRejected;

  // 2. End search from the sector holding the start of the image data.
  const std::uint64_t estimate = width * height * 3 / 2 / sector_size;  // sectors
  const std::uint64_t limit = estimate * 3 / 4;
  const std::uint64_t data_sector = start + data / sector_size;
  std::vector<std::uint8_t> window(kSearchWindow * sector_size);
  std::uint64_t from = data % sector_size;
  // 3. The window at the disk's end is read as far as the disk goes (the
  // reader leaves zeros beyond it), so that a file may end in the last sector.
  for (std::uint64_t w = data_sector;
       w < data_sector + limit + kSearchStride && w < total && ctx.KeepGoing();
       w += kSearchStride, from = 0) {
    std::memset(window.data(), 0, window.size());
    ctx.reader.Read(window, w);
    const std::int64_t j = FindEndOfImage(window, from);
    if (j >= 0) {
      SetLengthAndSkip(rec, (w - start) * sector_size + static_cast<std::uint64_t>(j) + 2);
      return HandlerResult::kAccepted;
    }
  }
  const std::uint64_t maximum = SearchLimit(rec);
  if (maximum > (data_sector + limit + kSearchStride - start) * sector_size) {
    const std::uint64_t end = FindEndUpToMaximum(ctx, start, data, maximum, window);
    if (end != 0) {
      SetLengthAndSkip(rec, end);
      return HandlerResult::kAccepted;
    }
  }
  // 4. No end marker: the estimate, or the rest of the disk.
  if (data_sector + estimate < total) {
    rec.found_length = ClampLength((data_sector - start + estimate) * sector_size);
  } else {
    rec.found_length = ClampLength((total - start - 1) * sector_size);
  }
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

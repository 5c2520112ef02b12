// JPEG: walk the markers to the start of scan, then look for the end-of-image
// marker within a range estimated from the frame size.
#include <cstring>
#include <vector>

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
  for (std::uint64_t w = data_sector; w < data_sector + limit + kSearchStride && ctx.KeepGoing();
       w += kSearchStride, from = 0) {
    // 3. Windows reaching the last 63 sectors are not read.
    if (total < kSearchStride || w > total - kSearchStride) continue;
    std::memset(window.data(), 0, window.size());
    ctx.reader.Read(window, w);
    const std::int64_t j = FindEndOfImage(window, from);
    if (j >= 0) {
      SetLengthAndSkip(rec, (w - start) * sector_size + static_cast<std::uint64_t>(j) + 2);
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

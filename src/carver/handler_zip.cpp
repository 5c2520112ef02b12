// ZIP archives: walk the local headers to the central directory, walk that to
// the end-of-central-directory record, and end after its comment. A hit whose
// structure does not hold together is rejected.
#include <cstring>
#include <vector>

#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

constexpr std::uint32_t kLocalHeader = 0x04034B50;
constexpr std::uint32_t kCentralHeader = 0x02014B50;
constexpr std::uint32_t kDataDescriptor = 0x08074B50;
constexpr std::uint32_t kZip64End = 0x06064B50;
constexpr std::uint32_t kZip64Locator = 0x07064B50;
constexpr std::uint32_t kEnd = 0x06054B50;
constexpr std::uint16_t kFlagDescriptor = 1u << 3;
constexpr std::uint16_t kZip64Extra = 0x0001;

struct Sizes {
  std::uint64_t compressed = 0;
  bool zip64 = false;
};

// The compressed size of a local entry, from its ZIP64 extra field when the
// 32-bit field says so.
Sizes LocalSizes(FileBytes& file, std::uint64_t p, std::uint16_t name_length,
                 std::uint16_t extra_length) {
  Sizes sizes{file.LE32(p + 18), false};
  std::uint64_t x = p + 30 + name_length;
  const std::uint64_t x_end = x + extra_length;
  while (x + 4 <= x_end) {
    const std::uint16_t id = file.LE16(x);
    const std::uint16_t size = file.LE16(x + 2);
    if (id == kZip64Extra && size >= 16) {
      sizes.zip64 = true;
      if (sizes.compressed == 0xFFFFFFFFu) {
        auto b = file.Bytes(x + 12, 8);
        sizes.compressed = LoadU64(b.data());
      }
    }
    x += 4 + std::uint64_t{size};
  }
  return sizes;
}

// For an entry written as a stream (sizes only in the data descriptor): the
// descriptor whose compressed size equals its distance from the data.
std::uint64_t FindDescriptor(HandlerContext& ctx, std::uint64_t start, std::uint64_t data) {
  const std::uint64_t sector_size = ctx.sector_size();
  const std::uint64_t window_sectors = 64;
  std::vector<std::uint8_t> window((window_sectors + 1) * sector_size);
  std::uint64_t sector = data / sector_size;
  std::uint64_t from = data % sector_size;
  while (sector * sector_size <= kMaxMeasure && start + sector < ctx.total_sectors() &&
         ctx.KeepGoing()) {
    ctx.reader.Read(window, start + sector);
    const std::size_t scan_end = window_sectors * sector_size;
    for (std::size_t i = from; i < scan_end;) {
      const void* hit = std::memchr(window.data() + i, 'P', scan_end - i);
      if (hit == nullptr) break;
      i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - window.data());
      if (i + 12 <= window.size() && LoadU32(&window[i]) == kDataDescriptor) {
        const std::uint64_t at = sector * sector_size + i;
        if (LoadU32(&window[i + 8]) == at - data) return at;
      }
      ++i;
    }
    sector += window_sectors;
    from = 0;
  }
  return 0;
}

}  // namespace

HandlerResult HandleZip(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 8);
  std::uint64_t p = 0;
  std::uint64_t locals = 0;
  while (p <= kMaxMeasure && ctx.KeepGoing() && file.LE32(p) == kLocalHeader) {
    const std::uint16_t flags = file.LE16(p + 6);
    const std::uint16_t name_length = file.LE16(p + 26);
    const std::uint16_t extra_length = file.LE16(p + 28);
    const std::uint64_t data = p + 30 + name_length + extra_length;
    Sizes sizes = LocalSizes(file, p, name_length, extra_length);
    if ((flags & kFlagDescriptor) && sizes.compressed == 0) {
      const std::uint64_t descriptor = FindDescriptor(ctx, start, data);
      if (descriptor == 0) return HandlerResult::kRejected;
      p = descriptor + (sizes.zip64 ? 24 : 16);
    } else {
      p = data + sizes.compressed;
      if (flags & kFlagDescriptor) {
        if (file.LE32(p) == kDataDescriptor) p += 4;
        p += sizes.zip64 ? 20 : 12;
      }
    }
    ++locals;
  }
  if (locals == 0) return HandlerResult::kRejected;

  const std::uint64_t central_start = p;
  std::uint64_t centrals = 0;
  while (p <= kMaxMeasure && ctx.KeepGoing() && file.LE32(p) == kCentralHeader) {
    p += 46 + std::uint64_t{file.LE16(p + 28)} + file.LE16(p + 30) + file.LE16(p + 32);
    ++centrals;
  }
  if (centrals != locals) return HandlerResult::kRejected;
  if (file.LE32(p) == kZip64End) {
    auto size = file.Bytes(p + 4, 8);
    const std::uint64_t record = LoadU64(size.data());
    if (record > kMaxMeasure) return HandlerResult::kRejected;
    p += 12 + record;
    if (file.LE32(p) != kZip64Locator) return HandlerResult::kRejected;
    p += 20;
  }
  if (p > kMaxMeasure || file.LE32(p) != kEnd) return HandlerResult::kRejected;
  const std::uint16_t entries = file.LE16(p + 10);
  const std::uint32_t central_offset = file.LE32(p + 16);
  if (entries != 0xFFFF && entries != (centrals & 0xFFFF)) return HandlerResult::kRejected;
  if (central_offset != 0xFFFFFFFFu && central_offset != central_start)
    return HandlerResult::kRejected;
  SetLengthAndSkip(rec, p + 22 + file.LE16(p + 20));
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

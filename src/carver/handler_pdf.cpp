// PDF: the length from the linearization dictionary when there is one, else
// the end of the last "%%EOF" that no incremental update follows.
#include <algorithm>
#include <string_view>
#include <vector>

#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

constexpr std::uint64_t kSearchLimit = 5u << 20;  // bytes from the start of the file
constexpr std::uint64_t kChunkSectors = 128;
constexpr std::size_t kNear = 200;  // how far related keywords may stand apart

std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from) {
  return from > hay.size() ? std::string_view::npos : hay.find(needle, from);
}

// "/L <digits>" within 200 bytes after "/Linearized" in the first sector.
std::uint32_t LinearizedLength(FileBytes& file, std::uint64_t sector_size) {
  auto first = file.Bytes(0, sector_size + kNear + 16);
  std::string_view text(reinterpret_cast<const char*>(first.data()), first.size());
  constexpr std::string_view kKey = "/Linearized";
  const std::size_t limit = sector_size > 262 ? sector_size - 262 : 0;
  const std::size_t at = text.find(kKey);
  if (at == std::string_view::npos || at >= limit) return 0;
  const std::size_t from = at + kKey.size();
  const std::string_view area = text.substr(from, kNear);
  const std::size_t l = area.find("/L ");
  if (l == std::string_view::npos) return 0;
  std::uint64_t value = 0;
  bool digits = false;
  for (std::size_t i = l + 3; i < area.size() + 16 && from + i < text.size(); ++i) {
    const char c = text[from + i];
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    digits = true;
  }
  return digits ? static_cast<std::uint32_t>(value) : 0;
}

// The end of the file by its trailers: every "%%EOF" with "startxref" shortly
// before it is a candidate end (with its line break); one followed closely by
// "obj" has an incremental update after it. A new "%PDF" at a sector start
// belongs to the next file.
std::uint64_t TrailerEnd(HandlerContext& ctx, std::uint64_t start) {
  const std::uint64_t sector_size = ctx.sector_size();
  const std::uint64_t chunk = kChunkSectors * sector_size;
  std::vector<std::uint8_t> bytes;
  std::uint64_t end = 0;
  std::size_t searched = 0;  // "%%EOF" positions below this were looked at
  bool more = true;
  while (more && ctx.KeepGoing()) {
    const std::size_t old = bytes.size();
    if (old >= kSearchLimit || start + old / sector_size >= ctx.total_sectors()) {
      more = false;
    } else {
      bytes.resize(old + chunk);
      ctx.reader.Read(std::span<std::uint8_t>(bytes).subspan(old), start + old / sector_size);
      for (std::size_t s = std::max<std::size_t>(old, sector_size); s < bytes.size(); s += sector_size) {
        if (std::string_view(reinterpret_cast<const char*>(&bytes[s]), 4) == "%PDF") {
          bytes.resize(s);
          more = false;
          break;
        }
      }
    }
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    for (;;) {
      const std::size_t at = Find(text, "%%EOF", searched);
      if (at == std::string_view::npos) {
        searched = text.size() > 4 ? text.size() - 4 : 0;
        break;
      }
      // Wait for the bytes after a candidate when more can be read.
      if (more && at + 5 + 2 + kNear > text.size()) {
        searched = at;
        break;
      }
      searched = at + 5;
      const std::size_t before = at > kNear ? at - kNear : 0;
      if (text.substr(before, at - before).find("startxref") == std::string_view::npos) continue;
      std::size_t stop = at + 5;
      if (stop < text.size() && text[stop] == '\r') ++stop;
      if (stop < text.size() && text[stop] == '\n') ++stop;
      end = stop;
      if (text.substr(stop, kNear).find("obj") == std::string_view::npos) return end;
    }
  }
  return end;
}

}  // namespace

HandlerResult HandlePdf(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  const std::uint64_t sector_size = ctx.sector_size();
  FileBytes file(ctx.reader, start, 2);
  if (!file.Equals(0, "%PDF") || !file.Equals(4, "-1.")) return HandlerResult::kRejected;
  if (std::uint32_t length = LinearizedLength(file, sector_size); length != 0) {
    rec.found_length = length;
    return HandlerResult::kAccepted;
  }
  rec.found_length = ClampLength(TrailerEnd(ctx, start));
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

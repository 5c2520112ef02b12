// OLE compound documents (doc, xls, ppt): the directory's first entries tell
// which application wrote the file.
#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

bool StartsWithUtf16(std::span<const std::uint8_t> bytes, std::string_view text) {
  if (bytes.size() < text.size() * 2) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (bytes[2 * i] != static_cast<std::uint8_t>(text[i]) || bytes[2 * i + 1] != 0) return false;
  }
  return true;
}

}  // namespace

HandlerResult HandleOle(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  const std::uint64_t sector_size = ctx.sector_size();
  FileBytes header(ctx.reader, start, 1);
  const std::uint64_t fat_sectors = header.LE32(0x2C);
  const std::uint64_t directory = header.LE32(0x30);
  FileBytes dir(ctx.reader, start + directory + 1, 1);
  auto sector = dir.Bytes(0, sector_size);
  if (!StartsWithUtf16(sector, "Root")) return HandlerResult::kRejected;
  std::string extension = "ppt";
  for (std::size_t entry = 0; entry < 4 && (entry + 1) * 128 <= sector.size(); ++entry) {
    auto name = sector.subspan(entry * 128, 128);
    if (StartsWithUtf16(name, "Word")) {
      extension = "doc";
      break;
    }
    if (StartsWithUtf16(name, "Work")) {
      extension = "xls";
      break;
    }
  }
  rec.extension = extension;
  rec.found_length = ClampLength((fat_sectors * 128 + 1) * sector_size);
  rec.skip_length = ClampLength((directory + 2) * sector_size);
  rec.skip_valid = 1;
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {

bool IsLetter(std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HeaderHolds(FileBytes& file) {
  if (file.BE32(8) != 13 || !file.Equals(12, "IHDR")) return false;
  const std::uint32_t width = file.BE32(16);
  const std::uint32_t height = file.BE32(20);
  if (width == 0 || height == 0 || width >= 0x80000000u || height >= 0x80000000u) return false;
  const std::uint8_t depth = file.U8(24);
  if (depth == 0 || depth > 16 || (depth != 1 && depth % 2 != 0)) return false;
  const std::uint8_t colour = file.U8(25);
  if (colour != 0 && colour != 2 && colour != 3 && colour != 4 && colour != 6) return false;
  if (file.U8(26) != 0 || file.U8(27) != 0) return false;
  return file.U8(28) <= 1;
}

}  // namespace

HandlerResult HandlePng(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 2);
  if (!HeaderHolds(file)) return HandlerResult::kRejected;
  std::uint64_t p = 33;
  while (p <= kMaxMeasure && ctx.KeepGoing()) {
    auto chunk = file.Bytes(p, 8);
    const std::uint32_t length = (std::uint32_t{chunk[0]} << 24) | (std::uint32_t{chunk[1]} << 16) |
                                 (std::uint32_t{chunk[2]} << 8) | chunk[3];
    if (length >= 0x80000000u || !IsLetter(chunk[4]) || !IsLetter(chunk[5]) ||
        !IsLetter(chunk[6]) || !IsLetter(chunk[7])) {
      break;
    }
    const bool end = chunk[4] == 'I' && chunk[5] == 'E' && chunk[6] == 'N' && chunk[7] == 'D';
    p += std::uint64_t{length} + 12;
    if (end) break;
  }
  SetLengthAndSkip(rec, p);
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

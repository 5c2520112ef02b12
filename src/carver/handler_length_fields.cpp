// Handlers that take the length from fields of the first sector. A length
// field alone says nothing about whether the bytes are a file of the type, so
// each handler first checks the fields it reads and rejects a hit whose
// fields do not hold, instead of registering a length that random bytes gave.
#include "carver/bmp_header.h"
#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {
constexpr std::uint32_t kMaxImageHeader = 1u << 20;
}  // namespace

HandlerResult HandleBmp(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 1);
  const auto size = CheckedBmpSize(file.Bytes(0, kBmpHeaderBytes));
  if (!size) return HandlerResult::kRejected;
  rec.found_length = *size;
  return HandlerResult::kAccepted;
}

HandlerResult HandleLengthAt4(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 1);
  const std::uint64_t length = std::uint64_t{file.LE32(4)} + 2048u;
  // An empty field, or one whose length would not fit the 32-bit measure.
  if (length == 2048u || length > kMaxMeasure) return HandlerResult::kRejected;
  rec.found_length = static_cast<std::uint32_t>(length);
  return HandlerResult::kAccepted;
}

HandlerResult HandleImageHeader(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 1);
  const std::uint64_t header = file.BE32(4);
  const std::uint64_t width = file.BE16(24);
  const std::uint64_t height = file.BE16(26);
  const std::uint64_t depth = file.U8(32);
  const bool known_depth = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 ||
                           depth == 24 || depth == 32;
  // The header holds the fields read (up to offset 32) and is of a sane size.
  if (width == 0 || height == 0 || !known_depth || header + 8 <= 32 || header > kMaxImageHeader)
    return HandlerResult::kRejected;
  const std::uint64_t bits = width * height * depth;
  const std::uint64_t length = (bits + 7) / 8 + header + 8;
  if (length > kMaxMeasure) return HandlerResult::kRejected;
  rec.found_length = static_cast<std::uint32_t>(length);
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

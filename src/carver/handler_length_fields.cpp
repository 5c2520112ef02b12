// Handlers that take the length from fields of the first sector.
#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {

HandlerResult HandleBmp(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 1);
  rec.found_length = file.LE32(2);
  return HandlerResult::kAccepted;
}

HandlerResult HandleLengthAt4(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 1);
  rec.found_length = file.LE32(4) + 2048u;  // 32-bit, as the field
  return HandlerResult::kAccepted;
}

HandlerResult HandleImageHeader(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 1);
  const std::uint32_t header = file.BE32(4);
  const std::uint32_t width = file.BE16(24);
  const std::uint32_t height = file.BE16(26);
  const std::uint32_t depth = file.U8(32);
  // 32-bit arithmetic throughout: the field it lands in is 32 bits.
  const std::uint32_t bits = width * height * depth;
  const std::uint32_t bytes = bits / 8u + (bits % 8u != 0 ? 1u : 0u);
  rec.found_length = bytes + header + 8u;
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

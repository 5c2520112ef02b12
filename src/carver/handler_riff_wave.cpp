#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {
namespace {
constexpr std::uint16_t kFormatMpegLayer3 = 0x55;
}

HandlerResult HandleRiffWave(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 1);
  if (!file.Equals(8, "WAVE")) return HandlerResult::kRejected;
  if (file.LE16(20) == kFormatMpegLayer3) return HandleMp3(ctx, start, rec);
  rec.found_length = file.LE32(4) + 8u;
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

// MIDI: the chunks from the header chunk on; the file ends with the last one.
#include "carver/end_handlers.h"
#include "carver/file_bytes.h"

namespace salvor::carver {

HandlerResult HandleMidi(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  FileBytes file(ctx.reader, start, 2);
  std::uint64_t p = 0;
  // Each chunk moves p on by at least its 8-byte header.
  while (p <= kMaxMeasure && ctx.KeepGoing() && (file.Equals(p, "MThd") || file.Equals(p, "MTrk"))) {
    p += std::uint64_t{file.BE32(p + 4)} + 8;
  }
  SetLengthAndSkip(rec, p);
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

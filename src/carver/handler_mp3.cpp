// MP3 (and MPEG audio in a RIFF wrapper): an optional ID3v2 tag, then at
// least 40 consecutive valid frames, or fewer when the stream's own header
// (Xing/Info or VBRI) counts as many; then an optional APEv2 and ID3v1 tag.
#include "carver/end_handlers.h"
#include "carver/file_bytes.h"
#include "carver/mpeg_audio.h"

namespace salvor::carver {
namespace {

constexpr std::uint32_t kMinimumFrames = 40;
constexpr std::uint16_t kFormatMpegLayer3 = 0x55;

// The frame count of a Xing/Info or VBRI header in the first frame (at f), or
// 0 when it has none.
std::uint32_t CountedFrames(FileBytes& file, std::uint64_t f, const MpegAudioHeader& first) {
  const bool mono = ((file.U8(f + 3) >> 6) & 3) == 3;
  const bool mpeg1 = first.version == 3;
  const std::uint64_t side_info = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  const std::uint64_t xing = f + 4 + (first.protection == 0 ? 2 : 0) + side_info;
  if ((file.Equals(xing, "Xing") || file.Equals(xing, "Info")) && (file.BE32(xing + 4) & 1)) {
    return file.BE32(xing + 8);
  }
  if (file.Equals(f + 36, "VBRI")) return file.BE32(f + 36 + 14);
  return 0;
}

// Tags written after the last frame: an APEv2 tag that begins with its
// header, then an ID3v1 tag. Returns the end of what follows b.
std::uint64_t TagsAfterFrames(FileBytes& file, std::uint64_t b) {
  constexpr std::uint32_t kApeIsHeader = 1u << 29;
  constexpr std::uint64_t kApeHeader = 32;
  constexpr std::uint64_t kApeMostBytes = 16u << 20;
  if (file.Equals(b, "APETAGEX") && file.LE32(b + 8) == 2000 && (file.LE32(b + 20) & kApeIsHeader)) {
    const std::uint64_t size = file.LE32(b + 12);  // items and footer
    // The footer's 32 bytes end the tag: they begin at b + size.
    if (size >= kApeHeader && size <= kApeMostBytes && file.Equals(b + size, "APETAGEX")) {
      b += kApeHeader + size;
    }
  }
  if (file.Equals(b, "TAG")) b += 128;
  return b;
}

// Steps over the RIFF header and its chunks to the payload of "data". The
// chunk headers must lie in the window first read at f; returns 0 when the
// wrapper does not hold.
std::uint64_t DataPayload(HandlerContext& ctx, FileBytes& file, std::uint64_t start,
                          std::uint64_t f) {
  const std::uint64_t sector_size = ctx.sector_size();
  if (file.LE16(f + 20) != kFormatMpegLayer3) return 0;
  if (f % sector_size == 0) ctx.lists.mp3.insert(start + f / sector_size);
  // The window: sector S alone for a wrapper at the start, else two sectors at f.
  const std::uint64_t window_start = f == 0 ? 0 : f / sector_size * sector_size;
  const std::uint64_t window_size = f == 0 ? sector_size : 2 * sector_size;
  std::uint64_t p = f + 12;
  while (ctx.KeepGoing()) {
    if (p > window_start + window_size - 9) return 0;
    const bool data = file.Equals(p, "data");
    const std::uint64_t size = file.LE32(p + 4);
    if (data) return p + 8;
    p += 8 + size;
  }
  return 0;
}

}  // namespace

HandlerResult HandleMp3(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  if (ctx.lists.mp3.count(start) != 0) return HandlerResult::kRejected;
  const std::uint64_t sector_size = ctx.sector_size();
  FileBytes file(ctx.reader, start, 4);
  std::uint64_t f = 0;
  if (file.Equals(0, "ID")) {
    auto tag = file.Bytes(0, 10);
    if (tag[2] != '3') return HandlerResult::kRejected;
    if ((tag[6] | tag[7] | tag[8] | tag[9]) & 0x80) return HandlerResult::kRejected;
    f = 10 + ((std::uint64_t{tag[6]} << 21) | (std::uint64_t{tag[7]} << 14) |
              (std::uint64_t{tag[8]} << 7) | tag[9]);
  }
  // A wrapper's RIFF size ends the file when it covers the frames (a pad
  // byte and chunks may follow them).
  std::uint64_t riff_end = 0;
  if (file.Equals(f, "RIFF")) {
    riff_end = f + std::uint64_t{file.LE32(f + 4)} + 8;
    f = DataPayload(ctx, file, start, f);
    if (f == 0) return HandlerResult::kRejected;
  }
  const std::uint32_t first_header = file.BE32(f);
  if (!IsFirstFrameHeader(first_header)) return HandlerResult::kRejected;
  const MpegAudioHeader first = DecodeMpegAudioHeader(first_header);

  // Pass one: two valid frames.
  std::uint64_t b = f;
  for (int i = 0; i < 2; ++i) {
    const std::uint32_t length = MpegFrameLength(file.BE32(b), first);
    if (length == 0) return HandlerResult::kRejected;
    b += length;
  }
  // Pass two: count the frames, noting those that start a sector.
  FileBytes frames(ctx.reader, start, 64);
  std::uint32_t count = 0;
  b = f;
  while (b <= kMaxMeasure && ctx.KeepGoing()) {
    const std::uint32_t length = MpegFrameLength(frames.BE32(b), first);
    if (length == 0) break;
    if (b % sector_size == 0) ctx.lists.mp3.insert(start + b / sector_size);
    ++count;
    b += length;
  }
  if (count < kMinimumFrames) {
    const std::uint32_t counted = CountedFrames(frames, f, first);
    // Encoders count the audio frames, not the one that holds the count.
    if (counted == 0 || (counted != count && counted + 1 != count)) return HandlerResult::kRejected;
  }
  b = riff_end >= b ? riff_end : TagsAfterFrames(frames, b);
  SetLengthAndSkip(rec, b);
  return HandlerResult::kAccepted;
}

}  // namespace salvor::carver

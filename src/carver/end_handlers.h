#pragma once
// The type-specific end handlers. Each gets the start sector of a hit and a
// private copy of its record; it accepts or rejects the hit and may fill the
// record's found length, skip length and skip valid (and, for OLE documents,
// its extension).

#include <cstdint>

#include "carver/handler_context.h"
#include "carver/signature_record.h"

namespace salvor::carver {

namespace type_code {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kLengthAt4 = 4;
inline constexpr std::uint32_t kAtomWalk2 = 15;
inline constexpr std::uint32_t kMpegProgramStream = 18;
inline constexpr std::uint32_t kMidi = 61;
inline constexpr std::uint32_t kMp3 = 62;
inline constexpr std::uint32_t kAtomWalk = 63;
inline constexpr std::uint32_t kRiffWave = 68;
inline constexpr std::uint32_t kPdf = 110;
inline constexpr std::uint32_t kBmp = 142;
inline constexpr std::uint32_t kGif = 161;
inline constexpr std::uint32_t kJpeg = 167;
inline constexpr std::uint32_t kPng = 185;
inline constexpr std::uint32_t kTiffBoth = 203;
inline constexpr std::uint32_t kImageHeader = 207;
inline constexpr std::uint32_t kTiffLittle = 208;
inline constexpr std::uint32_t kOle = 235;
// Our own: ZIP archives measured by their local headers and central directory.
inline constexpr std::uint32_t kZip = 250;
}  // namespace type_code

// True for the codes that have a handler (0 and 62 are dispatched by the scan).
bool HasEndHandler(std::uint32_t code);
// Runs the handler of rec.type_code; codes without one are accepted.
HandlerResult RunEndHandler(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);

HandlerResult HandleBmp(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleLengthAt4(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleImageHeader(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleRiffWave(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleMidi(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleAtomWalk(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleOle(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandlePng(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleGif(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleJpeg(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleMpegProgramStream(HandlerContext& ctx, std::uint64_t start,
                                      SignatureRecord& rec);
HandlerResult HandleMp3(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleTiff(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec,
                         bool both_orders);
HandlerResult HandlePdf(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);
HandlerResult HandleZip(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec);

// Sets found length and a valid skip of the same value.
inline void SetLengthAndSkip(SignatureRecord& rec, std::uint64_t length) {
  rec.found_length = ClampLength(length);
  rec.skip_length = rec.found_length;
  rec.skip_valid = 1;
}

}  // namespace salvor::carver

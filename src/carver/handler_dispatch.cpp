#include "carver/end_handlers.h"

namespace salvor::carver {

bool HasEndHandler(std::uint32_t code) {
  using namespace type_code;
  switch (code) {
    case kLengthAt4: case kAtomWalk2: case kMpegProgramStream: case kMidi: case kMp3:
    case kAtomWalk: case kRiffWave: case kPdf: case kBmp: case kGif: case kJpeg: case kPng:
    case kTiffBoth: case kImageHeader: case kTiffLittle: case kOle: case kZip:
      return true;
    default:
      return false;
  }
}

HandlerResult RunEndHandler(HandlerContext& ctx, std::uint64_t start, SignatureRecord& rec) {
  using namespace type_code;
  switch (rec.type_code) {
    case kBmp: return HandleBmp(ctx, start, rec);
    case kLengthAt4: return HandleLengthAt4(ctx, start, rec);
    case kImageHeader: return HandleImageHeader(ctx, start, rec);
    case kRiffWave: return HandleRiffWave(ctx, start, rec);
    case kMidi: return HandleMidi(ctx, start, rec);
    case kAtomWalk:
    case kAtomWalk2: return HandleAtomWalk(ctx, start, rec);
    case kOle: return HandleOle(ctx, start, rec);
    case kPng: return HandlePng(ctx, start, rec);
    case kGif: return HandleGif(ctx, start, rec);
    case kJpeg: return HandleJpeg(ctx, start, rec);
    case kMpegProgramStream: return HandleMpegProgramStream(ctx, start, rec);
    case kMp3: return HandleMp3(ctx, start, rec);
    case kTiffBoth: return HandleTiff(ctx, start, rec, true);
    case kTiffLittle: return HandleTiff(ctx, start, rec, false);
    case kPdf: return HandlePdf(ctx, start, rec);
    case kZip: return HandleZip(ctx, start, rec);
    case kNone: return HandlerResult::kRejected;
    default: return HandlerResult::kAccepted;
  }
}

}  // namespace salvor::carver

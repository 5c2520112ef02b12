// The carving end handlers, and the whole scan, on arbitrary disk contents.
// Byte 0 chooses a handler (or, past the list, a full scan with every
// handled type selected), byte 1 the start sector; the rest is the disk.
// Sanitizers catch reads outside buffers; the libFuzzer timeout catches
// loops that do not end.

#include <cstdint>
#include <memory>
#include <span>

#include "carver/carving_scan.h"
#include "carver/end_handlers.h"
#include "disk/host.h"
#include "memory_block_device.h"

namespace {

using namespace salvor;
using namespace salvor::carver;

constexpr std::uint32_t kCodes[] = {
    type_code::kBmp,       type_code::kLengthAt4,  type_code::kImageHeader, type_code::kRiffWave,
    type_code::kMidi,      type_code::kAtomWalk,   type_code::kAtomWalk2,   type_code::kOle,
    type_code::kPng,       type_code::kGif,        type_code::kJpeg,        type_code::kMpegProgramStream,
    type_code::kMp3,       type_code::kTiffBoth,   type_code::kTiffLittle,  type_code::kPdf,
    type_code::kZip};
constexpr std::size_t kCodeCount = sizeof(kCodes) / sizeof(kCodes[0]);

SignatureRecord Record(std::uint32_t code, std::initializer_list<std::uint8_t> sig, std::uint16_t offset = 0) {
  SignatureRecord rec;
  rec.selected = 1;
  rec.type_code = code;
  rec.extension = "x";
  rec.category = "c";
  rec.signature_offset = offset;
  rec.signature_length = static_cast<std::uint8_t>(sig.size());
  std::copy(sig.begin(), sig.end(), rec.signature.begin());
  return rec;
}

SignatureList AllTypes() {
  return {Record(type_code::kJpeg, {0xFF, 0xD8}), Record(type_code::kMp3, {'I', 'D'}),
          Record(type_code::kBmp, {'B', 'M'}), Record(type_code::kPng, {0x89, 'P', 'N', 'G'}),
          Record(type_code::kGif, {'G', 'I', 'F', '8'}), Record(type_code::kTiffLittle, {'I', 'I', '*', 0}),
          Record(type_code::kTiffBoth, {'M', 'M', 0, '*'}), Record(type_code::kPdf, {'%', 'P', 'D', 'F'}),
          Record(type_code::kRiffWave, {'R', 'I', 'F', 'F'}), Record(type_code::kMidi, {'M', 'T', 'h', 'd'}),
          Record(type_code::kMpegProgramStream, {0, 0, 1, 0xBA}), Record(type_code::kZip, {'P', 'K', 3, 4}),
          Record(type_code::kOle, {0xD0, 0xCF, 0x11, 0xE0}), Record(type_code::kAtomWalk, {'f', 't', 'y', 'p'}, 4),
          Record(type_code::kAtomWalk2, {'f', 't', 'y', 'p', '3', 'g'}, 4),
          Record(type_code::kLengthAt4, {'F', 'O', 'U', 'R'}), Record(type_code::kImageHeader, {'I', 'M', 'G', 'H'}),
          Record(1, {'S', 'P', 'A', 'N'}, 510), Record(0, {'Z', 'E', 'R', 'O'})};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t choice = data[0];
  const std::uint8_t start_choice = data[1];
  std::span<const std::uint8_t> disk_bytes(data + 2, size - 2);

  CarveDisk disk;
  AttachCarveDisk(disk, std::make_unique<fuzz::MemoryBlockDevice>(disk_bytes), 512);
  SilentHost host;
  RunControl run;
  ContinuationLists lists;
  if (choice >= kCodeCount) {
    RunCarvingScan(disk, KeepSelected(AllTypes(), 1024), lists, host, run);
    return 0;
  }
  if (disk.total_sectors == 0) return 0;
  SectorReader reader(disk, host);
  HandlerContext ctx{reader, run, lists};
  SignatureRecord rec;
  rec.type_code = kCodes[choice];
  RunEndHandler(ctx, start_choice % disk.total_sectors, rec);
  return 0;
}

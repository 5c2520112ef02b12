// End handlers on hand-built files: the format edge cases, and hostile bytes.
#include <gtest/gtest.h>

#include "carve_test_disk.h"
#include "carver/end_handlers.h"
#include "file_builders.h"

namespace salvor::carver {
namespace {

using namespace testing;

struct Outcome {
  HandlerResult result;
  SignatureRecord rec;
};

// Runs the handler of `code` on a file placed at sector 2 of a 400-sector disk.
Outcome Handle(std::uint32_t code, const Bytes& file, std::size_t sectors = 400) {
  ImageBytes img(sectors);
  img.PutSector(2, file);
  TestDisk t(img.bytes());
  SignatureRecord rec;
  rec.type_code = code;
  rec.extension = "x";
  HandlerResult r = RunEndHandler(t.ctx, 2, rec);
  return {r, rec};
}

TEST(LengthFieldHandlersTest, BmpFourAndImageHeader) {
  EXPECT_EQ(Handle(type_code::kBmp, MakeBmp(64, 48, 24)).rec.found_length, 9270u);
  Bytes four(8, 0);
  PutLE32(four, 4, 1000);
  EXPECT_EQ(Handle(type_code::kLengthAt4, four).rec.found_length, 3048u);
  Bytes header(40, 0);
  PutBE32(header, 4, 100);
  PutBE16(header, 24, 3);  // width
  PutBE16(header, 26, 3);  // height
  header[32] = 1;          // 9 bits -> 2 bytes
  auto r = Handle(type_code::kImageHeader, header);
  EXPECT_EQ(r.result, HandlerResult::kAccepted);
  EXPECT_EQ(r.rec.found_length, 2u + 100 + 8);
  EXPECT_EQ(r.rec.skip_valid, 0);
}

// "BM" and four bytes of random data are no bitmap: each field the header
// holds must be one a bitmap can have, and the size must fit the rows.
TEST(LengthFieldHandlersTest, BmpWhoseHeaderDoesNotHoldIsRejected) {
  auto rejected = [](Bytes b) { return Handle(type_code::kBmp, b).result == HandlerResult::kRejected; };
  Bytes garbage = MakeBmp(64, 48, 24);
  PutLE32(garbage, 18, 1'900'000'000);  // width
  PutLE16(garbage, 28, 61243);          // bits per pixel
  PutLE32(garbage, 2, 0x7FFFFFFF);
  EXPECT_TRUE(rejected(garbage));
  Bytes b = MakeBmp(64, 48, 24);
  PutLE32(b, 2, 9269);  // one byte short of the rows
  EXPECT_TRUE(rejected(b));
  b = MakeBmp(64, 48, 24);
  PutLE32(b, 2, 9270 + (2u << 20));  // far more than the rows and a profile
  EXPECT_TRUE(rejected(b));
  b = MakeBmp(64, 48, 24);
  PutLE16(b, 26, 2);  // planes
  EXPECT_TRUE(rejected(b));
  b = MakeBmp(64, 48, 24);
  PutLE32(b, 14, 41);  // info header size
  EXPECT_TRUE(rejected(b));
  b = MakeBmp(64, 48, 24);
  PutLE32(b, 30, 1);  // RLE8 on 24 bits per pixel
  EXPECT_TRUE(rejected(b));
  b = MakeBmp(64, 48, 24);
  PutLE32(b, 10, 20);  // pixels inside the headers
  EXPECT_TRUE(rejected(b));
  b = MakeBmp(64, 48, 24);
  PutLE32(b, 22, 0);  // height
  EXPECT_TRUE(rejected(b));
  Bytes rle = MakeBmp(64, 48, 8);
  PutLE32(rle, 30, 1);
  PutLE32(rle, 2, 54 + 1024 + 500);  // compressed rows: smaller than the raw ones
  EXPECT_EQ(Handle(type_code::kBmp, rle).rec.found_length, 54u + 1024 + 500);
  Bytes top_down = MakeBmp(64, 48, 24);
  PutLE32(top_down, 22, static_cast<std::uint32_t>(-48));
  EXPECT_EQ(Handle(type_code::kBmp, top_down).rec.found_length, 9270u);

  // The other length fields: empty, wrapping or impossible values.
  Bytes four(8, 0);
  EXPECT_EQ(Handle(type_code::kLengthAt4, four).result, HandlerResult::kRejected);
  PutLE32(four, 4, 0xFFFFFF00u);
  EXPECT_EQ(Handle(type_code::kLengthAt4, four).result, HandlerResult::kRejected);
  Bytes header(40, 0);
  PutBE32(header, 4, 100);
  PutBE16(header, 24, 3);
  PutBE16(header, 26, 3);
  header[32] = 7;  // no such depth
  EXPECT_EQ(Handle(type_code::kImageHeader, header).result, HandlerResult::kRejected);
  header[32] = 1;
  PutBE32(header, 4, 0xFFFFFFF0u);  // a header that would wrap the length
  EXPECT_EQ(Handle(type_code::kImageHeader, header).result, HandlerResult::kRejected);
}

TEST(RiffWaveHandlerTest, PcmIsRiffSizePlusEightMpegGoesToMp3) {
  Bytes wav;
  AppendText(wav, "RIFF");
  PutLE32(wav, 4, 5000);
  PutText(wav, 8, "WAVEfmt ");
  PutLE16(wav, 20, 1);
  EXPECT_EQ(Handle(type_code::kRiffWave, wav).rec.found_length, 5008u);

  Bytes mpeg;
  AppendText(mpeg, "RIFF");
  PutLE32(mpeg, 4, 0);
  PutText(mpeg, 8, "WAVEfmt ");
  PutLE32(mpeg, 16, 30);
  PutLE16(mpeg, 20, 0x55);
  mpeg.resize(50, 0);
  AppendText(mpeg, "data");
  PutLE32(mpeg, 54, 40 * kMp3FrameLength);
  Append(mpeg, MakeMp3Frames(40));
  auto r = Handle(type_code::kRiffWave, mpeg);
  EXPECT_EQ(r.result, HandlerResult::kAccepted);
  EXPECT_EQ(r.rec.found_length, mpeg.size());
  EXPECT_EQ(r.rec.skip_valid, 1);

  Bytes avi = wav;
  PutText(avi, 8, "AVI ");
  EXPECT_EQ(Handle(type_code::kRiffWave, avi).result, HandlerResult::kRejected);
}

TEST(MidiHandlerTest, ChunkWalkEndsAtTheLastChunk) {
  Bytes midi;
  AppendText(midi, "MThd");
  PutBE32(midi, 4, 6);
  midi.resize(14, 0);
  AppendText(midi, "MTrk");
  PutBE32(midi, 18, 100);
  midi.resize(122, 0);
  auto r = Handle(type_code::kMidi, midi);
  EXPECT_EQ(r.rec.found_length, 122u);
  EXPECT_EQ(r.rec.skip_length, 122u);
}

TEST(AtomWalkHandlerTest, StopsAtANonLetterTypeAZeroSizeOrTheDiskEnd) {
  Bytes mp4;
  PutBE32(mp4, 0, 24);
  PutText(mp4, 4, "ftypisom");
  PutBE32(mp4, 24, 1000);
  PutText(mp4, 28, "mdat");
  mp4.resize(1024, 0);
  PutBE32(mp4, 1024, 16);
  PutText(mp4, 1028, "Moov");  // upper case: not an atom
  EXPECT_EQ(Handle(type_code::kAtomWalk, mp4).rec.found_length, 1024u);
  EXPECT_EQ(Handle(type_code::kAtomWalk2, mp4).rec.found_length, 1024u);
  // An atom claiming more than the disk holds ends the walk before it.
  Bytes huge = mp4;
  PutBE32(huge, 24, 0x7FFFFFFF);
  EXPECT_EQ(Handle(type_code::kAtomWalk, huge).rec.found_length, 24u);
}

Bytes Ole(std::uint32_t fat, std::uint32_t directory, std::string_view second_entry) {
  Bytes ole = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  PutLE32(ole, 0x2C, fat);
  PutLE32(ole, 0x30, directory);
  ole.resize((directory + 1) * 512 + 512, 0);
  auto name = [&](std::size_t at, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) ole[at + 2 * i] = static_cast<std::uint8_t>(text[i]);
  };
  name((directory + 1) * 512, "Root Entry");
  name((directory + 1) * 512 + 128, second_entry);
  return ole;
}

TEST(OleHandlerTest, DirectoryNamesTheApplication) {
  auto doc = Handle(type_code::kOle, Ole(1, 1, "WordDocument"));
  EXPECT_EQ(doc.result, HandlerResult::kAccepted);
  EXPECT_EQ(doc.rec.extension, "doc");
  EXPECT_EQ(doc.rec.found_length, 129u * 512);
  EXPECT_EQ(doc.rec.skip_length, 3u * 512);
  EXPECT_EQ(doc.rec.skip_valid, 1);
  EXPECT_EQ(Handle(type_code::kOle, Ole(2, 3, "Workbook")).rec.extension, "xls");
  EXPECT_EQ(Handle(type_code::kOle, Ole(1, 1, "PowerPoint Document")).rec.extension, "ppt");
  Bytes broken = Ole(1, 1, "WordDocument");
  broken[1024] = 'X';
  EXPECT_EQ(Handle(type_code::kOle, broken).result, HandlerResult::kRejected);
}

Bytes PngWithChunks(const std::vector<std::string>& types) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  PutBE32(png, 8, 13);
  PutText(png, 12, "IHDR");
  PutBE32(png, 16, 10);
  PutBE32(png, 20, 10);
  png.push_back(8);
  png.push_back(2);
  png.insert(png.end(), {0, 0, 0});
  png.insert(png.end(), {1, 2, 3, 4});  // CRC
  for (const auto& type : types) {
    Bytes chunk;
    PutBE32(chunk, 0, 5);
    PutText(chunk, 4, type);
    chunk.resize(8 + 5 + 4, 0x33);
    Append(png, chunk);
  }
  return png;
}

TEST(PngHandlerTest, WalksToIendOrToTheFirstBadChunk) {
  Bytes png = PngWithChunks({"tEXt", "IDAT", "IEND"});
  auto r = Handle(type_code::kPng, png);
  EXPECT_EQ(r.result, HandlerResult::kAccepted);
  EXPECT_EQ(r.rec.found_length, png.size());
  EXPECT_EQ(r.rec.skip_valid, 1);
  // The eighth chunk (IHDR is the first) has a digit in its type.
  Bytes digit = PngWithChunks({"aaaa", "bbbb", "cccc", "dddd", "eeee", "ffff", "gg1g", "IEND"});
  auto d = Handle(type_code::kPng, digit);
  EXPECT_EQ(d.rec.found_length, 33u + 6 * 17);
  EXPECT_EQ(d.rec.skip_valid, 1);
  Bytes bad_depth = png;
  bad_depth[24] = 3;
  EXPECT_EQ(Handle(type_code::kPng, bad_depth).result, HandlerResult::kRejected);
  Bytes bad_colour = png;
  bad_colour[25] = 5;
  EXPECT_EQ(Handle(type_code::kPng, bad_colour).result, HandlerResult::kRejected);
}

TEST(GifHandlerTest, BlockWalkToTheTrailer) {
  Bytes gif;
  AppendText(gif, "GIF89a");
  gif.insert(gif.end(), {10, 0, 10, 0, 0x80, 0, 0});  // global table of 2 colours
  gif.insert(gif.end(), 6, 0x20);
  gif.insert(gif.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});  // graphic control + terminator
  gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 10, 0, 10, 0, 0, 2, 3, 1, 2, 3, 0, 0x3B});
  auto r = Handle(type_code::kGif, gif);
  EXPECT_EQ(r.rec.found_length, gif.size());
  EXPECT_EQ(r.rec.skip_valid, 0);
}

TEST(JpegHandlerTest, ProgressiveAndExtendedFramesAreAccepted) {
  for (std::uint8_t marker : {0xC0, 0xC1, 0xC2}) {
    Bytes jpeg = MakeJpeg(marker, 100, 100, 2000);
    auto r = Handle(type_code::kJpeg, jpeg);
    EXPECT_EQ(r.result, HandlerResult::kAccepted) << int{marker};
    EXPECT_EQ(r.rec.found_length, jpeg.size());
    EXPECT_EQ(r.rec.skip_valid, 1);
  }
}

TEST(JpegHandlerTest, ScanBeforeAnyFrameIsRejected) {
  Bytes jpeg = MakeJpeg(0xC3, 100, 100, 2000);  // lossless: not a frame we measure
  EXPECT_EQ(Handle(type_code::kJpeg, jpeg).result, HandlerResult::kRejected);
  Bytes bad = MakeJpeg(0xC0, 100, 100, 200);
  bad[3] = 0x00;
  EXPECT_EQ(Handle(type_code::kJpeg, bad).result, HandlerResult::kRejected);
  Bytes broken_chain = MakeJpeg(0xC0, 100, 100, 200);
  broken_chain[20] = 0x12;  // where the frame marker's FF should be
  EXPECT_EQ(Handle(type_code::kJpeg, broken_chain).result, HandlerResult::kRejected);
}

TEST(JpegHandlerTest, WithoutEndMarkerTheEstimateIsTheLength) {
  // 200 x 200 x 3 / 2 / 512 = 117 sectors from the sector of the data.
  Bytes jpeg = MakeJpeg(0xC0, 200, 200, 600, false);
  auto r = Handle(type_code::kJpeg, jpeg);
  EXPECT_EQ(r.result, HandlerResult::kAccepted);
  EXPECT_EQ(r.rec.found_length, 117u * 512);
  EXPECT_EQ(r.rec.skip_valid, 0);
  // Near the disk end: the rest of the disk but one sector.
  auto near = Handle(type_code::kJpeg, jpeg, 100);
  EXPECT_EQ(near.rec.found_length, (100u - 2 - 1) * 512);
}

Bytes ProgramStream(std::size_t packs, std::size_t stride) {
  Bytes b;
  for (std::size_t i = 0; i < packs; ++i) {
    Bytes pack(stride, 0xFF);
    PutBE32(pack, 0, 0x000001BA);
    Append(b, pack);
  }
  PutBE32(b, b.size(), 0x000001B9);
  return b;
}

TEST(MpegProgramStreamHandlerTest, StrideWalkAndContinuations) {
  ImageBytes img(400);
  Bytes ps = ProgramStream(10, 1024);
  img.PutSector(2, ps);
  TestDisk t(img.bytes());
  SignatureRecord rec;
  rec.type_code = type_code::kMpegProgramStream;
  EXPECT_EQ(RunEndHandler(t.ctx, 2, rec), HandlerResult::kAccepted);
  EXPECT_EQ(rec.found_length, ps.size());
  EXPECT_EQ(rec.skip_valid, 0);
  EXPECT_TRUE(t.lists.mpeg.count(4));
  EXPECT_TRUE(t.lists.mpeg.count(20));
  SignatureRecord inner;
  inner.type_code = type_code::kMpegProgramStream;
  EXPECT_EQ(RunEndHandler(t.ctx, 4, inner), HandlerResult::kRejected);
  // Not a pack start at all: accepted without a length.
  SignatureRecord other;
  other.type_code = type_code::kMpegProgramStream;
  EXPECT_EQ(RunEndHandler(t.ctx, 100, other), HandlerResult::kAccepted);
  EXPECT_EQ(other.found_length, 0u);
}

Bytes Tiff(bool big, std::uint32_t ifd, std::uint32_t strip_offset, std::uint32_t strip_bytes) {
  Bytes b;
  auto u16 = [&](std::size_t at, std::uint16_t v) { big ? PutBE16(b, at, v) : PutLE16(b, at, v); };
  auto u32 = [&](std::size_t at, std::uint32_t v) { big ? PutBE32(b, at, v) : PutLE32(b, at, v); };
  PutText(b, 0, big ? std::string_view("MM\0*", 4) : std::string_view("II*\0", 4));
  u32(4, ifd);
  u16(ifd, 3);
  const std::uint16_t tags[3] = {256, 273, 279};
  const std::uint32_t values[3] = {10, strip_offset, strip_bytes};
  for (int i = 0; i < 3; ++i) {
    const std::size_t at = ifd + 2 + 12 * i;
    u16(at, tags[i]);
    u16(at + 2, 4);
    u32(at + 4, 1);
    u32(at + 8, values[i]);
  }
  u32(ifd + 2 + 36, 0);
  return b;
}

TEST(TiffHandlerTest, LengthIsTheFurthestStripEndInBothOrders) {
  auto le = Handle(type_code::kTiffLittle, Tiff(false, 8, 100, 900));
  EXPECT_EQ(le.result, HandlerResult::kAccepted);
  EXPECT_EQ(le.rec.found_length, 1000u);
  EXPECT_EQ(le.rec.skip_valid, 1);
  EXPECT_EQ(Handle(type_code::kTiffBoth, Tiff(true, 8, 200, 900)).rec.found_length, 1100u);
  EXPECT_EQ(Handle(type_code::kTiffBoth, Tiff(false, 8, 200, 900)).rec.found_length, 1100u);
}

TEST(TiffHandlerTest, OddFirstIfdRawFormatsAndLoopsAreHandled) {
  EXPECT_EQ(Handle(type_code::kTiffLittle, Tiff(false, 9, 100, 900)).result, HandlerResult::kRejected);
  Bytes nikon = Tiff(false, 8, 100, 900);
  PutText(nikon, 600, "NIKON");
  EXPECT_EQ(Handle(type_code::kTiffBoth, nikon).result, HandlerResult::kRejected);
  EXPECT_EQ(Handle(type_code::kTiffLittle, nikon).result, HandlerResult::kAccepted);
  Bytes canon = Tiff(false, 16, 100, 900);
  PutLE32(canon, 8, 0x00025243);
  EXPECT_EQ(Handle(type_code::kTiffBoth, canon).result, HandlerResult::kRejected);
  // An IFD whose next offset points at itself: measured once, then the walk ends.
  Bytes loop = Tiff(false, 8, 100, 900);
  PutLE32(loop, 8 + 2 + 36, 8);
  EXPECT_EQ(Handle(type_code::kTiffLittle, loop).rec.found_length, 1000u);
}

TEST(PdfHandlerTest, LinearizedLengthTrailerEndAndUpdates) {
  Bytes lin;
  AppendText(lin, "%PDF-1.5\n1 0 obj\n<< /Linearized 1 /L 12345 /H [ 1 2 ] >>\nendobj\n");
  EXPECT_EQ(Handle(type_code::kPdf, lin).rec.found_length, 12345u);

  Bytes plain;
  AppendText(plain, "%PDF-1.4\n1 0 obj\n<<>>\nendobj\n");
  plain.resize(3000, ' ');
  AppendText(plain, "trailer\n<< /Root 1 0 R >>\nstartxref\n9\n%%EOF\n");
  auto r = Handle(type_code::kPdf, plain);
  EXPECT_EQ(r.result, HandlerResult::kAccepted);
  EXPECT_EQ(r.rec.found_length, plain.size());

  Bytes updated = plain;
  AppendText(updated, "2 0 obj\n<<>>\nendobj\nxref\ntrailer\n<<>>\nstartxref\n9\n%%EOF\r\n");
  EXPECT_EQ(Handle(type_code::kPdf, updated).rec.found_length, updated.size());

  Bytes no_end;
  AppendText(no_end, "%PDF-1.4\nno trailer here\n");
  auto n = Handle(type_code::kPdf, no_end);
  EXPECT_EQ(n.result, HandlerResult::kAccepted);
  EXPECT_EQ(n.rec.found_length, 0u);

  Bytes wrong;
  AppendText(wrong, "%PDF-2.0\n");
  EXPECT_EQ(Handle(type_code::kPdf, wrong).result, HandlerResult::kRejected);
}

TEST(PdfHandlerTest, NextPdfAtASectorStartEndsTheSearch) {
  Bytes first;
  AppendText(first, "%PDF-1.4\n");
  first.resize(1024, ' ');
  AppendText(first, "%PDF-1.4\ntrailer\nstartxref\n0\n%%EOF\n");
  EXPECT_EQ(Handle(type_code::kPdf, first).rec.found_length, 0u);
}

TEST(ZipHandlerTest, MeasuresToTheEndRecordAndItsComment) {
  Bytes zip = MakeZip({{"a.txt", Bytes(700, 'a')}, {"b.txt", Bytes(3000, 'b')}}, "comment");
  auto r = Handle(type_code::kZip, zip);
  EXPECT_EQ(r.result, HandlerResult::kAccepted);
  EXPECT_EQ(r.rec.found_length, zip.size());
  EXPECT_EQ(r.rec.skip_length, zip.size());
}

TEST(ZipHandlerTest, BrokenStructureIsRejected) {
  Bytes zip = MakeZip({{"a.txt", Bytes(700, 'a')}, {"b.txt", Bytes(300, 'b')}});
  Bytes no_end = zip;
  no_end.resize(zip.size() - 22);
  EXPECT_EQ(Handle(type_code::kZip, no_end).result, HandlerResult::kRejected);
  Bytes wrong_offset = zip;
  wrong_offset[zip.size() - 6] ^= 1;
  EXPECT_EQ(Handle(type_code::kZip, wrong_offset).result, HandlerResult::kRejected);
  Bytes cut_size = zip;
  PutLE32(cut_size, 18, 600);  // the first member claims fewer bytes than it has
  EXPECT_EQ(Handle(type_code::kZip, cut_size).result, HandlerResult::kRejected);
}

TEST(HandlersTest, ZerosAndOnesNeverHangOrReadOutside) {
  // Every handler over sectors of all-zero and all-0xFF bytes, and over a
  // sector at the very end of the disk.
  const std::uint32_t codes[] = {4, 15, 18, 61, 62, 63, 68, 110, 142, 161, 167, 185, 203, 207, 208,
                                 235, type_code::kZip, 1, 0};
  for (std::uint8_t fill : {0x00, 0xFF, 0x4D}) {
    ImageBytes img(64);
    img.Put(0, Bytes(64 * 512, fill));
    for (std::uint32_t code : codes) {
      for (std::uint64_t start : {0ull, 63ull}) {
        TestDisk t(img.bytes());
        SignatureRecord rec;
        rec.type_code = code;
        RunEndHandler(t.ctx, start, rec);
      }
    }
  }
  SUCCEED();
}

}  // namespace
}  // namespace salvor::carver

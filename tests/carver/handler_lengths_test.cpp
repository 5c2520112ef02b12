// End handlers measuring files as the tools that write them lay them out:
// JPEG ends past the size estimate and at the disk end, program streams with
// uneven packs, OLE files by their FAT, MP3 tags and short tagged streams.
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

// Runs the handler of `code` on a file placed at sector `at` of a disk.
Outcome Handle(std::uint32_t code, const Bytes& file, std::size_t sectors = 800,
               std::uint64_t at = 2, std::uint32_t maximum = 0) {
  ImageBytes img(sectors);
  img.PutSector(at, file);
  img.bytes().resize(sectors * 512);
  TestDisk t(img.bytes());
  SignatureRecord rec;
  rec.type_code = code;
  rec.extension = "x";
  rec.maximum_length = maximum;
  HandlerResult r = RunEndHandler(t.ctx, at, rec);
  return {r, rec};
}

// A 40 x 40 JPEG (estimate: 4 sectors) with `data` bytes of entropy data.
Bytes SmallFrameJpeg(std::size_t data) { return MakeJpeg(0xC0, 40, 40, data); }

TEST(JpegLengthTest, EndBeyondTheEstimateIsSearchedUpToTheMaximum) {
  // 200 sectors of data: far beyond the two windows the estimate allows.
  Bytes jpeg = SmallFrameJpeg(200 * 512);
  auto r = Handle(type_code::kJpeg, jpeg);
  EXPECT_EQ(r.result, HandlerResult::kAccepted);
  EXPECT_EQ(r.rec.found_length, jpeg.size());
  EXPECT_EQ(r.rec.skip_valid, 1);
  // An end beyond the user's maximum and the 2 MiB searched at least: the
  // estimate stands; a larger maximum finds it.
  const std::uint32_t estimate = 4 * 512;  // from the sector of the data
  Bytes large = SmallFrameJpeg((2u << 20) + 512);
  auto capped = Handle(type_code::kJpeg, large, 4400, 2, 1024);
  EXPECT_EQ(capped.rec.found_length, estimate);
  EXPECT_EQ(capped.rec.skip_valid, 0);
  EXPECT_EQ(Handle(type_code::kJpeg, large, 4400, 2, 4u << 20).rec.found_length, large.size());
  // Bytes that cannot be entropy data before the end marker: the estimate.
  Bytes broken = jpeg;
  broken[150 * 512] = 0xFF;
  broken[150 * 512 + 1] = 0x12;
  auto b = Handle(type_code::kJpeg, broken);
  EXPECT_EQ(b.rec.found_length, estimate);
  EXPECT_EQ(b.rec.skip_valid, 0);
  // Restart markers, fill bytes and the tables and scans of a progressive
  // file between its scans are passed, table bytes included.
  Bytes progressive = SmallFrameJpeg(150 * 512);
  progressive.resize(progressive.size() - 2);  // no end marker yet
  Append(progressive, {0xFF, 0xD3, 0x20, 0xFF, 0xFF, 0xC4, 0x00, 0x06, 0xFF, 0x12, 0xFF, 0xD9});
  Append(progressive, {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x01, 0x3F, 0x00});
  Append(progressive, Bytes(20 * 512, 0x42));
  Append(progressive, {0xFF, 0xD9});
  auto p = Handle(type_code::kJpeg, progressive);
  EXPECT_EQ(p.rec.found_length, progressive.size());
}

TEST(JpegLengthTest, AFileMayEndInTheDisksLastSector) {
  // 40 sectors on the disk; the JPEG from sector 2 ends in sector 39.
  Bytes jpeg = SmallFrameJpeg(37 * 512 + 100);
  auto r = Handle(type_code::kJpeg, jpeg, 40);
  ASSERT_EQ((2 * 512 + jpeg.size() - 1) / 512, 39u);
  EXPECT_EQ(r.rec.found_length, jpeg.size());
  EXPECT_EQ(r.rec.skip_valid, 1);
}

// A program stream of packs of uneven lengths: MPEG-1 packs (12-byte header)
// or MPEG-2 packs (14 bytes and `stuffing`), each with one packet of the
// given payload length.
Bytes UnevenProgramStream(const std::vector<std::size_t>& payloads, bool mpeg2,
                          std::uint8_t stuffing = 0) {
  Bytes b;
  for (std::size_t payload : payloads) {
    Bytes pack = {0x00, 0x00, 0x01, 0xBA};
    if (mpeg2) {
      Append(pack, {0x44, 0, 4, 0, 4, 1, 0x01, 0x89, 0xC3, static_cast<std::uint8_t>(0xF8 | stuffing)});
      pack.insert(pack.end(), stuffing, 0xFF);
    } else {
      Append(pack, {0x21, 0, 1, 0, 1, 0x80, 0x1B, 0x91});
    }
    Append(pack, {0x00, 0x00, 0x01, 0xE0});
    PutBE16(pack, pack.size(), static_cast<std::uint16_t>(payload));
    pack.insert(pack.end(), payload, 0x5A);
    Append(b, pack);
  }
  Append(b, {0x00, 0x00, 0x01, 0xB9});
  return b;
}

TEST(MpegProgramStreamLengthTest, PacksAndPacketsAreWalkedToTheEndCode) {
  // The second pack starts at 512: a sector start, listed as a continuation.
  const std::vector<std::size_t> payloads = {512 - 12 - 6, 3000, 700, 2048, 5, 4000};
  for (bool mpeg2 : {false, true}) {
    SCOPED_TRACE(mpeg2);
    ImageBytes img(200);
    Bytes ps = UnevenProgramStream(payloads, mpeg2, 3);
    img.PutSector(2, ps);
    TestDisk t(img.bytes());
    SignatureRecord rec;
    rec.type_code = type_code::kMpegProgramStream;
    EXPECT_EQ(RunEndHandler(t.ctx, 2, rec), HandlerResult::kAccepted);
    EXPECT_EQ(rec.found_length, ps.size());
    if (!mpeg2) {
      EXPECT_TRUE(t.lists.mpeg.count(3));
    }
  }
  // A stream cut by other bytes ends before them.
  Bytes cut = UnevenProgramStream(payloads, false);
  const std::size_t second = 512;
  cut.resize(second + 700);
  cut[second + 3] = 0xB3;  // a sequence header is no pack-level start code
  EXPECT_EQ(Handle(type_code::kMpegProgramStream, cut).rec.found_length, second);
}

// A compound file: header, FAT sectors, directory sectors (chained by the
// FAT), stream sectors up to `used`, then free sectors up to `written`.
Bytes CompoundFile(std::uint16_t shift, std::uint32_t used, std::uint32_t written,
                   const std::vector<std::string>& names) {
  const std::size_t sector = std::size_t{1} << shift;
  const std::uint32_t per_sector = static_cast<std::uint32_t>(sector / 128);
  const std::uint32_t directory_sectors =
      static_cast<std::uint32_t>((names.size() + 1 + per_sector - 1) / per_sector);
  Bytes f(sector * (1 + written), 0);
  const std::uint8_t magic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::copy(std::begin(magic), std::end(magic), f.begin());
  PutLE16(f, 0x1E, shift);
  PutLE32(f, 0x2C, 1);  // one FAT sector: file sector 0
  PutLE32(f, 0x30, 1);  // directory from file sector 1
  for (int i = 0; i < 109; ++i) PutLE32(f, 0x4C + 4 * i, i == 0 ? 0 : 0xFFFFFFFF);
  const std::size_t fat = sector;
  for (std::uint32_t i = 0; i < sector / 4; ++i) {
    std::uint32_t v = 0xFFFFFFFF;
    if (i == 0) v = 0xFFFFFFFD;
    else if (i <= directory_sectors) v = i == directory_sectors ? 0xFFFFFFFE : i + 1;
    else if (i <= used) v = i == used ? 0xFFFFFFFE : i + 1;
    PutLE32(f, fat + 4 * i, v);
  }
  std::vector<std::string> all = {"Root Entry"};
  all.insert(all.end(), names.begin(), names.end());
  for (std::size_t e = 0; e < all.size(); ++e) {
    const std::size_t at = 2 * sector + e * 128;  // file sector 1 onwards
    for (std::size_t i = 0; i < all[e].size(); ++i) f[at + 2 * i] = static_cast<std::uint8_t>(all[e][i]);
    PutLE16(f, at + 64, static_cast<std::uint16_t>(2 * all[e].size() + 2));
  }
  return f;
}

TEST(OleLengthTest, LengthIsTheHighestUsedSectorAndTheTypeComesFromTheWholeDirectory) {
  // Word's stream named in the fifth entry, in the directory's second sector.
  auto doc = Handle(type_code::kOle,
                    CompoundFile(9, 20, 40, {"1Table", "CompObj", "SummaryInformation", "WordDocument"}));
  EXPECT_EQ(doc.result, HandlerResult::kAccepted);
  EXPECT_EQ(doc.rec.extension, "doc");
  EXPECT_EQ(doc.rec.found_length, (20u + 2) * 512);
  EXPECT_EQ(Handle(type_code::kOle, CompoundFile(9, 10, 10, {"a", "b", "c", "d", "Book"})).rec.extension, "xls");
  EXPECT_EQ(Handle(type_code::kOle, CompoundFile(9, 10, 10, {"Workbook"})).rec.extension, "xls");
  EXPECT_EQ(Handle(type_code::kOle, CompoundFile(9, 10, 10, {"x", "y", "z", "PowerPoint Document"})).rec.extension,
            "ppt");
  // 4096-byte sectors: the sector shift sizes the sectors.
  auto big = Handle(type_code::kOle, CompoundFile(12, 30, 31, {"WordDocument"}), 1000);
  EXPECT_EQ(big.result, HandlerResult::kAccepted);
  EXPECT_EQ(big.rec.extension, "doc");
  EXPECT_EQ(big.rec.found_length, (30u + 2) * 4096);
}

// `n` MP3 frames whose first is a LAME Info frame counting `counted` frames.
Bytes InfoTaggedFrames(std::size_t n, std::uint32_t counted) {
  Bytes b = MakeMp3Frames(n);
  PutText(b, 36, "Info");
  PutBE32(b, 40, 1);  // frame count present
  PutBE32(b, 44, counted);
  return b;
}

Bytes Id3v1() {
  Bytes tag(128, ' ');
  PutText(tag, 0, "TAG");
  return tag;
}

TEST(Mp3LengthTest, TagsAfterTheLastFrameAndShortStreamsWithAMatchingCount) {
  Bytes tagged = MakeMp3Frames(45);
  Append(tagged, Id3v1());
  auto t = Handle(type_code::kMp3, tagged);
  EXPECT_EQ(t.result, HandlerResult::kAccepted);
  EXPECT_EQ(t.rec.found_length, tagged.size());

  Bytes ape = MakeMp3Frames(45);
  Bytes ape_tag(32 + 20 + 32, 0x61);
  PutText(ape_tag, 0, "APETAGEX");
  PutLE32(ape_tag, 8, 2000);
  PutLE32(ape_tag, 12, 20 + 32);         // items and footer
  PutLE32(ape_tag, 20, 0xA0000000);      // has a header; this is it
  PutText(ape_tag, 52, "APETAGEX");
  PutLE32(ape_tag, 60, 2000);
  PutLE32(ape_tag, 64, 20 + 32);
  PutLE32(ape_tag, 72, 0x80000000);
  Append(ape, ape_tag);
  Append(ape, Id3v1());
  EXPECT_EQ(Handle(type_code::kMp3, ape).rec.found_length, ape.size());

  // 18 frames: the Info frame and 17 of audio, as lame counts them.
  Bytes short_stream = InfoTaggedFrames(18, 17);
  auto s = Handle(type_code::kMp3, short_stream);
  EXPECT_EQ(s.result, HandlerResult::kAccepted);
  EXPECT_EQ(s.rec.found_length, short_stream.size());
  EXPECT_EQ(Handle(type_code::kMp3, InfoTaggedFrames(18, 30)).result, HandlerResult::kRejected);
  EXPECT_EQ(Handle(type_code::kMp3, MakeMp3Frames(18)).result, HandlerResult::kRejected);
}

TEST(RiffWaveLengthTest, MpegDataIsMeasuredByTheRiffSizeWhenItCoversTheFrames) {
  Bytes wav;
  AppendText(wav, "RIFF");
  PutText(wav, 8, "WAVEfmt ");
  PutLE32(wav, 16, 30);
  PutLE16(wav, 20, 0x55);
  wav.resize(50, 0);
  AppendText(wav, "data");
  const std::size_t data = 40 * kMp3FrameLength + 1;  // an odd size: a pad byte follows
  PutLE32(wav, 54, static_cast<std::uint32_t>(data));
  Append(wav, MakeMp3Frames(40));
  wav.push_back(0x00);  // the last byte of the data chunk, not a frame
  wav.push_back(0x00);  // the pad byte
  AppendText(wav, "LIST");
  PutLE32(wav, wav.size(), 4);
  AppendText(wav, "INFO");
  PutLE32(wav, 4, static_cast<std::uint32_t>(wav.size() - 8));
  auto r = Handle(type_code::kRiffWave, wav);
  EXPECT_EQ(r.result, HandlerResult::kAccepted);
  EXPECT_EQ(r.rec.found_length, wav.size());
  // A RIFF size short of the frames does not cut them.
  PutLE32(wav, 4, 100);
  EXPECT_EQ(Handle(type_code::kRiffWave, wav).rec.found_length, 58u + 40 * kMp3FrameLength);
}

}  // namespace
}  // namespace salvor::carver

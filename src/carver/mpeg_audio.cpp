#include "carver/mpeg_audio.h"

namespace salvor::carver {
namespace {

// kbit/s by bit-rate index; index 0 (free format) and 15 are not used.
constexpr std::uint16_t kV1L1[16] = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0};
constexpr std::uint16_t kV1L2[16] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};
constexpr std::uint16_t kV1L3[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr std::uint16_t kV2L1[16] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0};
constexpr std::uint16_t kV2L23[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr std::uint32_t kRates[3] = {44100, 48000, 32000};

constexpr std::uint8_t kLayer3 = 1, kLayer2 = 2, kLayer1 = 3;
constexpr std::uint8_t kMpeg1 = 3, kMpeg2 = 2, kMpeg25 = 0;

}  // namespace

MpegAudioHeader DecodeMpegAudioHeader(std::uint32_t h) {
  MpegAudioHeader m;
  m.version = static_cast<std::uint8_t>((h >> 19) & 3);
  m.layer = static_cast<std::uint8_t>((h >> 17) & 3);
  m.protection = static_cast<std::uint8_t>((h >> 16) & 1);
  m.bitrate_index = static_cast<std::uint8_t>((h >> 12) & 15);
  m.rate_index = static_cast<std::uint8_t>((h >> 10) & 3);
  m.padding = static_cast<std::uint8_t>((h >> 9) & 1);
  return m;
}

bool IsFirstFrameHeader(std::uint32_t header) {
  if (header < 0xFFE00000u) return false;
  const MpegAudioHeader m = DecodeMpegAudioHeader(header);
  return m.bitrate_index != 15 && m.version != 1 && m.layer != 0;
}

std::uint32_t MpegFrameLength(std::uint32_t header, const MpegAudioHeader& first) {
  if (header < 0xFFE00000u) return 0;
  const MpegAudioHeader m = DecodeMpegAudioHeader(header);
  if (m.version != first.version || m.layer != first.layer || m.protection != first.protection)
    return 0;
  if (m.bitrate_index == 0 || m.bitrate_index == 15 || m.rate_index == 3) return 0;
  if (m.version == 1 || m.layer == 0) return 0;
  const bool v1 = m.version == kMpeg1;
  std::uint32_t kbps = 0;
  if (m.layer == kLayer1) kbps = v1 ? kV1L1[m.bitrate_index] : kV2L1[m.bitrate_index];
  else if (m.layer == kLayer2) kbps = v1 ? kV1L2[m.bitrate_index] : kV2L23[m.bitrate_index];
  else kbps = v1 ? kV1L3[m.bitrate_index] : kV2L23[m.bitrate_index];
  std::uint32_t rate = kRates[m.rate_index];
  if (m.version == kMpeg2) rate /= 2;
  if (m.version == kMpeg25) rate /= 4;
  if (m.layer == kLayer1) return 4 * (12000 * kbps / rate + m.padding);
  // Layer III of MPEG 2 and 2.5 has half as many samples per frame.
  if (m.layer == kLayer3 && !v1) return 72000 * kbps / rate + m.padding;
  return 144000 * kbps / rate + m.padding;
}

}  // namespace salvor::carver

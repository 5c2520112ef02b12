#pragma once
// MPEG audio frame headers (ISO 11172-3 / 13818-3): validity and frame length.

#include <cstdint>

namespace salvor::carver {

struct MpegAudioHeader {
  std::uint8_t version = 0;  // bits 20-19: 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1 (1 reserved)
  std::uint8_t layer = 0;    // bits 18-17: 1 Layer III, 2 Layer II, 3 Layer I (0 reserved)
  std::uint8_t protection = 0;
  std::uint8_t bitrate_index = 0;
  std::uint8_t rate_index = 0;
  std::uint8_t padding = 0;
};

MpegAudioHeader DecodeMpegAudioHeader(std::uint32_t header);

// True for a first frame: sync bits set, bit rate index not 15, version and
// layer not reserved.
bool IsFirstFrameHeader(std::uint32_t header);

// Length in bytes of a frame that matches the first frame's version, layer
// and protection and has a usable bit rate and sampling rate; 0 otherwise.
std::uint32_t MpegFrameLength(std::uint32_t header, const MpegAudioHeader& first);

}  // namespace salvor::carver

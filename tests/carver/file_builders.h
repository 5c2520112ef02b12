#pragma once
// Small, structurally real files built in memory for handler and scan tests.

#include <cstdint>
#include <string>
#include <vector>

#include "carve_test_disk.h"

namespace salvor::carver::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
inline void AppendText(Bytes& b, std::string_view t) { b.insert(b.end(), t.begin(), t.end()); }

// SOI, APP0, a frame of the given marker (C0, C1, C2), SOS, entropy data
// without FF bytes, EOI.
inline Bytes MakeJpeg(std::uint8_t frame_marker, std::uint16_t width, std::uint16_t height,
                      std::size_t data_length, bool with_end = true) {
  Bytes b = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
  AppendText(b, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
  Bytes frame = {0xFF, frame_marker, 0x00, 0x0B, 0x08, 0, 0, 0, 0, 0x01, 0x01, 0x11, 0x00};
  frame[5] = static_cast<std::uint8_t>(height >> 8);
  frame[6] = static_cast<std::uint8_t>(height);
  frame[7] = static_cast<std::uint8_t>(width >> 8);
  frame[8] = static_cast<std::uint8_t>(width);
  Append(b, frame);
  Append(b, {0xFF, 0xC4, 0x00, 0x04, 0x00, 0x00});
  Append(b, {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
  for (std::size_t i = 0; i < data_length; ++i) b.push_back(static_cast<std::uint8_t>(0x11 + i % 0xE0));
  if (with_end) Append(b, {0xFF, 0xD9});
  return b;
}

// n frames of MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, no padding: 417 bytes each.
inline constexpr std::size_t kMp3FrameLength = 417;
inline Bytes MakeMp3Frames(std::size_t n) {
  Bytes b;
  for (std::size_t i = 0; i < n; ++i) {
    Bytes frame(kMp3FrameLength, 0x55);
    frame[0] = 0xFF;
    frame[1] = 0xFB;
    frame[2] = 0x90;
    frame[3] = 0x00;
    Append(b, frame);
  }
  return b;
}

inline Bytes MakeId3(std::size_t body) {
  Bytes b = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 0};
  b[6] = static_cast<std::uint8_t>((body >> 21) & 0x7F);
  b[7] = static_cast<std::uint8_t>((body >> 14) & 0x7F);
  b[8] = static_cast<std::uint8_t>((body >> 7) & 0x7F);
  b[9] = static_cast<std::uint8_t>(body & 0x7F);
  b.resize(10 + body, 0);
  return b;
}

// A bottom-up BMP with a 40-byte info header and zeroed pixels; the size
// field holds the whole file.
inline Bytes MakeBmp(std::uint32_t width, std::uint32_t height, std::uint16_t bpp) {
  const std::uint32_t rows = (width * bpp + 31) / 32 * 4 * height;
  Bytes b = {'B', 'M'};
  PutLE32(b, 2, 54 + rows);
  PutLE32(b, 10, 54);
  PutLE32(b, 14, 40);
  PutLE32(b, 18, width);
  PutLE32(b, 22, height);
  PutLE16(b, 26, 1);
  PutLE16(b, 28, bpp);
  b.resize(54 + rows, 0);
  return b;
}

// A stored ZIP archive of the given members, with an optional comment.
struct ZipMember {
  std::string name;
  Bytes data;
};
inline Bytes MakeZip(const std::vector<ZipMember>& members, std::string_view comment = {}) {
  Bytes b;
  Bytes central;
  for (const auto& m : members) {
    const auto offset = static_cast<std::uint32_t>(b.size());
    Bytes local(30, 0);
    PutLE32(local, 0, 0x04034B50);
    PutLE16(local, 4, 20);
    PutLE32(local, 18, static_cast<std::uint32_t>(m.data.size()));
    PutLE32(local, 22, static_cast<std::uint32_t>(m.data.size()));
    PutLE16(local, 26, static_cast<std::uint16_t>(m.name.size()));
    Append(b, local);
    AppendText(b, m.name);
    Append(b, m.data);
    Bytes c(46, 0);
    PutLE32(c, 0, 0x02014B50);
    PutLE32(c, 20, static_cast<std::uint32_t>(m.data.size()));
    PutLE32(c, 24, static_cast<std::uint32_t>(m.data.size()));
    PutLE16(c, 28, static_cast<std::uint16_t>(m.name.size()));
    PutLE32(c, 42, offset);
    Append(central, c);
    AppendText(central, m.name);
  }
  const auto central_offset = static_cast<std::uint32_t>(b.size());
  Append(b, central);
  Bytes end(22, 0);
  PutLE32(end, 0, 0x06054B50);
  PutLE16(end, 8, static_cast<std::uint16_t>(members.size()));
  PutLE16(end, 10, static_cast<std::uint16_t>(members.size()));
  PutLE32(end, 12, static_cast<std::uint32_t>(central.size()));
  PutLE32(end, 16, central_offset);
  PutLE16(end, 20, static_cast<std::uint16_t>(comment.size()));
  Append(b, end);
  AppendText(b, comment);
  return b;
}

}  // namespace salvor::carver::testing

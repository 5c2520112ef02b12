#include "disk/disk_info.h"

#include "disk/byte_reader.h"
#include "disk/byte_writer.h"

namespace salvor {

std::vector<std::uint8_t> StoreDiskInfo(const DiskInfo& info) {
  ByteWriter w;
  w.Utf16Field(info.device_path, kDevicePathUnits);
  w.U32(info.handle);
  w.U16(info.bytes_per_sector);
  w.U64(info.total_sectors);
  w.Zeros(8);  // not used
  w.U32(0);    // partitions found (a pointer in memory)
  w.U32(0);    // partitions tail
  return w.Take();
}

std::optional<DiskInfo> LoadDiskInfo(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  if (!r.Has(0, kDiskInfoStoredSize)) return std::nullopt;
  DiskInfo info;
  for (std::size_t i = 0; i < kDevicePathUnits; ++i) {
    char16_t c = static_cast<char16_t>(*r.U16(i * 2));
    if (c == 0) break;
    info.device_path.push_back(c);
  }
  info.handle = *r.U32(512);
  info.bytes_per_sector = *r.U16(516);
  info.total_sectors = *r.U64(518);
  return info;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 0x6 && i + 1 < text.size()) {
      cp = ((c & 0x1F) << 6) | (text[i + 1] & 0x3F);
      len = 2;
    } else if ((c >> 4) == 0xE && i + 2 < text.size()) {
      cp = ((c & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
      len = 3;
    } else if ((c >> 3) == 0x1E && i + 3 < text.size()) {
      cp = ((c & 0x07) << 18) | ((text[i + 1] & 0x3F) << 12) | ((text[i + 2] & 0x3F) << 6) |
           (text[i + 3] & 0x3F);
      len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;  // a lone surrogate, as damaged names have
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace salvor

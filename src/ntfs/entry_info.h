#pragma once
// EntryInfo: one parsed MFT record, with exactly the fields of a scan
// database entry plus a name buffer.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace salvor {

inline constexpr std::size_t kEntryNameCapacity = 256;  // UTF-16 units
// Entry flags of the system's own, above the file attribute bits they share
// the word with.
inline constexpr std::uint16_t kEntryPresent = 0x08;  // the MFT record is in use
inline constexpr std::uint16_t kEntryFolder = 0x10;   // the MFT record is a directory

struct EntryInfo {
  std::uint64_t size = 0;           // bytes of the unnamed data stream
  std::uint64_t record_sector = 0;  // set by the caller
  std::uint32_t entry_number = 0;   // set by the caller
  std::uint32_t own_record = 0;
  std::uint32_t parent_record = 0;
  std::uint32_t child_block = 0;  // set by the caller
  std::uint32_t name_offset = 0;  // set by the caller
  std::uint16_t name_length = 0;  // UTF-16 units
  std::uint16_t flags = 0;
  std::uint16_t creation_date = 0;  // DOS date
  std::uint16_t access_date = 0;    // DOS date
  std::array<char16_t, kEntryNameCapacity> name{};

  std::u16string_view Name() const { return {name.data(), std::min<std::size_t>(name_length, name.size())}; }
  void ClearName() {
    name.fill(0);
    name_length = 0;
  }
  // Takes a name given as UTF-16LE bytes (at most 255 units, as a $FILE_NAME
  // holds), clearing what an earlier, longer name left behind.
  void SetName(std::span<const std::uint8_t> utf16le) {
    ClearName();
    const std::size_t units = std::min(utf16le.size() / 2, name.size());
    for (std::size_t i = 0; i < units; ++i)
      name[i] = static_cast<char16_t>(utf16le[2 * i] | (utf16le[2 * i + 1] << 8));
    name_length = static_cast<std::uint16_t>(units);
  }
};

}  // namespace salvor

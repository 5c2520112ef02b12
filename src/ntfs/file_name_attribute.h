#pragma once
// $FILE_NAME (0x30) value, also the key of directory index entries:
//   0x00 u64 parent reference (low 32 bits: record number)
//   0x08 u64 creation time        0x20 u64 last access time
//   0x38 u32 file attributes      0x40 u8 name length (UTF-16 units)
//   0x41 u8 namespace (0 POSIX, 1 Win32, 2 DOS, 3 Win32 and DOS)
//   0x42 name, UTF-16LE

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "disk/byte_reader.h"

namespace salvor {

namespace file_name {
inline constexpr std::size_t kParentReference = 0x00;
inline constexpr std::size_t kCreationTime = 0x08;
inline constexpr std::size_t kAccessTime = 0x20;
inline constexpr std::size_t kFileAttributes = 0x38;
inline constexpr std::size_t kNameLength = 0x40;
inline constexpr std::size_t kNamespace = 0x41;
inline constexpr std::size_t kName = 0x42;
inline constexpr std::uint8_t kDosNamespace = 2;
}  // namespace file_name

// A $FILE_NAME value whose name lies wholly inside it.
struct FileNameValue {
  std::uint32_t parent = 0;  // low 32 bits of the parent reference
  std::uint8_t name_space = 0;
  std::span<const std::uint8_t> name;  // name_length * 2 bytes, UTF-16LE
  std::size_t name_length() const { return name.size() / 2; }
};

// Reads a $FILE_NAME value; nullopt when the fixed part or the name does not
// fit in `value`.
inline std::optional<FileNameValue> ReadFileNameValue(const ByteReader& value) {
  auto length = value.U8(file_name::kNameLength);
  if (!length) return std::nullopt;
  auto name = value.Slice(file_name::kName, std::size_t{*length} * 2);
  if (!name) return std::nullopt;
  FileNameValue v;
  v.parent = static_cast<std::uint32_t>(*value.U64(file_name::kParentReference));
  v.name_space = *value.U8(file_name::kNamespace);
  v.name = *name;
  return v;
}

}  // namespace salvor

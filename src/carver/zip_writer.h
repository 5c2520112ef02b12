#pragma once
// A small ZIP writer for compressed saving: create an archive, add files (or
// folders) by path under an entry name, close. Entries are stored or Deflated
// at level 8; sizes and offsets are 32-bit (no ZIP64), so callers ask
// ZipHasRoomFor before adding and start a new archive when it says no.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "carver/deflate.h"

namespace salvor::carver {

inline constexpr std::uint32_t kZipFolderAttributes = 0x41C00010;   // drwx------, MS-DOS folder
inline constexpr std::uint32_t kZipNoSourceAttributes = 0x80000000;  // entry made from memory
inline constexpr std::size_t kZipMaxNameBytes = 259;
inline constexpr std::size_t kZipLocalHeaderBytes = 30;
inline constexpr std::size_t kZipLocalExtraBytes = 4 + 13;
inline constexpr std::size_t kZipCentralHeaderBytes = 46;
inline constexpr std::size_t kZipCentralExtraBytes = 4 + 5;
inline constexpr std::size_t kZipDescriptorBytes = 16;
inline constexpr std::size_t kZipEndRecordBytes = 22;
inline constexpr std::uint16_t kZipStored = 0;
inline constexpr std::uint16_t kZipDeflated = 8;

// What the central directory keeps of one entry.
struct ZipEntry {
  std::string name;  // as stored: '/' separated, folders end in '/'
  std::uint16_t method = kZipStored;
  std::uint16_t dos_time = 0;
  std::uint16_t dos_date = 0;
  std::uint32_t crc = 0;
  std::uint32_t compressed_size = 0;
  std::uint32_t size = 0;
  std::uint32_t external_attributes = 0;
  std::uint32_t unix_mtime = 0;
  std::uint32_t local_header_offset = 0;
};

struct ZipArchive {
  ZipArchive() = default;
  ~ZipArchive();  // closes the file without finishing it (use ZipClose)
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  int fd = -1;
  bool seekable = false;       // local headers are completed in place
  bool failed = false;         // a write failed: the archive is not finished
  std::uint64_t offset = 0;    // bytes written
  std::uint64_t central_bytes = 0;  // size the central directory will take
  std::vector<ZipEntry> entries;
  DeflateStream deflate;
};

enum class ZipAddResult {
  kAdded,
  kSourceUnreadable,  // nothing was written; the archive is still good
  kNoRoom,            // would pass a 32-bit limit; nothing was written
  kFailed,            // a write or read failed midway: the archive is marked failed
};

// Creates (or truncates) the archive file; nullptr when it cannot be created.
std::unique_ptr<ZipArchive> ZipCreate(const std::filesystem::path& path);

// Adds the file or folder at `source` under `entry_name`.
ZipAddResult ZipAdd(ZipArchive& archive, std::string_view entry_name,
                    const std::filesystem::path& source);

// Adds bytes that have no source file: current time, attributes 0x80000000.
ZipAddResult ZipAddBytes(ZipArchive& archive, std::string_view entry_name,
                         std::span<const std::uint8_t> data);

// Writes the central directory and end record and closes the file. False (and
// no central directory) when the archive failed or these writes fail.
bool ZipClose(ZipArchive& archive);

// Whether an entry of `size` bytes under `entry_name` surely fits: the
// archive, its central directory and end record stay within 4 GiB - 1 even if
// the data does not compress, and the entry count within 65535.
// `limit` is lowered only by tests that want to see the roll-over early.
inline constexpr std::uint64_t kZipSizeLimit = 0xFFFFFFFF;
bool ZipHasRoomFor(const ZipArchive& archive, std::string_view entry_name, std::uint64_t size,
                   std::uint64_t limit = kZipSizeLimit);

// The stored form of an entry name: '\' becomes '/', no empty, "." or ".."
// parts, no drive or root, at most 259 bytes; folders end in '/'.
std::string ZipEntryName(std::string_view name, bool folder);

// True when the name's suffix marks an archive that is stored, not deflated.
bool ZipStoresUncompressed(std::string_view entry_name);

}  // namespace salvor::carver

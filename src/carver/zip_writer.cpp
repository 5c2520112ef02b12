#include "carver/zip_writer.h"
#include "disk/fd_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cctype>
#include <ctime>

#include "disk/crc32.h"
#include "disk/byte_writer.h"

namespace salvor::carver {
namespace {

constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kDescriptorSignature = 0x08074B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint16_t kVersionMadeBy = 0x0B17;
constexpr std::uint16_t kVersionNeeded = 20;
constexpr std::uint16_t kFlagDescriptor = 8;
constexpr std::uint16_t kExtendedTimeId = 0x5455;  // "UT"
constexpr std::uint8_t kExtendedTimeFlags = 7;     // modification, access, creation
constexpr std::uint64_t kMax32 = 0xFFFFFFFF;
constexpr std::size_t kOutputPiece = 16 * 1024;
constexpr std::size_t kReadPiece = 1024 * 1024;

struct Times {
  std::uint32_t modified = 0;
  std::uint32_t accessed = 0;
  std::uint32_t created = 0;
  std::uint16_t dos_time = 0;
  std::uint16_t dos_date = (1 << 5) | 1;  // 1980-01-01
};

Times TimesOf(std::time_t modified, std::time_t accessed, std::time_t created) {
  Times t;
  t.modified = static_cast<std::uint32_t>(modified);
  t.accessed = static_cast<std::uint32_t>(accessed);
  t.created = static_cast<std::uint32_t>(created);
  std::tm local{};
  if (localtime_r(&modified, &local) == nullptr) return t;
  const int year = local.tm_year + 1900;
  if (year < 1980) return t;  // MS-DOS dates start in 1980
  if (year > 2107) {
    t.dos_date = static_cast<std::uint16_t>((127 << 9) | (12 << 5) | 31);
    t.dos_time = static_cast<std::uint16_t>((23 << 11) | (59 << 5) | 29);
    return t;
  }
  t.dos_date = static_cast<std::uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  t.dos_time = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return t;
}

// Writes all of `bytes` at the end of the archive; a failure marks it failed.
bool Append(ZipArchive& archive, std::span<const std::uint8_t> bytes) {
  if (archive.failed) return false;
  if (WriteFully(archive.fd, bytes) != 0) {
    archive.failed = true;
    return false;
  }
  archive.offset += bytes.size();
  return true;
}

void PutExtendedTime(ByteWriter& w, const Times& t, bool local) {
  w.U16(kExtendedTimeId);
  w.U16(local ? 13 : 5);
  w.U8(kExtendedTimeFlags);
  w.U32(t.modified);
  if (local) {
    w.U32(t.accessed);
    w.U32(t.created);
  }
}

// The fields the local and the central header share, from "version needed"
// to the name length.
void PutSharedHeaderFields(ByteWriter& w, const ZipEntry& e) {
  w.U16(kVersionNeeded);
  w.U16(kFlagDescriptor);
  w.U16(e.method);
  w.U16(e.dos_time);
  w.U16(e.dos_date);
  w.U32(e.crc);
  w.U32(e.compressed_size);
  w.U32(e.size);
  w.U16(static_cast<std::uint16_t>(e.name.size()));
}

void PutLocalHeader(ByteWriter& w, const ZipEntry& e, const Times& t) {
  w.U32(kLocalSignature);
  PutSharedHeaderFields(w, e);
  w.U16(kZipLocalExtraBytes);
  w.Bytes({reinterpret_cast<const std::uint8_t*>(e.name.data()), e.name.size()});
  PutExtendedTime(w, t, true);
}

void PutCentralHeader(ByteWriter& w, const ZipEntry& e) {
  w.U32(kCentralSignature);
  w.U16(kVersionMadeBy);
  PutSharedHeaderFields(w, e);
  w.U16(kZipCentralExtraBytes);
  w.U16(0);  // comment length
  w.U16(0);  // disk number
  w.U16(0);  // internal attributes
  w.U32(e.external_attributes);
  w.U32(e.local_header_offset);
  w.Bytes({reinterpret_cast<const std::uint8_t*>(e.name.data()), e.name.size()});
  Times t;
  t.modified = e.unix_mtime;
  PutExtendedTime(w, t, false);
}

// Where entry data comes from: a file read piece by piece, or memory.
struct Source {
  int fd = -1;
  std::span<const std::uint8_t> memory;
  std::size_t memory_at = 0;

  // Next piece into `buffer`; 0 at the end, -1 on a read error.
  ssize_t Read(std::vector<std::uint8_t>& buffer) {
    if (fd < 0) {
      const std::size_t n = std::min(buffer.size(), memory.size() - memory_at);
      if (n != 0) std::copy_n(memory.begin() + static_cast<std::ptrdiff_t>(memory_at), n, buffer.begin());
      memory_at += n;
      return static_cast<ssize_t>(n);
    }
    for (;;) {
      const ssize_t n = ::read(fd, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      return n;
    }
  }
};

// Writes the entry's data (stored or deflated), filling in its CRC and sizes.
bool WriteData(ZipArchive& archive, ZipEntry& entry, Source& source) {
  std::vector<std::uint8_t> piece(kReadPiece);
  std::vector<std::uint8_t> out;
  out.reserve(kOutputPiece * 2);
  std::uint64_t size = 0, packed = 0;
  std::uint32_t crc = 0;
  const bool deflated = entry.method == kZipDeflated;
  if (deflated && !DeflateStart(archive.deflate, kDeflateZipLevel).ok) return false;

  // Sends the output in 16 KiB pieces, all of it at the end.
  auto drain = [&](bool all) {
    std::size_t sent = 0;
    while (out.size() - sent >= kOutputPiece || (all && sent < out.size())) {
      const std::size_t n = std::min(kOutputPiece, out.size() - sent);
      if (!Append(archive, std::span(out).subspan(sent, n))) return false;
      packed += n;
      sent += n;
    }
    out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(sent));
    return true;
  };

  for (;;) {
    const ssize_t n = source.Read(piece);
    if (n < 0) {
      archive.failed = true;  // the header is out already: the archive cannot be finished
      return false;
    }
    const auto data = std::span<const std::uint8_t>(piece).first(static_cast<std::size_t>(n));
    size += data.size();
    crc = Crc32Update(crc, data);
    const bool last = n == 0;
    if (deflated) {
      if (!DeflateWrite(archive.deflate, data, last, out).ok) {
        archive.failed = true;
        return false;
      }
    } else {
      out.insert(out.end(), data.begin(), data.end());
    }
    if (!drain(last)) return false;
    if (size > kMax32 || packed > kMax32) {
      archive.failed = true;  // a file that grew past what 32-bit fields hold
      return false;
    }
    if (last) break;
  }
  entry.crc = crc;
  entry.size = static_cast<std::uint32_t>(size);
  entry.compressed_size = static_cast<std::uint32_t>(packed);
  return true;
}

ZipAddResult AddEntry(ZipArchive& archive, ZipEntry entry, const Times& times, Source& source,
                      std::uint64_t expected_size) {
  if (archive.failed) return ZipAddResult::kFailed;
  if (!ZipHasRoomFor(archive, entry.name, expected_size)) return ZipAddResult::kNoRoom;
  entry.local_header_offset = static_cast<std::uint32_t>(archive.offset);
  entry.dos_time = times.dos_time;
  entry.dos_date = times.dos_date;
  entry.unix_mtime = times.modified;

  ByteWriter header;
  PutLocalHeader(header, entry, times);
  if (!Append(archive, header.bytes())) return ZipAddResult::kFailed;
  if (!WriteData(archive, entry, source)) return ZipAddResult::kFailed;

  // Flag 8 promises a descriptor after the data; where the file can be
  // repositioned the local header gets the real values as well, for readers
  // that only look at local headers.
  ByteWriter descriptor;
  descriptor.U32(kDescriptorSignature);
  descriptor.U32(entry.crc);
  descriptor.U32(entry.compressed_size);
  descriptor.U32(entry.size);
  if (!Append(archive, descriptor.bytes())) return ZipAddResult::kFailed;
  if (archive.seekable) {
    const std::span<const std::uint8_t> fields = std::span(descriptor.bytes()).subspan(4);
    const off_t at = static_cast<off_t>(entry.local_header_offset) + 14;
    if (::pwrite(archive.fd, fields.data(), fields.size(), at) != static_cast<ssize_t>(fields.size())) {
      archive.failed = true;
      return ZipAddResult::kFailed;
    }
  }
  archive.central_bytes += kZipCentralHeaderBytes + entry.name.size() + kZipCentralExtraBytes;
  archive.entries.push_back(std::move(entry));
  return ZipAddResult::kAdded;
}

std::uint32_t FileAttributes(mode_t mode) {
  // Unix mode above, the MS-DOS byte below: read-only when the owner cannot
  // write, and the archive bit a freshly written file carries.
  std::uint32_t dos = 0x20;
  if ((mode & S_IWUSR) == 0) dos |= 0x01;
  return (static_cast<std::uint32_t>(mode & 0xFFFF) << 16) | dos;
}

}  // namespace

ZipArchive::~ZipArchive() {
  if (fd >= 0) ::close(fd);
}

std::unique_ptr<ZipArchive> ZipCreate(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  auto archive = std::make_unique<ZipArchive>();
  archive->fd = fd;
  archive->seekable = ::lseek(fd, 0, SEEK_CUR) == 0;
  return archive;
}

ZipAddResult ZipAdd(ZipArchive& archive, std::string_view entry_name,
                    const std::filesystem::path& source_path) {
  if (archive.failed) return ZipAddResult::kFailed;
  Source source;
  source.fd = ::open(source_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (source.fd < 0) return ZipAddResult::kSourceUnreadable;
  struct stat st {};
  if (::fstat(source.fd, &st) != 0) {
    ::close(source.fd);
    return ZipAddResult::kSourceUnreadable;
  }
  // Unix has no creation time; the status change time stands in for it.
  const Times times = TimesOf(st.st_mtime, st.st_atime, st.st_ctime);
  ZipEntry entry;
  ZipAddResult result;
  if (S_ISDIR(st.st_mode)) {
    ::close(source.fd);
    source.fd = -1;
    entry.name = ZipEntryName(entry_name, true);
    entry.external_attributes = kZipFolderAttributes;
    result = AddEntry(archive, std::move(entry), times, source, 0);
  } else {
    const auto size = static_cast<std::uint64_t>(st.st_size);
    entry.name = ZipEntryName(entry_name, false);
    entry.method = size == 0 || ZipStoresUncompressed(entry.name) ? kZipStored : kZipDeflated;
    entry.external_attributes = FileAttributes(st.st_mode);
    result = AddEntry(archive, std::move(entry), times, source, size);
    ::close(source.fd);
  }
  return result;
}

ZipAddResult ZipAddBytes(ZipArchive& archive, std::string_view entry_name,
                         std::span<const std::uint8_t> data) {
  const std::time_t now = std::time(nullptr);
  ZipEntry entry;
  entry.name = ZipEntryName(entry_name, false);
  entry.method = data.empty() || ZipStoresUncompressed(entry.name) ? kZipStored : kZipDeflated;
  entry.external_attributes = kZipNoSourceAttributes;
  Source source;
  source.memory = data;
  return AddEntry(archive, std::move(entry), TimesOf(now, now, now), source, data.size());
}

bool ZipClose(ZipArchive& archive) {
  bool ok = !archive.failed && archive.entries.size() <= 0xFFFF &&
            archive.offset + archive.central_bytes + kZipEndRecordBytes <= kMax32;
  if (ok) {
    ByteWriter central;
    for (const ZipEntry& e : archive.entries) PutCentralHeader(central, e);
    ByteWriter end;
    end.U32(kEndSignature);
    end.U16(0);  // this disk
    end.U16(0);  // disk of the central directory
    end.U16(static_cast<std::uint16_t>(archive.entries.size()));
    end.U16(static_cast<std::uint16_t>(archive.entries.size()));
    end.U32(static_cast<std::uint32_t>(central.size()));
    end.U32(static_cast<std::uint32_t>(archive.offset));
    end.U16(0);  // comment length
    ok = Append(archive, central.bytes()) && Append(archive, end.bytes());
  }
  if (archive.fd >= 0) {
    if (::close(archive.fd) != 0) ok = false;
    archive.fd = -1;
  }
  if (!ok) archive.failed = true;
  return ok;
}

bool ZipHasRoomFor(const ZipArchive& archive, std::string_view entry_name, std::uint64_t size,
                   std::uint64_t limit) {
  limit = std::min(limit, kMax32);
  if (archive.entries.size() >= 0xFFFF || size > limit) return false;
  const std::uint64_t name = std::min(entry_name.size() + 1, kZipMaxNameBytes);
  const std::uint64_t entry = kZipLocalHeaderBytes + name + kZipLocalExtraBytes + DeflateBound(size) +
                              kZipDescriptorBytes;
  const std::uint64_t central = kZipCentralHeaderBytes + name + kZipCentralExtraBytes;
  return archive.offset + entry + archive.central_bytes + central + kZipEndRecordBytes <= limit;
}

std::string ZipEntryName(std::string_view name, bool folder) {
  std::string out;
  std::size_t at = 0;
  bool first = true;
  while (at <= name.size()) {
    std::size_t end = name.find_first_of("/\\", at);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view part = name.substr(at, end - at);
    at = end + 1;
    // Parts that would climb out of, or jump outside of, the extraction folder.
    const bool drive = first && part.size() == 2 && part[1] == ':' &&
                       std::isalpha(static_cast<unsigned char>(part[0]));
    first = false;
    if (part.empty() || part == "." || part == ".." || drive) continue;
    if (!out.empty()) out += '/';
    out += part;
  }
  if (out.empty()) out.push_back('_');
  const std::size_t limit = kZipMaxNameBytes - (folder ? 1 : 0);
  if (out.size() > limit) {
    std::size_t cut = limit;
    // Cut before a UTF-8 continuation byte so the name stays whole characters.
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
    out.resize(cut);
    while (!out.empty() && out.back() == '/') out.pop_back();
    if (out.empty()) out.push_back('_');
  }
  if (folder) out += '/';
  return out;
}

bool ZipStoresUncompressed(std::string_view entry_name) {
  static constexpr std::array<std::string_view, 8> kSuffixes = {"z",   "zip", "zoo", "arc",
                                                               "lzh", "arj", "gz",  "tgz"};
  const std::size_t dot = entry_name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view suffix = entry_name.substr(dot + 1);
  return std::any_of(kSuffixes.begin(), kSuffixes.end(), [&](std::string_view s) {
    return s.size() == suffix.size() &&
           std::equal(s.begin(), s.end(), suffix.begin(), [](char a, char b) {
             return a == std::tolower(static_cast<unsigned char>(b));
           });
  });
}

}  // namespace salvor::carver

#include "zip_reader.h"

#include <zlib.h>

#include <fstream>
#include <iterator>

#include "disk/byte_reader.h"
#include "zlib_reference.h"

namespace salvor::testing {

std::optional<ReadZip> ReadZipFile(const std::filesystem::path& path, std::string& why) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const ByteReader r(bytes);
  auto fail = [&](std::string text) -> std::optional<ReadZip> {
    why = std::move(text);
    return std::nullopt;
  };
  if (bytes.size() < 22) return fail("shorter than an end record");
  const std::size_t end = bytes.size() - 22;
  if (r.U32(end) != 0x06054B50u) return fail("no end record in the last 22 bytes");
  const std::uint16_t count = *r.U16(end + 10);
  if (*r.U16(end + 8) != count || *r.U16(end + 4) != 0 || *r.U16(end + 6) != 0 || *r.U16(end + 20) != 0)
    return fail("end record fields");
  ReadZip zip;
  zip.central_size = *r.U32(end + 12);
  zip.central_offset = *r.U32(end + 16);
  if (zip.central_offset + zip.central_size != end) return fail("central directory does not end at the end record");
  std::size_t at = zip.central_offset;
  for (unsigned i = 0; i < count; ++i) {
    if (r.U32(at) != 0x02014B50u || !r.Has(at, 46)) return fail("central header signature");
    ReadZipEntry e;
    e.made_by = *r.U16(at + 4);
    e.needed = *r.U16(at + 6);
    e.flags = *r.U16(at + 8);
    e.method = *r.U16(at + 10);
    e.dos_time = *r.U16(at + 12);
    e.dos_date = *r.U16(at + 14);
    e.crc = *r.U32(at + 16);
    e.compressed_size = *r.U32(at + 20);
    e.size = *r.U32(at + 24);
    const std::uint16_t name_len = *r.U16(at + 28), extra_len = *r.U16(at + 30), comment_len = *r.U16(at + 32);
    e.external_attributes = *r.U32(at + 38);
    e.local_offset = *r.U32(at + 42);
    const auto name = r.Slice(at + 46, name_len);
    const auto extra = r.Slice(at + 46 + name_len, extra_len);
    if (!name || !extra || comment_len != 0) return fail("central name/extra/comment");
    e.name.assign(name->begin(), name->end());
    e.central_extra.assign(extra->begin(), extra->end());
    at += 46u + name_len + extra_len;

    const std::size_t l = e.local_offset;
    if (r.U32(l) != 0x04034B50u || !r.Has(l, 30)) return fail("local header signature of " + e.name);
    if (*r.U16(l + 4) != e.needed || *r.U16(l + 6) != e.flags || *r.U16(l + 8) != e.method ||
        *r.U16(l + 10) != e.dos_time || *r.U16(l + 12) != e.dos_date)
      return fail("local header disagrees with central entry of " + e.name);
    e.local_crc = *r.U32(l + 14);
    e.local_compressed_size = *r.U32(l + 18);
    e.local_size = *r.U32(l + 22);
    const std::uint16_t lname = *r.U16(l + 26), lextra = *r.U16(l + 28);
    const auto local_name = r.Slice(l + 30, lname);
    const auto local_extra = r.Slice(l + 30 + lname, lextra);
    if (!local_name || !local_extra || std::string(local_name->begin(), local_name->end()) != e.name)
      return fail("local name of " + e.name);
    e.local_extra.assign(local_extra->begin(), local_extra->end());
    const std::size_t data_at = l + 30 + lname + lextra;
    const auto packed = r.Slice(data_at, e.compressed_size);
    if (!packed) return fail("data of " + e.name + " runs past the file");
    const std::size_t desc = data_at + e.compressed_size;
    if (r.U32(desc) == 0x08074B50u && r.Has(desc, 16)) {
      e.has_descriptor = true;
      e.descriptor_crc = *r.U32(desc + 4);
      e.descriptor_compressed_size = *r.U32(desc + 8);
      e.descriptor_size = *r.U32(desc + 12);
    }
    if (e.method == 0) {
      e.data.assign(packed->begin(), packed->end());
    } else if (e.method == 8) {
      auto inflated = ZlibInflateRaw(*packed);
      if (!inflated) return fail("zlib cannot inflate " + e.name);
      e.data = std::move(*inflated);
    } else {
      return fail("unknown method");
    }
    if (e.data.size() != e.size) return fail("size of " + e.name);
    const auto crc = static_cast<std::uint32_t>(crc32(0, e.data.data(), static_cast<uInt>(e.data.size())));
    if (crc != e.crc) return fail("CRC of " + e.name);
    zip.entries.push_back(std::move(e));
  }
  if (at != end) return fail("central directory size");
  return zip;
}

}  // namespace salvor::testing

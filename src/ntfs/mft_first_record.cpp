#include "ntfs/mft_first_record.h"

#include <string_view>

#include "disk/byte_reader.h"
#include "ntfs/attribute.h"
#include "ntfs/file_name_attribute.h"
#include "ntfs/file_record.h"
#include "ntfs/standard_information.h"

namespace salvor {
namespace {

bool NameIs(std::span<const std::uint8_t> utf16le, std::string_view ascii) {
  if (utf16le.size() != 2 * ascii.size()) return false;
  for (std::size_t i = 0; i < ascii.size(); ++i)
    if (utf16le[2 * i] != static_cast<std::uint8_t>(ascii[i]) || utf16le[2 * i + 1] != 0)
      return false;
  return true;
}

// System files are made in one go: all four times of $STANDARD_INFORMATION
// are the same.
bool TimesEqual(const Attribute& a) {
  namespace si = standard_information;
  auto value = a.non_resident() ? std::nullopt : a.Value();
  if (!value) return false;
  auto t0 = value->U64(si::kCreationTime);
  auto t1 = value->U64(si::kModificationTime);
  auto t2 = value->U64(si::kChangeTime);
  auto t3 = value->U64(si::kAccessTime);
  return t0 && t1 && t2 && t3 && *t0 == *t1 && *t0 == *t2 && *t0 == *t3;
}

bool IsSystemRecord(std::span<std::uint8_t> record, std::string_view name, bool stop_after_data) {
  if (!CheckFileRecord(record)) return false;
  bool result = false;
  AttributeWalker walk(record);
  while (auto a = walk.Next()) {
    if (stop_after_data && (a->type() == 0 || a->type() > attr::kData)) break;
    if (a->type() == attr::kStandardInformation) {
      if (!TimesEqual(*a)) return false;
    } else if (a->type() == attr::kFileName) {
      auto value = a->non_resident() ? std::nullopt : a->Value();
      auto fn = value ? ReadFileNameValue(*value) : std::nullopt;
      if (!fn) return false;
      if (fn->name_length() > name.size()) break;
      if (!NameIs(fn->name, name)) return false;
      result = true;
    }
  }
  return result;
}

}  // namespace

bool IsMftRecord(std::span<std::uint8_t> record) { return IsSystemRecord(record, "$MFT", true); }

bool IsMftMirrRecord(std::span<std::uint8_t> record) {
  return IsSystemRecord(record, "$MFTMirr", false);
}

}  // namespace salvor

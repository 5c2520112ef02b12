#include "ntfs/record_names.h"

#include <algorithm>

#include "disk/byte_reader.h"
#include "ntfs/attribute.h"
#include "ntfs/attribute_list.h"
#include "ntfs/data_stream.h"
#include "ntfs/file_name_attribute.h"
#include "ntfs/file_record.h"
#include "ntfs/mft_locator.h"

namespace salvor {
namespace {

struct Names {
  std::vector<RecordName> kept;
  std::vector<RecordName> dos;  // used only when nothing else is found
};

void TakeNames(std::span<const std::uint8_t> record, Names& names) {
  AttributeWalker walk(record);
  while (auto a = walk.Next()) {
    if (a->type() != attr::kFileName || a->non_resident()) continue;
    auto value = a->Value();
    if (!value) continue;
    auto name = ReadFileNameValue(*value);
    if (!name) continue;
    RecordName n;
    n.parent = name->parent;
    for (std::size_t i = 0; i < name->name_length(); ++i)
      n.name.push_back(static_cast<char16_t>(name->name[2 * i] | (name->name[2 * i + 1] << 8)));
    (name->name_space == file_name::kDosNamespace ? names.dos : names.kept).push_back(std::move(n));
  }
}

// The records other than the base that the list places a $FILE_NAME in, in
// list order, each once.
std::vector<std::uint32_t> NameRecords(EngineState& state, const Attribute& list,
                                       std::optional<std::uint32_t> base_number) {
  std::vector<std::uint32_t> records;
  const std::vector<std::uint8_t> bytes = AttributeListBytes(state, list);
  const ByteReader r(bytes);
  std::size_t at = 0;
  while (auto e = ReadAttributeListEntry(r, at)) {
    at += e->length;
    if (e->type != attr::kFileName || e->record == base_number) continue;
    if (std::find(records.begin(), records.end(), e->record) == records.end())
      records.push_back(e->record);
  }
  return records;
}

}  // namespace

std::vector<RecordName> RecordNames(EngineState& state, std::span<const std::uint8_t> record,
                                    std::optional<std::uint32_t> base_number) {
  Names names;
  TakeNames(record, names);
  std::optional<Attribute> list;
  AttributeWalker walk(record);
  while (auto a = walk.Next())
    if (a->type() == attr::kAttributeList) list = a;
  if (list) {
    try {
      std::vector<std::uint8_t> buffer(state.volume.bytes_per_file_record);
      for (std::uint32_t number : NameRecords(state, *list, base_number)) {
        if (!ReadMftRecord(state, number, buffer)) continue;
        // A record since reused by another file holds that file's names.
        const std::uint64_t base = BaseRecordReference(buffer);
        if (base == 0 || (base_number && static_cast<std::uint32_t>(base) != *base_number)) continue;
        TakeNames(buffer, names);
      }
    } catch (const UserException&) {
      throw;
    } catch (...) {
      // An unreadable extension record: the names found so far stand.
    }
  }
  return names.kept.empty() ? std::move(names.dos) : std::move(names.kept);
}

}  // namespace salvor

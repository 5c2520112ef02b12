#include "ntfs/record_parser.h"

#include <array>

#include "disk/byte_reader.h"
#include "ntfs/attribute.h"
#include "ntfs/attribute_list.h"
#include "ntfs/data_runs.h"
#include "ntfs/dos_date.h"
#include "ntfs/extension_records.h"
#include "ntfs/file_name_attribute.h"
#include "ntfs/file_record.h"
#include "ntfs/index_root.h"
#include "ntfs/standard_information.h"

namespace salvor {
namespace {

constexpr std::uint32_t kRootRecordNumber = 5;

void TakeStandardInformation(const Attribute& a, std::uint16_t record_flags, EntryInfo& entry) {
  namespace si = standard_information;
  std::uint32_t attributes = 0;
  if (auto value = a.non_resident() ? std::nullopt : a.Value()) {
    if (auto t = value->U64(si::kCreationTime)) entry.creation_date = DosDateFromNtfsTime(*t);
    if (auto t = value->U64(si::kAccessTime)) entry.access_date = DosDateFromNtfsTime(*t);
    attributes = value->U32(si::kFileAttributes).value_or(0);
  }
  entry.flags = static_cast<std::uint16_t>(attributes);
  if (record_flags & file_record::kFlagInUse) entry.flags |= kEntryPresent;
  if (record_flags & file_record::kFlagDirectory) entry.flags |= kEntryFolder;
}

// A resident attribute list: looks up names and the data size in the records
// it names. Returns the result of the last lookup (false when none). A name
// record that cannot be read does not end the list: the file's other names
// are listed from the records that hold them, and they need its size.
bool FromResidentList(EngineState& state, const Attribute& a, EntryInfo& entry) {
  bool found = false;
  auto list = a.Value();
  if (!list) return false;
  std::size_t at = 0;
  while (auto e = ReadAttributeListEntry(*list, at)) {
    if (e->type == attr::kFileName) {
      found = FileNameFromRecord(state, e->record, entry) || found;
    } else if (e->is_unnamed_data_start()) {
      return DataSizeFromRecord(state, e->record, entry);
    } else if (e->type > attr::kData) {
      break;
    }
    at += e->length;
  }
  return found;
}

bool FromNonResidentList(EngineState& state, const Attribute& a, EntryInfo& entry) {
  RunList runs;
  DecodeRuns(a.bytes(), a.run_list_offset(), runs);
  return FileNameFromAttributeList(state, runs, a.real_size(), entry);
}

void TakeName(const Attribute& a, EntryInfo& entry) {
  if (a.non_resident()) return;
  auto value = a.Value();
  if (!value) return;
  auto name = ReadFileNameValue(*value);
  if (!name || name->name_space == file_name::kDosNamespace) return;
  entry.parent_record = name->parent;
  entry.SetName(name->name);
}

// A folder's own record number, as its children name it in the parent
// reference of the first index entry's key; only when the root holds an
// entry besides the end entry.
void TakeIndexRoot(const Attribute& a, EntryInfo& entry) {
  namespace ir = index_root;
  if (a.non_resident()) return;
  auto value = a.Value();
  if (!value) return;
  if (value->U32(ir::kIndexedType).value_or(0) != attr::kFileName) return;
  auto entries = value->U32(ir::kEntriesOffset);
  auto length = value->U32(ir::kIndexLength);
  auto allocated = value->U32(ir::kAllocatedLength);
  if (!entries || !length || !allocated) return;
  if (*length != *allocated || *length <= ir::kEmptyIndexLength) return;
  auto parent = value->U64(ir::kNodeHeader + std::size_t{*entries} + ir::kEntryKey +
                           file_name::kParentReference);
  if (parent) entry.own_record = static_cast<std::uint32_t>(*parent);
}

// The root folder calls itself "." in itself; a big root's index root is
// empty and gives no number to tell it by, so its header (or, in the old
// header that has none, its being a folder) does.
bool IsRootsOwnName(std::span<const std::uint8_t> record, bool directory, const EntryInfo& entry) {
  if (!directory || entry.parent_record != kRootRecordNumber || entry.Name() != u".") return false;
  return UpdateSequenceOffset(record) != file_record::kNewHeader ||
         HeaderRecordNumber(record) == kRootRecordNumber;
}

}  // namespace

bool ExcludedEntryName(std::u16string_view name) {
  // "." is not among them: only the root's own "." is left out (by
  // IsRootsOwnName); a file called "." elsewhere is a file.
  static constexpr std::array<std::u16string_view, 10> kExcluded = {
      u"$MFT",    u"$MFTMirr", u"$LogFile", u"$Volume", u"$AttrDef",
      u"$Bitmap", u"$Boot",    u"$BadClus", u"$Secure", u"$UpCase"};
  for (auto excluded : kExcluded)
    if (name == excluded) return true;
  return false;
}

bool ParseFileRecord(EngineState& state, std::span<const std::uint8_t> record, EntryInfo& entry) {
  entry.ClearName();
  const std::uint16_t record_flags = FileRecordFlags(record);
  const bool directory = (record_flags & file_record::kFlagDirectory) != 0;

  AttributeWalker walk(record);
  bool done = false;
  while (!done) {
    auto a = walk.Next();
    if (!a) break;
    switch (a->type()) {
      case attr::kStandardInformation:
        TakeStandardInformation(*a, record_flags, entry);
        break;
      case attr::kAttributeList: {
        const bool found = a->non_resident() ? FromNonResidentList(state, *a, entry)
                                             : FromResidentList(state, *a, entry);
        // A file has all it needs from the list; a folder goes on to its
        // index root unless the list failed it.
        done = !found || !directory;
        break;
      }
      case attr::kFileName:
        TakeName(*a, entry);
        break;
      case attr::kData:
        if (!a->unnamed()) break;
        entry.size = a->non_resident() ? a->real_size() : a->value_length();
        done = true;
        break;
      case attr::kIndexRoot:
        TakeIndexRoot(*a, entry);
        done = true;
        break;
      default:
        break;
    }
  }

  if (ExcludedEntryName(entry.Name()) || entry.own_record == entry.parent_record ||
      IsRootsOwnName(record, directory, entry)) {
    entry.ClearName();
    return false;
  }
  return true;
}

}  // namespace salvor

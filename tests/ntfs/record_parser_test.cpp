#include "ntfs/record_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ntfs/extension_records.h"
#include "ntfs/file_record.h"
#include "record_builder.h"
#include "support/memory_device.h"
#include "support/recording_host.h"

namespace salvor {
namespace {

using testing::AttributeListEntry;
using testing::Bytes;
using testing::FileNameValue;
using testing::IndexRootValue;
using testing::NtfsTime;
using testing::RecordBuilder;
using testing::StandardInformation;

constexpr std::uint64_t kMftLcn = 1;

std::uint16_t Dos(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

// A small volume in memory: 512-byte sectors, 4096-byte clusters, 1024-byte
// records, the $MFT in 8 clusters at LCN 1 (records 0..31).
class ParseFileRecordTest : public ::testing::Test {
 protected:
  ParseFileRecordTest() : state_(host_, run_), image_(64 * 4096, 0) {
    CurrentVolume& v = state_.volume;
    v.first_sector = 0;
    v.bytes_per_sector = 512;
    v.sectors_per_cluster = 8;
    v.bytes_per_cluster = 4096;
    v.bytes_per_file_record = 1024;
    v.sectors_per_file_record = 2;
    v.mft_lcn = kMftLcn;
    state_.mft_runs = {salvor::Run{8, kMftLcn}};
  }

  void PutRecord(std::uint32_t number, const Bytes& record) {
    std::copy(record.begin(), record.end(), image_.begin() + kMftLcn * 4096 + number * 1024);
  }
  void PutCluster(std::uint64_t lcn, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), image_.begin() + lcn * 4096);
  }
  void Attach() {
    state_.source.Attach(std::make_unique<testing::MemoryDevice>(image_), "memory", 512);
  }
  // Checks and parses a record the way the tree builder does.
  bool Parse(Bytes record, EntryInfo& entry) {
    Attach();
    EXPECT_TRUE(CheckFileRecord(record));
    entry = EntryInfo{};
    return ParseFileRecord(state_, record, entry);
  }

  testing::RecordingHost host_;
  RunControl run_;
  EngineState state_;
  Bytes image_;
};

std::u16string Name(const EntryInfo& e) { return std::u16string(e.Name()); }

TEST_F(ParseFileRecordTest, PlainFile) {
  Bytes r = RecordBuilder()
                .Flags(1)
                .Resident(0x10, StandardInformation(NtfsTime(2006, 12, 7), NtfsTime(2020, 1, 2), 0x21))
                .Resident(0x30, FileNameValue(40, u"report.doc"))
                .Resident(0x80, Bytes{1, 2, 3, 4, 5})
                .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(r, e));
  EXPECT_EQ(Name(e), u"report.doc");
  EXPECT_EQ(e.name_length, 10);
  EXPECT_EQ(e.parent_record, 40u);
  EXPECT_EQ(e.size, 5u);
  EXPECT_EQ(e.flags, 0x21 | kEntryPresent);
  EXPECT_EQ(e.creation_date, Dos(2006, 12, 7));
  EXPECT_EQ(e.access_date, Dos(2020, 1, 2));
  EXPECT_EQ(e.own_record, 0u);  // the caller takes it from the header
}

TEST_F(ParseFileRecordTest, PresentAndFolderFlagsFollowTheRecordFlags) {
  auto flags_of = [&](std::uint16_t record_flags) {
    Bytes r = RecordBuilder()
                  .Flags(record_flags)
                  .Resident(0x10, StandardInformation(1, 1, 0x20))
                  .Resident(0x30, FileNameValue(40, u"x"))
                  .Resident(0x80, Bytes{})
                  .Build();
    EntryInfo e;
    Parse(r, e);
    return e.flags;
  };
  EXPECT_EQ(flags_of(0), 0x20);                               // deleted file
  EXPECT_EQ(flags_of(1), 0x20 | kEntryPresent);               // existing file
  EXPECT_EQ(flags_of(2), 0x20 | kEntryFolder);                // deleted folder
  EXPECT_EQ(flags_of(3), 0x20 | kEntryPresent | kEntryFolder);  // existing folder
}

TEST_F(ParseFileRecordTest, Win32NameWinsOverDosNameWhicheverComesFirst) {
  Bytes dos_first = RecordBuilder()
                        .Resident(0x10, StandardInformation(1, 1, 0))
                        .Resident(0x30, FileNameValue(40, u"LONGFI~1.TXT", 2))
                        .Resident(0x30, FileNameValue(40, u"long file name.txt", 1))
                        .Resident(0x80, Bytes{})
                        .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(dos_first, e));
  EXPECT_EQ(Name(e), u"long file name.txt");
  Bytes win32_first = RecordBuilder()
                          .Resident(0x10, StandardInformation(1, 1, 0))
                          .Resident(0x30, FileNameValue(40, u"long file name.txt", 1))
                          .Resident(0x30, FileNameValue(40, u"LONGFI~1.TXT", 2))
                          .Resident(0x80, Bytes{})
                          .Build();
  ASSERT_TRUE(Parse(win32_first, e));
  EXPECT_EQ(Name(e), u"long file name.txt");
  EXPECT_EQ(e.name[18], 0);  // nothing of a longer earlier name behind it
}

TEST_F(ParseFileRecordTest, PosixAndWin32AndDosNamesCount) {
  for (std::uint8_t ns : {0, 3}) {
    Bytes r = RecordBuilder()
                  .Resident(0x10, StandardInformation(1, 1, 0))
                  .Resident(0x30, FileNameValue(41, u"name", ns))
                  .Build();
    EntryInfo e;
    ASSERT_TRUE(Parse(r, e));
    EXPECT_EQ(Name(e), u"name");
  }
}

TEST_F(ParseFileRecordTest, NonResidentDataTakesTheRealSizeAndNamedStreamsDoNotCount) {
  Bytes r = RecordBuilder()
                .Resident(0x10, StandardInformation(1, 1, 0))
                .Resident(0x30, FileNameValue(40, u"big.bin"))
                .Resident(0x80, Bytes(100, 1), u"Zone.Identifier")
                .NonResident(0x80, Bytes{0x21, 0x10, 0x00, 0x01}, 1234567, 0, 0x12D)
                .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(r, e));
  EXPECT_EQ(e.size, 1234567u);
}

TEST_F(ParseFileRecordTest, SystemFileNamesAreLeftOutWhateverTheirFolder) {
  for (const char16_t* name : {u"$MFT", u"$MFTMirr", u"$LogFile", u"$Volume", u"$AttrDef",
                               u"$Bitmap", u"$Boot", u"$BadClus", u"$Secure", u"$UpCase"}) {
    Bytes r = RecordBuilder()
                  .Resident(0x10, StandardInformation(1, 1, 0))
                  .Resident(0x30, FileNameValue(1234, name))  // a user file in a user folder
                  .Resident(0x80, Bytes{})
                  .Build();
    EntryInfo e;
    EXPECT_FALSE(Parse(r, e)) << std::string(name, name + std::char_traits<char16_t>::length(name));
    EXPECT_EQ(e.name_length, 0);
    EXPECT_EQ(e.name[0], 0);
  }
  // Names merely like them stay.
  for (const char16_t* name : {u"$boot", u"$Boot.txt", u"$Extend", u"$Quota", u"..", u"."}) {
    Bytes r = RecordBuilder()
                  .Resident(0x10, StandardInformation(1, 1, 0))
                  .Resident(0x30, FileNameValue(1234, name))
                  .Build();
    EntryInfo e;
    EXPECT_TRUE(Parse(r, e));
  }
}

TEST_F(ParseFileRecordTest, NamelessRecordIsLeftOut) {
  Bytes r = RecordBuilder()
                .Resident(0x10, StandardInformation(1, 1, 0))
                .Resident(0x80, Bytes{1})
                .Build();
  EntryInfo e;
  EXPECT_FALSE(Parse(r, e));
}

TEST_F(ParseFileRecordTest, FolderTakesItsOwnNumberFromItsIndexRoot) {
  Bytes r = RecordBuilder()
                .Flags(3)
                .Resident(0x10, StandardInformation(1, 1, 0))
                .Resident(0x30, FileNameValue(5, u"Documents"))
                .Resident(0x90, IndexRootValue(64), u"$I30")
                .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(r, e));
  EXPECT_EQ(e.own_record, 64u);
  EXPECT_EQ(e.parent_record, 5u);
  EXPECT_EQ(e.flags, kEntryPresent | kEntryFolder);
}

TEST_F(ParseFileRecordTest, EmptyIndexRootGivesNoNumber) {
  Bytes r = RecordBuilder()
                .Flags(3)
                .Resident(0x10, StandardInformation(1, 1, 0))
                .Resident(0x30, FileNameValue(5, u"Empty"))
                .Resident(0x90, IndexRootValue(0, true), u"$I30")
                .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(r, e));
  EXPECT_EQ(e.own_record, 0u);
}

TEST_F(ParseFileRecordTest, RootFolderNamesItselfAsParentAndIsLeftOut) {
  Bytes r = RecordBuilder()
                .Flags(3)
                .Resident(0x10, StandardInformation(1, 1, 0x06))
                .Resident(0x30, FileNameValue(5, u"."))
                .Resident(0x90, IndexRootValue(5), u"$I30")
                .Build();
  EntryInfo e;
  EXPECT_FALSE(Parse(r, e));
  // The same with another name: left out because it is its own parent.
  Bytes renamed = RecordBuilder()
                      .Flags(3)
                      .Resident(0x10, StandardInformation(1, 1, 0x06))
                      .Resident(0x30, FileNameValue(5, u"root"))
                      .Resident(0x90, IndexRootValue(5), u"$I30")
                      .Build();
  EXPECT_FALSE(Parse(renamed, e));
}

TEST_F(ParseFileRecordTest, NamelessFolderKeepsTheNumberItsIndexRootGives) {
  Bytes r = RecordBuilder()
                .Flags(2)
                .Resident(0x10, StandardInformation(1, 1, 0))
                .Resident(0x90, IndexRootValue(99), u"$I30")
                .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(r, e));
  EXPECT_EQ(e.own_record, 99u);
  EXPECT_EQ(e.parent_record, 0u);
  EXPECT_EQ(e.name_length, 0);
}

TEST_F(ParseFileRecordTest, NamespaceIsReadThroughTheValueOffset) {
  // A $FILE_NAME whose value starts at 0x20: the DOS name must still be seen
  // as DOS, the Win32 one as Win32.
  Bytes r = RecordBuilder()
                .Resident(0x10, StandardInformation(1, 1, 0))
                .Resident(0x30, FileNameValue(40, u"long name.txt", 1), {}, 0x20)
                .Resident(0x30, FileNameValue(40, u"LONGNA~1.TXT", 2), {}, 0x20)
                .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(r, e));
  EXPECT_EQ(Name(e), u"long name.txt");
}

TEST_F(ParseFileRecordTest, FirstIndexEntryIsReadThroughTheEntriesOffset) {
  Bytes root = IndexRootValue(64);
  // Move the entries 8 bytes further: entries offset 0x18.
  root[0x10] = 0x18;
  root.insert(root.begin() + 0x20, 8, 0xCC);
  for (std::size_t at : {0x14u, 0x18u}) root[at] = static_cast<std::uint8_t>(root[at] + 8);
  Bytes r = RecordBuilder()
                .Flags(3)
                .Resident(0x10, StandardInformation(1, 1, 0))
                .Resident(0x30, FileNameValue(5, u"Documents"))
                .Resident(0x90, root, u"$I30")
                .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(r, e));
  EXPECT_EQ(e.own_record, 64u);
}

TEST_F(ParseFileRecordTest, ValuesReachingOutsideTheirAttributeAreIgnored) {
  Bytes name = FileNameValue(40, u"truncated");
  name[0x40] = 200;  // claims 200 characters
  Bytes r = RecordBuilder()
                .Resident(0x10, StandardInformation(1, 1, 0))
                .Resident(0x30, FileNameValue(40, u"good"))
                .Resident(0x30, name)
                .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(r, e));
  EXPECT_EQ(Name(e), u"good");
}

// --- attribute lists ---

Bytes ExtensionWithNames(std::uint32_t base) {
  return RecordBuilder()
      .BaseReference(base)
      .Resident(0x30, FileNameValue(40, u"long name.txt", 1))
      .Resident(0x30, FileNameValue(40, u"LONGNA~1.TXT", 2))
      .Build();
}

TEST_F(ParseFileRecordTest, NamesOnlyInAnExtensionRecordDosNamesIncluded) {
  PutRecord(21, ExtensionWithNames(20));
  PutRecord(22, RecordBuilder()
                    .BaseReference(20)
                    .NonResident(0x80, Bytes{0x11, 0x20, 0x30}, 123456, 0, 0x1F)
                    .Build());
  Bytes list;
  for (const Bytes& entry : {AttributeListEntry(0x10, 20), AttributeListEntry(0x30, 21),
                             AttributeListEntry(0x30, 21), AttributeListEntry(0x80, 22)})
    list.insert(list.end(), entry.begin(), entry.end());
  Bytes base = RecordBuilder()
                   .Flags(1)
                   .Resident(0x10, StandardInformation(NtfsTime(2010, 5, 6), 1, 0x20))
                   .Resident(0x20, list)
                   .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(base, e));
  EXPECT_EQ(Name(e), u"LONGNA~1.TXT");  // the last name of that record
  EXPECT_EQ(e.parent_record, 40u);
  EXPECT_EQ(e.size, 123456u);
  EXPECT_EQ(e.flags, 0x20 | kEntryPresent);
  EXPECT_EQ(e.creation_date, Dos(2010, 5, 6));
}

TEST_F(ParseFileRecordTest, FailedNameLookupEndsTheWalk) {
  // Record 21 is not a valid record: the file gets no name and is left out.
  Bytes list = AttributeListEntry(0x30, 21);
  Bytes base = RecordBuilder()
                   .Resident(0x10, StandardInformation(1, 1, 0))
                   .Resident(0x20, list)
                   .Resident(0x30, FileNameValue(40, u"never reached"))
                   .Build();
  EntryInfo e;
  EXPECT_FALSE(Parse(base, e));
  EXPECT_EQ(e.name_length, 0);
  // Its size is still taken from the list: its other names, in records that
  // can be read, are listed with it.
  PutRecord(22, RecordBuilder()
                    .BaseReference(20)
                    .NonResident(0x80, Bytes{0x11, 0x20, 0x30}, 4321, 0, 0x1F)
                    .Build());
  const Bytes data = AttributeListEntry(0x80, 22);
  list.insert(list.end(), data.begin(), data.end());
  base = RecordBuilder().Resident(0x10, StandardInformation(1, 1, 0)).Resident(0x20, list).Build();
  EXPECT_FALSE(Parse(base, e));
  EXPECT_EQ(e.size, 4321u);
}

TEST_F(ParseFileRecordTest, FolderWithAnAttributeListGoesOnToItsIndexRoot) {
  PutRecord(21, ExtensionWithNames(20));
  Bytes list = AttributeListEntry(0x30, 21);
  Bytes folder = RecordBuilder()
                     .Flags(3)
                     .Resident(0x10, StandardInformation(1, 1, 0))
                     .Resident(0x20, list)
                     .Resident(0x90, IndexRootValue(20), u"$I30")
                     .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(folder, e));
  EXPECT_EQ(e.own_record, 20u);
  EXPECT_EQ(Name(e), u"LONGNA~1.TXT");
  // A file stops after its list: a later $FILE_NAME of the base is not read.
  Bytes file = RecordBuilder()
                   .Flags(1)
                   .Resident(0x10, StandardInformation(1, 1, 0))
                   .Resident(0x20, list)
                   .Resident(0x30, FileNameValue(41, u"base name"))
                   .Build();
  ASSERT_TRUE(Parse(file, e));
  EXPECT_EQ(Name(e), u"LONGNA~1.TXT");
}

TEST_F(ParseFileRecordTest, NonResidentAttributeListIsReadClusterByCluster) {
  PutRecord(21, ExtensionWithNames(20));
  PutRecord(22, RecordBuilder().BaseReference(20).Resident(0x80, Bytes(777, 1)).Build());
  Bytes list;
  for (const Bytes& entry : {AttributeListEntry(0x10, 20), AttributeListEntry(0x30, 21),
                             AttributeListEntry(0x80, 22), AttributeListEntry(0x80, 23, 0x100)})
    list.insert(list.end(), entry.begin(), entry.end());
  PutCluster(30, list);
  Bytes base = RecordBuilder()
                   .Flags(1)
                   .Resident(0x10, StandardInformation(1, 1, 0))
                   .NonResident(0x20, Bytes{0x11, 0x01, 30}, list.size())
                   .Build();
  EntryInfo e;
  ASSERT_TRUE(Parse(base, e));
  EXPECT_EQ(Name(e), u"LONGNA~1.TXT");
  EXPECT_EQ(e.size, 777u);
}

TEST_F(ParseFileRecordTest, NonResidentListReadsOnlyItsRealSize) {
  PutRecord(21, ExtensionWithNames(20));
  Bytes list = AttributeListEntry(0x10, 20);
  Bytes named = AttributeListEntry(0x30, 21);
  Bytes cluster = list;
  cluster.insert(cluster.end(), named.begin(), named.end());
  PutCluster(30, cluster);
  // The list claims only its first entry: the name entry behind it is not read.
  Bytes base = RecordBuilder()
                   .Resident(0x10, StandardInformation(1, 1, 0))
                   .NonResident(0x20, Bytes{0x11, 0x01, 30}, list.size())
                   .Build();
  EntryInfo e;
  EXPECT_FALSE(Parse(base, e));
}

TEST_F(ParseFileRecordTest, DataSizeFromRecordRules) {
  Attach();
  EntryInfo e;
  PutRecord(22, RecordBuilder()
                    .BaseReference(20)
                    .NonResident(0x80, Bytes{0x11, 0x20, 0x30}, 5000, 0, ~std::uint64_t{0})
                    .Build());
  PutRecord(23, RecordBuilder().BaseReference(20).NonResident(0x80, Bytes{0x11, 0x20, 0x30}, 5000, 4, 8).Build());
  PutRecord(24, RecordBuilder().BaseReference(20).Resident(0x80, Bytes{}).Build());
  PutRecord(25, RecordBuilder().BaseReference(20).Resident(0x80, Bytes(9, 0), u"named").Build());
  Attach();
  EXPECT_FALSE(DataSizeFromRecord(state_, 22, e));
  EXPECT_FALSE(DataSizeFromRecord(state_, 23, e));
  EXPECT_FALSE(DataSizeFromRecord(state_, 24, e));
  EXPECT_TRUE(DataSizeFromRecord(state_, 25, e));  // the first $DATA, whatever its name
  EXPECT_EQ(e.size, 9u);
  EXPECT_FALSE(DataSizeFromRecord(state_, 32, e));  // beyond the $MFT's runs
}

TEST_F(ParseFileRecordTest, FileNameFromRecordTakesEveryNameAndStopsAfterThem) {
  PutRecord(21, RecordBuilder()
                    .BaseReference(20)
                    .Resident(0x10, StandardInformation(1, 1, 0))
                    .Resident(0x30, FileNameValue(40, u"a much longer first name"))
                    .Resident(0x30, FileNameValue(41, u"short", 2))
                    .Build());
  PutRecord(22, RecordBuilder().BaseReference(20).Resident(0x80, Bytes{1}).Build());
  Attach();
  EntryInfo e;
  ASSERT_TRUE(FileNameFromRecord(state_, 21, e));
  EXPECT_EQ(Name(e), u"short");
  EXPECT_EQ(e.parent_record, 41u);
  EXPECT_EQ(e.name[5], 0);
  EXPECT_FALSE(FileNameFromRecord(state_, 22, e));
}

TEST_F(ParseFileRecordTest, UnreadableSourceRaisesTheUserException) {
  // No device: the sector source shows the error and raises; the lookup
  // passes that on instead of swallowing it.
  PutRecord(21, ExtensionWithNames(20));
  Bytes list = AttributeListEntry(0x30, 21);
  Bytes base = RecordBuilder().Resident(0x10, StandardInformation(1, 1, 0)).Resident(0x20, list).Build();
  ASSERT_TRUE(CheckFileRecord(base));
  EntryInfo e;
  EXPECT_THROW(ParseFileRecord(state_, base, e), UserException);
}

}  // namespace
}  // namespace salvor

// ZIP writer: every archive written here is read back independently (our
// reader in zip_reader.cpp with zlib inflating the members), tested by
// `unzip -t` and by Python's zipfile, and its members compared with the
// originals byte for byte.

#include "carver/zip_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <random>
#include <thread>

#include "support/shell.h"
#include "support/test_paths.h"
#include "zip_reader.h"

namespace salvor::carver {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::ReadZipFile;
using testing::RunCommand;
using testing::ScratchDir;

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

void WriteFile(const fs::path& path, const Bytes& data) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

Bytes Text(std::size_t n) {
  static const std::string kLine = "Sector 63 holds the boot record of the volume; clusters follow.\n";
  Bytes b;
  for (std::size_t i = 0; b.size() < n; ++i) {
    const std::string line = std::to_string(i) + " " + kLine;
    b.insert(b.end(), line.begin(), line.end());
  }
  b.resize(n);
  return b;
}

Bytes Random(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& c : b) c = static_cast<std::uint8_t>(rng());
  return b;
}

// unzip -t and Python's zipfile must both find the archive sound.
void ExpectToolsAccept(const fs::path& zip, bool empty = false) {
  if (testing::HaveCommand("unzip")) {
    const auto r = RunCommand("unzip -t " + Quote(zip));
    if (empty) {
      EXPECT_EQ(r.status, 1) << r.output;  // unzip's warning status for an empty archive
      EXPECT_NE(r.output.find("zipfile is empty"), std::string::npos) << r.output;
    } else {
      EXPECT_EQ(r.status, 0) << r.output;
      EXPECT_NE(r.output.find("No errors detected"), std::string::npos) << r.output;
    }
  } else {
    ADD_FAILURE() << "unzip missing";
  }
  if (testing::HaveCommand("python3")) {
    const auto r = RunCommand(
        "python3 -c \"import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
        "sys.exit(0 if z.testzip() is None else 1)\" " + Quote(zip));
    EXPECT_EQ(r.status, 0) << r.output;
  } else {
    ADD_FAILURE() << "python3 missing";
  }
}

void SkipWithoutTools() {
  if (!testing::HaveCommand("unzip")) GTEST_SKIP() << "unzip is not installed";
  if (!testing::HaveCommand("python3")) GTEST_SKIP() << "python3 is not installed";
}

const testing::ReadZipEntry* Find(const testing::ReadZip& zip, const std::string& name) {
  for (const auto& e : zip.entries)
    if (e.name == name) return &e;
  return nullptr;
}

TEST(ZipWriter, MixedArchivePassesEveryReader) {
  SkipWithoutTools();
  ScratchDir dir;
  const Bytes text = Text(300000), noise = Random(200000, 1), big = Text(5 << 20);
  const Bytes inner_zip = Random(5000, 2);
  WriteFile(dir.path() / "a.txt", text);
  WriteFile(dir.path() / "noise.bin", noise);
  WriteFile(dir.path() / "big.log", big);
  WriteFile(dir.path() / "empty.dat", {});
  WriteFile(dir.path() / "1234.zip", inner_zip);
  WriteFile(dir.path() / "1234.ZIP", inner_zip);
  WriteFile(dir.path() / "x.tgz", text);
  fs::create_directory(dir.path() / "folder");

  const fs::path zip_path = dir.path() / "out.zip";
  auto zip = ZipCreate(zip_path);
  ASSERT_TRUE(zip);
  EXPECT_TRUE(zip->seekable);
  for (const char* name : {"a.txt", "noise.bin", "big.log", "empty.dat", "1234.zip", "1234.ZIP", "x.tgz"})
    EXPECT_EQ(ZipAdd(*zip, name, dir.path() / name), ZipAddResult::kAdded) << name;
  EXPECT_EQ(ZipAdd(*zip, "folder", dir.path() / "folder"), ZipAddResult::kAdded);
  EXPECT_EQ(ZipAddBytes(*zip, "memo.txt", text), ZipAddResult::kAdded);
  ASSERT_TRUE(ZipClose(*zip));

  std::string why;
  const auto read = ReadZipFile(zip_path, why);
  ASSERT_TRUE(read) << why;
  ASSERT_EQ(read->entries.size(), 9u);
  const std::vector<std::pair<std::string, const Bytes*>> expected = {
      {"a.txt", &text}, {"noise.bin", &noise}, {"big.log", &big}, {"1234.zip", &inner_zip},
      {"1234.ZIP", &inner_zip}, {"x.tgz", &text}, {"memo.txt", &text}};
  for (const auto& [name, bytes] : expected) {
    const auto* e = Find(*read, name);
    ASSERT_NE(e, nullptr) << name;
    EXPECT_TRUE(e->data == *bytes) << name;
  }
  for (const auto& e : read->entries) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(e.made_by, 0x0B17);
    EXPECT_EQ(e.needed, 20);
    EXPECT_EQ(e.flags, 8);
    // "UT" with flags 7: 13 data bytes locally, 5 in the central directory.
    ASSERT_EQ(e.local_extra.size(), 17u);
    ASSERT_EQ(e.central_extra.size(), 9u);
    EXPECT_EQ(e.local_extra[0], 'U');
    EXPECT_EQ(e.local_extra[1], 'T');
    EXPECT_EQ(e.local_extra[2], 13);
    EXPECT_EQ(e.local_extra[4], 7);
    EXPECT_EQ(e.central_extra[2], 5);
    EXPECT_EQ(e.central_extra[4], 7);
    EXPECT_TRUE(std::equal(e.central_extra.begin() + 5, e.central_extra.end(), e.local_extra.begin() + 5));
    // Descriptor after the data, and the local header completed in place.
    EXPECT_TRUE(e.has_descriptor);
    EXPECT_EQ(e.descriptor_crc, e.crc);
    EXPECT_EQ(e.descriptor_compressed_size, e.compressed_size);
    EXPECT_EQ(e.descriptor_size, e.size);
    EXPECT_EQ(e.local_crc, e.crc);
    EXPECT_EQ(e.local_compressed_size, e.compressed_size);
    EXPECT_EQ(e.local_size, e.size);
  }
  EXPECT_EQ(Find(*read, "a.txt")->method, kZipDeflated);
  EXPECT_LT(Find(*read, "a.txt")->compressed_size, text.size() / 4);
  EXPECT_EQ(Find(*read, "noise.bin")->method, kZipDeflated);
  EXPECT_LE(Find(*read, "noise.bin")->compressed_size, noise.size() + 100);
  for (const char* stored : {"1234.zip", "1234.ZIP", "x.tgz"}) {
    EXPECT_EQ(Find(*read, stored)->method, kZipStored) << stored;
    EXPECT_EQ(Find(*read, stored)->compressed_size, Find(*read, stored)->size) << stored;
  }
  const auto* empty = Find(*read, "empty.dat");
  EXPECT_EQ(empty->size, 0u);
  EXPECT_EQ(empty->compressed_size, 0u);
  EXPECT_EQ(empty->crc, 0u);
  const auto* folder = Find(*read, "folder/");
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->method, kZipStored);
  EXPECT_EQ(folder->external_attributes, 0x41C00010u);
  EXPECT_EQ(Find(*read, "memo.txt")->external_attributes, 0x80000000u);
  EXPECT_EQ(Find(*read, "a.txt")->external_attributes >> 16 & 0xF000, 0x8000u);  // regular file

  ExpectToolsAccept(zip_path);
  // And unzip gives back the same bytes.
  const fs::path out = dir.path() / "extracted";
  ASSERT_EQ(RunCommand("unzip -q -o " + Quote(zip_path) + " -d " + Quote(out)).status, 0);
  std::ifstream in(out / "big.log", std::ios::binary);
  const Bytes back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(back == big);
  EXPECT_TRUE(fs::is_directory(out / "folder"));
}

TEST(ZipWriter, ArchiveWithoutEntriesIsOnlyTheEndRecord) {
  SkipWithoutTools();
  ScratchDir dir;
  const fs::path zip_path = dir.path() / "none.zip";
  auto zip = ZipCreate(zip_path);
  ASSERT_TRUE(zip);
  ASSERT_TRUE(ZipClose(*zip));
  std::ifstream in(zip_path, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const Bytes end_record = {'P', 'K', 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(bytes, end_record);
  ExpectToolsAccept(zip_path, /*empty=*/true);
}

TEST(ZipWriter, ZeroLengthFileHasSizesAndCrcZero) {
  SkipWithoutTools();
  ScratchDir dir;
  WriteFile(dir.path() / "0.txt", {});
  const fs::path zip_path = dir.path() / "zero.zip";
  auto zip = ZipCreate(zip_path);
  ASSERT_TRUE(zip);
  ASSERT_EQ(ZipAdd(*zip, "0.txt", dir.path() / "0.txt"), ZipAddResult::kAdded);
  ASSERT_EQ(ZipAddBytes(*zip, "nothing.bin", {}), ZipAddResult::kAdded);
  ASSERT_TRUE(ZipClose(*zip));
  std::string why;
  const auto read = ReadZipFile(zip_path, why);
  ASSERT_TRUE(read) << why;
  for (const auto& e : read->entries) {
    EXPECT_EQ(e.size, 0u);
    EXPECT_EQ(e.compressed_size, 0u);
    EXPECT_EQ(e.crc, 0u);
    EXPECT_EQ(e.method, kZipStored);
  }
  ExpectToolsAccept(zip_path);
}

TEST(ZipWriter, ArchiveSuffixesAreStoredWhateverTheirCase) {
  for (const char* name : {"1234.zip", "1234.ZIP", "a.Z", "a.z", "a.zoo", "a.ARC", "a.lzh", "a.arj",
                           "a.gz", "a.TGZ", "x.tar.gz"})
    EXPECT_TRUE(ZipStoresUncompressed(name)) << name;
  for (const char* name : {"1234.jpg", "zip", "a.zipx", "a.gzip", "a.", "a.tar", "gz.txt"})
    EXPECT_FALSE(ZipStoresUncompressed(name)) << name;
}

TEST(ZipWriter, EntryNamesNeverEscapeTheExtractionFolder) {
  EXPECT_EQ(ZipEntryName("a\\b\\c.txt", false), "a/b/c.txt");
  EXPECT_EQ(ZipEntryName("../../etc/passwd", false), "etc/passwd");
  EXPECT_EQ(ZipEntryName("/abs/path.txt", false), "abs/path.txt");
  EXPECT_EQ(ZipEntryName("C:\\Windows\\x.dll", false), "Windows/x.dll");
  EXPECT_EQ(ZipEntryName("a\\..\\..\\b.txt", false), "a/b.txt");
  EXPECT_EQ(ZipEntryName("..", false), "_");
  EXPECT_EQ(ZipEntryName("", false), "_");
  EXPECT_EQ(ZipEntryName("..\\", true), "_/");
  EXPECT_EQ(ZipEntryName("dir", true), "dir/");
  EXPECT_EQ(ZipEntryName("...txt", false), "...txt");  // only whole ".." parts are dropped
  const std::string long_name(400, 'n');
  EXPECT_EQ(ZipEntryName(long_name, false).size(), 259u);
  EXPECT_EQ(ZipEntryName(long_name, true).size(), 259u);
  std::string accents;
  for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";  // é, two bytes each
  const std::string cut = ZipEntryName(accents, false);
  EXPECT_EQ(cut.size(), 258u);  // whole characters only

  SkipWithoutTools();
  ScratchDir dir;
  const fs::path zip_path = dir.path() / "names.zip";
  auto zip = ZipCreate(zip_path);
  ASSERT_TRUE(zip);
  const Bytes data = Text(100);
  for (const char* name : {"../../evil1.txt", "/tmp/evil2.txt", "C:\\evil3.txt", "a\\..\\..\\evil4.txt",
                           "..\\..\\evil5.txt"})
    ASSERT_EQ(ZipAddBytes(*zip, name, data), ZipAddResult::kAdded);
  ASSERT_TRUE(ZipClose(*zip));
  ExpectToolsAccept(zip_path);
  const fs::path out = dir.path() / "deep" / "x";
  fs::create_directories(out);
  const auto r = RunCommand("unzip -q -o " + Quote(zip_path) + " -d " + Quote(out));
  EXPECT_EQ(r.status, 0) << r.output;
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    if (!entry.is_regular_file() || entry.path().filename().string().find("evil") == std::string::npos) continue;
    const auto rel = fs::relative(entry.path(), out);
    EXPECT_FALSE(rel.empty() || rel.begin()->string() == "..") << entry.path();
  }
}

TEST(ZipWriter, FailedWriteEndsInFailureNeverSuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ScratchDir dir;
  WriteFile(dir.path() / "a.txt", Text(100000));
  auto zip = ZipCreate("/dev/full");
  ASSERT_TRUE(zip);
  EXPECT_EQ(ZipAdd(*zip, "a.txt", dir.path() / "a.txt"), ZipAddResult::kFailed);
  EXPECT_TRUE(zip->failed);
  EXPECT_EQ(ZipAddBytes(*zip, "b.txt", Text(10)), ZipAddResult::kFailed);
  EXPECT_FALSE(ZipClose(*zip));
  // An archive with no entries fails just the same when its end record cannot be written.
  auto empty = ZipCreate("/dev/full");
  ASSERT_TRUE(empty);
  EXPECT_FALSE(ZipClose(*empty));
}

TEST(ZipWriter, UnreadableSourceLeavesTheArchiveGood) {
  SkipWithoutTools();
  ScratchDir dir;
  const fs::path zip_path = dir.path() / "u.zip";
  auto zip = ZipCreate(zip_path);
  ASSERT_TRUE(zip);
  EXPECT_EQ(ZipAdd(*zip, "missing", dir.path() / "missing"), ZipAddResult::kSourceUnreadable);
  EXPECT_EQ(ZipAddBytes(*zip, "ok.txt", Text(1000)), ZipAddResult::kAdded);
  ASSERT_TRUE(ZipClose(*zip));
  ExpectToolsAccept(zip_path);
}

TEST(ZipWriter, CannotCreateInMissingFolder) {
  ScratchDir dir;
  EXPECT_EQ(ZipCreate(dir.path() / "no" / "such" / "x.zip"), nullptr);
}

TEST(ZipWriter, PipeOutputUsesDescriptorsOnly) {
  SkipWithoutTools();
  ScratchDir dir;
  const fs::path fifo = dir.path() / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Bytes received;
  std::thread reader([&] {
    std::ifstream in(fifo, std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  });
  const Bytes text = Text(200000), noise = Random(70000, 4);
  {
    auto zip = ZipCreate(fifo);
    ASSERT_TRUE(zip);
    EXPECT_FALSE(zip->seekable);
    EXPECT_EQ(ZipAddBytes(*zip, "t.txt", text), ZipAddResult::kAdded);
    EXPECT_EQ(ZipAddBytes(*zip, "n.gz", noise), ZipAddResult::kAdded);
    EXPECT_TRUE(ZipClose(*zip));
  }
  reader.join();
  const fs::path zip_path = dir.path() / "piped.zip";
  WriteFile(zip_path, received);
  std::string why;
  const auto read = ReadZipFile(zip_path, why);
  ASSERT_TRUE(read) << why;
  ASSERT_EQ(read->entries.size(), 2u);
  for (const auto& e : read->entries) {
    EXPECT_EQ(e.local_crc, 0u);
    EXPECT_EQ(e.local_compressed_size, 0u);
    EXPECT_TRUE(e.has_descriptor);
    EXPECT_EQ(e.descriptor_crc, e.crc);
  }
  EXPECT_TRUE(read->entries[0].data == text);
  EXPECT_TRUE(read->entries[1].data == noise);
  ExpectToolsAccept(zip_path);
}

TEST(ZipWriter, TimesComeFromTheSourceFile) {
  ScratchDir dir;
  const fs::path file = dir.path() / "t.txt";
  WriteFile(file, Text(10));
  std::tm when{};
  when.tm_year = 2019 - 1900;
  when.tm_mon = 6;  // July
  when.tm_mday = 14;
  when.tm_hour = 13;
  when.tm_min = 45;
  when.tm_sec = 31;
  when.tm_isdst = -1;
  const std::time_t stamp = std::mktime(&when);
  const timespec times[2] = {{stamp, 0}, {stamp, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  const fs::path zip_path = dir.path() / "t.zip";
  auto zip = ZipCreate(zip_path);
  ASSERT_TRUE(zip);
  ASSERT_EQ(ZipAdd(*zip, "t.txt", file), ZipAddResult::kAdded);
  ASSERT_TRUE(ZipClose(*zip));
  std::string why;
  const auto read = ReadZipFile(zip_path, why);
  ASSERT_TRUE(read) << why;
  const auto& e = read->entries.at(0);
  EXPECT_EQ(e.dos_date, ((2019 - 1980) << 9) | (7 << 5) | 14);
  EXPECT_EQ(e.dos_time, (13 << 11) | (45 << 5) | 15);
  const std::uint32_t ut = e.central_extra[5] | e.central_extra[6] << 8 | e.central_extra[7] << 16 |
                           static_cast<std::uint32_t>(e.central_extra[8]) << 24;
  EXPECT_EQ(ut, static_cast<std::uint32_t>(stamp));
}

TEST(ZipWriter, RoomStopsBeforeAnyThirtyTwoBitLimit) {
  ScratchDir dir;
  auto zip = ZipCreate(dir.path() / "room.zip");
  ASSERT_TRUE(zip);
  EXPECT_TRUE(ZipHasRoomFor(*zip, "a.bin", 1000));
  EXPECT_TRUE(ZipHasRoomFor(*zip, "a.bin", 0xFFFFFFFFull - 0x300000));
  EXPECT_FALSE(ZipHasRoomFor(*zip, "a.bin", 0xFFFFFFFFull));     // could grow past 4 GiB - 1
  EXPECT_FALSE(ZipHasRoomFor(*zip, "a.bin", 0x100000000ull));    // exactly 4 GiB: no 32-bit size
  zip->offset = 0xFFFFFFFFull - 1000;  // as if nearly 4 GiB had been written
  EXPECT_FALSE(ZipHasRoomFor(*zip, "a.bin", 900));
  EXPECT_EQ(ZipAddBytes(*zip, "a.bin", Text(900)), ZipAddResult::kNoRoom);
  EXPECT_FALSE(zip->failed);  // nothing was written
  zip->offset = 0;
}

}  // namespace
}  // namespace salvor::carver

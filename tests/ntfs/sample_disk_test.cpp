// The record reader against the sample disks and their truth manifests:
// every base record of every volume parses to what the manifest says,
// system files are left out exactly, compressed files decompress to their
// original bytes, and 4096-byte-sector records pass their checks.

#include <gtest/gtest.h>

#include "disk/disk_info.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ntfs/attribute.h"
#include "ntfs/boot_sector.h"
#include "ntfs/data_runs.h"
#include "ntfs/engine_state.h"
#include "ntfs/file_record.h"
#include "ntfs/index_record.h"
#include "ntfs/lznt1.h"
#include "ntfs/mft_first_record.h"
#include "ntfs/mft_locator.h"
#include "ntfs/record_parser.h"
#include "support/recording_host.h"
#include "support/shell.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct ManifestVolume {
  std::uint64_t first_sector = 0;
  std::uint64_t length = 0;
};

struct ManifestEntry {
  int volume = 0;
  std::uint32_t record = 0;
  std::uint32_t parent = 0;
  std::uint64_t size = 0;
  bool dir = false;
  bool deleted = false;
  bool name_in_record = true;
  bool reused = false;
  bool recoverable = true;
  bool compressed = false;
  bool resident = false;
  std::string sha256;
  std::u16string name;
};

struct Manifest {
  std::vector<ManifestVolume> volumes;
  std::vector<ManifestEntry> entries;
};

std::string FromHex(const std::string& hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

// The manifest is JSON; python3 (which the fixture tools need anyway)
// flattens the fields these tests use into lines.
Manifest ReadManifest(const fs::path& json) {
  static const char* kScript = R"PY(
import json, sys
m = json.load(open(sys.argv[1]))
for v in m["volumes"]:
    print("V", v["first_sector"], v["length_sectors"])
    for e in v["entries"]:
        k = e.get("kind", [])
        print("E", v["index"], e["mft_record"], e["parent_record"], e["size"], int(e["is_dir"]),
              int(e["deleted"]), int(e.get("name_in_record", True)), int(e.get("record_reused", False)),
              int(e.get("recoverable", True)), int("compressed" in k), int("resident" in k),
              e.get("sha256") or "-", e["name"].encode("utf-8").hex() or "-")
)PY";
  Manifest m;
  fs::path script = fs::temp_directory_path() / ("salvor-manifest-" + std::to_string(getpid()) + ".py");
  std::ofstream(script) << kScript;
  const std::string text =
      salvor::testing::RunShell("python3 '" + script.string() + "' '" + json.string() + "'").output;
  fs::remove(script);
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream f(line);
    std::string tag;
    f >> tag;
    if (tag == "V") {
      ManifestVolume v;
      f >> v.first_sector >> v.length;
      m.volumes.push_back(v);
    } else if (tag == "E") {
      ManifestEntry e;
      int dir, deleted, in_record, reused, recoverable, compressed, resident;
      std::string hex;
      f >> e.volume >> e.record >> e.parent >> e.size >> dir >> deleted >> in_record >> reused >>
          recoverable >> compressed >> resident >> e.sha256 >> hex;
      e.dir = dir, e.deleted = deleted, e.name_in_record = in_record, e.reused = reused;
      e.recoverable = recoverable, e.compressed = compressed, e.resident = resident;
      e.name = Utf8ToUtf16(FromHex(hex));
      m.entries.push_back(e);
    }
  }
  return m;
}

// One volume of an image, opened the way the wizard and the tree builder
// will: geometry from its boot sector, the $MFT run list from record 0.
class Volume {
 public:
  Volume(const fs::path& image, std::uint64_t first_sector, std::uint64_t length)
      : state_(host_, run_) {
    if (!state_.source.OpenImage(image.string())) return;
    const std::uint16_t bps = state_.source.bytes_per_sector();
    Bytes boot(bps);
    state_.source.ReadSectors(boot, first_sector);
    if (!IsNtfsBootSector(boot)) return;
    VolumeInfo info =
        VolumeFromBootSector(boot, first_sector, length, bps, GeometryOrigin::kPartitionTable);
    state_.volume = SelectVolume(info, bps);
    Bytes mft = ReadRecordAt(state_.volume.mft_sector);
    Bytes copy = mft;
    mft_record_recognised_ = IsMftRecord(copy);
    if (!CheckFileRecord(mft)) return;
    AttributeWalker walk(mft);
    while (auto a = walk.Next()) {
      if (a->type() == attr::kData && a->non_resident() && a->unnamed()) {
        DecodeRuns(a->bytes(), a->run_list_offset(), state_.mft_runs);
        break;
      }
    }
  }

  EngineState& state() { return state_; }
  const CurrentVolume& geometry() const { return state_.volume; }
  bool mft_record_recognised() const { return mft_record_recognised_; }

  Bytes ReadRecordAt(std::uint64_t sector) {
    Bytes r(state_.volume.bytes_per_file_record, 0);
    state_.source.ReadSectors(r, sector);
    return r;
  }
  Bytes ReadClusters(std::uint64_t lcn, std::uint64_t count) {
    Bytes b(count * state_.volume.bytes_per_cluster, 0);
    state_.source.ReadSectors(b, ClusterSector(state_.volume, lcn));
    return b;
  }
  // Record number -> checked record (every record position of the $MFT).
  std::uint32_t RecordCount() const {
    std::uint64_t n = 0;
    for (const Run& r : state_.mft_runs)
      n += r.length * state_.volume.sectors_per_cluster / state_.volume.sectors_per_file_record;
    return static_cast<std::uint32_t>(n);
  }

 private:
  testing::RecordingHost host_;
  RunControl run_;
  EngineState state_;
  bool mft_record_recognised_ = false;
};

struct Parsed {
  bool in_use = false;
  bool accepted = false;
  EntryInfo entry;
};

// Walks every record position the way the tree builder does: extension
// records and records failing the check are skipped.
std::map<std::uint32_t, Parsed> ParseAll(Volume& v, std::uint32_t* checked = nullptr) {
  std::map<std::uint32_t, Parsed> out;
  const std::uint32_t count = v.RecordCount();
  for (std::uint32_t n = 0; n < count; ++n) {
    auto sector = MftRecordSector(v.state().mft_runs, v.geometry(), n);
    if (!sector) continue;
    Bytes r = v.ReadRecordAt(*sector);
    if (BaseRecordReference(r) != 0 || !CheckFileRecord(r)) continue;
    if (checked) ++*checked;
    Parsed p;
    p.in_use = (FileRecordFlags(r) & file_record::kFlagInUse) != 0;
    p.accepted = ParseFileRecord(v.state(), r, p.entry);
    // mkntfs leaves the reserved records 16-23 with number 0 in the header.
    if (HeaderRecordNumber(r) != 0) {
      EXPECT_EQ(HeaderRecordNumber(r), n);
    }
    out[n] = p;
  }
  return out;
}

std::string Narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

class SampleDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    image_ = testing::SamplesDir() / "sample-disk.img";
    if (!fs::exists(image_)) GTEST_SKIP() << "no sample disk at " << image_;
    manifest_ = ReadManifest(testing::SamplesDir() / "sample-disk.json");
    ASSERT_EQ(manifest_.volumes.size(), 2u);
  }
  fs::path image_;
  Manifest manifest_;
};

void CheckVolumeAgainstManifest(Volume& v, const Manifest& m, int volume, int min_compared,
                                int min_deleted) {
  ASSERT_FALSE(v.state().mft_runs.empty());
  EXPECT_TRUE(v.mft_record_recognised());
  std::map<std::uint32_t, Parsed> parsed = ParseAll(v);
  ASSERT_GT(parsed.size(), 16u);

  // Manifest names per record (hard links give a record several).
  std::map<std::uint32_t, std::vector<const ManifestEntry*>> by_record;
  for (const ManifestEntry& e : m.entries)
    if (e.volume == volume) by_record[e.record].push_back(&e);

  std::set<std::uint32_t> expected_accepted;
  int compared = 0, deleted_compared = 0;
  for (const auto& [record, entries] : by_record) {
    // Entries whose record now belongs to another file, or whose name went
    // with an extension record, cannot be told from the record any more.
    std::vector<const ManifestEntry*> live;
    for (const ManifestEntry* e : entries)
      if (!e->reused && e->name_in_record) live.push_back(e);
    if (live.empty()) continue;
    const ManifestEntry& first = *live.front();
    SCOPED_TRACE("record " + std::to_string(record) + " " + Narrow(first.name));
    ASSERT_TRUE(parsed.count(record));
    const Parsed& p = parsed.at(record);
    if (first.name == u"$Boot") {  // a user file with a system file's name
      EXPECT_FALSE(p.accepted);
      continue;
    }
    expected_accepted.insert(record);
    ASSERT_TRUE(p.accepted);
    bool name_matches = false;
    for (const ManifestEntry* e : live) name_matches |= (p.entry.Name() == e->name);
    EXPECT_TRUE(name_matches) << Narrow(p.entry.Name());
    EXPECT_EQ(p.entry.parent_record, first.parent);
    EXPECT_EQ(p.entry.size, first.dir ? 0 : first.size);
    EXPECT_EQ((p.entry.flags & kEntryFolder) != 0, first.dir);
    EXPECT_EQ((p.entry.flags & kEntryPresent) != 0, !first.deleted);
    EXPECT_NE(p.entry.creation_date, 0);
    ++compared;
    if (first.deleted) ++deleted_compared;
  }
  EXPECT_GE(compared, min_compared);
  EXPECT_GE(deleted_compared, min_deleted);

  // Left out exactly: the system files of the list (and the root, its own
  // parent); kept: everything else, which beyond the manifest's user files
  // is only $Extend and the files inside it.
  for (std::uint32_t n = 0; n <= 10; ++n) {
    ASSERT_TRUE(parsed.count(n)) << n;
    EXPECT_FALSE(parsed.at(n).accepted) << n;
  }
  for (const auto& [record, p] : parsed) {
    if (!p.accepted || expected_accepted.count(record)) continue;
    if (by_record.count(record)) continue;  // a deleted entry whose name is uncertain
    SCOPED_TRACE("unexpected entry " + std::to_string(record) + " " + Narrow(p.entry.Name()));
    EXPECT_EQ(p.entry.Name().substr(0, 1), u"$");
    EXPECT_TRUE(record == 11 || p.entry.parent_record == 11);
  }
}

TEST_F(SampleDisk, EveryBaseRecordOfThePrimaryVolumeParsesToTheManifest) {
  Volume v(image_, manifest_.volumes[0].first_sector, manifest_.volumes[0].length);
  CheckVolumeAgainstManifest(v, manifest_, 0, 60, 20);
}

TEST_F(SampleDisk, EveryBaseRecordOfTheLogicalVolumeParsesToTheManifest) {
  Volume v(image_, manifest_.volumes[1].first_sector, manifest_.volumes[1].length);
  CheckVolumeAgainstManifest(v, manifest_, 1, 13, 2);
}

// Decodes a compressed stream unit by unit: a unit whose clusters are all on
// disk is stored as is, one with sparse clusters holds LZNT1 chunks in its
// leading clusters, an all-sparse unit is zeros.
Bytes ReadCompressedStream(Volume& v, const RunList& runs, std::uint32_t unit_clusters,
                           std::uint64_t size) {
  std::vector<std::uint64_t> lcns;
  for (const Run& r : runs)
    for (std::uint64_t c = 0; c < r.length; ++c) lcns.push_back(r.sparse() ? 0 : r.lcn + c);
  const std::size_t cluster = v.geometry().bytes_per_cluster;
  Bytes out;
  for (std::size_t u = 0; u * unit_clusters < lcns.size() && out.size() < size; ++u) {
    Bytes stored;
    std::size_t real = 0;
    for (std::size_t c = 0; c < unit_clusters; ++c) {
      const std::size_t vcn = u * unit_clusters + c;
      if (vcn >= lcns.size() || lcns[vcn] == 0) continue;
      Bytes b = v.ReadClusters(lcns[vcn], 1);
      stored.insert(stored.end(), b.begin(), b.end());
      ++real;
    }
    Bytes unit(unit_clusters * cluster, 0);
    if (real == unit_clusters) {
      unit = stored;
    } else if (real > 0) {
      EXPECT_TRUE(IsCompressedStream(stored)) << "unit " << u;
      DecompressLznt1(stored, unit);
    }
    out.insert(out.end(), unit.begin(), unit.end());
  }
  out.resize(size);
  return out;
}

TEST_F(SampleDisk, EveryCompressedFileDecompressesToTheOriginal) {
  Volume v(image_, manifest_.volumes[0].first_sector, manifest_.volumes[0].length);
  ASSERT_FALSE(v.state().mft_runs.empty());
  testing::ScratchDir scratch;
  int decoded = 0;
  for (const ManifestEntry& e : manifest_.entries) {
    if (e.volume != 0 || !e.compressed || e.dir || e.resident || !e.recoverable || e.sha256 == "-")
      continue;
    SCOPED_TRACE(Narrow(e.name));
    auto sector = MftRecordSector(v.state().mft_runs, v.geometry(), e.record);
    ASSERT_TRUE(sector);
    Bytes r = v.ReadRecordAt(*sector);
    ASSERT_TRUE(CheckFileRecord(r));
    RunList runs;
    std::uint32_t unit = 0;
    std::uint64_t size = 0;
    AttributeWalker walk(r);
    while (auto a = walk.Next()) {
      if (a->type() == attr::kData && a->unnamed() && a->non_resident()) {
        DecodeRuns(a->bytes(), a->run_list_offset(), runs);
        unit = CompressionUnitClusters(a->compression_unit());
        size = a->real_size();
        EXPECT_NE(a->compression_unit(), 0);
        break;
      }
    }
    ASSERT_EQ(size, e.size);
    ASSERT_EQ(unit, 16u);
    Bytes data = ReadCompressedStream(v, runs, unit, size);
    fs::path file = scratch.path() / "out.bin";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                                static_cast<std::streamsize>(data.size()));
    EXPECT_EQ(testing::Sha256OfFile(file), e.sha256);
    ++decoded;
  }
  EXPECT_GE(decoded, 5);
}

// The INDX blocks of the root folder pass their check (update sequence every
// 512 bytes, whatever the sector size).
int CheckRootIndexBlocks(Volume& v) {
  auto sector = MftRecordSector(v.state().mft_runs, v.geometry(), 5);
  if (!sector) return -1;
  Bytes r = v.ReadRecordAt(*sector);
  if (!CheckFileRecord(r)) return -1;
  int passed = 0;
  AttributeWalker walk(r);
  while (auto a = walk.Next()) {
    if (a->type() != 0xA0 || !a->non_resident()) continue;
    RunList runs;
    DecodeRuns(a->bytes(), a->run_list_offset(), runs);
    const std::size_t index_size = v.geometry().bytes_per_index_record;
    for (const Run& run : runs) {
      if (run.sparse()) continue;
      Bytes blocks = v.ReadClusters(run.lcn, run.length);
      for (std::size_t at = 0; at + index_size <= blocks.size(); at += index_size) {
        std::span<std::uint8_t> block(blocks.data() + at, index_size);
        if (block[0] != 'I') continue;  // an unused block of the allocation
        EXPECT_TRUE(CheckIndexRecord(block)) << "block at " << at;
        ++passed;
      }
    }
  }
  return passed;
}

TEST_F(SampleDisk, RootIndexBlocksPassTheirCheck) {
  Volume v(image_, manifest_.volumes[0].first_sector, manifest_.volumes[0].length);
  EXPECT_GT(CheckRootIndexBlocks(v), 0);
}

class FourKSectors : public ::testing::Test {
 protected:
  void SetUp() override {
    image_ = testing::SamplesDir() / "ntfs-4k-sectors.img";
    if (!fs::exists(image_)) GTEST_SKIP() << "no 4K-sector sample at " << image_;
    manifest_ = ReadManifest(testing::SamplesDir() / "ntfs-4k-sectors.json");
    ASSERT_EQ(manifest_.volumes.size(), 1u);
  }
  fs::path image_;
  Manifest manifest_;
};

TEST_F(FourKSectors, RecordsOf4096BytesWithNineUpdateSequenceEntriesPass) {
  Volume v(image_, manifest_.volumes[0].first_sector, manifest_.volumes[0].length);
  ASSERT_EQ(v.geometry().bytes_per_sector, 4096);
  ASSERT_EQ(v.geometry().bytes_per_file_record, 4096u);
  std::uint32_t checked = 0;
  ParseAll(v, &checked);
  EXPECT_GT(checked, 20u);  // the system files and every file of the manifest
  CheckVolumeAgainstManifest(v, manifest_, 0, 9, 1);
  EXPECT_GT(CheckRootIndexBlocks(v), -1);
}

}  // namespace
}  // namespace salvor

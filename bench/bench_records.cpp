// CheckFileRecord + ParseFileRecord over every record of a large real
// volume, single thread: records per second. The volume comes from
// tools/make-large-volume (default /var/tmp/salvor-bench/large-volume.img,
// or SALVOR_BENCH_VOLUME); the benchmark is skipped when it is missing.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "disk/block_device.h"
#include "disk/host.h"
#include "ntfs/attribute.h"
#include "ntfs/boot_sector.h"
#include "ntfs/data_runs.h"
#include "ntfs/engine_state.h"
#include "ntfs/file_record.h"
#include "ntfs/mft_locator.h"
#include "ntfs/record_parser.h"

namespace {

struct Volume {
  salvor::SilentHost host;
  salvor::RunControl run;
  salvor::EngineState state{host, run};
  std::vector<std::uint8_t> records;  // every record of the $MFT as it lies on disk
  std::size_t record_size = 0;
  std::size_t count = 0;
};

// Opens the volume and reads its whole $MFT into memory, so that the timed
// loop measures parsing, not the disk.
Volume* LoadVolume() {
  static std::unique_ptr<Volume> loaded;
  static bool tried = false;
  if (tried) return loaded.get();
  tried = true;
  const char* env = std::getenv("SALVOR_BENCH_VOLUME");
  const std::string path = env ? env : "/var/tmp/salvor-bench/large-volume.img";
  auto opened = salvor::OpenBlockDeviceReadOnly(path);
  if (!opened.device) return nullptr;
  auto v = std::make_unique<Volume>();
  v->state.source.Attach(std::move(opened.device), path, 512);

  std::vector<std::uint8_t> boot(512);
  v->state.source.ReadSectors(boot, 0);
  if (!salvor::IsNtfsBootSector(boot)) return nullptr;
  auto info = salvor::VolumeFromBootSector(boot, 0, v->state.source.total_sectors(), 512,
                                           salvor::GeometryOrigin::kPartitionTable);
  v->state.volume = salvor::SelectVolume(info, 512);
  const salvor::CurrentVolume& cv = v->state.volume;
  v->record_size = cv.bytes_per_file_record;

  std::vector<std::uint8_t> mft(v->record_size);
  v->state.source.ReadSectors(mft, cv.mft_sector);
  if (!salvor::CheckFileRecord(mft)) return nullptr;
  salvor::AttributeWalker walk(mft);
  while (auto a = walk.Next()) {
    if (a->type() == salvor::attr::kData && a->non_resident() && a->unnamed()) {
      salvor::DecodeRuns(a->bytes(), a->run_list_offset(), v->state.mft_runs);
      break;
    }
  }
  for (const salvor::Run& r : v->state.mft_runs) {
    std::vector<std::uint8_t> run_bytes(r.length * cv.bytes_per_cluster);
    v->state.source.ReadSectors(run_bytes, salvor::ClusterSector(cv, r.lcn));
    v->records.insert(v->records.end(), run_bytes.begin(), run_bytes.end());
  }
  v->count = v->records.size() / v->record_size;
  loaded = std::move(v);
  return loaded.get();
}

void BM_CheckAndParseRecords(benchmark::State& bench) {
  Volume* v = LoadVolume();
  if (!v || v->count == 0) {
    bench.SkipWithError("no large volume: run tools/make-large-volume");
    return;
  }
  std::vector<std::uint8_t> buffer(v->record_size);
  std::size_t entries = 0;
  for (auto _ : bench) {
    for (std::size_t i = 0; i < v->count; ++i) {
      std::memcpy(buffer.data(), v->records.data() + i * v->record_size, v->record_size);
      if (salvor::BaseRecordReference(buffer) != 0 || !salvor::CheckFileRecord(buffer)) continue;
      salvor::EntryInfo entry;
      if (salvor::ParseFileRecord(v->state, buffer, entry)) ++entries;
    }
    benchmark::DoNotOptimize(entries);
  }
  bench.SetItemsProcessed(static_cast<std::int64_t>(bench.iterations() * v->count));
  bench.counters["records"] = static_cast<double>(v->count);
  bench.counters["entries"] =
      static_cast<double>(entries) / static_cast<double>(bench.iterations());
}
BENCHMARK(BM_CheckAndParseRecords)->Unit(benchmark::kMillisecond);

}  // namespace

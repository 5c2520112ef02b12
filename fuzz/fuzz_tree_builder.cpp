// Locating the $MFT and rebuilding the tree from hostile records, then
// walking the whole tree back out of the scan database. Input: the clusters
// of a small volume from LCN 1 on (4096-byte clusters, 1024-byte records,
// the $MFT at LCN 1, its mirror at LCN 2). When the input names no usable
// $MFT, its clusters are walked as the $MFT all the same.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <unordered_set>
#include <vector>

#include "fuzz/fuzz_volume.h"
#include "disk/host.h"
#include "fuzz/memory_block_device.h"
#include "ntfs/engine_state.h"
#include "ntfs/locate_mft.h"
#include "ntfs/scan_database.h"
#include "ntfs/scan_database_reader.h"
#include "ntfs/tree_builder.h"

namespace {

// One folder per fuzzing process, made for each input and removed after it,
// so that nothing is left behind however the fuzzer ends.
const std::filesystem::path& Folder() {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("salvor-fuzz-tree-" + std::to_string(getpid()));
  return folder;
}

struct FolderForThisInput {
  FolderForThisInput() { std::filesystem::create_directories(Folder()); }
  ~FolderForThisInput() {
    std::error_code ec;
    std::filesystem::remove_all(Folder(), ec);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 256 * 1024) return 0;
  std::vector<std::uint8_t> image(4096, 0);  // cluster 0: the boot sector's place
  image.insert(image.end(), data, data + size);

  salvor::SilentHost host;
  salvor::RunControl run;
  salvor::EngineState state(host, run);
  salvor::CurrentVolume& v = state.volume;
  salvor::fuzz::UseFuzzGeometry(v, 1024);
  v.mft_lcn = 1;
  v.mftmirr_lcn = 2;
  v.mft_sector = 8;
  v.length = (image.size() + 511) / 512;
  state.source.Attach(std::make_unique<salvor::fuzz::MemoryBlockDevice>(image), "fuzz", 512);

  if (!salvor::LocateMft(state)) {
    state.mft_runs = {salvor::Run{(size + 4095) / 4096, 1}};
    v.mft_record_count = static_cast<std::uint32_t>(size / 1024);
  }
  FolderForThisInput folder;
  salvor::ScanDatabaseWriter db(host);
  if (!salvor::CreateDatabase(db, Folder())) return 0;
  salvor::BuildTree(state, db);
  salvor::CloseDatabase(db);
  salvor::ScanDatabaseReader reader;
  if (!reader.Open(Folder())) return 0;

  // Every folder's list once, breadth first, as the listing does.
  std::vector<std::uint32_t> folders{0};
  std::unordered_set<std::uint32_t> listed{0};
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const bool readable = reader.VisitChildren(folders[i], [&](const salvor::EntryNode& e) {
      if (e.folder() && listed.insert(e.child_block).second) folders.push_back(e.child_block);
      return true;
    });
    if (!readable) break;
  }
  return 0;
}

// The "Signature" database reader and the scan index built from it, on
// arbitrary file contents: no read outside the input, and what is read
// stores and reads back the same.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "carver/signature_database.h"
#include "carver/signature_groups.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace salvor::carver;
  auto list = ReadSignatureDatabase(std::span<const std::uint8_t>(data, size));
  if (!list) return 0;
  if (list->empty() || list->back().link != 0) std::abort();
  for (const SignatureRecord& rec : *list) {
    auto again = ParseSignatureRecord(StoreSignatureRecord(rec));
    if (!again || StoreSignatureRecord(*again) != StoreSignatureRecord(rec)) std::abort();
  }
  SignatureList selected = KeepSelected(*list, 1024);
  SignatureGroups groups = BuildGroups(selected);
  std::size_t entries = 0, extras = 0;
  for (const SignatureGroup& g : groups) {
    entries += g.index.size();
    for (const auto& [key, entry] : g.index) {
      extras += entry.extra_extensions.size();
      if (LookUp(g, key) != &entry) std::abort();
    }
  }
  // Every selected record is either an entry or an extra extension of one.
  if (entries + extras != selected.size()) std::abort();
  (void)LookaheadSectors(groups, 512);
  return 0;
}

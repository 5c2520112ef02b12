#pragma once
// The scan-time index of the selected signatures: one group per distinct
// (signature length, signature offset), each with an ordered index from the
// signature bytes to an entry. Matching is on the exact bytes.

#include <bitset>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "carver/signature_database.h"
#include "carver/signature_record.h"

namespace salvor::carver {

struct SignatureEntry {
  std::string key;  // the signature bytes
  SignatureRecord record;
  std::vector<std::string> extra_extensions;
};

struct SignatureGroup {
  std::uint8_t length = 0;
  std::uint16_t offset = 0;
  std::map<std::string, SignatureEntry, std::less<>> index;
  // First bytes of the keys present: most sectors fail this test and never
  // reach the index.
  std::bitset<256> first_bytes;
  // The keys' first (up to) eight bytes, for the sectors that pass the first
  // byte: zero-filled ones pass it wherever a key starts with 00.
  std::vector<std::uint64_t> heads;
};

using SignatureGroups = std::vector<SignatureGroup>;

inline std::string_view AsKey(std::span<const std::uint8_t> bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Walks the list in order; records with the same bytes in one group share the
// first record's entry, later ones adding their extension to extra_extensions.
SignatureGroups BuildGroups(const SignatureList& list);

// The entry for exactly these bytes, or nullptr.
const SignatureEntry* LookUp(const SignatureGroup& group, std::span<const std::uint8_t> key);
const SignatureEntry* LookUp(const SignatureGroup& group, std::string_view key);

// Whether a key starting at `key` (group.length bytes readable) can be in
// the index: a cheap test that most sectors fail, so they never look it up.
// Inline: it runs for every group at every sector.
bool HeadMatches(const SignatureGroup& group, const std::uint8_t* key);
inline bool MayMatch(const SignatureGroup& group, const std::uint8_t* key) {
  return group.length == 0 || (group.first_bytes.test(key[0]) && HeadMatches(group, key));
}

// Bytes past the end of one sector that the largest (offset + length) of the
// groups needs; the scan reads its window that much longer.
std::uint32_t LookaheadSectors(const SignatureGroups& groups, std::uint32_t sector_size);

}  // namespace salvor::carver

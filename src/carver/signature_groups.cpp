#include "carver/signature_groups.h"

#include <algorithm>
#include <cstring>

namespace salvor::carver {
namespace {

std::uint64_t KeyHead(const std::uint8_t* key, std::size_t length) {
  std::uint64_t head = 0;
  std::memcpy(&head, key, std::min<std::size_t>(length, sizeof head));
  return head;
}

}  // namespace

SignatureGroups BuildGroups(const SignatureList& list) {
  SignatureGroups groups;
  for (const SignatureRecord& rec : list) {
    auto it = std::find_if(groups.begin(), groups.end(), [&](const SignatureGroup& g) {
      return g.length == rec.signature_length && g.offset == rec.signature_offset;
    });
    if (it == groups.end()) {
      groups.push_back(SignatureGroup{rec.signature_length, rec.signature_offset, {}, {}, {}});
      it = groups.end() - 1;
    }
    std::string key(AsKey(rec.SignatureBytes()));
    auto found = it->index.find(key);
    if (found != it->index.end()) {
      found->second.extra_extensions.push_back(rec.extension);
      continue;
    }
    if (!key.empty()) it->first_bytes.set(static_cast<std::uint8_t>(key[0]));
    it->heads.push_back(KeyHead(rec.signature.data(), key.size()));
    it->index.emplace(key, SignatureEntry{key, rec, {}});
  }
  return groups;
}

const SignatureEntry* LookUp(const SignatureGroup& group, std::string_view key) {
  auto it = group.index.find(key);
  return it == group.index.end() ? nullptr : &it->second;
}

const SignatureEntry* LookUp(const SignatureGroup& group, std::span<const std::uint8_t> key) {
  return LookUp(group, AsKey(key));
}

bool HeadMatches(const SignatureGroup& group, const std::uint8_t* key) {
  const std::uint64_t head = KeyHead(key, group.length);
  return std::find(group.heads.begin(), group.heads.end(), head) != group.heads.end();
}

std::uint32_t LookaheadSectors(const SignatureGroups& groups, std::uint32_t sector_size) {
  if (sector_size == 0) return 0;
  std::uint32_t reach = 0;
  for (const auto& g : groups) reach = std::max<std::uint32_t>(reach, g.offset + g.length);
  if (reach <= sector_size) return 0;
  return (reach - sector_size + sector_size - 1) / sector_size;
}

}  // namespace salvor::carver

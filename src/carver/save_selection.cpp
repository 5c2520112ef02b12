#include "carver/save_selection.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace salvor::carver {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

void CheckAll(FoundNode& node) {
  node.checked = 1;
  for (auto& child : node.children) CheckAll(*child);
}

std::uint64_t ApplyExclusions(FoundNode& node, std::span<const std::string> excluded) {
  std::uint64_t unchecked = 0;
  for (auto& child : node.children) {
    if (child->IsFolder()) {
      unchecked += ApplyExclusions(*child, excluded);
      continue;
    }
    const std::size_t dot = child->name.find('.');
    if (!child->checked || dot == std::string::npos) continue;
    const std::string_view extension = std::string_view(child->name).substr(dot + 1);
    if (std::any_of(excluded.begin(), excluded.end(),
                    [&](const std::string& e) { return EqualsIgnoringCase(extension, e); })) {
      child->checked = 0;
      ++unchecked;
    }
  }
  return unchecked;
}

Selection CountSelected(const FoundNode& node) {
  Selection total;
  for (const auto& child : node.children) {
    if (!child->checked) continue;
    if (child->IsFolder()) {
      const Selection below = CountSelected(*child);
      total.files += below.files;
      total.bytes += below.bytes;
    } else {
      ++total.files;
      total.bytes += child->length;
    }
  }
  return total;
}

std::uint64_t CountItemsToSave(const FoundNode& node) {
  std::uint64_t items = 0;
  for (const auto& child : node.children) {
    if (!child->checked) continue;
    ++items;
    if (child->IsFolder()) items += CountItemsToSave(*child);
  }
  return items;
}

}  // namespace salvor::carver

#pragma once
// Finding found files by name pattern and size.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "carver/found_tree.h"

namespace salvor::carver::ui {

enum class SizeBound { kNone, kAtMost, kAtLeast };

struct FindQuery {
  std::string pattern;  // "*" any run of characters, "?" any one
  bool match_case = false;
  SizeBound bound = SizeBound::kNone;
  std::uint64_t size_bytes = 0;  // files below (at most) or above (at least) it match
};

bool WildcardMatch(std::string_view pattern, std::string_view name, bool match_case);

// Every matching node below `root`, depth first, siblings in order; a folder
// comes before what lies inside it. Folders pass the size test.
std::vector<const FoundNode*> FindNodes(const FoundNode& root, const FindQuery& query);

}  // namespace salvor::carver::ui

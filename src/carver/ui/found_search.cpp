#include "carver/ui/found_search.h"

#include <cctype>

namespace salvor::carver::ui {
namespace {

bool SameChar(char a, char b, bool match_case) {
  if (match_case) return a == b;
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool SizeMatches(const FoundNode& node, const FindQuery& query) {
  if (node.IsFolder() || query.bound == SizeBound::kNone) return true;
  return query.bound == SizeBound::kAtMost ? node.length < query.size_bytes
                                           : node.length > query.size_bytes;
}

void Walk(const FoundNode& folder, const FindQuery& query, std::vector<const FoundNode*>& hits) {
  for (const auto& child : folder.children) {
    if (WildcardMatch(query.pattern, child->name, query.match_case) && SizeMatches(*child, query))
      hits.push_back(child.get());
    if (child->IsFolder()) Walk(*child, query, hits);
  }
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name, bool match_case) {
  // Greedy match with one backtrack point: the last "*" seen.
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || SameChar(pattern[p], name[n], match_case))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<const FoundNode*> FindNodes(const FoundNode& root, const FindQuery& query) {
  std::vector<const FoundNode*> hits;
  Walk(root, query, hits);
  return hits;
}

}  // namespace salvor::carver::ui

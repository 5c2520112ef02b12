#include "carver/size_limits.h"

namespace salvor::carver {

std::uint64_t ApplySizeLimits(FoundNode& node, std::uint64_t min_bytes, std::uint64_t max_bytes) {
  std::uint64_t unchecked = 0;
  for (auto& child : node.children) {
    if (child->IsFolder()) {
      unchecked += ApplySizeLimits(*child, min_bytes, max_bytes);
    } else if (child->checked != 0 &&
               (child->length < min_bytes || (max_bytes != 0 && child->length > max_bytes))) {
      child->checked = 0;
      ++unchecked;
    }
  }
  return unchecked;
}

}  // namespace salvor::carver

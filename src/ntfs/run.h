#pragma once
// One decoded data run: a length in clusters at an absolute LCN. LCN 0 marks
// a sparse run (no cluster of user data ever lives at LCN 0: the boot sector
// is there).

#include <cstdint>
#include <vector>

namespace salvor {

struct Run {
  std::uint64_t length = 0;  // clusters
  std::uint64_t lcn = 0;     // absolute; 0 = sparse
  bool sparse() const { return lcn == 0; }
  bool operator==(const Run&) const = default;
};

using RunList = std::vector<Run>;

}  // namespace salvor

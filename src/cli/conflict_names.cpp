#include "cli/conflict_names.h"

#include <climits>

#include "ntfs/rename_rules.h"

namespace salvor::cli {
namespace {
// Past this many taken candidates something else is wrong (a folder that
// vanished under the save): skip rather than ask forever.
constexpr unsigned kMaxCandidates = 10000;
}  // namespace

std::optional<std::string> ConflictNames::Next(std::string_view failed_name) {
  if (policy_ == ConflictPolicy::kSkip) return std::nullopt;
  if (failed_name != last_) {
    original_ = std::string(failed_name);
    count_ = 0;
  }
  if (++count_ > kMaxCandidates) return std::nullopt;
  last_ = NumberedName(original_, count_, NAME_MAX);
  return last_;
}

}  // namespace salvor::cli

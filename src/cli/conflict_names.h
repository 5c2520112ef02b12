#pragma once
// How the command line answers the rename question of a save: skip the item,
// or take the next free name ("report (1).html", "report (2).html", ...).

#include <optional>
#include <string>
#include <string_view>

namespace salvor::cli {

enum class ConflictPolicy { kSkip, kRename };

class ConflictNames {
 public:
  explicit ConflictNames(ConflictPolicy policy) : policy_(policy) {}

  // The answer for a name that could not be created. Asked again with the
  // answer it gave, it counts on from the same original name; after many
  // failed candidates it gives up and skips.
  std::optional<std::string> Next(std::string_view failed_name);

 private:
  ConflictPolicy policy_;
  std::string original_;
  std::string last_;
  unsigned count_ = 0;
};

}  // namespace salvor::cli

#pragma once
// Which found nodes a save takes: the checked ones. The command line checks
// everything; the exclusion list unchecks files by extension.

#include <cstdint>
#include <span>
#include <string>

#include "carver/found_tree.h"

namespace salvor::carver {

struct Selection {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
};

// Checks `node` and everything below it.
void CheckAll(FoundNode& node);

// Unchecks every checked file below `node` whose extension (the text after
// the first "." of its name) equals one of `excluded`, ignoring case.
// Returns how many files were unchecked.
std::uint64_t ApplyExclusions(FoundNode& node, std::span<const std::string> excluded);

// The checked files below `node` (in checked folders) and their bytes.
Selection CountSelected(const FoundNode& node);

// How many nodes below `node` a save creates: checked files and folders
// reached through checked folders.
std::uint64_t CountItemsToSave(const FoundNode& node);

}  // namespace salvor::carver

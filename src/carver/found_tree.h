#pragma once
// The tree of found files: "." -> "Raw Data" -> category -> extension -> files
// named "<start sector>.<extension>". New nodes go first among their
// siblings, so siblings stand newest first.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace salvor::carver {

inline constexpr std::uint8_t kFolderKind = 3;
inline constexpr std::uint8_t kFileKind = 0;

struct FoundNode {
  std::uint64_t length = 0;
  FoundNode* parent = nullptr;
  std::deque<std::unique_ptr<FoundNode>> children;  // first child first
  std::vector<std::uint64_t> starts;  // one start sector; empty for sector 0
  std::string name;
  std::uint8_t kind = kFileKind;
  std::uint8_t checked = 0;

  bool IsFolder() const { return (kind & 2) != 0; }
  std::uint64_t StartSector() const { return starts.empty() ? 0 : starts.front(); }
};

struct FoundTree {
  std::unique_ptr<FoundNode> root;
  FoundNode* raw_data = nullptr;
};

// A tree holding "." and its one child "Raw Data".
FoundTree NewFoundTree();

// Inserts a new node as the first child of parent.
FoundNode* AddFirstChild(FoundNode& parent, std::unique_ptr<FoundNode> child);
// The folder child with this name, created first among the children if missing.
FoundNode* FindOrAddFolder(FoundNode& parent, std::string_view name);

// Adds the file node "<start>.<extension>" under Raw Data/category/extension.
FoundNode* AddFoundFile(FoundTree& tree, std::string_view category, std::string_view extension,
                        std::uint64_t start_sector, std::uint64_t length);

// Visits every file node in tree order (siblings first to last), depth first.
void ForEachFile(const FoundNode& node, const std::function<void(const FoundNode&)>& visit);

}  // namespace salvor::carver

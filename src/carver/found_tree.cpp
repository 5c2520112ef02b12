#include "carver/found_tree.h"

#include "carver/texts.h"

namespace salvor::carver {

FoundTree NewFoundTree() {
  FoundTree tree;
  tree.root = std::make_unique<FoundNode>();
  tree.root->name = std::string(text::kRootName);
  tree.root->kind = kFolderKind;
  auto raw = std::make_unique<FoundNode>();
  raw->name = std::string(text::kRawData);
  raw->kind = kFolderKind;
  tree.raw_data = AddFirstChild(*tree.root, std::move(raw));
  return tree;
}

FoundNode* AddFirstChild(FoundNode& parent, std::unique_ptr<FoundNode> child) {
  child->parent = &parent;
  parent.children.push_front(std::move(child));
  return parent.children.front().get();
}

FoundNode* FindOrAddFolder(FoundNode& parent, std::string_view name) {
  for (auto& child : parent.children) {
    if (child->IsFolder() && child->name == name) return child.get();
  }
  auto folder = std::make_unique<FoundNode>();
  folder->name = std::string(name);
  folder->kind = kFolderKind;
  return AddFirstChild(parent, std::move(folder));
}

FoundNode* AddFoundFile(FoundTree& tree, std::string_view category, std::string_view extension,
                        std::uint64_t start_sector, std::uint64_t length) {
  FoundNode* folder = FindOrAddFolder(*FindOrAddFolder(*tree.raw_data, category), extension);
  auto file = std::make_unique<FoundNode>();
  file->name = std::to_string(start_sector) + "." + std::string(extension);
  if (start_sector != 0) file->starts.push_back(start_sector);
  file->length = length;
  return AddFirstChild(*folder, std::move(file));
}

void ForEachFile(const FoundNode& node, const std::function<void(const FoundNode&)>& visit) {
  for (const auto& child : node.children) {
    if (child->IsFolder()) {
      ForEachFile(*child, visit);
    } else {
      visit(*child);
    }
  }
}

}  // namespace salvor::carver

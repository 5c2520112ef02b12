#include "carver/ui/found_tree_model.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStyle>
#include <algorithm>

#include "carver/texts.h"
#include "carver/ui/ui_text.h"

namespace salvor::carver::ui {
namespace {

int RowOf(const FoundNode& node) {
  const auto& siblings = node.parent->children;
  const auto it = std::find_if(siblings.begin(), siblings.end(),
                               [&](const auto& child) { return child.get() == &node; });
  return static_cast<int>(it - siblings.begin());
}

void SetSubtree(FoundNode& node, std::uint8_t checked) {
  node.checked = checked;
  for (auto& child : node.children) SetSubtree(*child, checked);
}

std::string LowerExtension(const std::string& name) {
  const auto dot = name.find('.');
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

void FoundTreeModel::SetTree(FoundNode* root, std::set<std::string> unmeasured_extensions) {
  beginResetModel();
  root_ = root;
  unmeasured_ = std::move(unmeasured_extensions);
  Recount();
  endResetModel();
  emit totalsChanged();
}

void FoundTreeModel::Refresh() {
  if (root_ == nullptr) return;
  // Exclusions uncheck files but leave their folders' bytes alone.
  std::function<bool(FoundNode&)> fix = [&](FoundNode& folder) {
    bool any = false;
    for (auto& child : folder.children) any = (child->IsFolder() ? fix(*child) : child->checked != 0) || any;
    if (!folder.children.empty()) folder.checked = any ? 1 : 0;
    return folder.checked != 0;
  };
  fix(*root_);
  Recount();
  AnnounceSubtree(*root_);
  emit totalsChanged();
}

bool FoundTreeModel::LengthMeasured(const FoundNode& file) const {
  return unmeasured_.count(LowerExtension(file.name)) == 0;
}

FoundNode* FoundTreeModel::Node(const QModelIndex& index) const {
  return index.isValid() ? static_cast<FoundNode*>(index.internalPointer()) : root_;
}

QModelIndex FoundTreeModel::IndexOf(const FoundNode* node, int column) const {
  if (node == nullptr || node == root_ || node->parent == nullptr) return {};
  return createIndex(RowOf(*node), column, const_cast<FoundNode*>(node));
}

QModelIndex FoundTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const FoundNode* folder = Node(parent);
  if (folder == nullptr || row < 0 || column < 0 || column >= kColumnCount ||
      static_cast<std::size_t>(row) >= folder->children.size())
    return {};
  return createIndex(row, column, folder->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FoundTreeModel::parent(const QModelIndex& child) const {
  const FoundNode* node = Node(child);
  if (!child.isValid() || node->parent == nullptr) return {};
  return IndexOf(node->parent);
}

int FoundTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const FoundNode* folder = Node(parent);
  return folder == nullptr ? 0 : static_cast<int>(folder->children.size());
}

bool FoundTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

int FoundTreeModel::columnCount(const QModelIndex&) const { return kColumnCount; }

QVariant FoundTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kNameColumn: return Text(text::kColumnName);
    case kSizeColumn: return Text(text::kColumnSize);
    default: return Text(text::kColumnNote);
  }
}

Qt::ItemFlags FoundTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == kNameColumn) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant FoundTreeModel::data(const QModelIndex& index, int role) const {
  const FoundNode* node = Node(index);
  if (!index.isValid() || node == nullptr) return {};
  const bool folder = node->IsFolder();
  const bool unmeasured = !folder && !LengthMeasured(*node);
  switch (role) {
    case Qt::DisplayRole:
      if (index.column() == kNameColumn) return QString::fromStdString(node->name);
      if (folder) return {};
      if (index.column() == kSizeColumn) return QString::number(node->length);
      return unmeasured ? Text(text::kLengthNotMeasured) : QString();
    case kSortRole:
      if (index.column() == kSizeColumn) return static_cast<qulonglong>(node->length);
      return index.column() == kNameColumn ? QString::fromStdString(node->name)
                                           : QString::number(unmeasured);
    case kIsFolderRole: return folder;
    case Qt::CheckStateRole: {
      if (index.column() != kNameColumn) return {};
      if (!folder) return node->checked ? Qt::Checked : Qt::Unchecked;
      const auto it = folder_state_.find(node);
      return it == folder_state_.end() ? Qt::Unchecked : it->second;
    }
    case Qt::DecorationRole:
      if (index.column() != kNameColumn) return {};
      return folder ? QIcon::fromTheme(QStringLiteral("folder"),
                                       QApplication::style()->standardIcon(QStyle::SP_DirIcon))
                    : QIcon::fromTheme(QStringLiteral("text-x-generic"),
                                       QApplication::style()->standardIcon(QStyle::SP_FileIcon));
    case Qt::ToolTipRole:
      if (folder) return {};
      return unmeasured ? Text(text::kDoubleClickToPreview) + QLatin1Char('\n') +
                              Text(text::kLengthNotMeasuredTip)
                        : Text(text::kDoubleClickToPreview);
    case Qt::FontRole:
      if (unmeasured && index.column() == kNoteColumn) {
        QFont italic;
        italic.setItalic(true);
        return italic;
      }
      return {};
    case Qt::AccessibleTextRole:
      return QString::fromStdString(node->name);
    default: return {};
  }
}

bool FoundTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  FoundNode* node = Node(index);
  if (!index.isValid() || role != Qt::CheckStateRole || index.column() != kNameColumn) return false;
  const std::uint8_t checked = value.value<Qt::CheckState>() == Qt::Unchecked ? 0 : 1;
  if (node->IsFolder()) SetSubtree(*node, checked);
  else node->checked = checked;
  for (FoundNode* folder = node->parent; folder != nullptr; folder = folder->parent) {
    folder->checked = std::any_of(folder->children.begin(), folder->children.end(),
                                  [](const auto& child) { return child->checked != 0; });
  }
  Recount();
  if (node->IsFolder()) AnnounceSubtree(*node);
  for (const FoundNode* n = node; n != nullptr && n != root_; n = n->parent) {
    const QModelIndex changed = IndexOf(n);
    emit dataChanged(changed, changed.siblingAtColumn(kColumnCount - 1));
  }
  emit totalsChanged();
  return true;
}

void FoundTreeModel::AnnounceSubtree(const FoundNode& folder) {
  if (folder.children.empty()) return;
  const QModelIndex parent = IndexOf(&folder);
  emit dataChanged(index(0, 0, parent),
                   index(static_cast<int>(folder.children.size()) - 1, kColumnCount - 1, parent));
  for (const auto& child : folder.children)
    if (child->IsFolder()) AnnounceSubtree(*child);
}

void FoundTreeModel::Recount() {
  totals_ = {};
  folder_state_.clear();
  if (root_ != nullptr) Recount(*root_);
}

Qt::CheckState FoundTreeModel::Recount(const FoundNode& folder) {
  bool all = true;
  bool none = true;
  for (const auto& child : folder.children) {
    Qt::CheckState state;
    if (child->IsFolder()) {
      ++totals_.folders;
      if (child->checked) ++totals_.selected_folders;
      state = Recount(*child);
    } else {
      ++totals_.files;
      totals_.bytes += child->length;
      state = child->checked ? Qt::Checked : Qt::Unchecked;
      if (child->checked) {
        ++totals_.selected_files;
        totals_.selected_bytes += child->length;
      }
    }
    all = all && state == Qt::Checked;
    none = none && state == Qt::Unchecked;
  }
  Qt::CheckState state = all ? Qt::Checked : none ? Qt::Unchecked : Qt::PartiallyChecked;
  if (folder.children.empty()) state = folder.checked ? Qt::Checked : Qt::Unchecked;
  folder_state_[&folder] = state;
  return state;
}

}  // namespace salvor::carver::ui

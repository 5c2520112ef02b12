#include "ui/folder_tree_model.h"

#include <QBrush>
#include <QFont>
#include <algorithm>

#include "disk/texts.h"
#include "ntfs/scan_database.h"
#include "ntfs/scan_database_reader.h"
#include "ui/item_icons.h"

struct CFolderTreeModel::Node {
  std::uint32_t entry = 0;
  std::uint32_t child_block = 0;
  QString name;
  bool present = true;
  Node* parent = nullptr;
  int row = 0;
  bool loaded = false;
  Qt::CheckState check = Qt::Unchecked;
  std::vector<std::unique_ptr<Node>> children;

  // Entry 0 lists its children in the block at offset 0; any other folder
  // without a block has none.
  bool MayHaveChildren() const { return entry == salvor::kTopEntry || child_block != 0; }
};

CFolderTreeModel::CFolderTreeModel(QObject* parent) : QAbstractItemModel(parent) {}
CFolderTreeModel::~CFolderTreeModel() = default;

void CFolderTreeModel::Reset(salvor::ScanDatabaseReader* db) {
  beginResetModel();
  db_ = db;
  top_.reset();
  current_ = nullptr;
  if (db_) {
    top_ = std::make_unique<Node>();
    top_->name = QString::fromUtf8(salvor::text::kTopEntryName);
    current_ = top_.get();
  }
  endResetModel();
}

CFolderTreeModel::Node* CFolderTreeModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

QModelIndex CFolderTreeModel::IndexOf(const Node* node) const {
  return node ? createIndex(node->row, 0, const_cast<Node*>(node)) : QModelIndex();
}

std::uint32_t CFolderTreeModel::EntryOf(const QModelIndex& index) const {
  const Node* node = NodeOf(index);
  return node ? node->entry : 0;
}

QModelIndex CFolderTreeModel::TopIndex() const { return IndexOf(top_.get()); }
QModelIndex CFolderTreeModel::CurrentIndex() const { return IndexOf(current_); }

void CFolderTreeModel::SetCurrent(const QModelIndex& index) {
  Node* node = NodeOf(index);
  if (!node || node == current_) return;
  const QModelIndex old = IndexOf(current_);
  current_ = node;
  if (old.isValid()) emit dataChanged(old, old, {Qt::FontRole, Qt::ForegroundRole});
  emit dataChanged(index, index, {Qt::FontRole, Qt::ForegroundRole});
}

QModelIndex CFolderTreeModel::FindChild(const QModelIndex& parent, std::uint32_t entry) {
  Node* node = NodeOf(parent);
  if (!node) return {};
  LoadChildren(node);
  for (const auto& child : node->children)
    if (child->entry == entry) return IndexOf(child.get());
  return {};
}

QModelIndex CFolderTreeModel::FindEntry(std::uint32_t entry) const {
  std::vector<const Node*> stack;
  if (top_) stack.push_back(top_.get());
  while (!stack.empty()) {
    const Node* node = stack.back();
    stack.pop_back();
    if (node->entry == entry) return IndexOf(node);
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it)
      stack.push_back(it->get());
  }
  return {};
}

QModelIndex CFolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return row == 0 && top_ ? IndexOf(top_.get()) : QModelIndex();
  const Node* node = NodeOf(parent);
  if (row >= static_cast<int>(node->children.size())) return {};
  return IndexOf(node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex CFolderTreeModel::parent(const QModelIndex& child) const {
  const Node* node = NodeOf(child);
  return node ? IndexOf(node->parent) : QModelIndex();
}

int CFolderTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return top_ ? 1 : 0;
  return static_cast<int>(NodeOf(parent)->children.size());
}

int CFolderTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CFolderTreeModel::data(const QModelIndex& index, int role) const {
  const Node* node = NodeOf(index);
  if (!node) return {};
  const bool current = node == current_;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return node->name;
    case Qt::DecorationRole:
      return ItemIcons::Folder(!node->present, current);
    case Qt::CheckStateRole:
      return static_cast<int>(node->check);
    case Qt::FontRole:
      if (current) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
    case Qt::ForegroundRole:
      if (current) return QBrush(QColor(252, 12, 12));
      return {};
    default:
      return {};
  }
}

void CFolderTreeModel::SetSubtree(Node* node, Qt::CheckState state) {
  node->check = state;
  for (auto& child : node->children) SetSubtree(child.get(), state);
}

void CFolderTreeModel::EmitSubtreeChanged(Node* node) {
  if (node->children.empty()) return;
  emit dataChanged(IndexOf(node->children.front().get()), IndexOf(node->children.back().get()),
                   {Qt::CheckStateRole});
  for (auto& child : node->children) EmitSubtreeChanged(child.get());
}

bool CFolderTreeModel::setData(const QModelIndex& index, const QVariant&, int role) {
  Node* node = NodeOf(index);
  if (!node || role != Qt::CheckStateRole || locked_) return false;
  // A click checks an unchecked folder and unchecks a checked or partly
  // checked one, whatever the view proposes.
  const Qt::CheckState state = node->check == Qt::Unchecked ? Qt::Checked : Qt::Unchecked;
  SetSubtree(node, state);
  emit dataChanged(index, index, {Qt::CheckStateRole});
  EmitSubtreeChanged(node);
  for (Node* up = node->parent; up; up = up->parent) {
    const bool all_same = std::all_of(up->children.begin(), up->children.end(),
                                      [state](const auto& c) { return c->check == state; });
    up->check = all_same ? state : Qt::PartiallyChecked;
    const QModelIndex up_index = IndexOf(up);
    emit dataChanged(up_index, up_index, {Qt::CheckStateRole});
  }
  return true;
}

Qt::ItemFlags CFolderTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

bool CFolderTreeModel::hasChildren(const QModelIndex& parent) const {
  if (!parent.isValid()) return top_ != nullptr;
  const Node* node = NodeOf(parent);
  return node->loaded ? !node->children.empty() : node->MayHaveChildren();
}

bool CFolderTreeModel::canFetchMore(const QModelIndex& parent) const {
  const Node* node = NodeOf(parent);
  return node && !node->loaded && node->MayHaveChildren();
}

void CFolderTreeModel::fetchMore(const QModelIndex& parent) { LoadChildren(NodeOf(parent)); }

void CFolderTreeModel::LoadChildren(Node* node) {
  if (!node || node->loaded || !db_) return;
  node->loaded = true;
  if (!node->MayHaveChildren()) return;
  std::vector<std::unique_ptr<Node>> folders;
  db_->VisitChildren(node->child_block, [&](const salvor::EntryNode& child) {
    if (!child.folder()) return true;
    auto item = std::make_unique<Node>();
    item->entry = child.entry_number;
    item->child_block = child.child_block;
    item->name = QString::fromUtf16(child.name.data(), static_cast<qsizetype>(child.name.size()));
    item->present = child.present();
    item->parent = node;
    // Subfolders of a checked folder are checked too.
    item->check = node->check == Qt::PartiallyChecked ? Qt::Unchecked : node->check;
    folders.push_back(std::move(item));
    return true;
  });
  std::stable_sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) {
    return a->name.compare(b->name, Qt::CaseInsensitive) < 0;
  });
  if (folders.empty()) {
    // The expand mark goes away.
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index);
    return;
  }
  for (std::size_t i = 0; i < folders.size(); ++i) folders[i]->row = static_cast<int>(i);
  beginInsertRows(IndexOf(node), 0, static_cast<int>(folders.size()) - 1);
  node->children = std::move(folders);
  endInsertRows();
}

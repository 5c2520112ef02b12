#pragma once
// The folder tree of a scanned volume as a Qt model over the scan database.
// Only folders whose parent has been opened are in memory: a folder's
// subfolders are read (and sorted by name) when the view first asks for
// them, so a volume of millions of entries costs what the user has opened.

#include <QAbstractItemModel>
#include <cstdint>
#include <memory>
#include <vector>

namespace salvor {
class ScanDatabaseReader;
}

class CFolderTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit CFolderTreeModel(QObject* parent = nullptr);
  ~CFolderTreeModel() override;

  // Shows the tree of `db` (open for reading, owned by the caller) with the
  // top item "#" alone at first; nullptr empties the tree.
  void Reset(salvor::ScanDatabaseReader* db);
  bool IsEmpty() const { return !top_; }

  // While locked (a process runs or the list refreshes) check clicks are
  // refused.
  void SetLocked(bool locked) { locked_ = locked; }

  std::uint32_t EntryOf(const QModelIndex& index) const;
  QModelIndex TopIndex() const;
  // The current folder: drawn bold and red.
  QModelIndex CurrentIndex() const;
  void SetCurrent(const QModelIndex& index);
  // The child of `parent` with this entry number (its subfolders are read
  // first when needed), or an invalid index.
  QModelIndex FindChild(const QModelIndex& parent, std::uint32_t entry);
  // Depth first among the folders read so far.
  QModelIndex FindEntry(std::uint32_t entry) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  struct Node;
  Node* NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const Node* node) const;
  void LoadChildren(Node* node);
  void SetSubtree(Node* node, Qt::CheckState state);
  void EmitSubtreeChanged(Node* node);

  salvor::ScanDatabaseReader* db_ = nullptr;
  std::unique_ptr<Node> top_;
  Node* current_ = nullptr;
  bool locked_ = false;
};

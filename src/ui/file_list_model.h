#pragma once
// The children of one folder of the scan database as the file list's rows:
// folders first, then files, each in the order of the folder's children
// list. A row keeps only the fields the columns show, so a folder of
// 100,000 files costs a few megabytes, and nothing else of the volume is
// read. Names stay in Unicode: converting them to one code page would turn
// every letter outside it into "?" (Cyrillic, Greek and CJK names on one disk).

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

namespace salvor {
class ScanDatabaseReader;
}

class CFileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kName, kSize, kType, kAccessed, kCreated, kFileId, kParentId, kColumnCount };

  explicit CFileListModel(QObject* parent = nullptr);

  // Fills the list with the children of folder `entry`. False (list empty)
  // when the folder's entry cannot be read.
  bool ShowFolder(salvor::ScanDatabaseReader& db, std::uint32_t entry);
  void Clear();
  std::uint32_t folder() const { return folder_; }

  std::uint32_t EntryOf(int row) const;
  bool IsFolder(int row) const;
  // The entry drawn as the last one found.
  void SetLastFound(std::uint32_t entry);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  struct Row {
    std::uint64_t size = 0;
    std::uint32_t entry = 0;
    std::uint32_t own_record = 0;
    std::uint32_t parent_record = 0;
    std::uint16_t flags = 0;
    std::uint16_t created = 0;
    std::uint16_t accessed = 0;
    QString name;
    bool folder() const;
    bool present() const;
  };
  QVariant Display(const Row& row, int column) const;

  std::vector<Row> rows_;
  std::uint32_t folder_ = 0;
  std::uint32_t last_found_ = 0;
  bool has_last_found_ = false;
  Qt::SortOrder sort_order_ = Qt::AscendingOrder;
};

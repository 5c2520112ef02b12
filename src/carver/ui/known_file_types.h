#pragma once
// The file type page: every type of the signature database with a check box,
// filtered by category, and the maximum size a found file without a measured
// end may have. "Next" keeps the checked types for the scan.

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "carver/signature_database.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace salvor::carver::ui {

struct TrawlerSession;

// Result codes of the pages beside Accepted (next) and Rejected (cancel).
enum PageResult { kPageBack = 2, kPageHome = 3 };

class CVarnokKnownFileTypes : public QDialog {
  Q_OBJECT
 public:
  CVarnokKnownFileTypes(TrawlerSession& session, std::filesystem::path database,
                        QWidget* parent = nullptr);

  // The maximum size typed, in bytes; nullopt while it is out of range.
  std::optional<std::uint64_t> MaximumBytes() const;

 public slots:
  void OnNext();
  void OnCategoryChanged();
  void OnSelectAll();
  void OnDeselectAll();
  void OnSizeEdited();
  void OnUnitChanged();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Load();
  void OnItemChanged(QTreeWidgetItem* item);
  void SetShownChecked(bool checked);
  bool AnyChecked() const;
  void UpdateNext();

  TrawlerSession& session_;
  std::filesystem::path database_path_;
  SignatureList database_;
  bool loaded_ = false;
  QComboBox* category_ = nullptr;
  QTreeWidget* types_ = nullptr;
  QLineEdit* size_ = nullptr;
  QComboBox* unit_ = nullptr;
  QPushButton* next_ = nullptr;
};

}  // namespace salvor::carver::ui

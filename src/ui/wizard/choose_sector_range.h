#pragma once
// The stretch of the disk that a thorough search covers, checked as it is typed.

#include <QDialog>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace salvor::ui {

class CScanArea;

class CChooseSectorRange : public QDialog {
 public:
  CChooseSectorRange(std::uint64_t total_sectors, std::uint16_t bytes_per_sector,
                     QWidget* parent = nullptr);
  std::uint64_t StartSector() const;
  std::uint64_t EndSector() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Check();

  std::uint64_t total_;
  std::uint16_t bytes_per_sector_;
  QLineEdit* start_;
  QLineEdit* end_;
  QLabel* information_;
  CScanArea* bar_;
  QPushButton* ok_;
};

}  // namespace salvor::ui

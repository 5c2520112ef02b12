#pragma once
// The modeless progress dialog of a disk copy (cloning or imaging). The copy
// runs on a worker thread over its own read-only opening of the source; the
// one button pauses it while asking whether to stop.

#include <QDialog>
#include <QThread>
#include <memory>

#include "partitions/disk_copy.h"
#include "ui/wizard/wizard_task.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace salvor::ui {

class UiHost;

class CVarientCloneImageDialog : public QDialog {
  Q_OBJECT
 public:
  // Log entries ("Process Paused", "Completed ...") go to `log`.
  CVarientCloneImageDialog(Host& log, QWidget* parent = nullptr);
  ~CVarientCloneImageDialog() override;

  // Starts cloning or imaging the task's source to its destination.
  void Start(const WizardTask& task);
  RunControl& run() { return run_; }

 signals:
  void copyFinished(salvor::CopyOutcome outcome);

 protected:
  void closeEvent(QCloseEvent* event) override;  // only the button ends a copy
  void reject() override;

 private:
  void ShowProgress(std::uint64_t current, std::uint64_t total);
  void AskToStop();

  CopyKind kind_ = CopyKind::kImaging;
  RunControl run_;
  std::unique_ptr<UiHost> host_;
  QThread* thread_ = nullptr;
  CopyResult result_;
  int last_percent_ = -1;

  QLabel* status_;
  QProgressBar* bar_;
  QLabel* percent_;
  QLabel* sectors_;
  QPushButton* stop_;
};

}  // namespace salvor::ui

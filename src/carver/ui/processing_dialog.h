#pragma once
// The processing page: runs one long process (the carving scan or a save) on
// a worker thread and keeps its texts, percentage and elapsed time current
// from the worker's reports. Pause and resume hold the worker at its next
// check point; stop is confirmed first.

#include <QDialog>
#include <QTimer>
#include <cstdint>

#include "carver/ui/worker_host.h"
#include "disk/run_control.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;

namespace salvor::carver::ui {

struct TrawlerSession;

class CVarnokDFRProcessingDialog : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { kScan = 0, kSave = 1 };

  CVarnokDFRProcessingDialog(Mode mode, TrawlerSession& session, QWidget* parent = nullptr);
  ~CVarnokDFRProcessingDialog() override;

  Mode mode() const { return mode_; }
  bool WorkerRunning() const;
  // The folder a finished save wrote to, for the caller to open.
  const QString& saved_folder() const { return saved_folder_; }

 public slots:
  // The worker's messages.
  void OnStartScan();
  void OnStartSave();
  void OnProgress(quint64 current, quint64 total);
  void OnFilesFound(quint32 files_found);
  void OnTargetChanged(const QString& target);
  void OnStatus(const QString& status);
  void OnProcessEnded();

  void OnPauseResume();
  void OnStop();
  // Stops the process without asking (the program is closing); the page
  // closes when the worker has ended.
  void Abandon();

 protected:
  void reject() override;

 private:
  void BuildLayout();
  void ShowScanTexts();
  void ShowSaveTexts();
  void StartWorker(const std::function<void()>& body);
  void Tick();
  void ShowElapsed();

  Mode mode_;
  TrawlerSession& session_;
  RunControl run_;
  WorkerHost host_;
  QThread* worker_ = nullptr;
  QTimer clock_;
  std::uint8_t hours_ = 0, minutes_ = 0, seconds_ = 0;
  int shown_percent_ = 0;
  quint32 files_found_ = 0;
  bool asking_stop_ = false;
  bool end_pending_ = false;
  QString saved_folder_;

  QLabel* details_ = nullptr;
  QLabel* second_text_ = nullptr;
  QLabel* explanation_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* percent_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QLabel* elapsed_ = nullptr;
  QPushButton* pause_ = nullptr;
  QPushButton* stop_ = nullptr;
};

}  // namespace salvor::carver::ui

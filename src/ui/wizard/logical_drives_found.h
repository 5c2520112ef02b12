#pragma once
// The lost-partition search behind its progress dialog: the scan runs on a
// worker thread over its own read-only opening of the source, lists each
// volume as it is found, and can be aborted.

#include <QDialog>
#include <QThread>
#include <memory>
#include <string>
#include <vector>

#include "ntfs/engine_state.h"
#include "partitions/partition_search.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace salvor::ui {

class UiHost;

class CLogicalDrivesFound : public QDialog {
 public:
  // `engine` is the open source to search (its geometry is reused); its host
  // receives the log entries. `path` and `image` say how to open it again.
  CLogicalDrivesFound(EngineState& engine, const SearchRequest& request, std::string path,
                      bool image, QWidget* parent = nullptr);
  ~CLogicalDrivesFound() override;

  // What the search found, once the dialog has closed.
  const std::vector<VolumeInfo>& Volumes() const { return volumes_; }
  bool Completed() const { return completed_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;  // Escape and the close box ask, as the button does

 private:
  void StartSearch();
  void ShowProgress(std::uint64_t current, std::uint64_t end);
  void AskToAbort();

  EngineState& engine_;
  SearchRequest request_;
  std::string path_;
  bool image_;
  RunControl run_;
  std::unique_ptr<UiHost> host_;
  QThread* thread_ = nullptr;
  std::vector<VolumeInfo> volumes_;
  bool completed_ = false;
  int last_percent_ = -1;

  QTreeWidget* list_;
  QProgressBar* bar_;
  QLabel* percent_;
  QLabel* status_;
  QPushButton* abort_;
};

}  // namespace salvor::ui

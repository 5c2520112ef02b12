#pragma once
// The road through Trawler's pages: disclaimer, disk selection, file types,
// scan, found files, save and back to the found files. One page is shown at
// a time; each page's result decides the next.

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>

#include "carver/ui/disk_choices.h"
#include "carver/ui/trawler_session.h"

class QDialog;

namespace salvor::carver::ui {

class TrawlerFlow : public QObject {
  Q_OBJECT
 public:
  struct Settings {
    std::filesystem::path signature_file;
    DiskSource disks;
    // Opens a saved folder in the file manager.
    std::function<void(const QString& folder)> open_folder;
  };

  explicit TrawlerFlow(Settings settings, QObject* parent = nullptr);
  ~TrawlerFlow() override;

  void Start();
  QDialog* current() const { return page_; }
  TrawlerSession& session() { return session_; }

 signals:
  // The disk selection opened: the window Salvor should close when it exits.
  void diskSelectionOpened();
  // "Home": Salvor shows itself again; Trawler ends.
  void homeRequested();
  // The last page closed.
  void finished();

 public slots:
  void Close();

 private:
  void Show(QDialog* page, const std::function<void(int)>& on_result);
  void ShowDisclaimer();
  void ShowDiskSelection();
  void ShowFileTypes();
  void ShowScan();
  void ShowFound();
  void ShowSave();
  void GoHome();
  void End();

  Settings settings_;
  TrawlerSession session_;
  QPointer<QDialog> page_;
  bool closing_ = false;
};

}  // namespace salvor::carver::ui

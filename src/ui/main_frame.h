#pragma once
// CMainFrame: the desktop program's one main window. It holds the frame
// state, the command table (menus, tool bar, accelerators), the folder tree
// and file list, the "Process Log" pane and the status bar, and runs the
// background processes one at a time on a worker thread.
//
// What the wizard calls when it finishes (all on the window's thread):
//   OpenSource(path)            opens an image or a device, lists its volumes
//   engine()                    the opened source and its listed volumes
//   ProcessVolume(drive, turbo) chooses volume `drive` (1-based), logs
//                               "Selected NTFS logical drive N" and starts the
//                               internal file system processing (or the Turbo
//                               Scan when `turbo` is set or the MFT is missing)
//   WizardFinished(entry)       for a volume the wizard chose itself: keeps its
//                               "Selected ..." entry and drive number, resets
//                               the Turbo Scan mark, then StartProcessing()
//   StartProcessing()           processing of engine().volume
//   StartTurboScan()            the Turbo Scan of engine().volume
//   SetStructuresMissing(bool)  the wizard's "MFT not found" mark
// Commands answered elsewhere (wizard, find, save, scan information files)
// are announced by CommandRequested; view requests by the *Requested signals.

#include <QMainWindow>
#include <QPointer>
#include <QVector>
#include <cstdint>
#include <map>
#include <memory>

#include "app/frame_processes.h"
#include "ui/wizard/wizard_task.h"
#include "app/frame_state.h"
#include "disk/run_control.h"
#include "ntfs/engine_state.h"
#include "ntfs/private_folder.h"
#include "ntfs/scan_database_reader.h"
#include "ui/frame_host.h"

class QAction;
class QLabel;
class QThread;
class QTimer;
class QToolBar;
class QDockWidget;
class CFolderTreeModel;
class CFileListModel;
class CVKNTFSTreeView;
class CVKNTFSListView;
class CProcessLogView;
class CProgressBar;
class CDlgWait;
class CTrawlerLink;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The wizard's side (see above).
  bool OpenSource(const QString& path);
  bool ProcessVolume(unsigned drive, bool turbo = false);
  void WizardFinished(const salvor::LogEntry& selected);
  void StartProcessing();
  void StartTurboScan();
  void SetStructuresMissing(bool missing);
  // Opens the wizard (modal) and starts the task it finishes with.
  void OpenWizard();
  void OnWizardTask(const salvor::ui::WizardTask& task);
  salvor::EngineState& engine() { return engine_; }
  const salvor::FrameState& state() const { return state_; }
  // Hex preview and image view windows, closed first when the frame closes.
  void SetPreviewWindows(QWidget* hex_view, QWidget* image_view);

  QAction* Command(salvor::CommandId id) const;
  CVKNTFSTreeView* tree() const { return tree_; }
  CVKNTFSListView* list() const { return list_; }
  CProcessLogView* processLog() const { return log_; }
  QDockWidget* logPane() const { return log_pane_; }
  CProgressBar* progressDisplay() const { return progress_; }
  QString statusText(int pane) const;
  QString localServerName() const;

  // Frame messages, named after what they do.
  void OnShowTips();
  void OnAddLogEntry(const salvor::LogEntry& entry);
  void OnProcessStateChange(int kind, int state);
  void OnStartFileSystemProcessing();
  void OnProcessFinished(int code);
  void OnProgressUpdate();
  void OnProgressLabel(const QString& label);
  void OnUpdateTotals(bool marked);
  void OnSaveRequest(std::uint32_t entry);
  void OnClearViews();
  void OnStopProcess();
  void OnGotoParent();

 signals:
  void CommandRequested(salvor::CommandId id);
  // The saved-entries list and the entry a save refers to (0: the list).
  void SaveRequested(std::uint32_t entry, const QVector<std::uint32_t>& entries);
  void PropertiesRequested(std::uint32_t entry);
  void SearchRequested(std::uint32_t folder_entry);
  void PreviewRequested(std::uint32_t file_entry);
  // A background process has ended and the views show its tree.
  void ProcessEnded();
  // The progress display has shown a new text ("Scanning :42%").
  void ProgressShown(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateCommands();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void CreateViews();
  void CreateLogPane();
  void UpdateCommands();
  void OnCommand(salvor::CommandId id);
  void SetProcessRunning(bool running);
  bool EnsureDatabaseFolder();
  void StartWorker(bool turbo);
  void OnWorkerDone(const salvor::ProcessOutcome& outcome, bool turbo);
  void ShowFolder(std::uint32_t entry);
  void ShowProgressDisplay();
  void HideProgressDisplay();
  void SaveLog();
  void ShowHelp();
  void ChooseProgressColour();
  void StartTrawler();
  void SetToolbarIconSize(int pixels);
  void SetListStyle(salvor::CommandId id);

  salvor::RunControl run_;
  CFrameHost host_;
  salvor::EngineState engine_;
  salvor::ScanDatabaseReader reader_;  // the views' reader, open only between processes
  salvor::DatabaseFolderLock folder_lock_;
  std::filesystem::path db_folder_;
  salvor::FrameState state_;
  std::string source_name_;
  salvor::Totals totals_;
  salvor::Totals marked_totals_;

  std::map<salvor::CommandId, QAction*> commands_;
  QToolBar* toolbar_ = nullptr;
  QLabel* status_panes_[3] = {};
  CFolderTreeModel* folder_model_ = nullptr;
  CFileListModel* list_model_ = nullptr;
  CVKNTFSTreeView* tree_ = nullptr;
  CVKNTFSListView* list_ = nullptr;
  CProcessLogView* log_ = nullptr;
  QDockWidget* log_pane_ = nullptr;
  CProgressBar* progress_ = nullptr;
  CDlgWait* wait_ = nullptr;
  QTimer* progress_timer_ = nullptr;
  QThread* worker_ = nullptr;
  QColor progress_colour_;
  QPointer<QWidget> hex_view_;
  QPointer<QWidget> image_view_;
  CTrawlerLink* trawler_ = nullptr;
};

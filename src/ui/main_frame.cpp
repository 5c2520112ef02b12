#include "ui/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/open_source.h"
#include "app/volume_choice.h"
#include "app/volume_listing.h"
#include "app/volume_processing.h"
#include "disk/text_format.h"
#include "ntfs/folder_map.h"
#include "ntfs/scan_database.h"
#include "disk/texts.h"
#include "ui/dlg_wait.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/folder_tree_model.h"
#include "ui/folder_tree_view.h"
#include "ui/help_window.h"
#include "ui/item_icons.h"
#include "ui/process_log_view.h"
#include "ui/progress_display.h"
#include "ui/themes.h"
#include "ui/tip_dialog.h"
#include "ui/trawler_link.h"
#include "ui/ui_text.h"

using salvor::CommandId;
namespace text = salvor::text;

namespace {

// The frame's side of a running process: each call is sent to the frame's
// thread and waited for.
class FrameSide final : public salvor::ProcessFrame {
 public:
  explicit FrameSide(CMainFrame& frame) : frame_(frame) {}
  void SetProgressLabel(std::string_view label) override {
    const QString text = UiText(label);
    SendToFrame(frame_, [this, text] { frame_.OnProgressLabel(text); });
  }
  void ClearViews() override {
    SendToFrame(frame_, [this] { frame_.OnClearViews(); });
  }

 private:
  CMainFrame& frame_;
};

QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, std::string_view title,
                                std::string_view body, QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, UiText(title), UiText(body), buttons, parent);
  box.setAccessibleName(UiText(title));
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), host_(*this, run_), engine_(host_, run_) {
  setObjectName(QStringLiteral("CMainFrame"));
  setWindowTitle(UiText(text::kApplicationName));
  setAccessibleName(UiText(text::kApplicationName));
  setWindowIcon(ItemIcons::Program());
  run_.Stop();  // no process yet
  trawler_ = new CTrawlerLink(this);
  connect(trawler_, &CTrawlerLink::HomeRequested, this, [this] { showMaximized(); });
  wait_ = new CDlgWait(this);
  CreateCommands();
  CreateMenus();
  CreateToolBar();
  CreateViews();
  CreateLogPane();
  CreateStatusBar();
  progress_timer_ = new QTimer(this);
  progress_timer_->setInterval(100);
  connect(progress_timer_, &QTimer::timeout, this, &CMainFrame::OnProgressUpdate);
  // The wizard command, and the start-up's request for it, open it once the
  // event loop runs.
  connect(
      this, &CMainFrame::CommandRequested, this,
      [this](CommandId id) {
        if (id == CommandId::kWizard) OpenWizard();
      },
      Qt::QueuedConnection);
  UpdateCommands();
}

CMainFrame::~CMainFrame() {
  // The window closes only when no worker runs; a test that ends early
  // still waits for its worker here.
  if (worker_) {
    run_.Stop();
    worker_->wait();
  }
  trawler_->CloseTrawler();
  reader_.Close();
}

QAction* CMainFrame::Command(CommandId id) const {
  auto it = commands_.find(id);
  return it == commands_.end() ? nullptr : it->second;
}

QString CMainFrame::statusText(int pane) const {
  return pane >= 0 && pane < 3 ? status_panes_[pane]->text() : QString();
}

QString CMainFrame::localServerName() const { return trawler_->serverName(); }

void CMainFrame::CreateCommands() {
  struct Look {
    CommandId id;
    const char* theme_icon;
    char glyph;
  };
  static constexpr Look kLooks[] = {
      {CommandId::kWizard, "tools-wizard", 'W'},
      {CommandId::kTrawler, "edit-find-replace", 'T'},
      {CommandId::kTurboScan, "system-search", 'S'},
      {CommandId::kFind, "edit-find", 'F'},
      {CommandId::kFindNext, "go-next", 'N'},
      {CommandId::kSaveAll, "document-save-all", 'A'},
      {CommandId::kSaveChecked, "document-save", 'C'},
      {CommandId::kStopProcess, "process-stop", 'X'},
      {CommandId::kGotoParent, "go-up", 'U'},
      {CommandId::kHelp, "help-contents", '?'},
      {CommandId::kClearLog, "edit-clear", 'C'},
      {CommandId::kSaveLog, "document-save-as", 'L'},
      {CommandId::kExit, "application-exit", 'Q'},
  };
  for (const text::CommandText& command : text::kCommands) {
    auto* action = new QAction(UiText(command.name), this);
    const auto id = static_cast<CommandId>(command.id);
    const QString prompt = UiText(command.prompt);
    const qsizetype split = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(split < 0 ? prompt : prompt.left(split));
    action->setToolTip(split < 0 ? QString(action->text()).remove(QLatin1Char('&'))
                                 : prompt.mid(split + 1));
    if (!command.key.empty()) action->setShortcut(QKeySequence(UiText(command.key)));
    action->setObjectName(QStringLiteral("command%1").arg(command.id));
    for (const Look& look : kLooks)
      if (look.id == id) action->setIcon(ItemIcons::Command(look.theme_icon, QLatin1Char(look.glyph)));
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    addAction(action);  // accelerators work with the menus closed
    commands_[id] = action;
  }
  auto exclusive = [this](std::initializer_list<CommandId> ids, CommandId checked) {
    auto* group = new QActionGroup(this);
    for (CommandId id : ids) {
      commands_[id]->setCheckable(true);
      commands_[id]->setChecked(id == checked);
      group->addAction(commands_[id]);
    }
  };
  exclusive({CommandId::kThemeOffice2000, CommandId::kThemeOffice2003, CommandId::kThemeOfficeXp,
             CommandId::kThemeWindowsXp},
            CommandId::kThemeOffice2003);
  exclusive({CommandId::kToolbar16, CommandId::kToolbar24, CommandId::kToolbar32,
             CommandId::kToolbar48},
            CommandId::kToolbar24);
  exclusive({CommandId::kListLargeIcons, CommandId::kListSmallIcons, CommandId::kListList,
             CommandId::kListDetails},
            CommandId::kListDetails);
}

void CMainFrame::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setAccessibleName(UiText(text::kMenuBar));
  auto add = [this](QMenu* menu, std::initializer_list<CommandId> ids) {
    for (CommandId id : ids) {
      if (id == CommandId{0})
        menu->addSeparator();
      else
        menu->addAction(commands_[id]);
    }
  };
  constexpr CommandId kSep{0};
  QMenu* file = bar->addMenu(UiText(text::kMenuFile));
  file->setAccessibleName(QStringLiteral("File Menu"));
  add(file, {CommandId::kWizard, CommandId::kOpenLogicalDrive, kSep, CommandId::kLoadPartitionInfo,
             CommandId::kLoadTreeInfo, CommandId::kSaveTreeInfo, CommandId::kSavePartitionInfo, kSep,
             CommandId::kSaveChecked, CommandId::kSaveAll, CommandId::kSaveScanInformation, kSep,
             CommandId::kExit});
  QMenu* tools = bar->addMenu(UiText(text::kMenuTools));
  tools->setAccessibleName(QStringLiteral("Tools Menu"));
  add(tools, {CommandId::kFind, CommandId::kFindNext, kSep, CommandId::kTurboScan,
              CommandId::kStopProcess, kSep, CommandId::kTrawler, CommandId::kGotoParent,
              CommandId::kProgressBarColor});
  QMenu* view = bar->addMenu(UiText(text::kMenuView));
  view->setAccessibleName(QStringLiteral("View Menu"));
  add(view, {CommandId::kListLargeIcons, CommandId::kListSmallIcons, CommandId::kListList,
             CommandId::kListDetails, kSep, CommandId::kClearLog, CommandId::kSaveLog,
             CommandId::kTipOfTheDay, kSep});
  QMenu* themes = view->addMenu(UiText(text::kMenuThemes));
  themes->setAccessibleName(QStringLiteral("Themes Menu"));
  add(themes, {CommandId::kThemeOffice2000, CommandId::kThemeOffice2003, CommandId::kThemeOfficeXp,
               CommandId::kThemeWindowsXp});
  QMenu* sizes = view->addMenu(UiText(text::kMenuToolbarSize));
  sizes->setAccessibleName(QStringLiteral("Toolbar Icon Size Menu"));
  add(sizes, {CommandId::kToolbar16, CommandId::kToolbar24, CommandId::kToolbar32,
              CommandId::kToolbar48});
  QMenu* help = bar->addMenu(UiText(text::kMenuHelp));
  help->setAccessibleName(QStringLiteral("Help Menu"));
  add(help, {CommandId::kHelp, CommandId::kTipOfTheDay, kSep, CommandId::kAbout});
  // Menus show the commands' state as it is when they open.
  for (QMenu* menu : {file, tools, view, help})
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
}

void CMainFrame::CreateToolBar() {
  toolbar_ = addToolBar(UiText(text::kToolBar));
  toolbar_->setObjectName(QStringLiteral("ToolBar"));
  toolbar_->setAccessibleName(UiText(text::kToolBar));
  toolbar_->setIconSize(QSize(24, 24));
  for (CommandId id : {CommandId::kWizard, CommandId{0}, CommandId::kTrawler, CommandId::kTurboScan,
                       CommandId{0}, CommandId::kFind, CommandId::kFindNext, CommandId{0},
                       CommandId::kSaveAll, CommandId{0}, CommandId::kStopProcess, CommandId{0},
                       CommandId::kGotoParent, CommandId{0}, CommandId::kHelp}) {
    if (id == CommandId{0})
      toolbar_->addSeparator();
    else
      toolbar_->addAction(commands_[id]);
  }
}

void CMainFrame::CreateStatusBar() {
  static const char* const kNames[3] = {"Status Message", "Status Totals", "Status Extra"};
  for (int i = 0; i < 3; ++i) {
    status_panes_[i] = new QLabel(this);
    status_panes_[i]->setAccessibleName(QString::fromLatin1(kNames[i]));
  }
  status_panes_[0]->setText(UiText(text::kReady));
  status_panes_[1]->setMinimumWidth(fontMetrics().horizontalAdvance(
      QStringLiteral("Marked 1023.999 MB in 4294967295 Files in 4294967295 Folders")));
  status_panes_[2]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  statusBar()->setAccessibleName(QStringLiteral("Status Bar"));
  statusBar()->addWidget(status_panes_[0], 1);
  statusBar()->addPermanentWidget(status_panes_[1]);
  statusBar()->addPermanentWidget(status_panes_[2]);
  // Prompts of menu items and tool buttons go to the message pane.
  connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
    status_panes_[0]->setVisible(message.isEmpty());
  });
}

void CMainFrame::CreateViews() {
  folder_model_ = new CFolderTreeModel(this);
  list_model_ = new CFileListModel(this);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setAccessibleName(QStringLiteral("Explorer"));
  tree_ = new CVKNTFSTreeView(folder_model_, splitter);
  list_ = new CVKNTFSListView(list_model_, splitter);
  list_->SetPreviewOpen([this] { return !hex_view_.isNull() || !image_view_.isNull(); });
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 3);
  setCentralWidget(splitter);

  connect(tree_, &CVKNTFSTreeView::FolderChosen, this, &CMainFrame::ShowFolder);
  connect(list_, &CVKNTFSListView::FolderOpened, this, [this](std::uint32_t entry) {
    ShowFolder(entry);
    tree_->SelectChildFolder(entry);
    UpdateCommands();
  });
  connect(tree_, &CVKNTFSTreeView::SaveRequested, this, [this](std::uint32_t entry) {
    emit SaveRequested(entry, {entry});
  });
  connect(list_, &CVKNTFSListView::SaveRequested, this,
          [this](const QVector<std::uint32_t>& entries) { emit SaveRequested(0, entries); });
  connect(tree_, &CVKNTFSTreeView::PropertiesRequested, this, &CMainFrame::PropertiesRequested);
  connect(list_, &CVKNTFSListView::PropertiesRequested, this, &CMainFrame::PropertiesRequested);
  connect(tree_, &CVKNTFSTreeView::SearchRequested, this, &CMainFrame::SearchRequested);
  connect(list_, &CVKNTFSListView::SearchRequested, this, &CMainFrame::SearchRequested);
  connect(tree_, &CVKNTFSTreeView::PreviewRequested, this, &CMainFrame::PreviewRequested);
  connect(list_, &CVKNTFSListView::PreviewRequested, this, &CMainFrame::PreviewRequested);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &CMainFrame::UpdateCommands);
}

void CMainFrame::CreateLogPane() {
  log_pane_ = new QDockWidget(UiText(text::kProcessLogPane), this);
  log_pane_->setObjectName(QStringLiteral("ProcessLogPane"));
  log_pane_->setAccessibleName(UiText(text::kProcessLogPane));
  auto* body = new QWidget(log_pane_);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bar = new QToolBar(body);
  bar->setAccessibleName(QStringLiteral("Process Log Tools"));
  bar->setIconSize(QSize(16, 16));
  bar->addAction(commands_[CommandId::kClearLog]);
  bar->addAction(commands_[CommandId::kSaveLog]);
  log_ = new CProcessLogView(body);
  layout->addWidget(bar);
  layout->addWidget(log_);
  log_pane_->setWidget(body);
  log_pane_->toggleViewAction()->setStatusTip(UiText(text::kProcessLogPane));
  addDockWidget(Qt::BottomDockWidgetArea, log_pane_);
  for (QAction* menu_action : menuBar()->actions()) {
    if (menu_action->menu() && menu_action->text() == UiText(text::kMenuView))
      menu_action->menu()->insertAction(menu_action->menu()->actions().value(0),
                                        log_pane_->toggleViewAction());
  }
}

void CMainFrame::UpdateCommands() {
  state_.list_refreshing = wait_->isVisible();
  state_.tree_has_items = !folder_model_->IsEmpty();
  const QModelIndex current = folder_model_->CurrentIndex();
  state_.current_has_parent = current.isValid() && current.parent().isValid();
  for (auto& [id, action] : commands_) action->setEnabled(salvor::CommandEnabled(id, state_));
}

void CMainFrame::SetProcessRunning(bool running) {
  state_.process_running = running;
  if (running)
    run_.Start();
  else
    run_.Stop();
  tree_->SetProcessRunning(running);
  list_->SetProcessRunning(running);
  UpdateCommands();
}

void CMainFrame::OnCommand(CommandId id) {
  if (salvor::IgnoredWhileListRefreshes(id) && wait_->isVisible()) return;
  UpdateCommands();
  if (!salvor::CommandEnabled(id, state_)) return;
  switch (id) {
    case CommandId::kStopProcess:
      return OnStopProcess();
    case CommandId::kTurboScan:
      return StartTurboScan();
    case CommandId::kClearLog:
      return log_->ClearAll();
    case CommandId::kSaveLog:
      return SaveLog();
    case CommandId::kTipOfTheDay:
      return OnShowTips();
    case CommandId::kGotoParent:
      return OnGotoParent();
    case CommandId::kProgressBarColor:
      return ChooseProgressColour();
    case CommandId::kTrawler:
      return StartTrawler();
    case CommandId::kHelp:
      return ShowHelp();
    case CommandId::kExit:
      close();
      return;
    case CommandId::kAbout:
      QMessageBox::about(this, UiText(text::kAboutTitle), UiText(text::kAboutText));
      return;
    case CommandId::kCancelFind:
      list_model_->SetLastFound(0);
      state_.has_last_found = false;
      emit CommandRequested(id);
      return;
    case CommandId::kThemeOffice2000:
    case CommandId::kThemeOffice2003:
    case CommandId::kThemeOfficeXp:
    case CommandId::kThemeWindowsXp:
      ApplyTheme(static_cast<unsigned>(id));
      return;
    case CommandId::kToolbar16:
      return SetToolbarIconSize(16);
    case CommandId::kToolbar24:
      return SetToolbarIconSize(24);
    case CommandId::kToolbar32:
      return SetToolbarIconSize(32);
    case CommandId::kToolbar48:
      return SetToolbarIconSize(48);
    case CommandId::kListLargeIcons:
    case CommandId::kListSmallIcons:
    case CommandId::kListList:
    case CommandId::kListDetails:
      return SetListStyle(id);
    case CommandId::kSaveAll:
      emit SaveRequested(salvor::kTopEntry, {salvor::kTopEntry});
      return;
    default:
      emit CommandRequested(id);
      return;
  }
}

void CMainFrame::SetToolbarIconSize(int pixels) { toolbar_->setIconSize(QSize(pixels, pixels)); }

void CMainFrame::SetListStyle(CommandId id) {
  // The list stays a report; the styles change the size of its icons.
  const int size = id == CommandId::kListLargeIcons ? 32 : 16;
  list_->setIconSize(QSize(size, size));
  list_->verticalHeader()->setDefaultSectionSize(std::max(size, fontMetrics().height()) + 6);
  list_->horizontalHeader()->setVisible(id == CommandId::kListDetails ||
                                        id == CommandId::kListLargeIcons);
  for (int c = 1; c < CFileListModel::kColumnCount; ++c)
    list_->setColumnHidden(c, id == CommandId::kListList || id == CommandId::kListSmallIcons);
}

bool CMainFrame::OpenSource(const QString& path) {
  source_name_ = path.toStdString();
  salvor::OperationStatus status = salvor::OpenSource(engine_, source_name_, 0);
  if (status.completed()) status = salvor::ListVolumes(engine_, {});
  state_.partitions_listed = !engine_.partitions.empty();
  UpdateCommands();
  if (status.failed() && !status.error.empty()) host_.ShowError(status.error);
  return !status.failed();
}

bool CMainFrame::ProcessVolume(unsigned drive, bool turbo) {
  salvor::VolumeChoice choice;
  choice.drive = drive;
  const salvor::ChosenVolume chosen = salvor::ChooseVolume(engine_, choice, source_name_, false);
  if (chosen.status.failed()) {
    if (!chosen.status.error.empty()) host_.ShowError(chosen.status.error);
    return false;
  }
  const std::string name = salvor::Format(text::kLogicalDrive, drive);
  salvor::LogEntry selected{salvor::Format(text::kSelectedVolume, name.c_str()),
                            std::string(text::kLogSeparator), "", salvor::LogKind::kInformation};
  OnAddLogEntry(selected);
  const bool mft_found = !engine_.mft_runs.empty();
  state_.structures_missing = !mft_found;
  state_.current_entry = selected;
  state_.drive = salvor::DriveNumberFromName(name);
  state_.turbo_scan_done = false;
  if (turbo || !mft_found)
    StartTurboScan();
  else
    StartProcessing();
  return true;
}

void CMainFrame::WizardFinished(const salvor::LogEntry& selected) {
  state_.current_entry = selected;
  state_.drive = salvor::DriveNumberFromName(selected.text);
  state_.turbo_scan_done = false;
  state_.busy = true;
  StartProcessing();
}

void CMainFrame::SetStructuresMissing(bool missing) {
  state_.structures_missing = missing;
  UpdateCommands();
}

void CMainFrame::SetPreviewWindows(QWidget* hex_view, QWidget* image_view) {
  hex_view_ = hex_view;
  image_view_ = image_view;
}

bool CMainFrame::EnsureDatabaseFolder() {
  if (!db_folder_.empty()) return true;
  const salvor::OperationStatus status = salvor::LockDatabaseFolder(folder_lock_, db_folder_);
  if (status.failed()) {
    db_folder_.clear();
    host_.ShowError(status.error);
    return false;
  }
  return true;
}

void CMainFrame::StartProcessing() {
  if (state_.process_running || !EnsureDatabaseFolder()) return;
  totals_ = {};
  OnUpdateTotals(false);
  OnClearViews();
  state_.busy = true;
  state_.scan_results_exist = true;
  SetProcessRunning(true);
  OnStartFileSystemProcessing();
}

void CMainFrame::OnStartFileSystemProcessing() {
  state_.scan_results_exist = true;
  StartWorker(false);
}

void CMainFrame::StartTurboScan() {
  if (state_.process_running || wait_->isVisible() || !EnsureDatabaseFolder()) return;
  SetProcessRunning(true);
  state_.busy = true;
  state_.turbo_scan_done = true;
  state_.scan_results_exist = true;
  state_.structures_missing = false;
  status_panes_[1]->setText(UiText(text::kTurboTotalsStart));
  UpdateCommands();
  StartWorker(true);
}

void CMainFrame::StartWorker(bool turbo) {
  reader_.Close();  // the worker rewrites the files the views read
  host_.progress().done = 0;
  host_.progress().total = 0;
  ShowProgressDisplay();
  worker_ = QThread::create([this, turbo] {
    FrameSide side(*this);
    salvor::ProcessJob job{engine_, run_, db_folder_, state_.drive, side};
    const salvor::ProcessOutcome outcome =
        turbo ? salvor::RunTurboScanProcess(job) : salvor::RunFileSystemProcessing(job);
    SendToFrame(*this, [this, &outcome, turbo] { OnWorkerDone(outcome, turbo); });
  });
  worker_->setObjectName(QStringLiteral("SalvorWorker"));
  connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
  worker_->start();
}

void CMainFrame::OnWorkerDone(const salvor::ProcessOutcome& outcome, bool turbo) {
  OnProgressUpdate();
  if (turbo) SetProcessRunning(false);  // the Turbo Scan clears it before the fill
  if (outcome.tree_readable) {
    if (reader_.Open(db_folder_)) {
      totals_ = outcome.totals;
      folder_model_->Reset(&reader_);
      tree_->ShowTop();
      OnUpdateTotals(false);
      ShowFolder(salvor::kTopEntry);
      list_->horizontalHeader()->setSortIndicator(CFileListModel::kName, Qt::AscendingOrder);
      list_model_->sort(CFileListModel::kName, Qt::AscendingOrder);
      tree_->setFocus();
      if (!turbo)
        OnAddLogEntry({std::string(text::kCompletedPopulating), "", "", salvor::LogKind::kCompleted});
    } else {
      OnAddLogEntry({std::string(text::kSupportingFilesNotOpened), reader_.error(), "",
                     salvor::LogKind::kCompleted});
    }
  }
  // A process that could not build its tree still ends here, so that the
  // frame never stays busy.
  OnProcessFinished(turbo || !outcome.tree_readable ? 0 : 3);
  if (outcome.tree_readable) state_.tree_ready = true;
  UpdateCommands();
  emit ProcessEnded();
}

void CMainFrame::ShowProgressDisplay() {
  HideProgressDisplay();
  progress_ = new CProgressBar(progress_colour_, this);
  progress_->SetLabel(UiText(text::kProgressScanning));
  progress_->SetPercent(0);
  status_panes_[0]->hide();
  statusBar()->insertWidget(0, progress_, 1);
  progress_->show();
  progress_timer_->start();
}

void CMainFrame::HideProgressDisplay() {
  progress_timer_->stop();
  if (!progress_) return;
  statusBar()->removeWidget(progress_);
  delete progress_;
  progress_ = nullptr;
  status_panes_[0]->show();
}

void CMainFrame::OnProgressUpdate() {
  if (!progress_) return;
  const QString before = progress_->text();
  progress_->SetPercent(salvor::ProgressPercent(host_.progress().done.load(),
                                                host_.progress().total.load()));
  if (progress_->text() != before) emit ProgressShown(progress_->text());
  UpdateCommands();
}

void CMainFrame::OnProgressLabel(const QString& label) {
  if (!progress_) return;
  // The step that ends shows where it got to before the next one starts.
  OnProgressUpdate();
  progress_->SetLabel(label);
  host_.progress().done = 0;
  OnProgressUpdate();
}

void CMainFrame::OnProcessFinished(int code) {
  HideProgressDisplay();
  std::string_view message;
  if (code == 1) message = text::kSavingDataCompleted;
  if (code == 2) message = text::kSearchingFileTypesFinished;
  if (code == 3) message = text::kBasicScanComplete;
  if (!message.empty())
    Ask(this, QMessageBox::Information, text::kCaptionInformation, message, QMessageBox::Ok);
  if (!isVisible() || isMinimized()) showMaximized();
  SetProcessRunning(false);
  state_.busy = false;
  worker_ = nullptr;  // it deletes itself when its function returns
  status_panes_[2]->clear();
  UpdateCommands();
}

void CMainFrame::OnAddLogEntry(const salvor::LogEntry& entry) { log_->AddEntry(entry); }

void CMainFrame::OnProcessStateChange(int kind, int state) {
  if (state == 1 || state == 2) {
    salvor::LogEntry& entry = state_.current_entry;
    entry.text = salvor::Format(state == 1 ? text::kCompletedProcess : text::kAbortedProcess,
                                entry.text.c_str());
    entry.kind = state == 1 ? salvor::LogKind::kCompleted : salvor::LogKind::kFailure;
    OnAddLogEntry(entry);
    if (kind == 0 || kind == 1) state_.busy = false;
    UpdateCommands();
    return;
  }
  const std::string_view name = kind == 0   ? text::kDiskCloning
                                : kind == 1 ? text::kDiskImaging
                                            : text::kInternalFileProcessing;
  OnAddLogEntry({std::string(name),
                 std::string(state == 3 ? text::kProcessPaused : text::kProcessResumed), "",
                 salvor::LogKind::kInformation});
}

void CMainFrame::OnStopProcess() {
  // The worker waits at its next check point while the user is asked; it
  // is never suspended where it might hold a lock.
  run_.Pause();
  auto post = [this](int state) {
    QMetaObject::invokeMethod(this, [this, state] { OnProcessStateChange(2, state); },
                              Qt::QueuedConnection);
  };
  post(3);
  if (state_.process_running &&
      Ask(this, QMessageBox::Question, text::kCaptionConfirm, text::kStopProcessQuestion,
          QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
    run_.Stop();  // also opens the gate: the worker ends at its next check
    return;
  }
  post(4);
  run_.Resume();
}

void CMainFrame::OnUpdateTotals(bool marked) {
  status_panes_[1]->setText(
      QString::fromStdString(salvor::TotalsText(marked ? marked_totals_ : totals_, marked)));
}

void CMainFrame::OnSaveRequest(std::uint32_t entry) { emit SaveRequested(entry, {entry}); }

void CMainFrame::OnClearViews() {
  folder_model_->Reset(nullptr);
  list_model_->Clear();
  UpdateCommands();
}

void CMainFrame::ShowFolder(std::uint32_t entry) {
  if (!reader_.is_open()) return;
  wait_->Open();
  tree_->SetListRefreshing(true);
  list_->SetListRefreshing(true);
  list_model_->ShowFolder(reader_, entry);
  tree_->SetListRefreshing(false);
  list_->SetListRefreshing(false);
  wait_->hide();
  UpdateCommands();
}

void CMainFrame::OnGotoParent() {
  if (wait_->isVisible()) return;
  const QModelIndex parent = folder_model_->CurrentIndex().parent();
  if (!parent.isValid()) return;
  ShowFolder(folder_model_->EntryOf(parent));
  tree_->MakeCurrent(parent);
  UpdateCommands();
}

void CMainFrame::SaveLog() {
  const QString path = QFileDialog::getSaveFileName(
      this, QString(), UiText(text::kLogFileDefaultName), UiText(text::kLogFileFilter));
  if (path.isEmpty()) return;
  salvor::SaveLogFile(path.toStdString(), log_->log().entries, host_);
}

void CMainFrame::OnShowTips() {
  auto* tips = new CTipDialog(HelpFolder(), this);
  tips->setAttribute(Qt::WA_DeleteOnClose);
  tips->show();
}

void CMainFrame::ShowHelp() {
  auto* help = findChild<CHelpWindow*>();
  if (!help) help = new CHelpWindow(HelpFolder(), this);
  help->show();
  help->raise();
}

void CMainFrame::ChooseProgressColour() {
  const QColor colour = QColorDialog::getColor(progress_colour_.isValid() ? progress_colour_ : Qt::blue,
                                               this);
  if (!colour.isValid()) return;
  progress_colour_ = colour;
  if (progress_) {
    for (auto* bar : progress_->findChildren<QWidget*>()) {
      QPalette palette = bar->palette();
      palette.setColor(QPalette::Highlight, colour);
      bar->setPalette(palette);
    }
  }
}

void CMainFrame::StartTrawler() {
  if (wait_->isVisible()) return;
  if (trawler_->StartTrawler(QCoreApplication::applicationDirPath())) hide();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (wait_->isVisible()) return;
  if (hex_view_) {
    hex_view_->close();
    return;
  }
  if (image_view_) {
    image_view_->close();
    return;
  }
  if (state_.process_running) {
    Ask(this, QMessageBox::Warning, text::kCaptionWarning, text::kPleaseStopProcess, QMessageBox::Ok);
    return;
  }
  if (state_.busy) {
    Ask(this, QMessageBox::Warning, text::kCaptionInformation, text::kPleaseWait, QMessageBox::Ok);
    return;
  }
  if (state_.scan_results_exist) {
    const auto answer = Ask(this, QMessageBox::Question, text::kCaptionConfirm, text::kSaveScanQuestion,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return;
    if (answer == QMessageBox::Yes) {
      emit CommandRequested(CommandId::kSaveTreeInfo);
      state_.scan_results_exist = false;
    }
  }
  OnClearViews();
  reader_.Close();
  trawler_->CloseTrawler();
  event->accept();
}

// The main frame driven as a user would: start-up, commands, a processing
// run and a Turbo Scan on the sample disk, stopping, the log, closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include "app/instance_lock.h"
#include "disk/texts.h"
#include "gui_support.h"
#include "support/test_paths.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/folder_tree_model.h"
#include "ui/folder_tree_view.h"
#include "ui/help_window.h"
#include "ntfs/folder_map.h"
#include "ntfs/scan_database.h"
#include "ui/main_frame.h"
#include "ui/process_log_view.h"
#include "ui/start_up.h"
#include "ui/tip_dialog.h"
#include "ui/ui_text.h"

using salvor::CommandId;
namespace text = salvor::text;

namespace {

QStringList LogNames(const CMainFrame& frame) {
  QStringList names;
  for (const salvor::LogEntry& e : frame.processLog()->log().entries)
    names.push_back(QString::fromStdString(e.text));
  return names;
}

bool Enabled(const CMainFrame& frame, CommandId id) { return frame.Command(id)->isEnabled(); }

// The names of the root folder's children in the sample's manifest.
QSet<QString> ManifestRootNames(bool folders_only) {
  QFile file(QString::fromStdString((salvor::testing::SamplesDir() / "sample-disk.json").string()));
  file.open(QIODevice::ReadOnly);
  const QJsonArray entries =
      QJsonDocument::fromJson(file.readAll())["volumes"][0]["entries"].toArray();
  QSet<QString> names;
  for (const QJsonValue& v : entries) {
    const QJsonObject e = v.toObject();
    if (e["parent_record"].toInt() != 5 || e["deleted"].toBool() ||
        e["path"].toString().contains(QLatin1Char('/')))
      continue;
    if (!folders_only || e["is_dir"].toBool()) names.insert(e["name"].toString());
  }
  return names;
}

QSet<QString> ListNames(const CFileListModel& rows) {
  QSet<QString> names;
  for (int r = 0; r < rows.rowCount(); ++r) names.insert(rows.index(r, 0).data().toString());
  return names;
}

// Starts processing volume 1 of the sample and waits for its end.
void ProcessSample(CMainFrame& frame, const std::function<void()>& while_running = {}) {
  frame.activateWindow();  // F4 reaches an active window only
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  QSignalSpy ended(&frame, &CMainFrame::ProcessEnded);
  ASSERT_TRUE(frame.OpenSource(SampleDisk()));
  ASSERT_TRUE(frame.ProcessVolume(1));
  if (while_running) while_running();
  ASSERT_TRUE(ended.count() > 0 || ended.wait(60000));
}

class FrameTest : public ::testing::Test {
 protected:
  FrameTest() {
    frame.resize(1280, 800);
    frame.show();
    frame.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
  }
  CMainFrame frame;
};

}  // namespace

TEST(StartUp, SecondCopyIsRefusedAndTheFirstRunsOn) {
  QProcess first;
  first.start(QString::fromStdString((salvor::testing::BinDir() / "salvor").string()),
              {QStringLiteral("--nologo")});
  ASSERT_TRUE(first.waitForStarted());
  const std::string mutex(text::kMutexName);
  ASSERT_TRUE(QTest::qWaitFor([&] { return salvor::InstanceLock::IsHeld(mutex); }, 20000));

  BoxAnswerer boxes([](const QString&) { return QMessageBox::Ok; });
  EXPECT_EQ(RunSalvor({QStringLiteral("--nologo")}), 1);
  EXPECT_EQ(boxes.texts(), QStringList{UiText(text::kAlreadyRunning)});
  EXPECT_EQ(first.state(), QProcess::Running);
  first.kill();
  first.waitForFinished();
  // A dead holder's lock is free again.
  EXPECT_FALSE(salvor::InstanceLock::IsHeld(mutex));
}

TEST_F(FrameTest, CommandsBarsAndPanesAsTheTableSays) {
  QStringList toolbar;
  for (QAction* a : frame.findChild<QToolBar*>(QStringLiteral("ToolBar"))->actions())
    toolbar.push_back(a->isSeparator() ? QStringLiteral("|") : a->objectName());
  EXPECT_EQ(toolbar.join(QLatin1Char(' ')),
            QStringLiteral("command32771 | command32821 command32781 | command32774 command32775 | "
                           "command32778 | command32780 | command32819 | command57667"));
  QAction* wizard = frame.Command(CommandId::kWizard);
  EXPECT_EQ(wizard->statusTip(), QStringLiteral("Click here to launch wizard"));
  EXPECT_EQ(wizard->toolTip(), QStringLiteral("Wizard"));
  EXPECT_EQ(frame.Command(CommandId::kStopProcess)->shortcut(), QKeySequence(Qt::Key_F4));
  EXPECT_EQ(frame.statusText(0), UiText(text::kReady));

  // Nothing scanned yet: only what starts something is on.
  EXPECT_TRUE(Enabled(frame, CommandId::kWizard));
  EXPECT_TRUE(Enabled(frame, CommandId::kTrawler));
  for (CommandId id : {CommandId::kStopProcess, CommandId::kTurboScan, CommandId::kFind,
                       CommandId::kSaveAll, CommandId::kGotoParent, CommandId::kSaveScanInformation})
    EXPECT_FALSE(Enabled(frame, id)) << static_cast<unsigned>(id);
  // F4 with nothing running does nothing and logs nothing.
  QTest::keyClick(&frame, Qt::Key_F4);
  EXPECT_TRUE(frame.processLog()->log().entries.empty());

  // The tip of the day creates its file with the one default tip.
  QFile::remove(HelpFolder() + QStringLiteral("/stips.txt"));
  frame.OnShowTips();
  auto* tips = frame.findChild<CTipDialog*>();
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(tips->tip(), QStringLiteral("Press Ctrl + W to run wizard."));
  EXPECT_TRUE(QFile::exists(HelpFolder() + QStringLiteral("/stips.txt")));
  Screenshot(tips, QStringLiteral("dialog-tip-of-the-day"));
  tips->close();
  frame.Command(CommandId::kHelp)->trigger();
  auto* help = frame.findChild<CHelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("Turbo Scan")));
  Screenshot(help, QStringLiteral("dialog-help"));
  help->close();
}

TEST_F(FrameTest, ProcessingAndTurboScanFillTheViews) {
  QMessageBox::StandardButton close_answer = QMessageBox::Ok;
  BoxAnswerer boxes([&](const QString& t) {
    return t == UiText(text::kSaveScanQuestion) ? close_answer : QMessageBox::Ok;
  });
  QStringList progress;
  QObject::connect(&frame, &CMainFrame::ProgressShown, [&](const QString& t) { progress << t; });
  ProcessSample(frame, [&] {
    // While it runs: a stop, but no second process and no closing.
    EXPECT_TRUE(Enabled(frame, CommandId::kStopProcess));
    EXPECT_FALSE(Enabled(frame, CommandId::kWizard));
    EXPECT_FALSE(Enabled(frame, CommandId::kTurboScan));
    frame.close();
  });
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(LogNames(frame),
            (QStringList{"Selected NTFS logical drive 1", "Processing Internal File System Structure...",
                         "Completed processing Internal File System Structure",
                         "Populating Directory Structure...", "Completed Populating Directory Structure"}));
  EXPECT_TRUE(progress.contains(QStringLiteral("Scanning :100%"))) << progress.join(',').toStdString();
  // The refusal to close and the end of the scan may overlap (the worker can
  // end while the refusal is still open), so only both are required.
  ASSERT_GE(boxes.texts().size(), 2);
  EXPECT_TRUE(boxes.texts().contains(UiText(text::kPleaseStopProcess))) << boxes.texts().join('|').toStdString();
  EXPECT_TRUE(boxes.texts().contains(UiText(text::kBasicScanComplete))) << boxes.texts().join('|').toStdString();
  EXPECT_EQ(frame.progressDisplay(), nullptr);
  EXPECT_TRUE(frame.statusText(1).contains(QStringLiteral(" Files in ")));

  // The tree: "#" current, with " Root" whose subfolders are the manifest's.
  CFolderTreeModel* folders = frame.tree()->folders();
  const QModelIndex top = folders->TopIndex();
  EXPECT_EQ(folders->CurrentIndex(), top);
  EXPECT_TRUE(folders->data(top, Qt::FontRole).value<QFont>().bold());
  const QModelIndex root = folders->FindChild(top, salvor::kRootEntry);
  ASSERT_TRUE(root.isValid());
  frame.tree()->expand(root);
  QSet<QString> subfolders;
  for (int r = 0; r < folders->rowCount(root); ++r) subfolders.insert(folders->index(r, 0, root).data().toString());
  EXPECT_EQ(ManifestRootNames(true) - subfolders, QSet<QString>());

  // The list: double click " Root" and it shows every name of the manifest's root.
  CFileListModel* rows = frame.list()->rows();
  int root_row = 0;
  while (rows->EntryOf(root_row) != salvor::kRootEntry) ++root_row;
  const QRect cell = frame.list()->visualRect(rows->index(root_row, 0));
  QTest::mouseDClick(frame.list()->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(ManifestRootNames(false) - ListNames(*rows), QSet<QString>());
  EXPECT_EQ(folders->CurrentIndex(), root);
  EXPECT_TRUE(Enabled(frame, CommandId::kGotoParent));
  EXPECT_TRUE(Enabled(frame, CommandId::kTurboScan));
  EXPECT_TRUE(Enabled(frame, CommandId::kFind));
  Screenshot(&frame, QStringLiteral("main-window-after-processing"));

  // Sorting: another column in the direction shown, the same column reversed.
  QHeaderView* header = frame.list()->horizontalHeader();
  auto column_values = [&](int column) {
    std::vector<qlonglong> values;
    for (int r = 0; r < rows->rowCount(); ++r) {
      const QString t = rows->index(r, column).data().toString();
      const QStringList dmy = t.split(QLatin1Char('-'));
      values.push_back(dmy.size() == 3 ? dmy[2].toLongLong() * 10000 + dmy[1].toLongLong() * 100 +
                                             dmy[0].toLongLong()
                                       : t.toLongLong());
    }
    return values;
  };
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(CFileListModel::kSize) + 5, 5));
  auto sizes = column_values(CFileListModel::kSize);
  EXPECT_TRUE(std::is_sorted(sizes.begin(), sizes.end()));
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(CFileListModel::kSize) + 5, 5));
  sizes = column_values(CFileListModel::kSize);
  EXPECT_TRUE(std::is_sorted(sizes.rbegin(), sizes.rend()));
  EXPECT_GT(sizes.front(), sizes.back());
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(CFileListModel::kCreated) + 5, 5));
  const auto dates = column_values(CFileListModel::kCreated);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_TRUE(std::is_sorted(dates.rbegin(), dates.rend()))
      << dates.front() << " " << dates.back() << " " << dates.size();

  // Check boxes: a folder takes its subfolders along; its parents become
  // partly checked until all their children are checked.
  auto check = [&](const QModelIndex& i) { return folders->data(i, Qt::CheckStateRole).toInt(); };
  auto click_check = [&](const QModelIndex& i) { folders->setData(i, Qt::Checked, Qt::CheckStateRole); };
  ASSERT_GE(folders->rowCount(root), 2);
  const QModelIndex first_child = folders->index(0, 0, root);
  click_check(first_child);
  EXPECT_EQ(check(first_child), Qt::Checked);
  EXPECT_EQ(check(root), Qt::PartiallyChecked);
  EXPECT_EQ(check(top), Qt::PartiallyChecked);
  for (int r = 1; r < folders->rowCount(root); ++r) click_check(folders->index(r, 0, root));
  EXPECT_EQ(check(root), Qt::Checked);
  click_check(first_child);  // unchecking one child of a checked folder
  EXPECT_EQ(check(root), Qt::PartiallyChecked);
  click_check(top);  // partly checked: a click unchecks everything below
  EXPECT_EQ(check(first_child), Qt::Unchecked);
  click_check(top);
  EXPECT_EQ(check(folders->index(1, 0, root)), Qt::Checked);

  // Goto Parent goes back to "#".
  frame.Command(CommandId::kGotoParent)->trigger();
  EXPECT_EQ(folders->CurrentIndex(), top);
  EXPECT_EQ(rows->folder(), salvor::kTopEntry);

  // Turbo Scan: once after each wizard run.
  QSignalSpy ended(&frame, &CMainFrame::ProcessEnded);
  frame.Command(CommandId::kTurboScan)->trigger();
  ASSERT_TRUE(ended.wait(60000));
  const QStringList log = LogNames(frame);
  const qsizetype started = log.indexOf(QStringLiteral("Started turbo scan of logical drive 1"));
  EXPECT_GT(started, 0);
  EXPECT_GT(log.indexOf(QStringLiteral("Completed turbo scan of logical drive 1")), started);
  EXPECT_EQ(boxes.texts().back(), UiText(text::kTurboScanCompleted));
  EXPECT_FALSE(Enabled(frame, CommandId::kTurboScan));
  EXPECT_TRUE(folders->FindChild(folders->TopIndex(), salvor::kRootEntry).isValid());

  // Closing with unsaved results asks; Cancel keeps the window.
  close_answer = QMessageBox::Cancel;
  frame.close();
  EXPECT_TRUE(frame.isVisible());
  EXPECT_EQ(boxes.texts().back(), UiText(text::kSaveScanQuestion));
}

TEST_F(FrameTest, StopAnsweredNoGoesOnAndYesAborts) {
  QString stop_answer = QStringLiteral("No");
  BoxAnswerer boxes([&](const QString& t) {
    if (t == UiText(text::kStopProcessQuestion))
      return stop_answer == QStringLiteral("No") ? QMessageBox::No : QMessageBox::Yes;
    return QMessageBox::Ok;
  });
  auto press_f4 = [&] { QTest::keyClick(&frame, Qt::Key_F4); };
  // The worker waits at the pause gate while the question is open: No lets
  // it go on, Yes ends it at its next check.
  ProcessSample(frame, press_f4);
  const auto& entries = frame.processLog()->log().entries;
  auto index_of = [&](std::string_view name, std::string_view detail = {}) {
    for (std::size_t i = 0; i < entries.size(); ++i)
      if (entries[i].text == name && (detail.empty() || entries[i].detail == detail)) return static_cast<int>(i);
    return -1;
  };
  const int paused = index_of(text::kInternalFileProcessing, text::kProcessPaused);
  const int resumed = index_of(text::kInternalFileProcessing, text::kProcessResumed);
  EXPECT_GT(paused, 0);
  EXPECT_GT(resumed, paused);
  EXPECT_GT(index_of(text::kCompletedProcessingFileSystem), resumed);

  frame.Command(CommandId::kClearLog)->trigger();
  EXPECT_EQ(frame.processLog()->topLevelItemCount(), 0);
  stop_answer = QStringLiteral("Yes");
  ProcessSample(frame, press_f4);
  EXPECT_GE(index_of(text::kInternalFileProcessing, text::kProcessPaused), 0);
  EXPECT_EQ(index_of(text::kInternalFileProcessing, text::kProcessResumed), -1);
  EXPECT_GT(index_of(text::kAbortedProcessingFileSystem),
            index_of(text::kInternalFileProcessing, text::kProcessPaused));
  EXPECT_EQ(index_of(text::kCompletedProcessingFileSystem), -1);
  // A stopped processing still shows what it found and the Basic Scan message.
  EXPECT_EQ(boxes.texts().back(), UiText(text::kBasicScanComplete));
  EXPECT_FALSE(frame.tree()->folders()->IsEmpty());

  // The newest row alone is highlighted.
  CProcessLogView* view = frame.processLog();
  const int last = view->topLevelItemCount() - 1;
  EXPECT_EQ(view->topLevelItem(last)->background(0).color(), QColor(255, 159, 89));
  EXPECT_EQ(view->topLevelItem(last - 1)->background(0).color(), QColor(Qt::white));

  // The saved log is the writer's text of the rows shown.
  const QString path = QDir::tempPath() + QStringLiteral("/salvor-gui-log-%1.txt").arg(QCoreApplication::applicationPid());
  boxes.save_path = path;
  frame.Command(CommandId::kSaveLog)->trigger();
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll().toStdString(), salvor::LogFileText(view->log().entries));
  QFile::remove(path);
}

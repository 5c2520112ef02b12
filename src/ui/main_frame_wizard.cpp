// The main frame's side of the wizard: opening it, and starting what the
// user chose in it.

#include <QString>

#include "ui/help_window.h"
#include "ui/main_frame.h"
#include "ui/wizard/varient_clone_image_dialog.h"
#include "ui/wizard/wizard_sheet.h"

namespace {

// The wizard names its pages' help topics as the first help file did; they
// map onto our own pages.
QString OwnHelpPage(const QString& topic) {
  if (topic.contains(QStringLiteral("image"), Qt::CaseInsensitive)) return QStringLiteral("recover-image.html");
  if (topic.contains(QStringLiteral("clone"), Qt::CaseInsensitive)) return QStringLiteral("recover-image.html");
  if (topic.contains(QStringLiteral("recoverdata"), Qt::CaseInsensitive)) return QStringLiteral("recover-disk.html");
  return QStringLiteral("index.html");
}

}  // namespace

void CMainFrame::OpenWizard() {
  if (state_.process_running) return;
  salvor::ui::CWizardSheet sheet(engine_, this);
  connect(&sheet, &salvor::ui::CWizardSheet::taskChosen, this, &CMainFrame::OnWizardTask);
  connect(&sheet, &salvor::ui::CWizardSheet::helpRequested, this, [this](const QString& topic) {
    ShowHelp();
    if (auto* help = findChild<CHelpWindow*>()) help->ShowTopic(OwnHelpPage(topic));
  });
  sheet.exec();
}

void CMainFrame::OnWizardTask(const salvor::ui::WizardTask& task) {
  using Kind = salvor::ui::WizardTaskKind;
  switch (task.kind) {
    case Kind::kRecoverDisk:
    case Kind::kRecoverImage:
      // The wizard left the volume selected and its $MFT located, or marked
      // it missing: then only the Turbo Scan can rebuild its tree.
      if (!task.turbo) return WizardFinished(task.log);
      OnAddLogEntry(task.log);
      state_.current_entry = task.log;
      state_.drive = task.drive_number;
      return StartTurboScan();
    case Kind::kCloneDisk:
    case Kind::kImageDisk: {
      if (state_.process_running) return;
      auto* dialog = new salvor::ui::CVarientCloneImageDialog(host_, this);
      dialog->setAttribute(Qt::WA_DeleteOnClose);
      SetProcessRunning(true);
      connect(dialog, &salvor::ui::CVarientCloneImageDialog::copyFinished, this,
              [this](salvor::CopyOutcome) { SetProcessRunning(false); });
      dialog->Start(task);
      return;
    }
    case Kind::kNone:
      return;
  }
}

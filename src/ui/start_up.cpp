#include "ui/start_up.h"

// Start-up in order: the single-instance lock, the look, the settings'
// names, the main window shown maximized, the tip of the day, the wizard
// when the settings ask for it, and, as a convenience, a source named on the
// command line opened and its volume processed.

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <QTimer>

#include "app/instance_lock.h"
#include "disk/texts.h"
#include "ui/main_frame.h"
#include "ui/themes.h"
#include "ui/tip_dialog.h"
#include "ui/ui_text.h"

namespace text = salvor::text;

namespace {

int Refuse(std::string_view message) {
  QMessageBox box(QMessageBox::Critical, UiText(text::kCaptionError), UiText(message),
                  QMessageBox::Ok);
  box.setAccessibleName(UiText(text::kCaptionError));
  box.exec();
  return 1;
}

int StartUpWizard() {
  QSettings settings;
  return settings.value(UiText(text::kSettingsWizardSection) + QLatin1Char('/') +
                            UiText(text::kSettingsStartUpValue),
                        0)
      .toInt();
}

}  // namespace

int RunSalvor(QStringList args) {
  const std::string mutex(text::kMutexName);
  std::optional<salvor::InstanceLock> lock = salvor::InstanceLock::Acquire(mutex);
  if (!lock)
    return Refuse(salvor::InstanceLock::IsHeld(mutex) ? text::kAlreadyRunning : text::kFailedToLoad);

  ApplyTheme(static_cast<unsigned>(salvor::CommandId::kThemeOffice2003));
  QApplication::setApplicationName(UiText(text::kApplicationName));
  QApplication::setOrganizationName(UiText(text::kOrganisationName));

  CMainFrame frame;
  // Without a window manager a maximize request is not honoured: the
  // window then takes the screen's free area itself.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    frame.setGeometry(screen->availableGeometry());
  frame.showMaximized();

  const bool banner = !args.removeAll(QStringLiteral("--nologo"));
  unsigned volume = 1;
  const qsizetype volume_at = args.indexOf(QStringLiteral("--volume"));
  if (volume_at >= 0 && volume_at + 1 < args.size()) {
    volume = args[volume_at + 1].toUInt();
    args.remove(volume_at, 2);
  }
  if (banner && CTipDialog::ShowAtStartUp())
    QTimer::singleShot(0, &frame, [&frame] { frame.OnShowTips(); });
  if (StartUpWizard() != 0) emit frame.CommandRequested(salvor::CommandId::kWizard);
  if (!args.isEmpty()) {
    const QString source = args.front();
    QTimer::singleShot(0, &frame, [&frame, source, volume] {
      if (frame.OpenSource(source)) frame.ProcessVolume(volume);
    });
  }
  return QApplication::exec();
}

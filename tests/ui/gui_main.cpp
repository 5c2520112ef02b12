// The window tests run in one process with one QApplication, offscreen, with
// their own runtime, settings and temporary folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>

#include "disk/texts.h"
#include "ui/ui_text.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QString home = QDir::tempPath() + QStringLiteral("/salvor-gui-%1").arg(getpid());
  for (const char* sub : {"runtime", "config", "temp"}) QDir().mkpath(home + QLatin1Char('/') + QLatin1String(sub));
  QFile::setPermissions(home + QStringLiteral("/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", (home + QStringLiteral("/runtime")).toUtf8());
  qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
  qputenv("TEMP", (home + QStringLiteral("/temp")).toUtf8());
  QApplication app(argc, argv);
  QApplication::setApplicationName(UiText(salvor::text::kApplicationName));
  QApplication::setOrganizationName(UiText(salvor::text::kOrganisationName));
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  QDir(home).removeRecursively();
  return status;
}

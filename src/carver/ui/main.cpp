// trawler: carves files by their signatures from a disk whose file system is
// beyond repair. Started by salvor, with salvor's socket name as its argument.

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "carver/signature_database.h"
#include "carver/texts.h"
#include "carver/ui/salvor_link.h"
#include "carver/ui/startup_contract.h"
#include "carver/ui/trawler_flow.h"
#include "carver/ui/ui_text.h"

int main(int argc, char** argv) {
  using namespace salvor::carver;
  using namespace salvor::carver::ui;
  QApplication app(argc, argv);
  QApplication::setApplicationName(Text(text::kProgramTitle));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("drive-harddisk")));
  // Pages follow one another; the program ends when the road does.
  QApplication::setQuitOnLastWindowClosed(false);

  StartupDecision decision = CheckStartup(QApplication::arguments(), QApplication::applicationFilePath());
  if (!decision.refusal.empty()) {
    QMessageBox::critical(nullptr, Text(text::kCaptionError), Text(decision.refusal));
    return 1;
  }
  SalvorLink link(decision.salvor_server);
  TrawlerFlow::Settings settings;
  settings.signature_file = SignatureFilePath(QApplication::applicationDirPath().toStdString());
  settings.disks = MachineDisks();
  settings.open_folder = [](const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
  };
  TrawlerFlow flow(settings);
  QObject::connect(&flow, &TrawlerFlow::diskSelectionOpened, &link, &SalvorLink::SendOpened);
  QObject::connect(&flow, &TrawlerFlow::homeRequested, &link, &SalvorLink::SendHome);
  QObject::connect(&flow, &TrawlerFlow::finished, &app, &QApplication::quit, Qt::QueuedConnection);
  QObject::connect(&link, &SalvorLink::closeRequested, &flow, &TrawlerFlow::Close);
  flow.Start();
  return QApplication::exec();
}

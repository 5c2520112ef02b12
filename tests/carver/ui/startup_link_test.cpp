// Trawler's start-up beside Salvor, the messages it sends Salvor over the
// local socket, and the disk selection opening disks by their own paths.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdlib>

#include "app/peer_messages.h"
#include "carver/texts.h"
#include "carver/ui/disk_selection_dialog.h"
#include "carver/ui/known_file_types.h"
#include "carver/ui/salvor_link.h"
#include "carver/ui/startup_contract.h"
#include "carver/ui/trawler_flow.h"
#include "carver/ui/trawler_session.h"
#include "carver/ui/ui_text.h"
#include "gui_driver.h"
#include "support/test_paths.h"

namespace salvor::carver::ui {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// A stand-in for Salvor's socket that keeps every message it receives.
class FakeSalvor {
 public:
  explicit FakeSalvor(const QString& name) {
    QLocalServer::removeServer(name);
    EXPECT_TRUE(server_.listen(name));
    QObject::connect(&server_, &QLocalServer::newConnection, [this] {
      peer_ = server_.nextPendingConnection();
      QObject::connect(peer_, &QLocalSocket::readyRead, [this] { Read(); });
    });
  }
  void Send(PeerMessageKind kind) {
    const std::string bytes = EncodePeerMessage(kind);
    peer_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    peer_->flush();
  }
  std::vector<PeerMessage> received;
  QLocalSocket* peer_ = nullptr;

 private:
  void Read() {
    buffer_ += peer_->readAll();
    DecodedPeerMessage m;
    while (DecodePeerMessage(std::span(reinterpret_cast<const std::uint8_t*>(buffer_.constData()),
                                       static_cast<std::size_t>(buffer_.size())),
                             m) == PeerDecodeStatus::kMessage) {
      received.push_back(m.message);
      buffer_.remove(0, static_cast<qsizetype>(m.consumed));
    }
  }
  QLocalServer server_;
  QByteArray buffer_;
};

// Disks named disk0 ... disk11; only the named one exists, as the fixture image.
DiskSource TwelveDisks(const fs::path& folder, const std::string& present) {
  fs::create_symlink(salvor::testing::SamplesDir() / "carving-fixture.img", folder / present);
  DiskSource source;
  source.device_dir = folder;
  source.list = [](Host&) {
    std::vector<DiskListEntry> disks(12);
    for (int i = 0; i < 12; ++i) {
      disks[i].device_name = "disk" + std::to_string(i);
      disks[i].model = "Model " + std::to_string(i);
      disks[i].bytes_per_sector = "512";
    }
    return disks;
  };
  return source;
}

void Choose(QTreeWidget* tree, const QString& label) {
  const auto found = tree->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(found.size(), 1) << label.toStdString();
  tree->setCurrentItem(found.first());
}

TEST(TrawlerStartup, RefusesToRunAloneWithoutSalvorAndTwice) {
  salvor::testing::ScratchDir runtime;
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  const QString self = QStringLiteral("/opt/salvor/trawler");
  EXPECT_EQ(CheckStartup({self}, self).refusal, text::kStartedAlone);
  EXPECT_EQ(CheckStartup({self, QStringLiteral("\"/opt/salvor/trawler\" ")}, self).refusal,
            text::kStartedAlone);
  EXPECT_EQ(CheckStartup({self, QStringLiteral("salvor-socket")}, self).refusal,
            text::kSalvorNotRunning);
  {
    auto salvor = InstanceLock::Acquire(kSalvorLockName);
    ASSERT_TRUE(salvor);
    StartupDecision first = CheckStartup({self, QStringLiteral("salvor-socket")}, self);
    EXPECT_TRUE(first.refusal.empty());
    EXPECT_EQ(first.salvor_server, QStringLiteral("salvor-socket"));
    EXPECT_TRUE(first.lock.has_value());
    EXPECT_EQ(CheckStartup({self, QStringLiteral("salvor-socket")}, self).refusal,
              text::kAlreadyRunning);
  }
  // Both programs gone: the locks are free again.
  EXPECT_EQ(CheckStartup({self, QStringLiteral("salvor-socket")}, self).refusal,
            text::kSalvorNotRunning);
  unsetenv("XDG_RUNTIME_DIR");
}

TEST(TrawlerStartup, TellsSalvorOfTheDiskSelectionAndOfHomeAndClosesWhenAsked) {
  salvor::testing::ScratchDir scratch;
  const QString name = QStringLiteral("trawler-test-%1").arg(QCoreApplication::applicationPid());
  FakeSalvor salvor(name);
  BoxAnswerer boxes;
  SalvorLink link(name);
  TrawlerFlow::Settings settings;
  settings.signature_file = salvor::testing::SourceDir() / "samples" / "Signature";
  settings.disks = TwelveDisks(scratch.path(), "disk0");
  TrawlerFlow flow(settings);
  QObject::connect(&flow, &TrawlerFlow::diskSelectionOpened, &link, &SalvorLink::SendOpened);
  QObject::connect(&flow, &TrawlerFlow::homeRequested, &link, &SalvorLink::SendHome);
  bool finished = false;
  QObject::connect(&flow, &TrawlerFlow::finished, [&] { finished = true; });
  flow.Start();

  ASSERT_TRUE(WaitFor([&] { return flow.current() != nullptr && flow.current()->isVisible(); }));
  Screenshot(flow.current(), QStringLiteral("01-disclaimer"));
  Named<QPushButton>(flow.current(), QStringLiteral("OK"))->click();
  ASSERT_TRUE(WaitFor([&] { return salvor.received.size() == 1; }));
  EXPECT_EQ(salvor.received[0].kind, PeerMessageKind::kTrawlerOpened);
  EXPECT_EQ(salvor.received[0].payload, std::to_string(QCoreApplication::applicationPid()));

  auto* disks = qobject_cast<CSelectPhysicalDiskDialog*>(flow.current());
  ASSERT_NE(disks, nullptr);
  Named<QPushButton>(disks, QStringLiteral("Next"))->click();
  ASSERT_TRUE(WaitFor([&] { return qobject_cast<CVarnokKnownFileTypes*>(flow.current()) != nullptr; }));
  Named<QPushButton>(flow.current(), QStringLiteral("Home"))->click();
  ASSERT_TRUE(WaitFor([&] { return salvor.received.size() == 2 && finished; }));
  EXPECT_EQ(salvor.received[1].kind, PeerMessageKind::kTrawlerHome);
  EXPECT_TRUE(salvor.received[1].payload.empty());

  bool close_asked = false;
  QObject::connect(&link, &SalvorLink::closeRequested, [&] { close_asked = true; });
  salvor.Send(PeerMessageKind::kClose);
  EXPECT_TRUE(WaitFor([&] { return close_asked; }));
}

TEST(TrawlerDiskSelection, OpensDiskTenByItsOwnPathAndKeepsTheDialogForAMissingDisk) {
  salvor::testing::ScratchDir scratch;
  BoxAnswerer boxes;
  TrawlerSession session;
  CSelectPhysicalDiskDialog dialog(session, TwelveDisks(scratch.path(), "disk10"));
  dialog.show();
  auto* tree = Named<QTreeWidget>(&dialog, QStringLiteral("Disks"));
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), Text(text::kMyComputer));
  EXPECT_EQ(tree->topLevelItem(0)->childCount(), 13);  // twelve disks and "Image file..."

  Choose(tree, QStringLiteral("Disk # 1"));
  dialog.OnNext();
  EXPECT_TRUE(boxes.Saw(Text(text::kReconnectDisk)));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);

  Choose(tree, QStringLiteral("Disk # 10"));
  Screenshot(&dialog, QStringLiteral("02-disk-selection"));
  dialog.OnNext();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(session.disk.device_path, (scratch.path() / "disk10").string());
  EXPECT_EQ(session.disk.model_text, "Model 10");
  EXPECT_EQ(session.disk.total_sectors,
            fs::file_size(salvor::testing::SamplesDir() / "carving-fixture.img") / 512);
}

}  // namespace
}  // namespace salvor::carver::ui

#include "ui/trawler_link.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QUuid>

#include "app/peer_messages.h"
#include "disk/texts.h"
#include "ui/ui_text.h"

CTrawlerLink::CTrawlerLink(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
  // Only this user may connect; the random part keeps two users' and two
  // runs' servers apart.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(QStringLiteral("salvor-%1-%2")
                      .arg(QCoreApplication::applicationPid())
                      .arg(QUuid::createUuid().toString(QUuid::Id128).left(12)));
  connect(server_, &QLocalServer::newConnection, this, &CTrawlerLink::OnConnection);
}

CTrawlerLink::~CTrawlerLink() = default;

QString CTrawlerLink::serverName() const { return server_->serverName(); }

bool CTrawlerLink::StartTrawler(const QString& folder) {
  const QString program = QDir(folder).filePath(UiText(salvor::text::kTrawlerProgram));
  return QProcess::startDetached(program, {serverName()});
}

void CTrawlerLink::CloseTrawler() {
  if (!companion_) return;
  const std::string message = salvor::EncodePeerMessage(salvor::PeerMessageKind::kClose);
  companion_->write(message.data(), static_cast<qint64>(message.size()));
  companion_->waitForBytesWritten(1000);
}

void CTrawlerLink::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadable(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void CTrawlerLink::OnReadable(QLocalSocket* socket) {
  QByteArray buffer = socket->property("pending").toByteArray() + socket->readAll();
  for (;;) {
    salvor::DecodedPeerMessage decoded;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.constData());
    const salvor::PeerDecodeStatus status = salvor::DecodePeerMessage(
        {bytes, static_cast<std::size_t>(buffer.size())}, decoded);
    if (status == salvor::PeerDecodeStatus::kNeedMore) break;
    if (status == salvor::PeerDecodeStatus::kInvalid) {
      socket->abort();
      return;
    }
    buffer.remove(0, static_cast<qsizetype>(decoded.consumed));
    if (decoded.message.kind == salvor::PeerMessageKind::kTrawlerOpened) companion_ = socket;
    if (decoded.message.kind == salvor::PeerMessageKind::kTrawlerHome) emit HomeRequested();
  }
  socket->setProperty("pending", buffer);
}

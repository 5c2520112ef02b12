#include "carver/ui/salvor_link.h"

#include <QCoreApplication>
#include <QLocalSocket>

namespace salvor::carver::ui {

SalvorLink::SalvorLink(const QString& server_name, QObject* parent) : QObject(parent) {
  socket_ = new QLocalSocket(this);
  connect(socket_, &QLocalSocket::readyRead, this, &SalvorLink::OnReadyRead);
  // Salvor gone means Salvor closed: Trawler closes with it.
  connect(socket_, &QLocalSocket::disconnected, this, &SalvorLink::closeRequested);
  socket_->connectToServer(server_name);
}

void SalvorLink::Send(PeerMessageKind kind, const QByteArray& payload) {
  if (socket_->state() == QLocalSocket::ConnectingState) socket_->waitForConnected(2000);
  if (socket_->state() != QLocalSocket::ConnectedState) return;
  const std::string message = EncodePeerMessage(kind, std::string_view(payload.constData(), payload.size()));
  socket_->write(message.data(), static_cast<qint64>(message.size()));
  socket_->flush();
}

void SalvorLink::SendOpened() {
  Send(PeerMessageKind::kTrawlerOpened, QByteArray::number(QCoreApplication::applicationPid()));
}

void SalvorLink::SendHome() {
  Send(PeerMessageKind::kTrawlerHome, {});
  if (socket_->state() == QLocalSocket::ConnectedState) socket_->waitForBytesWritten(2000);
}

void SalvorLink::OnReadyRead() {
  received_ += socket_->readAll();
  for (;;) {
    DecodedPeerMessage decoded;
    const auto status = DecodePeerMessage(
        std::span(reinterpret_cast<const std::uint8_t*>(received_.constData()),
                  static_cast<std::size_t>(received_.size())),
        decoded);
    if (status == PeerDecodeStatus::kNeedMore) return;
    if (status == PeerDecodeStatus::kInvalid) {
      received_.clear();
      socket_->abort();
      return;
    }
    received_.remove(0, static_cast<qsizetype>(decoded.consumed));
    if (decoded.message.kind == PeerMessageKind::kClose) emit closeRequested();
  }
}

}  // namespace salvor::carver::ui

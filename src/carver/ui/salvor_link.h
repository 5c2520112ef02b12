#pragma once
// Trawler's side of the local socket to Salvor: it says when the disk
// selection opened and when the user went "Home", and hears when Salvor
// closes. Without a reachable Salvor nothing is sent.

#include <QByteArray>
#include <QObject>
#include <QString>

#include "app/peer_messages.h"

class QLocalSocket;

namespace salvor::carver::ui {

class SalvorLink : public QObject {
  Q_OBJECT
 public:
  explicit SalvorLink(const QString& server_name, QObject* parent = nullptr);

 public slots:
  void SendOpened();
  // Waits until the message is written: the program ends right after it.
  void SendHome();

 signals:
  void closeRequested();

 private:
  void Send(PeerMessageKind kind, const QByteArray& payload);
  void OnReadyRead();

  QLocalSocket* socket_ = nullptr;
  QByteArray received_;
};

}  // namespace salvor::carver::ui

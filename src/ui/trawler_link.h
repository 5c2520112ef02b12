#pragma once
// Salvor's end of the link with Trawler: a local server whose name goes on
// Trawler's command line. Trawler reports when its disk selection opens
// (the connection is kept, so that Salvor can ask it to close at exit) and
// when the user goes "Home" (Salvor shows itself again).

#include <QByteArray>
#include <QObject>
#include <QPointer>

class QLocalServer;
#include <QLocalSocket>

class CTrawlerLink : public QObject {
  Q_OBJECT

 public:
  explicit CTrawlerLink(QObject* parent = nullptr);
  ~CTrawlerLink() override;

  // The per-process server name handed to Trawler.
  QString serverName() const;
  // Starts Trawler from `folder` with the server name; false when it could
  // not be started.
  bool StartTrawler(const QString& folder);
  // Asks a Trawler that has reported itself to close.
  void CloseTrawler();
  bool hasCompanion() const { return companion_ != nullptr; }

 signals:
  void HomeRequested();

 private:
  void OnConnection();
  void OnReadable(QLocalSocket* socket);

  QLocalServer* server_;
  QPointer<QLocalSocket> companion_;
};

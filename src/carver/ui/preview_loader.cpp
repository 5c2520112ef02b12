#include "carver/ui/preview_loader.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPointer>
#include <QTemporaryFile>
#include <QThread>
#include <QWidget>
#include <memory>

#include "carver/carved_copy.h"
#include "carver/ui/worker_host.h"

namespace salvor::carver::ui {

bool IsImageName(const QString& name) {
  const QByteArray suffix = QFileInfo(name).suffix().toLower().toLatin1();
  return !suffix.isEmpty() && QImageReader::supportedImageFormats().contains(suffix);
}

void LoadPreviewBytes(CarveDisk& disk, const FoundNode& file, QWidget* owner,
                      std::function<void(const QByteArray&)> done) {
  auto host = std::make_shared<WorkerHost>(owner);
  QPointer<QWidget> guard(owner);
  // The thread reads from its own copy of the node, so that the tree may
  // change while it runs.
  auto copy = std::make_shared<FoundNode>();
  copy->name = file.name;
  copy->length = file.length;
  copy->starts = file.starts;
  QThread* thread = QThread::create([&disk, copy, host, guard, done = std::move(done)] {
    QByteArray bytes;
    // The copy routine writes to a file, as saving does; a private temporary
    // file keeps one way of reading found files.
    QTemporaryFile staged;
    if (staged.open()) {
      RunControl run;
      SectorReader reader(disk, *host);
      const CopyResult copied = CopyFileData(reader, *copy, staged.handle(), run);
      if (copied.write_error == 0 && !copied.stopped) {
        staged.seek(0);
        bytes = staged.readAll();
      }
    }
    host->OnOwnerThread([&] {
      if (guard) done(bytes);
    });
  });
  QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  thread->start();
}

}  // namespace salvor::carver::ui

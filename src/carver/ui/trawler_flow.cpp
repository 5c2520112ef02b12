#include "carver/ui/trawler_flow.h"

#include <QDialog>

#include "carver/ui/data_found_dialog.h"
#include "carver/ui/disclaimer_dialog.h"
#include "carver/ui/disk_selection_dialog.h"
#include "carver/ui/known_file_types.h"
#include "carver/ui/processing_dialog.h"

namespace salvor::carver::ui {

TrawlerFlow::TrawlerFlow(Settings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)) {}

TrawlerFlow::~TrawlerFlow() { delete page_; }

void TrawlerFlow::Start() { ShowDisclaimer(); }

void TrawlerFlow::Show(QDialog* page, const std::function<void(int)>& on_result) {
  QDialog* previous = page_;
  page_ = page;
  connect(page, &QDialog::finished, this, [this, page, on_result](int result) {
    if (page_ != page) return;
    page->deleteLater();
    if (closing_) End();
    else on_result(result);
  });
  page->show();
  if (previous != nullptr) previous->deleteLater();
}

void TrawlerFlow::ShowDisclaimer() {
  Show(new CDisclaimerDialog, [this](int) { ShowDiskSelection(); });
}

void TrawlerFlow::ShowDiskSelection() {
  auto* page = new CSelectPhysicalDiskDialog(session_, settings_.disks);
  connect(page, &CSelectPhysicalDiskDialog::opened, this, &TrawlerFlow::diskSelectionOpened);
  Show(page, [this](int result) {
    if (result == QDialog::Accepted) ShowFileTypes();
    else End();
  });
}

void TrawlerFlow::ShowFileTypes() {
  Show(new CVarnokKnownFileTypes(session_, settings_.signature_file), [this](int result) {
    switch (result) {
      case QDialog::Accepted: ShowScan(); break;
      case kPageBack: ShowDiskSelection(); break;
      case kPageHome: GoHome(); break;
      default: End();
    }
  });
}

void TrawlerFlow::ShowScan() {
  Show(new CVarnokDFRProcessingDialog(CVarnokDFRProcessingDialog::Mode::kScan, session_),
       [this](int) { ShowFound(); });
}

void TrawlerFlow::ShowFound() {
  Show(new CVarnokDataFoundDialog(session_), [this](int result) {
    switch (result) {
      case kPageSave: ShowSave(); break;
      case kPageBack: ShowFileTypes(); break;
      case kPageHome: GoHome(); break;
      default: End();
    }
  });
}

void TrawlerFlow::ShowSave() {
  auto* page = new CVarnokDFRProcessingDialog(CVarnokDFRProcessingDialog::Mode::kSave, session_);
  Show(page, [this, page](int) {
    if (!page->saved_folder().isEmpty() && settings_.open_folder) settings_.open_folder(page->saved_folder());
    session_.save.compress = false;
    ShowFound();
  });
}

void TrawlerFlow::GoHome() {
  emit homeRequested();
  End();
}

void TrawlerFlow::End() {
  page_ = nullptr;
  emit finished();
}

void TrawlerFlow::Close() {
  closing_ = true;
  // A running process is told to stop; the road ends when its page closes.
  // Waiting for it here could hold up a worker that waits for this thread.
  if (auto* processing = qobject_cast<CVarnokDFRProcessingDialog*>(page_.data());
      processing != nullptr && processing->WorkerRunning()) {
    processing->Abandon();
    return;
  }
  delete page_;
  End();
}

}  // namespace salvor::carver::ui

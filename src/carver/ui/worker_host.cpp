#include "carver/ui/worker_host.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QThread>

#include "carver/texts.h"
#include "carver/ui/ui_text.h"

namespace salvor::carver::ui {

void WorkerHost::OnOwnerThread(const std::function<void()>& call) {
  if (owner_ == nullptr) return;
  if (QThread::currentThread() == owner_->thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(owner_, call, Qt::BlockingQueuedConnection);
}

void WorkerHost::ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) {
  OnOwnerThread([&] {
    const QMessageBox::Icon shown = icon == MessageIcon::kError         ? QMessageBox::Critical
                                    : icon == MessageIcon::kInformation ? QMessageBox::Information
                                                                        : QMessageBox::Warning;
    QMessageBox box(shown, Text(caption), Text(text), QMessageBox::Ok, owner_);
    box.exec();
  });
}

void WorkerHost::Progress(const ProgressReport& report) {
  const std::uint64_t done = report.done;
  const std::uint64_t total = report.total;
  if (!on_progress || total == 0) return;
  const int percent = done >= total ? 100 : static_cast<int>(done * 100 / total);
  if (percent == last_percent_) return;
  last_percent_ = percent;
  OnOwnerThread([&] { on_progress(done, total); });
}

std::optional<std::string> WorkerHost::AskRename(std::string_view failed_name,
                                                 std::string_view reason) {
  std::optional<std::string> answer;
  OnOwnerThread([&] {
    bool ok = false;
    const QString name = QInputDialog::getText(owner_, Text(text::kProgramTitle), Text(reason),
                                               QLineEdit::Normal, Text(failed_name), &ok);
    if (ok && !name.isEmpty()) answer = name.toStdString();
  });
  return answer;
}

bool WorkerHost::AskYesNo(std::string_view caption, std::string_view question) {
  bool yes = false;
  OnOwnerThread([&] {
    yes = QMessageBox::question(owner_, Text(caption), Text(question),
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  });
  return yes;
}

}  // namespace salvor::carver::ui

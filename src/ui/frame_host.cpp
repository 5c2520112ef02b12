#include "ui/frame_host.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QThread>

#include "disk/texts.h"
#include "ui/main_frame.h"
#include "ui/ui_text.h"

void SendToFrame(CMainFrame& frame, const std::function<void()>& call) {
  if (QThread::currentThread() == frame.thread())
    call();
  else
    QMetaObject::invokeMethod(&frame, call, Qt::BlockingQueuedConnection);
}

void CFrameHost::ShowMessage(salvor::MessageIcon icon, std::string_view caption,
                             std::string_view text) {
  const QMessageBox::Icon box_icon = icon == salvor::MessageIcon::kError ? QMessageBox::Critical
                                     : icon == salvor::MessageIcon::kWarning
                                         ? QMessageBox::Warning
                                         : QMessageBox::Information;
  const QString title = UiText(caption);
  const QString body = UiText(text);
  SendToFrame(*frame_, [this, box_icon, title, body] {
    QMessageBox box(box_icon, title, body, QMessageBox::Ok, frame_);
    box.setAccessibleName(title);
    box.exec();
  });
}

void CFrameHost::AddLogEntry(const salvor::LogEntry& entry) {
  SendToFrame(*frame_, [this, &entry] { frame_->OnAddLogEntry(entry); });
  if (QThread::currentThread() != frame_->thread()) run_->Checkpoint();
}

void CFrameHost::Progress(const salvor::ProgressReport& report) {
  progress_.total.store(report.total, std::memory_order_relaxed);
  progress_.done.store(report.done, std::memory_order_relaxed);
}

std::optional<std::string> CFrameHost::AskRename(std::string_view failed_name,
                                                 std::string_view reason) {
  std::optional<std::string> answer;
  const QString name = UiText(failed_name);
  const QString why = UiText(reason);
  SendToFrame(*frame_, [&] {
    bool ok = false;
    const QString text = QInputDialog::getText(frame_, UiText(salvor::text::kRenameTitle),
                                               name + QStringLiteral(" ") + why,
                                               QLineEdit::Normal, name, &ok);
    if (ok && !text.isEmpty()) answer = text.toStdString();
  });
  return answer;
}

bool CFrameHost::AskYesNo(std::string_view caption, std::string_view question) {
  bool yes = false;
  const QString title = UiText(caption);
  const QString text = UiText(question);
  SendToFrame(*frame_, [&] {
    yes = QMessageBox::question(frame_, title, text, QMessageBox::Yes | QMessageBox::No) ==
          QMessageBox::Yes;
  });
  return yes;
}

#include "carver/ui/startup_contract.h"

#include <string>

#include "carver/texts.h"

namespace salvor::carver::ui {
namespace {

QString WithoutQuotesAndBlanks(QString text) {
  return text.remove(QLatin1Char('"')).remove(QLatin1Char(' '));
}

}  // namespace

StartupDecision CheckStartup(const QStringList& arguments, const QString& program_path) {
  StartupDecision decision;
  const QString kept = WithoutQuotesAndBlanks(arguments.mid(1).join(QString()));
  if (kept.isEmpty() || kept == WithoutQuotesAndBlanks(program_path)) {
    decision.refusal = text::kStartedAlone;
    return decision;
  }
  if (!InstanceLock::IsHeld(kSalvorLockName)) {
    decision.refusal = text::kSalvorNotRunning;
    return decision;
  }
  std::string error;
  decision.lock = InstanceLock::Acquire(kTrawlerLockName, &error);
  // A lock file that cannot be made at all must not keep the program from
  // running; only a live holder does.
  if (!decision.lock && error.empty()) {
    decision.refusal = text::kAlreadyRunning;
    return decision;
  }
  decision.salvor_server = kept;
  return decision;
}

}  // namespace salvor::carver::ui

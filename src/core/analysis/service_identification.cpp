#include "core/analysis/service_identification.h"

#include <algorithm>

#include "core/analysis/session_builder.h"
#include "core/logfile/log_format.h"
#include "core/logfile/warnings.h"
#include "core/model/session_table.h"

namespace mirolat {

namespace {

bool AllDigits(QStringView text) {
  for (QChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

}  // namespace

QString DialledNumber(QStringView upperLine, const Configuration& config, bool* usable) {
  QStringView text;
  const qsizetype p = FindInLine(upperLine, config.ModemDial);
  if (p >= 0) {
    // Skip the dial-mode letter after the dial command; drop the line's last character.
    const qsizetype start = p + config.ModemDial.size() + 1;
    const qsizetype length = upperLine.size() - 1 - start;
    if (length > 0) text = upperLine.mid(start, length);
  }
  const qsizetype cut = text.indexOf(u'<');
  if (cut >= 0) text = text.left(cut);
  if (usable) *usable = AllDigits(text);
  return text.toString();
}

IdentifyOutcome IdentifyService(RunState& run, QStringView upperLine, const Configuration& config) {
  run.CurrentService = 0;
  run.TooManyServices = false;

  QString number;
  if (run.Answering) {
    number = QStringLiteral("Answered Calls");
  } else {
    bool usable = false;
    number = DialledNumber(upperLine, config, &usable);
    if (!usable) {
      run.InSession = false;
      run.CurrentService = 0;
      return IdentifyOutcome::NoNumber;
    }
  }

  if (!TakeSessionNumber(run, config)) return IdentifyOutcome::TooManyConnections;
  SessionTable& table = run.Tables;
  Session& session = table.Sessions[static_cast<size_t>(table.SessionCount)];
  if (run.Answering) {
    session.Number = QStringLiteral("Answered Call");
    session.Answered = true;
  } else {
    session.Number = number;
  }

  for (int i = 1; i <= table.ServiceTotalsCount; ++i) {
    if (TrimBlanks(table.ServiceTotals[static_cast<size_t>(i)].Number) == number) {
      run.CurrentService = i;
      break;
    }
  }
  if (run.CurrentService == 0) {
    run.CurrentService = table.ServiceTotalsCount + 1;
    if (static_cast<size_t>(run.CurrentService) >= table.ServiceTotals.size()) {
      table.ServiceTotals.resize(static_cast<size_t>(run.CurrentService) + 1);
    }
    table.ServiceTotals[static_cast<size_t>(run.CurrentService)].Number = number;
    table.ServiceTotalsCount = run.CurrentService;
  }

  if (table.ServiceTotalsCount >= config.MaxServices) {
    run.Messages.append(WarnTooManyServices());
    run.TooManyServices = true;
  }
  run.LastService = run.CurrentService;
  return IdentifyOutcome::Opened;
}

}  // namespace mirolat

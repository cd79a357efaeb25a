#include "core/model/session_table.h"

#include <algorithm>

namespace mirolat {

void SessionTable::Create(int maxServices, int maxConnections) {
  // Built empty in place rather than copied from an empty one: a table of
  // tens of thousands of slots is made for every run.
  Sessions.clear();
  Sessions.resize(static_cast<size_t>(std::max(maxConnections, 0)) + 1);
  ServiceTotals.clear();
  ServiceTotals.resize(static_cast<size_t>(std::max(maxServices, 0)) + 1);
  SessionCount = 0;
  ServiceTotalsCount = 0;
  touchedSessions_ = 0;
  slotLimit_ = std::max(maxConnections, 0);
}

void SessionTable::CreateForRun(int maxServices, int maxConnections) {
  Sessions.clear();
  Sessions.shrink_to_fit();
  slotLimit_ = std::max(maxConnections, 0);
  // Reserved, not made: the slots never move while the run holds one, and
  // memory never written costs nothing.
  Sessions.reserve(static_cast<size_t>(slotLimit_) + 1);
  Sessions.resize(1);
  ServiceTotals.clear();
  ServiceTotals.resize(static_cast<size_t>(std::max(maxServices, 0)) + 1);
  SessionCount = 0;
  ServiceTotalsCount = 0;
  touchedSessions_ = 0;
}

void SessionTable::ResetTables() {
  for (auto& total : ServiceTotals) total = ServiceTotal{};
  // Slots beyond the highest one ever written are still empty.
  const size_t last = std::min(Sessions.size(), static_cast<size_t>(touchedSessions_) + 1);
  for (size_t i = 0; i < last; ++i) Sessions[i] = Session{};
  touchedSessions_ = 0;
}

QStringView TrimBlanks(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin] == u' ') ++begin;
  while (end > begin && text[end - 1] == u' ') --end;
  return text.mid(begin, end - begin);
}

QString CleanNotes(QStringView notes) {
  const QStringView trimmed = TrimBlanks(notes);
  // The first "- -" loses its blank and second dash: one copy of the rest.
  const qsizetype pair = trimmed.indexOf(u"- -");
  QString text(trimmed.size() - (pair >= 0 ? 2 : 0), Qt::Uninitialized);
  QChar* out = text.data();
  if (pair >= 0) {
    out = std::copy(trimmed.begin(), trimmed.begin() + pair + 1, out);
    std::copy(trimmed.begin() + pair + 3, trimmed.end(), out);
  } else {
    std::copy(trimmed.begin(), trimmed.end(), out);
  }
  if (text.startsWith(u'-')) text.remove(0, 1);
  if (text.endsWith(u" -")) text.chop(2);
  return text;
}

}  // namespace mirolat

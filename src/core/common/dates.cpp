#include "core/common/dates.h"

namespace mirolat {

namespace {
// Julian day number of 30 December 1899. A plain constant, so that dates built
// during static initialisation elsewhere never see an unconstructed epoch.
constexpr qint64 kEpochJulianDay = 2415019;
}

Date MakeDate(int year, int month, int day) {
  // Carry the month into the year first, then let the day run over the month.
  int m0 = month - 1;
  year += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
  m0 = ((m0 % 12) + 12) % 12;
  const QDate first(year, m0 + 1, 1);
  if (!first.isValid()) return 0;
  return static_cast<Date>(first.toJulianDay() - kEpochJulianDay) + (day - 1);
}

Date FromQDate(const QDate& d) { return d.isValid() ? static_cast<Date>(d.toJulianDay() - kEpochJulianDay) : 0; }

QDate ToQDate(Date d) { return QDate::fromJulianDay(d + kEpochJulianDay); }

int WeekdayIndex(Date d) {
  // 30 December 1899 was a Saturday (index 5).
  return (((d + 5) % 7) + 7) % 7;
}

QString DateToIso(Date d) { return ToQDate(d).toString(Qt::ISODate); }

Date DateFromIso(const QString& text) {
  const QDate d = QDate::fromString(text.trimmed(), Qt::ISODate);
  return d.isValid() ? FromQDate(d) : 0;
}

QString TimeToText(TimeOfDay t) {
  return QStringLiteral("%1:%2:%3")
      .arg(t / 3600, 2, 10, QLatin1Char('0'))
      .arg((t / 60) % 60, 2, 10, QLatin1Char('0'))
      .arg(t % 60, 2, 10, QLatin1Char('0'));
}

QString TimeToHhMm(TimeOfDay t) {
  return QStringLiteral("%1:%2").arg(t / 3600, 2, 10, QLatin1Char('0')).arg((t / 60) % 60, 2, 10, QLatin1Char('0'));
}

TimeOfDay TimeFromText(const QString& text) {
  const QStringList parts = text.trimmed().split(QLatin1Char(':'));
  if (parts.size() < 2 || parts.size() > 3) return -1;
  int v[3] = {0, 0, 0};
  for (int i = 0; i < parts.size(); ++i) {
    bool ok = false;
    v[i] = parts[i].toInt(&ok);
    if (!ok || v[i] < 0) return -1;
  }
  if (v[0] > 23 || v[1] > 59 || v[2] > 59) return -1;
  return MakeTime(v[0], v[1], v[2]);
}

}  // namespace mirolat

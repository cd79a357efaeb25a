#include "core/logfile/log_statistics.h"

namespace mirolat {

LogStatisticsTexts LogStatistics(const CurrentFileState& file, const LocaleValues& locale) {
  const QString na = QStringLiteral("N/A");
  if (file.LogCorrupt || file.NotAModemLog) return {na, na, na, na};
  LogStatisticsTexts texts;
  const qint64 kilobytes = qRound64(static_cast<double>(file.LogFileSize) / 1024.0);
  texts.Length = QStringLiteral("%1 Bytes (%2KB)").arg(file.LogFileSize).arg(kilobytes);
  texts.Entries = LogEntryCountText(file.LogEntryCount);
  if (file.LogEmpty) {
    texts.First = na;
    texts.Last = na;
  } else {
    texts.First = locale.Locale.toString(ToQDate(file.LogFirstDate), QLocale::LongFormat);
    texts.Last = locale.Locale.toString(ToQDate(file.LogLastDate), QLocale::LongFormat);
  }
  return texts;
}

QString LogEntryCountText(qint64 entries) { return QString::number(entries); }

}  // namespace mirolat

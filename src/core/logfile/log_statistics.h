#pragma once
// The statistics the main window shows for the current file: its length, its
// number of entries and the dates of its first and last entries.
#include <QString>

#include "core/common/locale_values.h"
#include "core/logfile/current_file.h"

namespace mirolat {

struct LogStatisticsTexts {
  QString Length;   // "153600 Bytes (150KB)"
  QString Entries;  // the entry count, every digit of it
  QString First;    // long dates; "N/A" for an empty file
  QString Last;
};

// The four texts of a log that is neither corrupt nor "not a modem log";
// "N/A" for each of them otherwise.
LogStatisticsTexts LogStatistics(const CurrentFileState& file, const LocaleValues& locale);

// An entry count as text: the whole number, exact at any size.
QString LogEntryCountText(qint64 entries);

}  // namespace mirolat

#pragma once
// The current-file state: which file is analysed and what the checks found.
// Written by start-up, the log checks and the session builder; read by the
// windows and the maintenance commands.
#include <QString>

#include "core/common/dates.h"

namespace mirolat {

struct CurrentFileState {
  QString WindowsDir;    // the log directory, ending in '/'
  QString LogFileName;   // the file currently analysed
  QString LogFilePath;   // WindowsDir + LogFileName
  qint64 LogFileSize = 0;
  bool LogExists = false;
  bool LogCorrupt = false;
  bool LogEmpty = false;
  bool LogTooBig = false;
  bool NotAModemLog = false;
  qint64 LogEntryCount = 0;  // non-empty lines, counted exactly
  Date LogFirstDate = 0;
  Date LogLastDate = 0;
  bool ArchiveOpen = false;
};

}  // namespace mirolat

#pragma once
// The checks on the current file: does it exist, are its bytes plain text,
// does it hold dated entries, how large is it.
#include <QByteArrayView>
#include <QString>

#include "core/common/errors.h"
#include "core/common/progress.h"
#include "core/logfile/current_file.h"
#include "core/model/configuration.h"

namespace mirolat {

// True when a directory entry exists at `path` (a file, not a folder).
bool FileExists(const QString& path);

// True when the file at state.LogFilePath holds a byte a modem log cannot
// contain or a line longer than kMaxLogLineLength. Sets LogFileSize and, for an empty file, LogEmpty. With showProgress
// it reports "Please Wait .....Loading  n%" at most 100 times, then 100%.
bool CheckLogCharacters(CurrentFileState& state, bool showProgress, Progress& progress, ErrorReporter& reporter);

// Measures the file: LogEmpty, LogTooBig, LogEntryCount, LogFirstDate,
// LogLastDate, NotAModemLog.
void ScanLog(CurrentFileState& state, const Configuration& config, ErrorReporter& reporter);

// What ScanLog counts in a log's bytes: the non-empty lines (exactly, however
// many), the date of the first line that has one and the date of the last
// non-empty line (0 when it has none).
struct LogEntryFigures {
  qint64 Entries = 0;
  Date FirstDate = 0;
  Date LastDate = 0;
};
LogEntryFigures CountLogEntries(QByteArrayView data);

// Takes the text the log checks read, for a caller that wants to work on it
// in the same reading of the file.
class CheckedTextSink {
 public:
  virtual ~CheckedTextSink() = default;
  // The next block of whole lines, every byte of it checked and found clean.
  virtual void Take(QByteArrayView block) = 0;
  // The whole file was read, found clean and unchanged: Take had all of it.
  virtual void Complete() = 0;
};

// CheckLogCharacters and, when the file holds no forbidden byte, ScanLog, in
// one reading of the file: the same results, progress and return value as
// the two in turn. With `alsoTo`, each block read and found clean goes there.
bool CheckAndScanLog(CurrentFileState& state, const Configuration& config, bool showProgress, Progress& progress,
                     ErrorReporter& reporter, CheckedTextSink* alsoTo = nullptr);

}  // namespace mirolat

#include "core/logfile/log_checks.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/common/mapped_file.h"
#include "core/logfile/log_format.h"

namespace mirolat {

namespace {

// A byte a modem log cannot contain: control characters other than tab, line
// feed and carriage return, and everything above '~'.
constexpr bool IsForbidden(unsigned char b) { return (b < 32 && b != 9 && b != 10 && b != 13) || b > 126; }

constexpr std::array<bool, 256> kForbidden = [] {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = IsForbidden(static_cast<unsigned char>(b));
  return table;
}();

// A whole number written as a signed-number text: a leading blank for a
// number that is not negative.
QString SignedNumberText(qint64 n) {
  return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

}  // namespace

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

bool CheckLogCharacters(CurrentFileState& state, bool showProgress, Progress& progress, ErrorReporter& reporter) {
  bool corrupt = false;
  RunStep(reporter, [&] { state.LogFileSize = MeasureFile(state.LogFilePath); });
  const qint64 size = state.LogFileSize;
  if (size < 1) {
    state.LogEmpty = true;
    return false;
  }

  // The label changes every size/100 bytes (rounded, halves to even); a file
  // below 50 bytes gives a step of 0 and shows only the final 100%. The step
  // is rounded up where rounding would give more than 100 changes.
  qint64 step = static_cast<qint64>(std::nearbyint(static_cast<double>(size) / 100.0));
  if (step >= 1) step = (size + 99) / 100;

  MappedFile file;
  if (!RunStep(reporter, [&] { file.Open(state.LogFilePath); })) return false;
  const QByteArrayView data = file.data();
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  // The last byte of the file is never examined (it may be an end-of-file mark).
  const qint64 last = data.size() < size ? data.size() + 1 : size;
  const bool reportProgress = showProgress && step >= 1;
  // Positions 1 .. last - 1 are examined, in stretches that end where the
  // label changes.
  qint64 i = 1;
  while (i < last) {
    const qint64 stretchEnd = reportProgress ? std::min(last, (i + step - 1) / step * step + 1) : last;
    const unsigned char* begin = bytes + (i - 1);
    const unsigned char* end = bytes + (stretchEnd - 1);
    if (std::find_if(begin, end, [](unsigned char b) { return kForbidden[b]; }) != end) {
      corrupt = true;
      break;
    }
    i = stretchEnd;
    const qint64 reached = i - 1;  // the position just examined
    if (reportProgress && reached % step == 0) {
      const int percent =
          static_cast<int>(std::nearbyint(static_cast<double>(reached) / static_cast<double>(size) * 100.0));
      progress.SetStatus(QStringLiteral("Please Wait .....Loading ") + SignedNumberText(percent) +
                         QLatin1Char('%'));
      progress.SetPercent(percent);
      progress.Yield();
    }
  }
  if (!corrupt && showProgress) {
    progress.SetStatus(QStringLiteral("Please Wait .....Loading 100%"));
    progress.SetPercent(100);
  }
  return corrupt;
}

void ScanLog(CurrentFileState& state, const Configuration& config, ErrorReporter& reporter) {
  state.LogEntryCount = 0;
  state.LogFirstDate = 0;
  state.LogLastDate = 0;
  state.LogEmpty = false;

  RunStep(reporter, [&] { state.LogFileSize = MeasureFile(state.LogFilePath); });
  if (state.LogFileSize < 1) {
    state.LogEmpty = true;
    return;
  }
  state.LogTooBig = state.LogFileSize >= static_cast<qint64>(config.MaxLogSize) * 1024;

  MappedFile file;
  if (RunStep(reporter, [&] { file.Open(state.LogFilePath); })) {
    const LogEntryFigures figures = CountLogEntries(file.data());
    state.LogEntryCount = figures.Entries;
    state.LogFirstDate = figures.FirstDate;
    state.LogLastDate = figures.LastDate;
  }
  state.NotAModemLog = !(state.LogFirstDate != 0 && state.LogLastDate != 0);
}

LogEntryFigures CountLogEntries(QByteArrayView data) {
  LogEntryFigures figures;
  QString head;  // the date characters of a line, reused
  qsizetype pos = 0;
  QByteArrayView line;
  QByteArrayView lastLine;
  qint64 count = 0;
  Date first = 0;
  while (NextLogLine(data, pos, line)) {
    if (line.isEmpty()) continue;
    if (first < 1) {
      AssignLatin1(line.first(std::min<qsizetype>(line.size(), 10)), head);
      first = ParseLogDate(head);
    }
    count += 1;
    lastLine = line;
  }
  figures.Entries = count;
  figures.FirstDate = first;
  AssignLatin1(lastLine.first(std::min<qsizetype>(lastLine.size(), 10)), head);
  figures.LastDate = ParseLogDate(head);
  return figures;
}

}  // namespace mirolat

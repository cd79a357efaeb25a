#include "core/logfile/log_checks.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/common/block_reader.h"
#include "core/common/mapped_file.h"
#include "core/logfile/byte_scan.h"
#include "core/logfile/log_format.h"

namespace mirolat {

namespace {

constexpr char kEndMark = 0x1a;

// A whole number written as a signed-number text: a leading blank for a
// number that is not negative.
QString SignedNumberText(qint64 n) {
  return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

Date DateOfLine(QByteArrayView line) {
  QString head;
  AssignLatin1(line.first(std::min<qsizetype>(line.size(), 10)), head);
  return ParseLogDate(head);
}

// What ScanLog learns from the text, fed block by block (each block ends at a
// line boundary; a block that ends with the end-of-file mark ends the text):
// non-empty lines, the first date a non-empty line carries, and the date of
// the last non-empty line.
class ScanTally {
 public:
  void Feed(QByteArrayView block) {
    if (!block.isEmpty() && block.back() == kEndMark) block.chop(1);
    lines_.Feed(reinterpret_cast<const unsigned char*>(block.data()), block.size());
    FeedUncounted(block);
  }
  // The counter of non-empty lines, for a caller that feeds it the bytes itself.
  LineCounter& Lines() { return lines_; }
  // Feed without counting the lines.
  void FeedUncounted(QByteArrayView block) {
    if (!block.isEmpty() && block.back() == kEndMark) block.chop(1);
    if (lookForFirst_) {
      qsizetype pos = 0;
      QByteArrayView line;
      while (NextLogLine(block, pos, line)) {
        if (line.isEmpty()) continue;
        first_ = DateOfLine(line);
        if (first_ >= 1) {
          lookForFirst_ = false;
          break;
        }
      }
    }
    // The last non-empty line of the block.
    qsizetype end = block.size();
    while (end > 0 && (block[end - 1] == '\n' || block[end - 1] == '\r')) --end;
    if (end == 0) return;
    qsizetype start = end;
    while (start > 0 && block[start - 1] != '\n' && block[start - 1] != '\r') --start;
    lastLength_ = std::min<qsizetype>(end - start, sizeof last_);
    std::memcpy(last_, block.data() + start, size_t(lastLength_));
  }

  void Finish(CurrentFileState& state) const {
    state.LogEntryCount = lines_.Lines();
    state.LogFirstDate = first_;
    state.LogLastDate = DateOfLine(QByteArrayView(last_, lastLength_));
  }

 private:
  LineCounter lines_;
  bool lookForFirst_ = true;
  Date first_ = 0;
  char last_[10] = {};
  qsizetype lastLength_ = 0;
};

// Reads the file through `reader` and looks for a forbidden byte at positions
// 1 .. last - 1 (the last byte of the file is never examined), reporting
// progress every `step` positions when asked. Each block read also goes to
// `tally` when there is one. Returns true when a forbidden byte or a line
// longer than kMaxLogLineLength was found;
// `complete` tells whether the whole file was read.
bool ExamineBytes(BlockReader& reader, qint64 size, qint64 step, bool reportProgress, Progress& progress,
                  ErrorReporter& reporter, ScanTally* tally, bool& complete, CheckedTextSink* sink = nullptr) {
  complete = false;
  const qint64 readable = reader.size();
  // Positions 1 .. last - 1 are examined; as 0-based indices, 0 .. last - 2.
  const qint64 last = readable < size ? readable + 1 : size;
  const qint64 checkEnd = last - 1;  // exclusive
  qint64 nextReport = reportProgress ? step : -1;
  LineLengthCheck lineLengths(kMaxLogLineLength);
  QByteArrayView block;
  for (;;) {
    const qint64 offset = reader.offset();
    bool more = false;
    if (!RunStep(reporter, [&] { more = reader.Next(block); })) return false;
    if (!more) break;
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
    qint64 j = offset;
    const qint64 blockCheckEnd = std::max(offset, std::min(offset + block.size(), checkEnd));
    while (j < blockCheckEnd) {
      const qint64 stretchEnd = nextReport > 0 ? std::min(blockCheckEnd, nextReport) : blockCheckEnd;
      const qsizetype n = qsizetype(stretchEnd - j);
      const unsigned char* stretch = bytes + (j - offset);
      // With a tally, the lines are counted in the same walk.
      if ((tally != nullptr ? tally->Lines().FeedUnlessForbidden(stretch, n) : FindForbiddenByte(stretch, n)) != n ||
          !lineLengths.Feed(stretch, n)) {
        return true;
      }
      j = stretchEnd;
      if (j == nextReport) {
        const int percent = static_cast<int>(std::nearbyint(static_cast<double>(j) / static_cast<double>(size) * 100.0));
        progress.SetStatus(QStringLiteral("Please Wait .....Loading ") + SignedNumberText(percent) + QLatin1Char('%'));
        progress.SetPercent(percent);
        progress.Yield();
        nextReport += step;
      }
    }
    // The bytes not examined (the file's last byte) still count, an end-of-file mark aside.
    QByteArrayView rest = block.sliced(qsizetype(blockCheckEnd - offset));
    if (!rest.isEmpty() && rest.back() == kEndMark) rest.chop(1);
    if (!lineLengths.Feed(reinterpret_cast<const unsigned char*>(rest.data()), rest.size())) return true;
    if (tally != nullptr) {
      tally->Lines().Feed(reinterpret_cast<const unsigned char*>(rest.data()), rest.size());
      tally->FeedUncounted(block);
    }
    if (sink != nullptr) sink->Take(block);
  }
  complete = RunStep(reporter, [&] { reader.CheckUnchanged(); });
  return false;
}

// The progress step of the character check: the label changes every size/100
// bytes (rounded, halves to even); a file below 50 bytes gives a step of 0
// and shows only the final 100%. The step is rounded up where rounding would
// give more than 100 changes.
qint64 ProgressStep(qint64 size) {
  qint64 step = static_cast<qint64>(std::nearbyint(static_cast<double>(size) / 100.0));
  if (step >= 1) step = (size + 99) / 100;
  return step;
}

void ScanFromTally(CurrentFileState& state, const Configuration& config, const ScanTally& tally) {
  state.LogEmpty = false;
  state.LogTooBig = state.LogFileSize >= static_cast<qint64>(config.MaxLogSize) * 1024;
  tally.Finish(state);
  state.NotAModemLog = !(state.LogFirstDate != 0 && state.LogLastDate != 0);
}

}  // namespace

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

bool CheckLogCharacters(CurrentFileState& state, bool showProgress, Progress& progress, ErrorReporter& reporter) {
  RunStep(reporter, [&] { state.LogFileSize = MeasureFile(state.LogFilePath); });
  const qint64 size = state.LogFileSize;
  if (size < 1) {
    state.LogEmpty = true;
    return false;
  }
  const qint64 step = ProgressStep(size);
  BlockReader reader(false);
  if (!RunStep(reporter, [&] { reader.Open(state.LogFilePath); })) return false;
  bool complete = false;
  const bool corrupt = ExamineBytes(reader, size, step, showProgress && step >= 1, progress, reporter, nullptr, complete);
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
  ScanTally tally;
  BlockReader reader(true);
  if (RunStep(reporter, [&] { reader.Open(state.LogFilePath); })) {
    QByteArrayView block;
    bool more = true;
    while (more && RunStep(reporter, [&] { more = reader.Next(block); }) && more) tally.Feed(block);
    if (!more) RunStep(reporter, [&] { reader.CheckUnchanged(); });
  }
  ScanFromTally(state, config, tally);
}

bool CheckAndScanLog(CurrentFileState& state, const Configuration& config, bool showProgress, Progress& progress,
                     ErrorReporter& reporter, CheckedTextSink* alsoTo) {
  RunStep(reporter, [&] { state.LogFileSize = MeasureFile(state.LogFilePath); });
  const qint64 size = state.LogFileSize;
  if (size < 1) {
    // The check finds an empty file clean; the scan then measures it again.
    ScanLog(state, config, reporter);
    return false;
  }
  const qint64 step = ProgressStep(size);
  BlockReader reader(false);
  ScanTally tally;
  bool complete = false;
  bool corrupt = false;
  if (RunStep(reporter, [&] { reader.Open(state.LogFilePath); })) {
    corrupt = ExamineBytes(reader, size, step, showProgress && step >= 1, progress, reporter, &tally, complete, alsoTo);
  }
  if (corrupt) return true;
  if (complete && alsoTo != nullptr) alsoTo->Complete();
  if (showProgress) {
    progress.SetStatus(QStringLiteral("Please Wait .....Loading 100%"));
    progress.SetPercent(100);
  }
  if (!complete) {
    // A read that failed and was skipped: the scan reads on its own.
    ScanLog(state, config, reporter);
    return false;
  }
  state.LogEntryCount = 0;
  state.LogFirstDate = 0;
  state.LogLastDate = 0;
  ScanFromTally(state, config, tally);
  return false;
}

LogEntryFigures CountLogEntries(QByteArrayView data) {
  ScanTally tally;
  tally.Feed(data);
  CurrentFileState state;
  tally.Finish(state);
  return LogEntryFigures{state.LogEntryCount, state.LogFirstDate, state.LogLastDate};
}

}  // namespace mirolat

#include "core/logfile/log_rewrites.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

#include "core/common/mapped_file.h"
#include "core/logfile/entry_scanner.h"
#include "core/logfile/log_lock.h"
#include "core/logfile/log_format.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define MIROLAT_BLOCK_SEARCH 1
#endif

namespace mirolat {

namespace {

constexpr QByteArrayView kLineEnd("\r\n", 2);
// A run of kept lines is handed to the sink in one piece up to this size.
constexpr qsizetype kMaxRun = qsizetype{1} << 20;

// Reports a percentage of `total` bytes walked, only when it changes: the
// position is compared with the next threshold, so the cost per line is one
// comparison.
class PercentReporter {
 public:
  // `blank` puts a blank before the number (the repair window's texts).
  PercentReporter(Progress& progress, QString prefix, qint64 total, bool rounded, bool blank)
      : progress_(progress), prefix_(std::move(prefix)), total_(total), rounded_(rounded), blank_(blank) {
    Show(0);
  }

  void At(qint64 done) {
    if (done >= next_) Show(PercentOf(done));
  }
  void Finish() {
    if (last_ != 100) Show(100);
  }

 private:
  int PercentOf(qint64 done) const {
    if (total_ <= 0) return 100;
    const qint64 scaled = done * 100 + (rounded_ ? total_ / 2 : 0);
    return static_cast<int>(std::clamp<qint64>(scaled / total_, 0, 100));
  }
  void Show(int percent) {
    last_ = percent;
    progress_.SetStatus(prefix_ + (blank_ ? QStringLiteral(" ") : QString()) + QString::number(percent) +
                        QLatin1Char('%'));
    progress_.SetPercent(percent);
    progress_.Yield();
    // The first position that gives a higher percentage.
    if (percent >= 100 || total_ <= 0) {
      next_ = std::numeric_limits<qint64>::max();
      return;
    }
    const qint64 want = static_cast<qint64>(percent + 1) * total_ - (rounded_ ? total_ / 2 : 0);
    next_ = std::max<qint64>(1, (want + 99) / 100);
  }

  Progress& progress_;
  QString prefix_;
  qint64 total_;
  bool rounded_;
  bool blank_;
  int last_ = -1;
  qint64 next_ = 0;
};

// Hands kept lines to the sink, each ending in CR LF. Consecutive kept lines
// that already end in CR LF go out as one piece.
class KeptLines {
 public:
  KeptLines(QByteArrayView data, ByteSink& out) : data_(data), out_(out) {}

  // The line [start, start + length) whose ending runs to `next`.
  void Keep(qsizetype start, qsizetype length, qsizetype next) {
    const char* p = data_.data();
    const qsizetype end = start + length;
    const bool crlf = next == end + 2 && p[end] == '\r' && p[end + 1] == '\n';
    if (crlf) {
      if (runEnd_ != start || runEnd_ - runStart_ >= kMaxRun) {
        Flush();
        runStart_ = start;
      }
      runEnd_ = next;
      return;
    }
    Flush();
    out_.Write(data_.sliced(start, length));
    out_.Write(kLineEnd);
  }
  void Flush() {
    if (runEnd_ > runStart_) out_.Write(data_.sliced(runStart_, runEnd_ - runStart_));
    runStart_ = runEnd_ = -1;
  }

 private:
  QByteArrayView data_;
  ByteSink& out_;
  qsizetype runStart_ = -1;
  qsizetype runEnd_ = -1;
};

// The date of a line from its first ten bytes. Lines of one day share those
// bytes, so the last answer is kept.
class LineDates {
 public:
  Date Of(QByteArrayView line) {
    if (line.size() >= 10) {
      if (haveLast_ && std::memcmp(line.data(), last_.data(), 10) == 0) return lastDate_;
      std::memcpy(last_.data(), line.data(), 10);
      AssignLatin1(line.first(10), head_);
      lastDate_ = ParseLogDate(head_);
      haveLast_ = true;
      return lastDate_;
    }
    AssignLatin1(line, head_);
    return ParseLogDate(head_);
  }

 private:
  std::array<char, 10> last_{};
  Date lastDate_ = 0;
  bool haveLast_ = false;
  QString head_;
};

constexpr std::array<bool, 256> kAllowedByte = [] {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = b == 10 || b == 13 || (b >= 32 && b <= 126);
  return table;
}();

// The first byte in [from, end) that a log line cannot hold, or end.
qsizetype FindBadByte(const unsigned char* p, qsizetype from, qsizetype end) {
  qsizetype i = from;
#ifdef MIROLAT_BLOCK_SEARCH
  // As signed bytes, 0..31 and 128..255 are all below 32; 127 is the one
  // other bad value, and LF and CR are the allowed ones below 32.
  const __m128i space = _mm_set1_epi8(32);
  const __m128i del = _mm_set1_epi8(127);
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; i + 16 <= end; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i low = _mm_cmplt_epi8(block, space);
    const __m128i allowedLow = _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr));
    const __m128i bad = _mm_or_si128(_mm_andnot_si128(allowedLow, low), _mm_cmpeq_epi8(block, del));
    if (const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(bad))) return i + std::countr_zero(bits);
  }
#endif
  while (i < end && kAllowedByte[p[i]]) ++i;
  return i;
}

// Counts what goes to the work file.
class CountingSink final : public ByteSink {
 public:
  explicit CountingSink(AtomicFileWriter& writer) : writer_(writer) {}
  void Write(QByteArrayView bytes) override {
    writer_.Write(bytes);
    count_ += bytes.size();
  }
  qint64 count() const { return count_; }

 private:
  AtomicFileWriter& writer_;
  qint64 count_ = 0;
};

QString FolderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

QString SamePathKey(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// A log that is itself named like one of its work files or its backup cannot
// be rewritten: the rename would lose it or the backup.
void CheckNotAWorkFile(const CurrentFileState& file, std::initializer_list<QString> others) {
  const QString log = SamePathKey(file.LogFilePath);
  for (const QString& other : others) {
    if (SamePathKey(other) == log) {
      throw RunError(ErrorCondition::BadFileName,
                     QStringLiteral("Cannot rewrite '%1': it has the name of a work file or backup of the rewrite")
                         .arg(file.LogFilePath));
    }
  }
}

// The common frame of optimize and purge: the log read whole, the rewrite
// written to the work file, the work file renamed over the log with the
// backup made first. A failure goes to the reporter; retry starts again.
template <class Body>
RewriteResult RewriteThroughWorkFile(const CurrentFileState& file, const char* workName, const char* finishedText,
                                     Progress& progress, ErrorReporter& reporter, FileSystemOps& ops, Body&& body) {
  RewriteResult result;
  const QString workPath = PathBesideLog(file, workName);
  const QString backupPath = BackupPathFor(file);
  const bool done = RunStep(reporter, [&] {
    CheckNotAWorkFile(file, {workPath, backupPath});
    const LogWriteLock lock(file.LogFilePath, &progress);
    MappedFile log;
    log.Open(file.LogFilePath);
    AtomicFileWriter writer(file.LogFilePath, QLatin1String(workName), ops);
    CountingSink sink(writer);
    const LineCounts counts = body(log.data(), sink);
    writer.CommitWithBackup(backupPath);
    result.LinesKept = counts.Kept;
    result.LinesRemoved = counts.Removed;
    result.BytesBefore = log.data().size();
    result.BytesAfter = sink.count();
  });
  if (!done) return RewriteResult{};
  result.Done = true;
  result.BackupPath = backupPath;
  progress.SetStatus(QString::fromLatin1(finishedText));
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------

LineCounts OptimizeLogText(QByteArrayView log, const Configuration& config, ByteSink& out, Progress& progress) {
  const EntryScanner scanner(QList<QString>{config.ModemDial, config.ModemAnswer, config.ModemConnect,
                                            config.ModemUserDisconnect, config.ModemHostDisconnect, config.ModemReads,
                                            config.ModemWrites});
  PercentReporter percent(progress, QStringLiteral("Please Wait .....Optimizing  "), log.size(), false, false);
  KeptLines kept(log, out);
  LineCounts counts;
  EntryScanner::Lines lines(scanner, log);
  QByteArrayView line;
  unsigned kinds = 0;
  while (true) {
    const qsizetype start = lines.pos();
    if (!lines.Next(line, kinds)) break;
    if (!line.isEmpty() && kinds != 0) {
      kept.Keep(start, line.size(), lines.pos());
      ++counts.Kept;
    } else {
      ++counts.Removed;
    }
    percent.At(lines.pos());
  }
  kept.Flush();
  percent.Finish();
  return counts;
}

namespace {

// Copies the lines of `text` whose date (0 for an undated or blank line)
// `keep` accepts to `out`, in order, with their line ends; counts both kinds.
template <typename KeepDate>
LineCounts KeepLinesByDate(QByteArrayView text, ByteSink& out, PercentReporter& percent, KeepDate keep) {
  KeptLines kept(text, out);
  LineDates dates;
  LineCounts counts;
  qsizetype pos = 0;
  QByteArrayView line;
  while (true) {
    const qsizetype start = pos;
    if (!NextLogLine(text, pos, line)) break;
    // A dated line is never blank: its month starts within its first two characters.
    if (keep(line.isEmpty() ? 0 : dates.Of(line))) {
      kept.Keep(start, line.size(), pos);
      ++counts.Kept;
    } else {
      ++counts.Removed;
    }
    percent.At(pos);
  }
  kept.Flush();
  percent.Finish();
  return counts;
}

}  // namespace

LineCounts PurgeLogText(QByteArrayView log, Date from, Date to, ByteSink& out, Progress& progress) {
  PercentReporter percent(progress, QStringLiteral("Please Wait .....Purging  "), log.size(), false, false);
  return KeepLinesByDate(log, out, percent, [&](Date d) { return d != 0 && (d < from || d > to); });
}

QByteArray StripBadCharacters(QByteArrayView log, Progress& progress) {
  const qsizetype n = log.size();
  PercentReporter percent(progress, QStringLiteral("Repairing Modem Log......... "), n, true, true);
  QByteArray result(n, Qt::Uninitialized);
  const auto* src = reinterpret_cast<const unsigned char*>(log.data());
  char* dst = result.data();
  qsizetype kept = 0;
  // The bytes are walked in stretches of about a percent each; within a
  // stretch, runs of allowed bytes are copied whole.
  const qsizetype stretch = std::max<qsizetype>(n / 100, 1 << 16);
  for (qsizetype i = 0; i < n;) {
    const qsizetype end = std::min(n, i + stretch);
    while (i < end) {
      const qsizetype bad = FindBadByte(src, i, end);
      std::memcpy(dst + kept, src + i, static_cast<std::size_t>(bad - i));
      kept += bad - i;
      i = bad < end ? bad + 1 : end;
    }
    percent.At(i);
  }
  result.truncate(kept);
  percent.Finish();
  return result;
}

LineCounts DropUndatedLines(QByteArrayView text, ByteSink& out, Progress& progress) {
  PercentReporter percent(progress, QStringLiteral("Checking Entries......... "), text.size(), true, true);
  return KeepLinesByDate(text, out, percent, [](Date d) { return d != 0; });
}

// ---------------------------------------------------------------------------

QString PathBesideLog(const CurrentFileState& file, const char* name) {
  return FolderOf(file.LogFilePath) + QLatin1Char('/') + QLatin1String(name);
}

QString BackupPathFor(const CurrentFileState& file) {
  return PathBesideLog(file, file.ArchiveOpen ? kArchiveBackupFileName : kLogBackupFileName);
}

RewriteResult OptimizeLog(const CurrentFileState& file, const Configuration& config, Progress& progress,
                          ErrorReporter& reporter, FileSystemOps& ops) {
  return RewriteThroughWorkFile(
      file, kOptimizeWorkFileName, kOptimizeFinishedText, progress, reporter, ops,
      [&](QByteArrayView log, ByteSink& out) { return OptimizeLogText(log, config, out, progress); });
}

RewriteResult PurgeEntries(const CurrentFileState& file, Date from, Date to, Progress& progress,
                           ErrorReporter& reporter, FileSystemOps& ops) {
  return RewriteThroughWorkFile(
      file, kPurgeWorkFileName, kPurgeFinishedText, progress, reporter, ops,
      [&](QByteArrayView log, ByteSink& out) { return PurgeLogText(log, from, to, out, progress); });
}

RewriteResult RepairLog(const CurrentFileState& file, Progress& progress, ErrorReporter& reporter, FileSystemOps& ops) {
  RewriteResult result;
  const QString firstPassPath = PathBesideLog(file, kRepairFirstPassFileName);
  const QString workPath = PathBesideLog(file, kRepairWorkFileName);
  const QString backupPath = BackupPathFor(file);
  const bool done = RunStep(reporter, [&] {
    CheckNotAWorkFile(file, {firstPassPath, workPath, backupPath});
    const LogWriteLock lock(file.LogFilePath, &progress);
    progress.SetStatus(QStringLiteral("Please Wait.... Reading Modem Log"));
    progress.Yield();
    MappedFile log;
    log.Open(file.LogFilePath);
    const QByteArray filtered = StripBadCharacters(log.data(), progress);
    {
      // The first pass's file is the program's own: a link found at its name
      // is replaced, never written through.
      if (QFileInfo(firstPassPath).isSymLink()) ops.Unlink(QFile::encodeName(firstPassPath));
      AtomicFileWriter firstPass(firstPassPath, ops);
      firstPass.TakeModeFrom(file.LogFilePath);
      firstPass.Write(filtered);
      firstPass.Commit();
    }
    try {
      AtomicFileWriter writer(file.LogFilePath, QLatin1String(kRepairWorkFileName), ops);
      CountingSink sink(writer);
      const LineCounts counts = DropUndatedLines(filtered, sink, progress);
      writer.CommitWithBackup(backupPath);
      result.LinesKept = counts.Kept;
      result.LinesRemoved = counts.Removed;
      result.BytesBefore = log.data().size();
      result.BytesAfter = sink.count();
      result.BytesDropped = log.data().size() - filtered.size();
    } catch (const RunError&) {
      // An abandoned repair leaves none of its files behind.
      ops.Unlink(QFile::encodeName(firstPassPath));
      throw;
    }
  });
  if (!done) return RewriteResult{};
  result.Done = true;
  result.BackupPath = backupPath;
  progress.SetStatus(QString::fromLatin1(kRepairFinishedText));
  return result;
}

QString RepairDoneText(const RewriteResult& r) {
  const auto count = [](qint64 n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
  };
  QString text = QString::fromLatin1(kRepairFinishedText) + QStringLiteral("\n\n");
  if (r.LinesRemoved == 0 && r.BytesDropped == 0) {
    text += QStringLiteral("Nothing had to be removed.");
  } else {
    text += count(r.LinesRemoved, "line removed", "lines removed") + QStringLiteral(", ") +
            count(r.BytesDropped, "character removed", "characters removed") + QLatin1Char('.');
  }
  if (!r.BackupPath.isEmpty()) {
    text += QStringLiteral("\nThe file as it was is kept as %1.").arg(QFileInfo(r.BackupPath).fileName());
  }
  return text;
}

// ---------------------------------------------------------------------------

bool SaveLogAsArchive(const QString& logPath, const QString& archivePath, ErrorReporter& reporter, FileSystemOps& ops) {
  return RunStep(reporter, [&] {
    MappedFile log;
    log.Open(logPath);
    AtomicFileWriter archive(archivePath, ops);
    archive.TakeModeFrom(logPath);
    archive.Write(log.data());
    archive.Commit();
  });
}

void DeleteLog(const QString& logPath, Progress* progress) {
  const LogWriteLock lock(logPath, progress);
  if (::unlink(QFile::encodeName(logPath).constData()) != 0) {
    throw FileErrorFromErrno(errno, QStringLiteral("delete"), logPath);
  }
}

QString ProposedArchiveName(Date first, Date last, const QLocale& locale) {
  if (first == 0 || last == 0) return {};
  const QString format = QStringLiteral("ddMMMyy");
  return locale.toString(ToQDate(first), format) + QStringLiteral(" - ") + locale.toString(ToQDate(last), format);
}

// ---------------------------------------------------------------------------

MessageBoxSpec OptimizeQuestion() {
  return MessageBoxSpec{QStringLiteral("OPTIMIZE MODEM LOG"),
                        QStringLiteral("About to optimize Current Modem Log File!\n\nAre You Sure?"),
                        MessageButtons::YesNo, MessageIcon::Question, 0};
}

MessageBoxSpec PurgeQuestion(Date from, Date to, const QLocale& locale) {
  const QString text = QStringLiteral("About to purge all entries in Modem\nLog File between ") +
                       locale.toString(ToQDate(from), QLocale::ShortFormat) + QStringLiteral(" and ") +
                       locale.toString(ToQDate(to), QLocale::ShortFormat) + QStringLiteral(".\n\nAre You Sure?");
  return MessageBoxSpec{QStringLiteral("PURGE ENTRIES"), text, MessageButtons::YesNo, MessageIcon::Question, 0};
}

bool AutoOptimizeApplies(bool optimizeEnabled, bool toolsMenuEnabled, const Configuration& config,
                         bool autoOptimizeAsked) {
  return optimizeEnabled && toolsMenuEnabled && config.AutoOptimize && !autoOptimizeAsked;
}

Date ClampPurgeDate(Date typed, Date logFirstDate, Date logLastDate, bool* clamped) {
  Date d = typed;
  if (logFirstDate != 0 && d < logFirstDate) d = logFirstDate;
  if (logLastDate != 0 && d > logLastDate) d = logLastDate;
  if (clamped != nullptr) *clamped = d != typed;
  return d;
}

bool PurgeOkEnabled(bool fromValid, Date from, bool toValid, Date to) { return fromValid && toValid && from <= to; }

}  // namespace mirolat

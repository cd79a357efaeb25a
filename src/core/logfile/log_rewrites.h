#pragma once
// The log rewrites of the maintenance commands: optimize (keep the lines that
// carry a response text), purge (drop the entries of a range of days), repair
// (drop the bytes and then the lines a log cannot hold), and saving a log or
// an edited text as an archive.
//
// Each rewrite comes in two layers:
// - a pure function over the log's bytes that writes the rewritten log to a
//   ByteSink and reports its progress about once per percent;
// - a file operation on the current file that holds the log's write lock
//   (LogWriteLock) throughout, writes a work file of its own beside it
//   (ModemLog.opt-PID-XXXXXX, .pge-, .fx2-; the repair's first pass stays as
//   ModemLog.fx1), checks every write,
//   syncs it, moves the previous file to its backup (ModemLog.old, or
//   ModemLogArchive.old for an archive) and renames the work file over the
//   log. The log's path holds the old or the new file, whole, at every
//   instant. A failure goes to the error reporter (retry runs the rewrite
//   again from the start; continue abandons it) and abandons the rewrite: the
//   work files are removed, the log and its earlier backup stay as they were,
//   and the result's Done is false.
//
// Every written line ends in CR LF, whatever ending it had in the log. Lines
// are split as everywhere else (CR LF, lone LF or lone CR; byte 26 ends the
// text).
#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>

#include "core/common/atomic_file.h"
#include "core/common/dates.h"
#include "core/common/errors.h"
#include "core/common/progress.h"
#include "core/logfile/current_file.h"
#include "core/model/configuration.h"

namespace mirolat {

// Work files (the stems of each run's own names) and backups, in the folder
// of the file rewritten.
inline constexpr const char* kOptimizeWorkFileName = "ModemLog.opt";
inline constexpr const char* kPurgeWorkFileName = "ModemLog.pge";
inline constexpr const char* kRepairFirstPassFileName = "ModemLog.fx1";  // stays after a repair
inline constexpr const char* kRepairWorkFileName = "ModemLog.fx2";
inline constexpr const char* kLogBackupFileName = "ModemLog.old";
inline constexpr const char* kArchiveBackupFileName = "ModemLogArchive.old";

// Status texts shown once a rewrite has finished (each is also the last
// status a successful file operation reports through its Progress).
inline constexpr const char* kOptimizeFinishedText = "Finished Optimizing Modem Log File!";
inline constexpr const char* kPurgeFinishedText = "Finished Purging Records!";
inline constexpr const char* kRepairFinishedText = "Modem File Successfully Repaired!";

// Where a rewrite's output goes.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(QByteArrayView bytes) = 0;
};

// Collects the output in memory.
class ByteArraySink final : public ByteSink {
 public:
  void Write(QByteArrayView bytes) override { bytes_.append(bytes.data(), bytes.size()); }
  QByteArray& bytes() { return bytes_; }

 private:
  QByteArray bytes_;
};

// Lines of the log (as split above, empty lines included) kept and removed.
struct LineCounts {
  qint64 Kept = 0;
  qint64 Removed = 0;
};

// ---------------------------------------------------------------------------
// Pure rewrites. Progress gets SetStatus/SetPercent (0..100) about once per
// percent of the bytes walked, and Yield each time.

// Optimize: the non-empty lines whose upper-cased text (ASCII letters) holds
// one of the seven response texts of `config` (dial, answer, connect, user
// and host disconnect, reads, writes), each written once. A response text
// with a lower-case letter matches nothing. Status "Please Wait
// .....Optimizing  n%".
LineCounts OptimizeLogText(QByteArrayView log, const Configuration& config, ByteSink& out, Progress& progress);

// Purge: the lines with a date (ParseLogDate) before `from` or after `to`
// (both days of the range are purged). Lines without a date, blank lines
// included, are dropped wherever they are. Status "Please Wait .....Purging  n%".
LineCounts PurgeLogText(QByteArrayView log, Date from, Date to, ByteSink& out, Progress& progress);

// Repair, first pass: every byte kept except those a log line cannot hold
// (kept: LF, CR and 32..126; dropped: the other control characters, tab
// included, and 127..255). Status "Repairing Modem Log.........  n%".
QByteArray StripBadCharacters(QByteArrayView log, Progress& progress);

// Repair, second pass: the lines that are not blank (after trimming blanks)
// and carry a date. Status "Checking Entries.........  n%".
LineCounts DropUndatedLines(QByteArrayView text, ByteSink& out, Progress& progress);

// ---------------------------------------------------------------------------
// File operations on the current file (file.LogFilePath; an archive when
// file.ArchiveOpen).

struct RewriteResult {
  bool Done = false;  // false: abandoned, nothing changed; do not show the finished text
  qint64 LinesKept = 0;
  qint64 LinesRemoved = 0;
  qint64 BytesBefore = 0;
  qint64 BytesAfter = 0;
  qint64 BytesDropped = 0;  // repair: the bytes the first pass dropped
  QString BackupPath;       // where the previous file is now (when Done)
};

// What a finished repair did, for the repair window: the finished text, the
// lines and characters it removed, and where the earlier file is kept.
QString RepairDoneText(const RewriteResult& result);

// The backup of the file: ModemLogArchive.old beside an archive, ModemLog.old
// beside the modem log.
QString BackupPathFor(const CurrentFileState& file);
// A work file or backup of that name in the folder of the file.
QString PathBesideLog(const CurrentFileState& file, const char* name);

RewriteResult OptimizeLog(const CurrentFileState& file, const Configuration& config, Progress& progress,
                          ErrorReporter& reporter, FileSystemOps& ops = FileSystemOps::System());

// Drops the entries dated from `from` to `to`, both included (see PurgeLogText).
RewriteResult PurgeEntries(const CurrentFileState& file, Date from, Date to, Progress& progress,
                           ErrorReporter& reporter, FileSystemOps& ops = FileSystemOps::System());

// Both passes: ModemLog.fx1 (the byte-filtered log, left beside it), then
// ModemLog.fx2 renamed over the log. Status "Please Wait.... Reading Modem
// Log" first.
RewriteResult RepairLog(const CurrentFileState& file, Progress& progress, ErrorReporter& reporter,
                        FileSystemOps& ops = FileSystemOps::System());

// ---------------------------------------------------------------------------
// Archives and the viewer's text.

// A log's bytes as an archive: an exact copy of the file at `logPath`,
// written atomically. False (after the reporter was asked) when it failed;
// nothing is left at `archivePath` then unless it was there before.
bool SaveLogAsArchive(const QString& logPath, const QString& archivePath, ErrorReporter& reporter,
                      FileSystemOps& ops = FileSystemOps::System());

// Clear Modem Log: deletes the log (a link at its path: the link), holding
// its write lock so that no rewrite or import is under way. Throws RunError.
void DeleteLog(const QString& logPath, Progress* progress = nullptr);

// The name proposed for an archive: first and last day as ddMMMyy, joined by
// " - " ("01Jan98 - 31Jan98"), month names of `locale`. Empty when either
// date is 0.
QString ProposedArchiveName(Date first, Date last, const QLocale& locale);

// ---------------------------------------------------------------------------
// Questions and rules of the commands.

// "OPTIMIZE MODEM LOG": Yes/No, question icon.
MessageBoxSpec OptimizeQuestion();
// "PURGE ENTRIES": Yes/No, question icon; the dates in the locale's short format.
MessageBoxSpec PurgeQuestion(Date from, Date to, const QLocale& locale);

// Whether the main window's activation runs the Optimize command (and so asks
// the optimize question) by itself: the Optimize item and the Tools menu are
// enabled, AutoOptimize is on, and the question has not been asked in this run.
bool AutoOptimizeApplies(bool optimizeEnabled, bool toolsMenuEnabled, const Configuration& config,
                         bool autoOptimizeAsked);

// The purge dialog's date rules. A typed start or end date before the log's
// first day becomes the first day, one after its last day the last day;
// `clamped` tells whether it moved (the dialog beeps). A 0 bound is no bound.
Date ClampPurgeDate(Date typed, Date logFirstDate, Date logLastDate, bool* clamped = nullptr);
// OK is enabled when both dates are valid and the start is not after the end.
bool PurgeOkEnabled(bool fromValid, Date from, bool toValid, Date to);

}  // namespace mirolat

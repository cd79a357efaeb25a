#pragma once
// The session builder: a state machine fed one log line at a time. A dial or
// answer entry opens a call, a connect entry starts the clock, a disconnect
// entry closes and prices the session, and the reads / writes entries that
// follow a close give the data it moved. A missing disconnect entry gets the
// configured substitute duration and data.
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <array>

#include "core/common/dates.h"
#include "core/common/errors.h"
#include "core/common/locale_values.h"
#include "core/common/progress.h"
#include "core/costs/pricing_context.h"
#include "core/costs/service_charges.h"
#include "core/logfile/entry_scanner.h"
#include "core/model/configuration.h"
#include "core/model/session_table.h"

namespace mirolat {

// What a run is asked to do (besides the file it reads).
struct RunInputs {
  const Configuration* config = nullptr;
  const LocaleValues* locale = nullptr;
  Date ReportStartDate = 0;
  Date ReportEndDate = 0;
  qint64 LogEntryCount = 0;  // non-empty lines of the file, for the progress display
};

// Everything one analysis run keeps, and leaves behind for the reports.
struct RunState {
  // Results.
  SessionTable Tables;  // Sessions 1..SessionCount, ServiceTotals 0..ServiceTotalsCount
  PeriodUsage Usage;    // the usage counters as the run's sessions left them
  qint32 LinesRead = 0;
  bool KeepGoing = true;
  bool ErrorsFound = false;
  bool IncompleteTariffs = false;
  bool LogCorrupt = false;
  bool TooManyServices = false;
  bool TooManyConnections = false;
  // Warnings raised by the run, in the order they are to be shown.
  QList<MessageBoxSpec> Messages;

  // The session being built.
  bool InSession = false;
  int CurrentService = 0;  // ServiceTotals entry of the call in progress (0: none / unknown number)
  int LastService = 0;     // ServiceTotals entry of the last call opened
  bool Dialling = false;
  bool Answering = false;
  Date CurConnectDate = 0;
  TimeOfDay CurConnectTime = 0;
  Date CurDisconnectDate = 0;
  TimeOfDay CurDisconnectTime = 0;
  qint32 CurDuration = 0;
  double CurDialCost = 0;
  double CurServiceCost = 0;
  double CurDataCost = 0;
  Date LineDate = 0;
  TimeOfDay LineTime = 0;
  qint32 ProgressStep = 0;

  // The last session closed: the reads and writes entries that follow it
  // within 20 seconds belong to it (0: none).
  int LastClosedSession = 0;
  int LastClosedService = 0;
  Date LastClosedDate = 0;
  TimeOfDay LastClosedTime = 0;
  bool LastClosedReadsTaken = false;
  bool LastClosedWritesTaken = false;
};

class SessionBuilder {
 public:
  SessionBuilder(const RunInputs& inputs, RunState& state, Progress& progress, ErrorReporter& reporter);

  // A new run: counters, flags and tables empty, ProgressStep from LogEntryCount.
  void StartRun();
  // One line of the log (without its line ending), bytes as Latin-1.
  void ProcessLogLine(QByteArrayView line);
  // Every line of a log's bytes in turn, while KeepGoing: lines split as
  // NextLogLine splits them; a line that reaches MaxServices numbers is the
  // last one read.
  void ProcessLogText(QByteArrayView data);
  // Closes the open session with the substitute duration and data.
  void CloseWithoutDisconnect();
  // No session in progress.
  void ResetSession();
  // Forgets every session so far (they ended before the report range).
  void Discard();
  // End of the log: a session still open is closed with the substitutes
  // (ErrorsFound set) and a call still waiting for its connection is given back.
  void FinishLog();

  // The pricing context of this run (its usage counters, no annotation).
  PricingContext Pricing() const;

 private:
  // The seven kinds of entry, as bits of kinds_.
  enum Kind : int { kDial, kAnswer, kConnect, kUserDisconnect, kHostDisconnect, kReads, kWrites, kKindCount };
  void ProcessLine();
  // Counts a dated line (LinesRead) and shows progress when its turn comes.
  void CountDatedLine();
  bool Has(Kind kind) {
    if (!kindsReady_) {
      kinds_ = scanner_.KindsOf(raw_);
      kindsReady_ = true;
    }
    return (kinds_ >> kind) & 1u;
  }
  bool IsDisconnectLine() { return Has(kUserDisconnect) || Has(kHostDisconnect); }
  QStringView UpperLineText();
  void ReadTime();
  void Close();
  bool ConnectUnidentified();
  bool FollowsLastClose(bool alreadyTaken);
  void TakeReads();
  void TakeWrites();
  void RememberClose(const Session& session);
  QString Kilobytes(qint64 bytes) const;

  RunInputs in_;
  RunState& s_;
  Progress& progress_;
  ErrorReporter& reporter_;

  // Finds the response texts in the lines (ASCII case ignored).
  EntryScanner scanner_;

  // The current line: raw bytes, the kinds found in it (worked out on first
  // use), and its upper-cased text for the few entries that need it.
  QByteArrayView raw_;
  unsigned kinds_ = 0;
  bool kindsReady_ = false;
  QString upperText_;
  // LinesRead at which the progress display is next refreshed (0: never).
  qint64 nextProgressLine_ = 0;
  // The date of the last dated line, keyed by its first ten bytes.
  char datePrefix_[10] = {};
  qsizetype datePrefixLength_ = -1;
  Date cachedDate_ = 0;
  // A line dated on or after the first day read (MaxConnectDays before the
  // range) was met: from then on lines are searched as they are split.
  bool reachedDaysRead_ = false;
};

// Takes the next session number, opening its slot clean. When every slot up to
// MaxConnections is taken: sets TooManyConnections, clears KeepGoing, queues the
// warning and returns false.
bool TakeSessionNumber(RunState& run, const Configuration& config);

}  // namespace mirolat

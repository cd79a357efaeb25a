#include "core/analysis/session_builder.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/analysis/analysis_run.h"
#include "core/analysis/service_identification.h"
#include "core/common/formatting.h"
#include "core/costs/dial_tariffs.h"
#include "core/logfile/byte_scan.h"
#include "core/logfile/log_format.h"
#include "core/logfile/warnings.h"

namespace mirolat {

namespace {

constexpr int kOverflowNumber = 6;

// The moment of a date and time of day, in seconds.
qint64 Moment(Date date, TimeOfDay time) { return static_cast<qint64>(date) * kSecondsPerDay + time; }

// Adds to a 32-bit counter; leaving the 32-bit range is an overflow error.
void AddCounter(qint32& counter, qint64 amount) {
  const qint64 sum = static_cast<qint64>(counter) + amount;
  if (sum > std::numeric_limits<qint32>::max() || sum < std::numeric_limits<qint32>::min()) {
    throw RunError(ErrorCondition::Other, QStringLiteral("Overflow"), QStringLiteral("Mirolat"), kOverflowNumber);
  }
  counter = static_cast<qint32>(sum);
}

void AddCounter(qint64& counter, qint64 amount) { counter += amount; }

// Whole seconds of a configured amount, never negative.
qint64 WholeSeconds(double seconds) { return std::max<qint64>(static_cast<qint64>(std::nearbyint(seconds)), 0); }

// Characters of the first `count` bytes of a line, for the date and time rules.
QStringView Widen(QByteArrayView line, qsizetype count, char16_t* buffer) {
  const qsizetype n = std::min(line.size(), count);
  for (qsizetype i = 0; i < n; ++i) buffer[i] = static_cast<unsigned char>(line[i]);
  return QStringView(buffer, n);
}

// The first `length` (at most 10) bytes of a and b are equal; the common
// case of ten bytes in two loads each rather than a library call.
inline bool SamePrefix(const char* a, const char* b, qsizetype length) {
  if (length == 10) return SameTenBytes(a, b);
  return std::memcmp(a, b, static_cast<size_t>(length)) == 0;
}

}  // namespace

bool TakeSessionNumber(RunState& run, const Configuration& config) {
  SessionTable& table = run.Tables;
  const int limit = std::min(config.MaxConnections, table.SlotLimit());
  if (table.SessionCount >= limit) {
    run.TooManyConnections = true;
    run.KeepGoing = false;
    run.Messages.append(WarnTooManyConnections());
    return false;
  }
  ++table.SessionCount;
  table.OpenSlot(table.SessionCount);
  table.Sessions[static_cast<size_t>(table.SessionCount)] = Session{};
  table.Touch(table.SessionCount);
  return true;
}

namespace {

QList<QString> ResponseTexts(const Configuration& config) {
  // In the order of SessionBuilder's kinds.
  return {config.ModemDial,           config.ModemAnswer,         config.ModemConnect, config.ModemUserDisconnect,
          config.ModemHostDisconnect, config.ModemReads,          config.ModemWrites};
}

}  // namespace

SessionBuilder::SessionBuilder(const RunInputs& inputs, RunState& state, Progress& progress, ErrorReporter& reporter)
    : in_(inputs), s_(state), progress_(progress), reporter_(reporter), scanner_(ResponseTexts(*inputs.config)) {}

PricingContext SessionBuilder::Pricing() const {
  PricingContext ctx;
  ctx.config = in_.config;
  ctx.locale = in_.locale;
  ctx.ReportStartDate = in_.ReportStartDate;
  ctx.ReportEndDate = in_.ReportEndDate;
  ctx.usage = &s_.Usage;
  return ctx;
}

void SessionBuilder::StartRun() {
  const Configuration& config = *in_.config;
  s_.LinesRead = 0;
  s_.KeepGoing = true;
  s_.ErrorsFound = false;
  s_.IncompleteTariffs = false;
  s_.LogCorrupt = false;
  s_.TooManyServices = false;
  s_.TooManyConnections = false;
  s_.Messages.clear();
  s_.Tables.CreateForRun(config.MaxServices, config.MaxConnections);
  s_.Usage.Clear();
  s_.LastService = 0;
  s_.Dialling = false;
  s_.Answering = false;
  s_.LastClosedSession = 0;
  s_.LastClosedService = 0;
  s_.LastClosedDate = 0;
  s_.LastClosedTime = 0;
  s_.LastClosedReadsTaken = false;
  s_.LastClosedWritesTaken = false;
  ResetSession();
  s_.Tables.ResetTables();
  s_.ProgressStep =
      static_cast<qint32>(std::clamp<qint64>(in_.LogEntryCount / 10, 0, std::numeric_limits<qint32>::max()));
  nextProgressLine_ = s_.ProgressStep;
  datePrefixLength_ = -1;
  reachedDaysRead_ = false;
}

void SessionBuilder::ResetSession() {
  s_.InSession = false;
  s_.CurrentService = 0;
  s_.CurConnectDate = 0;
  s_.CurConnectTime = 0;
  s_.CurDisconnectDate = 0;
  s_.CurDisconnectTime = 0;
  s_.CurDuration = 0;
}

void SessionBuilder::Discard() {
  s_.Tables.SessionCount = 0;
  ResetSession();
  s_.Tables.ResetTables();
  s_.Tables.ServiceTotalsCount = 0;
  s_.ErrorsFound = false;
  // Nothing of the discarded sessions may price or collect anything later.
  s_.Usage.Clear();
  s_.IncompleteTariffs = false;
  s_.LastClosedSession = 0;
  s_.LastClosedService = 0;
  s_.LastClosedReadsTaken = false;
  s_.LastClosedWritesTaken = false;
}

QStringView SessionBuilder::UpperLineText() {
  AssignUpperLatin1(raw_, upperText_);
  return upperText_;
}

void SessionBuilder::ReadTime() {
  if (raw_.size() < 19) return;  // a short line keeps the time of an earlier one
  char16_t buffer[19];
  const QStringView head = Widen(raw_, 19, buffer);
  RunStep(reporter_, [&] { ReadLineTime(head, s_.LineTime); });
}

QString SessionBuilder::Kilobytes(qint64 bytes) const {
  QString text;
  AppendKilobytes(text, bytes, *in_.locale);
  return text;
}

void SessionBuilder::ProcessLogLine(QByteArrayView line) {
  raw_ = line;
  kindsReady_ = false;
  ProcessLine();
}

void SessionBuilder::ProcessLogText(QByteArrayView data) {
  qsizetype pos = 0;
  // Until a line reaches the days that are read, lines are only split and
  // dated: what they hold is never asked for.
  const Date firstDayRead = in_.ReportStartDate - in_.config->MaxConnectDays;
  const char* bytes = data.data();
  const qsizetype size = data.size();
  while (s_.KeepGoing && !reachedDaysRead_) {
    // A line that starts with the ten bytes of the last dated line, a day
    // before those read: it is dated and counted, nothing more.
    const bool skipping = datePrefixLength_ == 10 && cachedDate_ != 0 && cachedDate_ < firstDayRead &&
                          cachedDate_ <= in_.ReportEndDate;
    if (skipping && pos + 10 <= size && SamePrefix(datePrefix_, bytes + pos, 10)) {
      // Such lines in bulk up to the one that shows progress, which goes the
      // way of a single line below.
      qint64 room = std::numeric_limits<qint32>::max() - qint64(s_.LinesRead);
      if (s_.ProgressStep > 0 && nextProgressLine_ > s_.LinesRead) {
        room = std::min<qint64>(room, nextProgressLine_ - s_.LinesRead - 1);
      }
      if (room > 0) {
        if (const qint64 passed = SkipLinesStartingWith(data, pos, datePrefix_, room)) {
          s_.LinesRead += static_cast<qint32>(passed);
          s_.LineDate = cachedDate_;
          continue;
        }
      }
      const qsizetype end = FindLineEnd(data, pos + 10);
      if (end >= size) {
        pos = size;
      } else if (bytes[end] == '\x1a') {
        pos = size;  // the end-of-file mark ends the text
      } else if (bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n') {
        pos = end + 2;
      } else {
        pos = end + 1;
      }
      s_.LineDate = cachedDate_;
      CountDatedLine();
      continue;
    }
    if (!NextLogLine(data, pos, raw_)) break;
    kindsReady_ = false;
    ProcessLine();
    if (s_.LineDate >= firstDayRead) reachedDaysRead_ = true;
    if (s_.TooManyServices) s_.KeepGoing = false;
  }
  EntryScanner::Lines lines(scanner_, data, pos);
  while (s_.KeepGoing && lines.Next(raw_, kinds_)) {
    kindsReady_ = true;
    ProcessLine();
    if (s_.TooManyServices) s_.KeepGoing = false;
  }
}

void SessionBuilder::CountDatedLine() {
  // 3. Progress, about ten times a run: every ProgressStep lines from the start.
  ++s_.LinesRead;
  if (s_.LinesRead == nextProgressLine_ && s_.ProgressStep > 0) {
    nextProgressLine_ += s_.ProgressStep;
    const double p = std::floor(static_cast<double>(s_.LinesRead) / static_cast<double>(in_.LogEntryCount) * 100.0);
    if (p <= 100) {
      progress_.SetStatus(ProcessingText(static_cast<int>(p)));
      progress_.SetPercent(static_cast<int>(p));
      progress_.Yield();
    }
  }
}

void SessionBuilder::ProcessLine() {
  const QByteArrayView line = raw_;
  // 1. Empty lines and lines of blanks are not entries.
  if (std::all_of(line.begin(), line.end(), [](char c) { return c == ' '; })) return;

  // 2. The line's date (lines of one day share their first ten characters).
  const qsizetype keyLength = std::min<qsizetype>(line.size(), 10);
  if (keyLength != datePrefixLength_ || !SamePrefix(datePrefix_, line.data(), keyLength)) {
    char16_t buffer[10];
    cachedDate_ = ParseLogDate(Widen(line, 10, buffer));
    std::memcpy(datePrefix_, line.data(), static_cast<size_t>(keyLength));
    datePrefixLength_ = keyLength;
  }
  s_.LineDate = cachedDate_;
  if (s_.LineDate == 0) {
    s_.KeepGoing = false;
    s_.LogCorrupt = true;
    return;
  }

  CountDatedLine();

  const Configuration& config = *in_.config;
  for (;;) {
    // 4. A line after the range ends the run, unless a session is still open.
    if (s_.LineDate > in_.ReportEndDate && !s_.InSession) {
      s_.KeepGoing = false;
      return;
    }
    // 5. Reading starts MaxConnectDays days before the range.
    if (s_.LineDate < in_.ReportStartDate - config.MaxConnectDays) return;
    if (!s_.InSession) break;
    // 6. Connected.
    if (Has(kConnect) || Has(kDial) || Has(kAnswer)) {
      // The open session lost its disconnect entry; then the line is read again.
      CloseWithoutDisconnect();
      if (s_.Tables.Sessions[static_cast<size_t>(s_.Tables.SessionCount)].DisconnectDate < in_.ReportStartDate) {
        Discard();
      }
      continue;
    }
    if (IsDisconnectLine()) Close();
    return;
  }

  // 7. A disconnect while a call waits for its connection gives its session number back.
  if (IsDisconnectLine()) {
    if (s_.CurrentService > 0) {
      s_.Tables.Sessions[static_cast<size_t>(s_.Tables.SessionCount)] = Session{};
      --s_.Tables.SessionCount;
    }
    s_.CurrentService = 0;
  }

  // 8. / 14. A call is waiting for its connection.
  if (s_.CurrentService != 0) {
    s_.InSession = Has(kConnect);
    if (s_.InSession) {
      ReadTime();
      s_.CurConnectDate = s_.LineDate;
      s_.CurConnectTime = s_.LineTime;
      Session& session = s_.Tables.Sessions[static_cast<size_t>(s_.Tables.SessionCount)];
      session.ConnectDate = s_.CurConnectDate;
      session.ConnectTime = s_.CurConnectTime;
      session.Notes.clear();
      if (s_.Answering) {
        if (config.CalcCosts) session.Notes = QStringLiteral(" No Cost");
        s_.Answering = false;
      }
    }
    return;
  }

  // 9. A dial or answer entry opens a call.
  s_.Dialling = Has(kDial);
  s_.Answering = Has(kAnswer);
  if (s_.Dialling || s_.Answering) {
    if (IdentifyService(s_, UpperLineText(), config) == IdentifyOutcome::TooManyConnections) return;
    s_.InSession = false;
  }

  // 10. A connect entry without an identified call.
  if (Has(kConnect)) {
    if (!ConnectUnidentified()) return;
  } else {
    s_.InSession = false;
  }

  // 11. / 12. Data of the session just closed.
  if (Has(kReads)) TakeReads();
  if (Has(kWrites)) TakeWrites();
}

bool SessionBuilder::ConnectUnidentified() {
  ReadTime();
  if (!TakeSessionNumber(s_, *in_.config)) {
    s_.InSession = false;
    return false;
  }
  s_.InSession = true;
  s_.CurConnectDate = s_.LineDate;
  s_.CurConnectTime = s_.LineTime;
  Session& session = s_.Tables.Sessions[static_cast<size_t>(s_.Tables.SessionCount)];
  session.ConnectDate = s_.CurConnectDate;
  session.ConnectTime = s_.CurConnectTime;
  session.Number = QStringLiteral("Unknown Service");
  session.Notes = QStringLiteral(" Unable to get dialled number -");
  s_.Tables.ServiceTotals[0].Number = QStringLiteral("Unknown");
  s_.LastService = 0;
  return true;
}

bool SessionBuilder::FollowsLastClose(bool taken) {
  ReadTime();
  if (s_.LastClosedSession == 0 || taken) return false;
  const qint64 after = Moment(s_.LineDate, s_.LineTime) - Moment(s_.LastClosedDate, s_.LastClosedTime);
  return after >= 0 && after < 20;
}

void SessionBuilder::TakeReads() {
  if (!FollowsLastClose(s_.LastClosedReadsTaken)) return;
  s_.LastClosedReadsTaken = true;
  const Configuration& config = *in_.config;
  Session& session = s_.Tables.Sessions[static_cast<size_t>(s_.LastClosedSession)];
  ServiceTotal& entry = s_.Tables.ServiceTotals[static_cast<size_t>(s_.LastClosedService)];
  const QStringView upper = UpperLineText();
  RunStep(reporter_, [&] { session.BytesRead = ExtractReads(upper, config); });
  RunStep(reporter_, [&] { AddCounter(entry.TotalBytesRead, session.BytesRead); });
  session.Notes += QStringLiteral(" R:");
  AppendKilobytes(session.Notes, session.BytesRead, *in_.locale);
  s_.CurDataCost = CalcServiceDataCost(Pricing(), entry.Number, session.BytesRead, session.ConnectDate);
  entry.TotalCost += s_.CurDataCost;
  entry.TotalDataCost += s_.CurDataCost;
}

void SessionBuilder::TakeWrites() {
  if (!FollowsLastClose(s_.LastClosedWritesTaken)) return;
  s_.LastClosedWritesTaken = true;
  Session& session = s_.Tables.Sessions[static_cast<size_t>(s_.LastClosedSession)];
  const QStringView upper = UpperLineText();
  RunStep(reporter_, [&] { session.BytesWritten = ExtractWrites(upper, *in_.config); });
  ServiceTotal& entry = s_.Tables.ServiceTotals[static_cast<size_t>(s_.LastClosedService)];
  AddCounter(entry.TotalBytesWritten, session.BytesWritten);
  session.Notes += QStringLiteral(" - W:");
  AppendKilobytes(session.Notes, session.BytesWritten, *in_.locale);
  session.Notes += QStringLiteral(" KB");
}

void SessionBuilder::RememberClose(const Session& session) {
  s_.LastClosedSession = s_.Tables.SessionCount;
  s_.LastClosedService = s_.CurrentService;
  s_.LastClosedDate = session.DisconnectDate;
  s_.LastClosedTime = session.DisconnectTime;
  s_.LastClosedReadsTaken = false;
  s_.LastClosedWritesTaken = false;
}

void SessionBuilder::Close() {
  ReadTime();
  s_.CurDisconnectDate = s_.LineDate;
  s_.CurDisconnectTime = s_.LineTime;
  if (s_.CurDisconnectDate < in_.ReportStartDate) {
    Discard();
    return;
  }
  Session& session = s_.Tables.Sessions[static_cast<size_t>(s_.Tables.SessionCount)];
  session.DisconnectDate = s_.CurDisconnectDate;
  session.DisconnectTime = s_.CurDisconnectTime;

  // Only the time inside the report range counts; whole days between count in full.
  qint64 seconds = 0;
  if (Moment(s_.CurDisconnectDate, s_.CurDisconnectTime) < Moment(s_.CurConnectDate, s_.CurConnectTime)) {
    seconds = 0;  // a clock set back gives no time
  } else if (s_.CurDisconnectDate == s_.CurConnectDate) {
    seconds = s_.CurDisconnectTime - s_.CurConnectTime;
  } else {
    if (s_.CurDisconnectDate - s_.CurConnectDate > 1) {
      seconds += static_cast<qint64>(s_.CurDisconnectDate - s_.CurConnectDate - 1) * kSecondsPerDay;
    }
    if (s_.CurConnectDate >= in_.ReportStartDate) seconds += kLastSecondOfDay - s_.CurConnectTime + 1;
    if (s_.CurDisconnectDate <= in_.ReportEndDate) seconds += s_.CurDisconnectTime;
  }
  s_.CurDuration = static_cast<qint32>(std::min<qint64>(seconds, std::numeric_limits<qint32>::max()));

  ServiceTotal& entry = s_.Tables.ServiceTotals[static_cast<size_t>(s_.CurrentService)];
  RunStep(reporter_, [&] { AddCounter(entry.TotalSessions, 1); });
  RunStep(reporter_, [&] { AddCounter(entry.TotalSeconds, s_.CurDuration); });

  const PricingContext ctx = Pricing();
  const DialCostResult dial = CalcDialCost(ctx, entry.Number, s_.CurConnectDate, s_.CurConnectTime,
                                           s_.CurDisconnectDate, s_.CurDisconnectTime, nullptr);
  s_.CurDialCost = dial.cost;
  if (dial.incomplete) {
    s_.IncompleteTariffs = true;
    session.Notes = QStringLiteral(" ERROR - Incomplete Tariff -");
  }
  s_.CurServiceCost = CalcServiceTimeCost(ctx, entry.Number, s_.CurDuration, s_.CurConnectDate);
  entry.TotalCost += s_.CurDialCost + s_.CurServiceCost;
  entry.TotalDialCost += s_.CurDialCost;
  entry.TotalTimeCost += s_.CurServiceCost;

  RememberClose(session);
  ResetSession();
}

void SessionBuilder::CloseWithoutDisconnect() {
  const Configuration& config = *in_.config;
  const int f = config.ShowErrors ? 1 : 0;
  Session& session = s_.Tables.Sessions[static_cast<size_t>(s_.Tables.SessionCount)];

  session.Notes = QStringLiteral(" ERROR - No Disconnect Entry -");
  session.BytesRead = static_cast<qint32>(
      std::clamp(std::nearbyint(config.NoDisconData * f * 1024.0), 0.0, double(std::numeric_limits<qint32>::max())));
  if (session.BytesRead > 0) session.Notes += QStringLiteral(" R:") + Kilobytes(session.BytesRead) + QStringLiteral("KB");

  // The substitute end: NoDisconDuration after the connect, on the next day
  // (or later) when it passes midnight.
  const qint64 duration = WholeSeconds(config.NoDisconDuration * f);
  const qint64 toMidnight = kLastSecondOfDay - session.ConnectTime + 1;
  if (toMidnight > duration) {
    session.DisconnectDate = session.ConnectDate;
    session.DisconnectTime = static_cast<TimeOfDay>(session.ConnectTime + duration);
  } else {
    const qint64 after = WholeSeconds(config.NoDisconDuration) - toMidnight;
    session.DisconnectDate = static_cast<Date>(session.ConnectDate + 1 + after / kSecondsPerDay);
    session.DisconnectTime = static_cast<TimeOfDay>(after % kSecondsPerDay);
  }

  s_.ErrorsFound = true;
  s_.CurDisconnectDate = session.DisconnectDate;
  s_.CurDisconnectTime = session.DisconnectTime;
  s_.CurDuration = static_cast<qint32>(std::min<qint64>(duration, std::numeric_limits<qint32>::max()));

  ServiceTotal& entry = s_.Tables.ServiceTotals[static_cast<size_t>(s_.CurrentService)];
  RunStep(reporter_, [&] { AddCounter(entry.TotalSeconds, s_.CurDuration); });
  RunStep(reporter_, [&] { AddCounter(entry.TotalBytesRead, session.BytesRead); });

  const PricingContext ctx = Pricing();
  const DialCostResult dial = CalcDialCost(ctx, entry.Number, s_.CurConnectDate, s_.CurConnectTime,
                                           s_.CurDisconnectDate, s_.CurDisconnectTime, nullptr);
  s_.CurDialCost = dial.cost * f;
  if (dial.incomplete && f != 0) s_.IncompleteTariffs = true;
  s_.CurServiceCost = CalcServiceTimeCost(ctx, entry.Number, s_.CurDuration, s_.CurConnectDate) * f;
  s_.CurDataCost = CalcServiceDataCost(ctx, entry.Number, session.BytesRead, session.ConnectDate);
  entry.TotalCost += s_.CurDialCost + s_.CurServiceCost + s_.CurDataCost;
  entry.TotalDialCost += s_.CurDialCost;
  entry.TotalTimeCost += s_.CurServiceCost;
  entry.TotalDataCost += s_.CurDataCost;
  RunStep(reporter_, [&] { AddCounter(entry.TotalSessions, 1); });

  RememberClose(session);
  ResetSession();
}

void SessionBuilder::FinishLog() {
  if (s_.InSession) {
    s_.ErrorsFound = true;
    CloseWithoutDisconnect();
  }
  if (s_.CurrentService > 0) {
    // A call that never connected leaves no session behind.
    s_.Tables.Sessions[static_cast<size_t>(s_.Tables.SessionCount)] = Session{};
    --s_.Tables.SessionCount;
    s_.CurrentService = 0;
  }
}

}  // namespace mirolat

#include "core/logfile/pppd_import.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include "core/common/atomic_file.h"
#include "core/common/errors.h"
#include "core/common/small_file.h"
#include "core/logfile/log_format.h"
#include "core/logfile/log_lock.h"

namespace mirolat {

namespace {

// One pppd or chat line with its moment.
struct SysLine {
  int Year = 0;  // 0 for a classic line until the years are settled
  int Month = 0;
  int Day = 0;
  int Seconds = 0;
  int Hundredths = 0;
  bool Classic = false;
  bool Chat = false;  // else pppd
  QString Message;
};

int MonthFromName(QStringView name) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int i = 0; i < 12; ++i) {
    if (name.compare(QLatin1String(kMonths[i]), Qt::CaseInsensitive) == 0) return i + 1;
  }
  return 0;
}

int HundredthsOf(QStringView fraction) {
  // ".123456" -> 12; "" -> 0.
  if (fraction.size() < 2) return 0;
  const QStringView digits = fraction.mid(1, 2);
  int h = digits.toInt();
  if (digits.size() == 1) h *= 10;
  return h;
}

// The program tag of a line: "pppd", "pppd[1234]", "chat[99]".
bool TagIs(QStringView tag, QLatin1String name) {
  if (!tag.startsWith(name)) return false;
  return tag.size() == name.size() || tag.at(name.size()) == QLatin1Char('[');
}

bool ParseSysLine(const QString& line, SysLine& out) {
  static const QRegularExpression classic(QStringLiteral(
      R"(^([A-Za-z]{3}) +(\d{1,2}) (\d{2}):(\d{2}):(\d{2})(\.\d+)? +\S+ +([A-Za-z_.-]+(?:\[\d+\])?): ?(.*)$)"));
  static const QRegularExpression iso(QStringLiteral(
      R"(^(\d{4})-(\d{2})-(\d{2})[T ](\d{2}):(\d{2}):(\d{2})(\.\d+)?(?:Z|[+-]\d{2}(?::?\d{2})?)? +\S+ +([A-Za-z_.-]+(?:\[\d+\])?): ?(.*)$)"));
  QRegularExpressionMatch m = classic.match(line);
  int first = 0;
  if (m.hasMatch()) {
    out.Classic = true;
    out.Year = 0;
    out.Month = MonthFromName(m.capturedView(1));
    if (out.Month == 0) return false;
    out.Day = m.capturedView(2).toInt();
    first = 3;
  } else {
    m = iso.match(line);
    if (!m.hasMatch()) return false;
    out.Classic = false;
    out.Year = m.capturedView(1).toInt();
    out.Month = m.capturedView(2).toInt();
    out.Day = m.capturedView(3).toInt();
    first = 4;
  }
  const int h = m.capturedView(first).toInt();
  const int mi = m.capturedView(first + 1).toInt();
  const int s = m.capturedView(first + 2).toInt();
  if (h > 23 || mi > 59 || s > 59) return false;
  out.Seconds = MakeTime(h, mi, s);
  out.Hundredths = HundredthsOf(m.capturedView(first + 3));
  const QStringView tag = m.capturedView(first + 4);
  if (TagIs(tag, QLatin1String("chat"))) {
    out.Chat = true;
  } else if (TagIs(tag, QLatin1String("pppd"))) {
    out.Chat = false;
  } else {
    return false;
  }
  out.Message = m.captured(first + 5);
  return true;
}

// A chat text with its control-character notation (^M, ^J) removed, trimmed.
QString CleanChatText(const QString& text) {
  QString s = text;
  s.remove(QLatin1String("^M"));
  s.remove(QLatin1String("^J"));
  return s.trimmed();
}

bool IsFailureResponse(const QString& response) {
  static const char* const kFailures[] = {"BUSY", "NO CARRIER", "NO DIALTONE", "NO DIAL TONE", "NO ANSWER",
                                          "ERROR", "DELAYED", "BLACKLISTED"};
  for (const char* f : kFailures) {
    if (response.compare(QLatin1String(f), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

enum class LinkState { Idle, Dialled, Connected, Ended };

class Importer {
 public:
  Importer(const Configuration& config, PppdImportResult& result) : config_(config), r_(result) {}

  void Handle(const SysLine& line) {
    line_ = &line;
    const bool used = line.Chat ? Chat(CleanChatText(line.Message)) : Pppd(line.Message.trimmed());
    if (used) ++r_.LinesUsed;
  }

 private:
  void Emit(const QString& text) {
    ImportedEntry e;
    e.Day = ExistingDate(line_->Year, line_->Month, line_->Day);
    e.Seconds = line_->Seconds;
    e.Hundredths = line_->Hundredths;
    e.Text.reserve(text.size());
    for (const QChar c : text) {
      if (c.unicode() >= u' ' && c.unicode() <= u'~') {
        e.Text.append(c);
      } else {
        ++r_.CharactersLeftOut;
      }
    }
    r_.Entries.append(e);
  }
  void UserDisconnect() { Emit(config_.ModemUserDisconnect); }

  bool Chat(const QString& text) {
    static const QRegularExpression send(QStringLiteral(R"(^send \((.*)\)$)"));
    const QRegularExpressionMatch m = send.match(text);
    if (m.hasMatch()) {
      QString command = CleanChatText(m.captured(1));
      const qsizetype at = command.indexOf(QLatin1String("ATD"), 0, Qt::CaseInsensitive);
      if (at < 0) return false;
      QString rest = command.mid(at + 3).trimmed();
      // The dial-mode letter the log's number follows; a command without one
      // dials by tone.
      if (rest.isEmpty() || !rest.at(0).isLetter()) rest.prepend(QLatin1Char('T'));
      Emit(config_.ModemDial + rest + QStringLiteral("<cr>"));
      state_ = LinkState::Dialled;
      ++r_.Sessions;
      return true;
    }
    if (state_ != LinkState::Dialled) return false;
    if (text.startsWith(QLatin1String("CONNECT"), Qt::CaseInsensitive)) {
      Connect(QStringLiteral(" (") + text + QLatin1Char(')'));
      return true;
    }
    static const QRegularExpression failed(QStringLiteral(R"(^Failed \((.*)\)$)"));
    const QRegularExpressionMatch f = failed.match(text);
    const QString response = f.hasMatch() ? f.captured(1).trimmed() : text;
    if (IsFailureResponse(response)) {
      Emit(QStringLiteral("Modem response: ") + response.toUpper());
      UserDisconnect();
      state_ = LinkState::Idle;
      return true;
    }
    return false;
  }

  void Connect(const QString& detail) {
    Emit(config_.ModemConnect + detail);
    state_ = LinkState::Connected;
    ++r_.Connections;
  }

  bool Pppd(const QString& text) {
    auto starts = [&](const char* s) { return text.startsWith(QLatin1String(s), Qt::CaseInsensitive); };
    if (starts("Serial connection established")) {
      if (state_ == LinkState::Connected) return false;
      Connect(QString());
      return true;
    }
    if (starts("Connect script failed")) {
      if (state_ != LinkState::Dialled) return false;
      UserDisconnect();
      state_ = LinkState::Idle;
      return true;
    }
    const bool hostEnd = starts("Modem hangup") || starts("LCP terminated by peer") ||
                         starts("Serial link appears to be disconnected") || starts("No response to ") ||
                         starts("Hangup (SIGHUP)") || starts("Carrier lost");
    const bool localEnd = starts("Terminating on signal") || starts("Terminating connection due to lack of activity") ||
                          starts("Connection terminated") || starts("Exit.") || starts("Connect time ");
    if (hostEnd || localEnd) {
      if (state_ == LinkState::Connected) {
        Emit(hostEnd ? config_.ModemHostDisconnect : config_.ModemUserDisconnect);
        state_ = LinkState::Ended;
        return true;
      }
      if (state_ == LinkState::Dialled && starts("Exit.")) {
        UserDisconnect();
        state_ = LinkState::Idle;
        return true;
      }
      return false;
    }
    static const QRegularExpression bytes(QStringLiteral(R"(^Sent (\d+) bytes, received (\d+) bytes)"));
    const QRegularExpressionMatch b = bytes.match(text);
    if (b.hasMatch()) {
      if (state_ == LinkState::Connected) {
        UserDisconnect();
        state_ = LinkState::Ended;
      }
      if (state_ != LinkState::Ended) return false;
      Emit(config_.ModemReads + QStringLiteral(" : ") + b.captured(2) + QStringLiteral(" bytes"));
      Emit(config_.ModemWrites + QStringLiteral(" : ") + b.captured(1) + QStringLiteral(" bytes"));
      state_ = LinkState::Idle;
      return true;
    }
    return false;
  }

  const Configuration& config_;
  PppdImportResult& r_;
  const SysLine* line_ = nullptr;
  LinkState state_ = LinkState::Idle;
};

// Splits text into lines at LF, CR LF or CR.
template <class F>
void ForEachLine(QByteArrayView data, F&& f) {
  qsizetype start = 0;
  const qsizetype n = data.size();
  for (qsizetype i = 0; i <= n; ++i) {
    if (i == n || data[i] == '\n' || data[i] == '\r') {
      if (i > start || (i < n)) f(data.sliced(start, i - start));
      if (i < n && data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
}

QString Two(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

}  // namespace

QString ImportedEntry::LogLine() const {
  const QDate d = ToQDate(Day);
  return QStringLiteral("%1-%2-%3 %4:%5:%6.%7 - %8")
      .arg(Two(d.month()), Two(d.day()))
      .arg(d.year(), 4, 10, QLatin1Char('0'))
      .arg(Two(Seconds / 3600), Two(Seconds / 60 % 60), Two(Seconds % 60), Two(Hundredths), Text);
}

PppdImportResult ParsePppdLog(QByteArrayView systemLog, const PppdImportOptions& options,
                              const Configuration& config) {
  PppdImportResult result;
  QList<SysLine> lines;
  ForEachLine(systemLog, [&](QByteArrayView raw) {
    if (raw.trimmed().isEmpty()) return;
    ++result.LinesRead;
    // Most of a system log is other programs': only lines naming pppd or chat
    // are decoded and matched.
    if (!raw.contains(QByteArrayView("pppd")) && !raw.contains(QByteArrayView("chat"))) return;
    SysLine l;
    if (ParseSysLine(QString::fromUtf8(raw), l)) lines.append(std::move(l));
  });

  // Years of the classic lines: a month that goes back starts a new year.
  int rollovers = 0;
  int previousMonth = 0;
  for (const SysLine& l : lines) {
    if (!l.Classic) continue;
    if (previousMonth != 0 && l.Month < previousMonth) ++rollovers;
    previousMonth = l.Month;
  }
  int year = options.Year != 0 ? options.Year : options.FileYear - rollovers;
  if (year < 1) year = QDate::currentDate().year() - rollovers;
  previousMonth = 0;
  Importer importer(config, result);
  for (SysLine& l : lines) {
    if (l.Classic) {
      if (previousMonth != 0 && l.Month < previousMonth) ++year;
      previousMonth = l.Month;
      l.Year = year;
    }
    // Only a day the modem log can date (ParseLogDate) becomes an entry.
    if (ExistingDate(l.Year, l.Month, l.Day) == 0) continue;
    importer.Handle(l);
  }
  return result;
}

bool LogMoment::operator<(const LogMoment& o) const {
  if (Day != o.Day) return Day < o.Day;
  if (Seconds != o.Seconds) return Seconds < o.Seconds;
  return Hundredths < o.Hundredths;
}

namespace {

// The last non-empty line of a log, and whether there is one.
bool LastLogLine(QByteArrayView log, QByteArrayView& last) {
  qsizetype pos = 0;
  QByteArrayView line;
  bool any = false;
  while (NextLogLine(log, pos, line)) {
    if (!line.isEmpty()) {
      last = line;
      any = true;
    }
  }
  return any;
}

LogMoment MomentOfLine(QByteArrayView line) {
  LogMoment m;
  QString text;
  AssignLatin1(line, text);
  m.Day = ParseLogDate(text);
  if (m.Day == 0) return m;
  if (text.size() >= 19) {
    const TimeOfDay t = TimeFromText(text.mid(11, 8));
    m.Seconds = t < 0 ? 0 : t;
  }
  if (text.size() >= 22 && text.at(19) == QLatin1Char('.') && text.at(20).isDigit() && text.at(21).isDigit()) {
    m.Hundredths = text.mid(20, 2).toInt();
  }
  return m;
}

}  // namespace

LogMoment LastEntryMoment(QByteArrayView modemLog) {
  QByteArrayView last;
  if (!LastLogLine(modemLog, last)) return {};
  return MomentOfLine(last);
}

QByteArray AppendImportedEntries(QByteArrayView modemLog, const QList<ImportedEntry>& entries, int* appended) {
  const LogMoment after = LastEntryMoment(modemLog);
  LogMoment lastAppended = after;
  QByteArray out(modemLog.data(), modemLog.size());
  // An end-of-file mark would hide what follows it.
  while (out.endsWith('\x1a')) out.chop(1);
  int count = 0;
  for (const ImportedEntry& e : entries) {
    const LogMoment m{e.Day, e.Seconds, e.Hundredths};
    if (!(after < m) || m < lastAppended) continue;
    if (count == 0 && !out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out += "\r\n";
    // A longer line would make the log one its check calls corrupt.
    out += e.LogLine().toLatin1().left(kMaxLogLineLength);
    out += "\r\n";
    ++count;
    // The log stays in time order: an entry earlier than one already written
    // (a clock set back, a system log out of order) is left out.
    lastAppended = m;
  }
  if (appended != nullptr) *appended = count;
  return out;
}

int ImportIntoModemLog(const QString& logPath, const QList<ImportedEntry>& entries, FileSystemOps& ops,
                       Progress* progress) {
  // Read, append and replace under the log's write lock: a rewrite running
  // meanwhile would otherwise lose the entries, or the entries its work.
  const LogWriteLock lock(logPath, progress);
  QByteArray old;
  if (QFile::exists(logPath)) {
    // Only a regular file: a FIFO would block the import, a device fill the memory.
    try {
      old = ReadSmallRegularFile(logPath, kMaxImportModemLogBytes);
    } catch (const RunError& e) {
      throw RunError(e.condition(), QStringLiteral("The modem log ") + e.description());
    }
    QByteArrayView last;
    if (LastLogLine(old, last) && MomentOfLine(last).Day == 0) {
      throw RunError(ErrorCondition::Other,
                     QStringLiteral("The modem log '%1' ends with a line that carries no date; repair the log "
                                    "before importing into it.")
                         .arg(logPath));
    }
  }
  int appended = 0;
  const QByteArray updated = AppendImportedEntries(old, entries, &appended);
  if (appended == 0) return 0;
  WriteFileAtomically(logPath, updated, ops);
  return appended;
}

}  // namespace mirolat

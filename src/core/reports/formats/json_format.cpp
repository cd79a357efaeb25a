#include "core/reports/formats/json_format.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <cmath>

#include "core/analysis/session_builder.h"

namespace mirolat {

namespace {

// Collects the text and hands it to the sink in large pieces.
class JsonOut {
 public:
  explicit JsonOut(SinkText& out) : out_(out), buffer_(out.buffer()) {}

  void Raw(const char* ascii) { buffer_.append(QLatin1String(ascii)); }
  void Raw(QLatin1String ascii) { buffer_.append(ascii); }
  void Raw(char c) { buffer_.append(QLatin1Char(c)); }
  void Indent(int level) { buffer_.append(QString(4 * level, QLatin1Char(' '))); }

  // `"key": ` at `level`, after the separator of the previous member.
  void Key(int level, const char* key, bool first) {
    if (!first) Raw(",\n");
    Indent(level);
    Raw('"');
    Raw(key);
    Raw("\": ");
  }

  void Int(qint64 n) {
    char digits[24];
    int len = 0;
    quint64 u = n < 0 ? 0 - quint64(n) : quint64(n);
    do {
      digits[len++] = char('0' + u % 10);
      u /= 10;
    } while (u != 0);
    if (n < 0) Raw('-');
    while (len > 0) buffer_.append(QLatin1Char(digits[--len]));
  }
  void Bool(bool b) { Raw(b ? "true" : "false"); }
  void Null() { Raw("null"); }
  // A double as the JSON writer gives it: shortest round-trip text, null when not finite.
  void Double(double d) {
    if (std::isfinite(d)) {
      buffer_.append(QLatin1String(QByteArray::number(d, 'g', QLocale::FloatingPointShortest)));
    } else {
      Null();
    }
  }
  void String(const QString& s) {
    // Quotes, backslashes and the usual control characters get their short
    // escapes; other control characters and lone surrogate halves (rare) go
    // through the JSON writer itself. The rest is written as it is and leaves
    // as UTF-8, as the writer leaves it.
    bool plain = true;
    for (QChar c : s) {
      const char16_t u = c.unicode();
      if ((u < 0x20 && Escape(u) == 0) || c.isSurrogate()) {
        plain = false;
        break;
      }
    }
    if (!plain) {
      const QByteArray one = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);  // ["..."]
      buffer_.append(QString::fromUtf8(one.sliced(1, one.size() - 2)));
      MaybeFlush();
      return;
    }
    Raw('"');
    qsizetype from = 0;  // start of the stretch not yet written
    for (qsizetype i = 0, n = s.size(); i < n; ++i) {
      const char16_t u = s[i].unicode();
      if (u != u'"' && u != u'\\' && u >= 0x20) continue;
      buffer_.append(QStringView(s).sliced(from, i - from));
      Raw('\\');
      Raw(u < 0x20 ? Escape(u) : char(u));
      from = i + 1;
      MaybeFlush();  // a long text leaves in pieces
    }
    buffer_.append(QStringView(s).sliced(from));
    Raw('"');
    MaybeFlush();
  }
  void Date(mirolat::Date d) {
    if (d == 0) {
      Null();
      return;
    }
    const QDate q = ToQDate(d);
    if (!q.isValid() || q.year() < 1 || q.year() > 9999) {
      String(DateToIso(d));
      return;
    }
    char text[12] = {'"'};
    Digits(text + 1, q.year(), 4);
    text[5] = '-';
    Digits(text + 6, q.month(), 2);
    text[8] = '-';
    Digits(text + 9, q.day(), 2);
    text[11] = '"';
    buffer_.append(QLatin1String(text, 12));
  }
  void Time(TimeOfDay t) {
    if (t < 0 || t >= 100 * 3600) {
      String(TimeToText(t));
      return;
    }
    char text[10] = {'"'};
    Digits(text + 1, t / 3600, 2);
    text[3] = ':';
    Digits(text + 4, (t / 60) % 60, 2);
    text[6] = ':';
    Digits(text + 7, t % 60, 2);
    text[9] = '"';
    buffer_.append(QLatin1String(text, 10));
  }

  void MaybeFlush() { out_.MaybeFlush(); }
  void Flush() { out_.Flush(); }

 private:
  // The letter of a control character's short escape, 0 when it has none.
  static char Escape(char16_t u) {
    switch (u) {
      case 0x08: return 'b';
      case 0x09: return 't';
      case 0x0a: return 'n';
      case 0x0c: return 'f';
      case 0x0d: return 'r';
      default: return 0;
    }
  }
  static void Digits(char* at, int value, int width) {
    for (int i = width - 1; i >= 0; --i) {
      at[i] = char('0' + value % 10);
      value /= 10;
    }
  }
  SinkText& out_;
  QString& buffer_;
};

// The members below are written in the order the JSON writer sorts keys.

void WriteServiceTotals(JsonOut& j, const SessionTable& t) {
  bool firstEntry = true;
  for (int i = 0; i <= t.ServiceTotalsCount && i < int(t.ServiceTotals.size()); ++i) {
    const ServiceTotal& e = t.ServiceTotals[std::size_t(i)];
    j.Raw(firstEntry ? "" : ",\n");
    firstEntry = false;
    j.Indent(2);
    j.Raw("{\n");
    j.Key(3, "Index", true);
    j.Int(i);
    j.Key(3, "Number", false);
    j.String(e.Number);
    j.Key(3, "TotalBytesRead", false);
    j.Int(e.TotalBytesRead);
    j.Key(3, "TotalCost", false);
    j.Double(e.TotalCost);
    j.Key(3, "TotalSeconds", false);
    j.Int(e.TotalSeconds);
    j.Key(3, "TotalSessions", false);
    j.Int(e.TotalSessions);
    j.Raw('\n');
    j.Indent(2);
    j.Raw('}');
    j.MaybeFlush();
  }
  if (!firstEntry) j.Raw('\n');
}

void WriteSessions(JsonOut& j, const std::vector<Session>& sessions, int count) {
  bool firstEntry = true;
  for (int i = 1; i <= count && i < int(sessions.size()); ++i) {
    const Session& s = sessions[std::size_t(i)];
    j.Raw(firstEntry ? "" : ",\n");
    firstEntry = false;
    j.Indent(2);
    j.Raw("{\n");
    j.Key(3, "Answered", true);
    j.Bool(s.Answered);
    j.Key(3, "BytesRead", false);
    j.Int(s.BytesRead);
    j.Key(3, "BytesWritten", false);
    j.Int(s.BytesWritten);
    j.Key(3, "ConnectDate", false);
    j.Date(s.ConnectDate);
    j.Key(3, "ConnectTime", false);
    j.Time(s.ConnectTime);
    j.Key(3, "DisconnectDate", false);
    j.Date(s.DisconnectDate);
    j.Key(3, "DisconnectTime", false);
    j.Time(s.DisconnectTime);
    j.Key(3, "Index", false);
    j.Int(i);
    j.Key(3, "Notes", false);
    j.String(s.Notes);
    j.Key(3, "Number", false);
    j.String(s.Number);
    j.Raw('\n');
    j.Indent(2);
    j.Raw('}');
    j.MaybeFlush();
  }
  if (!firstEntry) j.Raw('\n');
}

// An array member at `level`: "[", its entries, the closing bracket.
template <class Entries>
void Array(JsonOut& j, int level, Entries&& entries) {
  j.Raw("[\n");
  entries();
  j.Indent(level);
  j.Raw(']');
}

void WriteTariffs(JsonOut& j, const std::vector<TariffUse>& tariffs) {
  for (std::size_t i = 0; i < tariffs.size(); ++i) {
    const TariffUse& t = tariffs[i];
    j.Raw(i == 0 ? "" : ",\n");
    j.Indent(4);
    j.Raw("{\n");
    j.Key(5, "Cost", true);
    j.Double(t.Cost);
    j.Key(5, "Description", false);
    j.String(t.Description);
    j.Key(5, "Seconds", false);
    j.Int(t.Seconds);
    j.Key(5, "Tariff", false);
    j.Int(t.Tariff);
    j.Raw('\n');
    j.Indent(4);
    j.Raw('}');
  }
  if (!tariffs.empty()) j.Raw('\n');
}

void WriteDetailRows(JsonOut& j, const ReportFigures& figures) {
  const bool costs = figures.CostsShown;
  const auto money = [&](double v) {
    if (costs) {
      j.Double(v);
    } else {
      j.Null();
    }
  };
  bool firstEntry = true;
  for (const SessionFigures& f : figures.Sessions) {
    j.Raw(firstEntry ? "" : ",\n");
    firstEntry = false;
    j.Indent(2);
    j.Raw("{\n");
    j.Key(3, "Cost", true);
    money(f.Cost);
    j.Key(3, "DataCost", false);
    money(f.DataCost);
    j.Key(3, "DialCost", false);
    money(f.DialCost);
    j.Key(3, "Index", false);
    j.Int(f.Index);
    j.Key(3, "MinimumChargeTariff", false);
    if (costs && f.MinimumChargeTariff > 0) {
      j.Int(f.MinimumChargeTariff);
    } else {
      j.Null();
    }
    j.Key(3, "Notes", false);
    j.String(f.Notes);
    j.Key(3, "Seconds", false);
    j.Int(f.Seconds);
    j.Key(3, "ServiceCost", false);
    money(f.TimeCost);
    j.Key(3, "Tariffs", false);
    if (costs) {
      Array(j, 3, [&] { WriteTariffs(j, f.Tariffs); });
    } else {
      j.Null();
    }
    j.Raw('\n');
    j.Indent(2);
    j.Raw('}');
    j.MaybeFlush();
  }
  if (!firstEntry) j.Raw('\n');
}

}  // namespace

void JsonFormat::Write(const ReportDocument& document, const ReportSink& sink) const {
  SinkText out(sink);
  JsonOut j(out);
  const RunState none;
  const bool ran = document.run != nullptr;
  const RunState& run = ran ? *document.run : none;
  const std::vector<Session>& sessions = document.sessionsAsRun ? *document.sessionsAsRun : run.Tables.Sessions;
  // The rows go with the Details report.
  const bool rows = document.details != nullptr && document.figures != nullptr;
  j.Raw("{\n");
  j.Key(1, "DetailRows", true);
  if (rows) {
    Array(j, 1, [&] { WriteDetailRows(j, *document.figures); });
  } else {
    j.Null();
  }
  j.Key(1, "Details", false);
  if (document.details != nullptr) {
    j.String(document.details->Text);
  } else {
    j.Null();
  }
  j.Key(1, "ErrorsFound", false);
  j.Bool(run.ErrorsFound);
  j.Key(1, "IncompleteTariffs", false);
  j.Bool(run.IncompleteTariffs);
  j.Key(1, "LinesRead", false);
  j.Int(run.LinesRead);
  j.Key(1, "LogCorrupt", false);
  j.Bool(run.LogCorrupt || document.logCorrupt);
  j.Key(1, "ServiceTotals", false);
  Array(j, 1, [&] { WriteServiceTotals(j, run.Tables); });
  j.Key(1, "ServiceTotalsCount", false);
  j.Int(run.Tables.ServiceTotalsCount);
  j.Key(1, "SessionCount", false);
  j.Int(run.Tables.SessionCount);
  j.Key(1, "Sessions", false);
  Array(j, 1, [&] { WriteSessions(j, sessions, run.Tables.SessionCount); });
  j.Key(1, "Summary", false);
  if (document.summary != nullptr) {
    j.String(document.summary->Text);
  } else {
    j.Null();
  }
  j.Key(1, "TooManyConnections", false);
  j.Bool(run.TooManyConnections);
  j.Key(1, "TooManyServices", false);
  j.Bool(run.TooManyServices);
  j.Key(1, "format_version", false);
  j.Int(kReportJsonVersion);
  j.Raw("\n}\n");
  j.Flush();
}

}  // namespace mirolat

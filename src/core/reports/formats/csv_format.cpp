#include "core/reports/formats/csv_format.h"

#include <QLocale>

#include "core/model/session_table.h"

namespace mirolat {

namespace {

// One CSV line at a time, written into the sink's buffer.
class CsvWriter {
 public:
  CsvWriter(SinkText& out, CsvLayout layout, const LocaleValues& locale)
      : out_(out), line_(out.buffer()), dates_(locale), layout_(layout) {
    if (layout == CsvLayout::Locale) {
      point_ = locale.Locale.decimalPoint();
      if (point_ == QLatin1String(",")) separator_ = QLatin1Char(';');
    }
  }

  void Text(QStringView text) {
    Separate();
    bool quoted = false;
    for (QChar c : text) {
      if (c == separator_ || c == u'"' || c == u'\n' || c == u'\r') {
        quoted = true;
        break;
      }
    }
    if (!quoted) {
      line_ += text;
      return;
    }
    line_ += QLatin1Char('"');
    for (QChar c : text) {
      if (c == u'"') line_ += QLatin1Char('"');
      line_ += c;
    }
    line_ += QLatin1Char('"');
  }
  void Texts(std::initializer_list<const char*> texts) {
    for (const char* t : texts) Text(QString::fromLatin1(t));
  }
  void Whole(qint64 n) {
    Separate();
    line_ += QString::number(n);
  }
  void Number(double d) { Text(NumberText(d)); }
  QString NumberText(double d) const {
    QString text = QString::number(d, 'f', QLocale::FloatingPointShortest);
    if (point_ != QLatin1String(".")) text.replace(QLatin1Char('.'), point_);
    return text;
  }
  void Day(Date d) {
    if (layout_ == CsvLayout::Locale) {
      Text(dates_.Text(d));
      return;
    }
    // Sessions come in date order: the last day's text is nearly always the one.
    if (d != isoDay_) {
      isoDay_ = d;
      iso_ = d == 0 ? QString() : DateToIso(d);
    }
    Text(iso_);
  }
  void Time(TimeOfDay t) {
    if (t < 0 || t >= 100 * 3600) {
      Text(TimeToText(t));
      return;
    }
    Separate();
    const int parts[] = {t / 3600, t / 60 % 60, t % 60};
    for (int i = 0; i < 3; ++i) {
      if (i > 0) line_ += QLatin1Char(':');
      line_ += QLatin1Char(char('0' + parts[i] / 10));
      line_ += QLatin1Char(char('0' + parts[i] % 10));
    }
  }
  void EndLine() {
    line_ += QLatin1String("\r\n");
    first_ = true;
    out_.MaybeFlush();
  }

 private:
  void Separate() {
    if (!first_) line_ += separator_;
    first_ = false;
  }
  SinkText& out_;
  QString& line_;
  DateTextCache dates_;
  CsvLayout layout_;
  Date isoDay_ = -1;
  QString iso_;
  QString point_ = QStringLiteral(".");
  QChar separator_ = QLatin1Char(',');
  bool first_ = true;
};

void WriteSummary(CsvWriter& csv, const ReportFigures& figures) {
  const bool costs = figures.CostsShown;
  csv.Texts({"Number", "Service", "Seconds", "Sessions", "BytesRead", "BytesWritten"});
  if (costs) csv.Texts({"Cost", "DialCost", "TimeCost", "DataCost"});
  csv.EndLine();
  for (const NumberFigures& n : figures.Numbers) {
    csv.Text(n.Number);
    csv.Text(n.Name);
    csv.Whole(n.Seconds);
    csv.Whole(n.Sessions);
    csv.Whole(n.BytesRead);
    csv.Whole(n.BytesWritten);
    if (costs) {
      for (double v : {n.Cost, n.DialCost, n.TimeCost, n.DataCost}) csv.Number(v);
    }
    csv.EndLine();
  }
}

void WriteDetails(CsvWriter& csv, const ReportFigures& figures) {
  const bool costs = figures.CostsShown;
  csv.Texts({"Index", "Service", "Number", "ConnectDate", "ConnectTime", "DisconnectDate", "DisconnectTime",
             "Seconds", "BytesRead", "BytesWritten", "Error"});
  if (costs) csv.Texts({"Cost", "DialCost", "TimeCost", "DataCost", "Tariffs", "MinimumChargeTariff"});
  csv.Texts({"Notes"});
  csv.EndLine();
  QString tariffs;
  for (const SessionFigures& s : figures.Sessions) {
    csv.Whole(s.Index);
    csv.Text(s.Name);
    csv.Text(s.DialledNumber);
    csv.Day(s.ConnectDate);
    csv.Time(s.ConnectTime);
    csv.Day(s.DisconnectDate);
    csv.Time(s.DisconnectTime);
    csv.Whole(s.Seconds);
    csv.Whole(s.BytesRead);
    csv.Whole(s.BytesWritten);
    csv.Whole(s.Error ? 1 : 0);
    if (costs) {
      for (double v : {s.Cost, s.DialCost, s.TimeCost, s.DataCost}) csv.Number(v);
      tariffs.clear();
      QString minimum;
      for (const TariffUse& t : s.Tariffs) {
        if (!tariffs.isEmpty()) tariffs += QLatin1String("; ");
        tariffs += t.Description + QLatin1Char(' ') + QString::number(t.Seconds) + QLatin1String("s ") +
                   csv.NumberText(t.Cost);
        if (t.Tariff == s.MinimumChargeTariff) minimum = t.Description;
      }
      csv.Text(tariffs);
      csv.Text(minimum);
    }
    csv.Text(CleanNotes(s.Notes));
    csv.EndLine();
  }
}

}  // namespace

QString CsvFormat::Id() const {
  return layout_ == CsvLayout::Locale ? QStringLiteral("csv-locale") : QStringLiteral("csv");
}

QString CsvFormat::FileFilter() const {
  return layout_ == CsvLayout::Locale ? QStringLiteral("CSV files in this locale's layout (*.csv)")
                                      : QStringLiteral("CSV files (*.csv)");
}

void CsvFormat::Write(const ReportDocument& document, const ReportSink& sink) const {
  if (document.figures == nullptr) return;
  SinkText out(sink);
  CsvWriter csv(out, layout_, *document.locale);
  if (document.shown == ReportKind::Details) {
    WriteDetails(csv, *document.figures);
  } else {
    WriteSummary(csv, *document.figures);
  }
  out.Flush();
}

}  // namespace mirolat

// The streamed report JSON against the same document built whole with
// QJsonDocument: byte for byte, for real runs and for awkward values.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>

#include "cli/report_json.h"
#include "cli_test_support.h"
#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/common/locale_values.h"
#include "core/reports/details_report.h"
#include "core/reports/summary_report.h"
#include "core/settings/config_json.h"

namespace mirolat {
namespace {

using testing::CaseDir;

// The document as QJsonDocument writes it.
QByteArray ReferenceJson(const cli::ReportJsonInput& in) {
  const RunState& run = *in.run;
  const auto date = [](Date d) { return d == 0 ? QJsonValue() : QJsonValue(DateToIso(d)); };
  QJsonArray totals;
  for (int i = 0; in.ran && i <= run.Tables.ServiceTotalsCount && i < int(run.Tables.ServiceTotals.size()); ++i) {
    const ServiceTotal& e = run.Tables.ServiceTotals[std::size_t(i)];
    totals.append(QJsonObject{{QStringLiteral("Index"), i},
                              {QStringLiteral("Number"), e.Number}, {QStringLiteral("TotalSeconds"), e.TotalSeconds},
                              {QStringLiteral("TotalSessions"), e.TotalSessions},
                              {QStringLiteral("TotalCost"), e.TotalCost},
                              {QStringLiteral("TotalBytesRead"), e.TotalBytesRead}});
  }
  QJsonArray sessions;
  for (int i = 1; in.ran && i <= in.sessionCount && i < int(in.sessions->size()); ++i) {
    const Session& s = (*in.sessions)[std::size_t(i)];
    sessions.append(QJsonObject{{QStringLiteral("Index"), i}, {QStringLiteral("ConnectDate"), date(s.ConnectDate)},
                                {QStringLiteral("ConnectTime"), TimeToText(s.ConnectTime)},
                                {QStringLiteral("DisconnectDate"), date(s.DisconnectDate)},
                                {QStringLiteral("DisconnectTime"), TimeToText(s.DisconnectTime)},
                                {QStringLiteral("Number"), s.Number}, {QStringLiteral("Notes"), s.Notes},
                                {QStringLiteral("Answered"), s.Answered}, {QStringLiteral("BytesRead"), s.BytesRead},
                                {QStringLiteral("BytesWritten"), s.BytesWritten}});
  }
  QJsonValue rows;
  if (in.details != nullptr) {
    QJsonArray list;
    for (const DetailFigures& f : in.details->Figures) {
      const auto money = [&](double v) { return in.details->CostsShown ? QJsonValue(v) : QJsonValue(); };
      list.append(QJsonObject{{QStringLiteral("Index"), f.Index},
                              {QStringLiteral("Seconds"), f.Seconds}, {QStringLiteral("DialCost"), money(f.DialCost)},
                              {QStringLiteral("ServiceCost"), money(f.ServiceCost)},
                              {QStringLiteral("DataCost"), money(f.DataCost)}, {QStringLiteral("Cost"), money(f.Cost)},
                              {QStringLiteral("Notes"), f.Notes}});
    }
    rows = list;
  }
  const QJsonObject o{
      {QStringLiteral("LinesRead"), run.LinesRead}, {QStringLiteral("ErrorsFound"), run.ErrorsFound},
      {QStringLiteral("IncompleteTariffs"), run.IncompleteTariffs}, {QStringLiteral("LogCorrupt"), in.logCorrupt},
      {QStringLiteral("TooManyServices"), run.TooManyServices},
      {QStringLiteral("TooManyConnections"), run.TooManyConnections},
      {QStringLiteral("SessionCount"), in.ran ? run.Tables.SessionCount : 0},
      {QStringLiteral("ServiceTotalsCount"), in.ran ? run.Tables.ServiceTotalsCount : 0},
      {QStringLiteral("ServiceTotals"), totals}, {QStringLiteral("Sessions"), sessions},
      {QStringLiteral("Summary"), in.summary != nullptr ? QJsonValue(in.summary->Text) : QJsonValue()},
      {QStringLiteral("Details"), in.details != nullptr ? QJsonValue(in.details->Model.Text) : QJsonValue()},
      {QStringLiteral("DetailRows"), rows}};
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

// The streamed text as the command prints it (UTF-8).
QByteArray Streamed(const cli::ReportJsonInput& in) {
  QByteArray bytes;
  QTextStream out(&bytes);
  cli::WriteReportJson(out, in);
  out.flush();
  return bytes;
}

class NoErrors : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& e) override {
    ADD_FAILURE() << e.description().toStdString();
    return ErrorAnswer::Continue;
  }
};

struct Analysed {
  Configuration config;
  LocaleValues locale;
  RunState run;
  std::vector<Session> sessions;
  ReportModel summary;
  DetailsReport details;
};

void Analyse(const QString& configPath, const QString& log, const char* from, const char* to, const char* localeName,
             Analysed& a) {
  QString error;
  ASSERT_TRUE(ConfigurationFromJson(testing::CliTest::Read(configPath), Configuration(), a.config, error));
  a.config.MaxConnections = 5000;
  a.locale = LoadLocaleInfo(QLocale(QLatin1String(localeName)));
  RunInputs in;
  in.config = &a.config;
  in.locale = &a.locale;
  in.ReportStartDate = DateFromIso(QLatin1String(from));
  in.ReportEndDate = DateFromIso(QLatin1String(to));
  NullProgress progress;
  NoErrors reporter;
  a.run = ProcessLog(in, log, progress, reporter);
  a.sessions = a.run.Tables.Sessions;
  ReportInputs r{&a.config, &a.locale, in.ReportStartDate, in.ReportEndDate, a.run.ErrorsFound};
  a.summary = BuildSummaryReport(a.run.Tables, r);
  a.details = BuildDetailsReport(a.run.Tables, r, progress);
}

cli::ReportJsonInput InputOf(const Analysed& a, bool withReports) {
  cli::ReportJsonInput in;
  in.run = &a.run;
  in.ran = true;
  in.logCorrupt = a.run.LogCorrupt;
  in.sessions = &a.sessions;
  in.sessionCount = a.run.Tables.SessionCount;
  if (withReports) { in.summary = &a.summary; in.details = &a.details; }
  return in;
}

TEST(ReportJson, RealRunsMatchTheWholeDocument) {
  struct Case { const char* name; const char* from; const char* to; const char* locale; };
  const Case cases[] = {{"costs_off", "1998-01-15", "1998-01-15", "en_US"},
                        {"no_sessions", "1998-01-16", "1998-01-16", "en_US"},
                        {"several_numbers", "1998-03-09", "1998-03-11", "de_DE"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Analysed a;
    Analyse(CaseDir(c.name) + QStringLiteral("/config.json"), CaseDir(c.name) + QStringLiteral("/ModemLog.txt"), c.from,
            c.to, c.locale, a);
    for (bool withReports : {true, false}) {
      const cli::ReportJsonInput in = InputOf(a, withReports);
      EXPECT_EQ(Streamed(in).toStdString(), ReferenceJson(in).toStdString());
    }
  }
  // A generated log of a few hundred sessions, missing hang-ups included.
  QTemporaryDir dir;
  LogGeneratorOptions o;
  o.seed = 3;
  o.days = 120;
  const QString log = dir.filePath(QStringLiteral("gen.txt"));
  QFile f(log);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(GenerateModemLog(o));
  f.close();
  Analysed a;
  Analyse(CaseDir("tariff_walk") + QStringLiteral("/config.json"), log, "1998-01-01", "1998-05-10", "en_US", a);
  ASSERT_GT(a.run.Tables.SessionCount, 100);
  const cli::ReportJsonInput in = InputOf(a, true);
  EXPECT_EQ(Streamed(in), ReferenceJson(in));
}

// Texts with every kind of character the writer escapes or passes on, odd
// numbers, and a run that never started.
TEST(ReportJson, AwkwardValuesMatchTheWholeDocument) {
  RunState run;
  run.Tables.Create(3, 4);
  run.Tables.SessionCount = 3;
  run.Tables.ServiceTotalsCount = 3;
  run.LinesRead = 2147483647;
  run.ErrorsFound = true;
  const QString texts[] = {QStringLiteral("quote \" backslash \\ slash /"), QStringLiteral("lines\nand\r\ttabs\b\f"),
                           QString(QChar(0x01)) + QChar(0x1f) + QChar(0x7f) + QStringLiteral(" controls"),
                           QStringLiteral("caf\u00e9 \u20ac \U0001F600"),
                           QString(QChar(0xd800)) + QStringLiteral(" lone half"), QString()};
  const double numbers[] = {0.1 + 0.2, -0.0, 1e300, -2.5e-8, 3.0, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), 123456789012.0};
  for (int i = 0; i <= 3; ++i) {
    ServiceTotal& e = run.Tables.ServiceTotals[std::size_t(i)];
    e.Number = texts[i];
    e.TotalCost = numbers[i];
    e.TotalSeconds = -i;
    e.TotalBytesRead = std::numeric_limits<qint64>::max() - i;
  }
  std::vector<Session> sessions(5);
  for (int i = 1; i <= 4; ++i) {
    Session& s = sessions[std::size_t(i)];
    s.Number = texts[i + 1 < 6 ? i + 1 : 0];
    s.Notes = texts[i - 1];
    s.ConnectDate = i == 1 ? 0 : MakeDate(1998 + i, i, 28);
    s.ConnectTime = i == 2 ? 0 : 86399 - i;
    s.DisconnectDate = MakeDate(2099, 12, 31);
    s.DisconnectTime = i == 3 ? 100 * 3600 + 5 : 3600 * i;  // beyond two-digit hours
    s.Answered = i % 2 == 0;
    s.BytesRead = -i;
    s.BytesWritten = 2147483647;
  }
  ReportModel summary;
  summary.Text = texts[3] + texts[1];
  DetailsReport details;
  for (int i = 0; i < 8; ++i) {
    DetailFigures f;
    f.Index = i;
    f.Seconds = i * 1000;
    f.DialCost = numbers[i];
    f.ServiceCost = numbers[(i + 3) % 8];
    f.DataCost = numbers[(i + 5) % 8];
    f.Cost = numbers[7 - i];
    f.Notes = texts[i % 6];
    details.Figures.push_back(f);
  }
  details.Model.Text = texts[0] + texts[2] + texts[4];
  for (bool costs : {true, false}) {
    details.CostsShown = costs;
    cli::ReportJsonInput in;
    in.run = &run;
    in.ran = true;
    in.sessions = &sessions;
    in.sessionCount = 3;
    in.summary = &summary;
    in.details = &details;
    EXPECT_EQ(Streamed(in), ReferenceJson(in));
  }
  // Nothing ran: counts 0, empty lists, no reports.
  RunState none;
  none.LogCorrupt = true;
  cli::ReportJsonInput in;
  in.run = &none;
  in.logCorrupt = true;
  EXPECT_EQ(Streamed(in), ReferenceJson(in));
}

}  // namespace
}  // namespace mirolat

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
    totals.append(QJsonObject{{"Index", i}, {"Number", e.Number}, {"TotalSeconds", e.TotalSeconds},
                              {"TotalSessions", e.TotalSessions}, {"TotalCost", e.TotalCost},
                              {"TotalBytesRead", e.TotalBytesRead}});
  }
  QJsonArray sessions;
  for (int i = 1; in.ran && i <= in.sessionCount && i < int(in.sessions->size()); ++i) {
    const Session& s = (*in.sessions)[std::size_t(i)];
    sessions.append(QJsonObject{{"Index", i}, {"ConnectDate", date(s.ConnectDate)},
                                {"ConnectTime", TimeToText(s.ConnectTime)}, {"DisconnectDate", date(s.DisconnectDate)},
                                {"DisconnectTime", TimeToText(s.DisconnectTime)}, {"Number", s.Number},
                                {"Notes", s.Notes}, {"Answered", s.Answered}, {"BytesRead", s.BytesRead},
                                {"BytesWritten", s.BytesWritten}});
  }
  QJsonValue rows;
  if (in.details != nullptr) {
    QJsonArray list;
    for (const DetailFigures& f : in.details->Figures) {
      const auto money = [&](double v) { return in.details->CostsShown ? QJsonValue(v) : QJsonValue(); };
      list.append(QJsonObject{{"Index", f.Index}, {"Seconds", f.Seconds}, {"DialCost", money(f.DialCost)},
                              {"ServiceCost", money(f.ServiceCost)}, {"DataCost", money(f.DataCost)},
                              {"Cost", money(f.Cost)}, {"Notes", f.Notes}});
    }
    rows = list;
  }
  const QJsonObject o{
      {"LinesRead", run.LinesRead}, {"ErrorsFound", run.ErrorsFound}, {"IncompleteTariffs", run.IncompleteTariffs},
      {"LogCorrupt", in.logCorrupt}, {"TooManyServices", run.TooManyServices},
      {"TooManyConnections", run.TooManyConnections}, {"SessionCount", in.ran ? run.Tables.SessionCount : 0},
      {"ServiceTotalsCount", in.ran ? run.Tables.ServiceTotalsCount : 0}, {"ServiceTotals", totals},
      {"Sessions", sessions}, {"Summary", in.summary != nullptr ? QJsonValue(in.summary->Text) : QJsonValue()},
      {"Details", in.details != nullptr ? QJsonValue(in.details->Model.Text) : QJsonValue()}, {"DetailRows", rows}};
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

// The several-numbers case in German, with and without the reports.
TEST(ReportJson, RealRunMatchesTheWholeDocument) {
  Configuration config;
  QString error;
  ASSERT_TRUE(ConfigurationFromJson(testing::CliTest::Read(CaseDir("several_numbers") + QStringLiteral("/config.json")),
                                    Configuration(), config, error));
  const LocaleValues locale = LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany));
  RunInputs inputs;
  inputs.config = &config;
  inputs.locale = &locale;
  inputs.ReportStartDate = MakeDate(1998, 3, 9);
  inputs.ReportEndDate = MakeDate(1998, 3, 11);
  NullProgress progress;
  NoErrors reporter;
  RunState run = ProcessLog(inputs, CaseDir("several_numbers") + QStringLiteral("/ModemLog.txt"), progress, reporter);
  const std::vector<Session> sessions = run.Tables.Sessions;
  const ReportInputs r{&config, &locale, inputs.ReportStartDate, inputs.ReportEndDate, run.ErrorsFound};
  const ReportModel summary = BuildSummaryReport(run.Tables, r);
  const DetailsReport details = BuildDetailsReport(run.Tables, r, progress);
  cli::ReportJsonInput in;
  in.run = &run;
  in.ran = true;
  in.sessions = &sessions;
  in.sessionCount = run.Tables.SessionCount;
  EXPECT_EQ(Streamed(in).toStdString(), ReferenceJson(in).toStdString());
  in.summary = &summary;
  in.details = &details;
  EXPECT_EQ(Streamed(in).toStdString(), ReferenceJson(in).toStdString());
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
  cli::ReportJsonInput in;
  in.run = &run;
  in.ran = true;
  in.sessions = &sessions;
  in.sessionCount = 3;
  in.summary = &summary;
  in.details = &details;
  for (bool costs : {true, false}) {
    details.CostsShown = costs;
    EXPECT_EQ(Streamed(in), ReferenceJson(in));
  }
  // Nothing ran: counts 0, empty lists, no reports.
  RunState none;
  none.LogCorrupt = true;
  const cli::ReportJsonInput nothing{&none, false, true};
  EXPECT_EQ(Streamed(nothing), ReferenceJson(nothing));
}

}  // namespace
}  // namespace mirolat

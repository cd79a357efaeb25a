// The streamed report JSON against the same document built whole with
// QJsonDocument: byte for byte, for awkward values (real runs are golden files).
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>

#include "core/analysis/session_builder.h"
#include "core/reports/formats/json_format.h"

namespace mirolat {
namespace {

// The document as QJsonDocument writes it.
QByteArray ReferenceJson(const ReportDocument& in) {
  const RunState none;
  const RunState& run = in.run ? *in.run : none;
  const std::vector<Session>& sessionList = in.sessionsAsRun ? *in.sessionsAsRun : run.Tables.Sessions;
  const auto date = [](Date d) { return d == 0 ? QJsonValue() : QJsonValue(DateToIso(d)); };
  QJsonArray totals;
  for (int i = 0; i <= run.Tables.ServiceTotalsCount && i < int(run.Tables.ServiceTotals.size()); ++i) {
    const ServiceTotal& e = run.Tables.ServiceTotals[std::size_t(i)];
    totals.append(QJsonObject{{"Index", i}, {"Number", e.Number}, {"TotalSeconds", e.TotalSeconds},
                              {"TotalSessions", e.TotalSessions}, {"TotalCost", e.TotalCost},
                              {"TotalBytesRead", e.TotalBytesRead}});
  }
  QJsonArray sessions;
  for (int i = 1; i <= run.Tables.SessionCount && i < int(sessionList.size()); ++i) {
    const Session& s = sessionList[std::size_t(i)];
    sessions.append(QJsonObject{{"Index", i}, {"ConnectDate", date(s.ConnectDate)},
                                {"ConnectTime", TimeToText(s.ConnectTime)}, {"DisconnectDate", date(s.DisconnectDate)},
                                {"DisconnectTime", TimeToText(s.DisconnectTime)}, {"Number", s.Number},
                                {"Notes", s.Notes}, {"Answered", s.Answered}, {"BytesRead", s.BytesRead},
                                {"BytesWritten", s.BytesWritten}});
  }
  QJsonValue rows;
  if (in.details != nullptr) {
    const bool costs = in.figures->CostsShown;
    const auto money = [&](double v) { return costs ? QJsonValue(v) : QJsonValue(); };
    QJsonArray list;
    for (const SessionFigures& f : in.figures->Sessions) {
      QJsonArray tariffs;
      for (const TariffUse& t : f.Tariffs) {
        tariffs.append(QJsonObject{{"Tariff", t.Tariff}, {"Description", t.Description}, {"Seconds", t.Seconds},
                                   {"Cost", t.Cost}});
      }
      list.append(QJsonObject{{"Index", f.Index}, {"Seconds", f.Seconds}, {"DialCost", money(f.DialCost)},
                              {"ServiceCost", money(f.TimeCost)}, {"DataCost", money(f.DataCost)},
                              {"Cost", money(f.Cost)}, {"Notes", f.Notes},
                              {"Tariffs", costs ? QJsonValue(tariffs) : QJsonValue()},
                              {"MinimumChargeTariff", costs && f.MinimumChargeTariff > 0
                                                          ? QJsonValue(f.MinimumChargeTariff) : QJsonValue()}});
    }
    rows = list;
  }
  const QJsonObject o{
      {"LinesRead", run.LinesRead}, {"ErrorsFound", run.ErrorsFound}, {"IncompleteTariffs", run.IncompleteTariffs},
      {"LogCorrupt", run.LogCorrupt || in.logCorrupt}, {"TooManyServices", run.TooManyServices},
      {"TooManyConnections", run.TooManyConnections}, {"SessionCount", run.Tables.SessionCount},
      {"ServiceTotalsCount", run.Tables.ServiceTotalsCount}, {"ServiceTotals", totals},
      {"Sessions", sessions}, {"Summary", in.summary != nullptr ? QJsonValue(in.summary->Text) : QJsonValue()},
      {"Details", in.details != nullptr ? QJsonValue(in.details->Text) : QJsonValue()}, {"DetailRows", rows},
      {"format_version", 2}};
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

// The streamed bytes, handed over in pieces.
QByteArray Streamed(const ReportDocument& in) {
  QByteArray bytes;
  JsonFormat().Write(in, [&](QByteArrayView piece) { bytes += piece; });
  return bytes;
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
  ReportFigures figures;
  for (int i = 0; i < 8; ++i) {
    SessionFigures f;
    f.Index = i;
    f.Seconds = i * 1000;
    f.DialCost = numbers[i];
    f.TimeCost = numbers[(i + 3) % 8];
    f.DataCost = numbers[(i + 5) % 8];
    f.Cost = numbers[7 - i];
    f.Notes = texts[i % 6];
    for (int t = 1; t <= i % 3; ++t) f.Tariffs.push_back(TariffUse{t, texts[(i + t) % 6], 60 * t, numbers[t]});
    f.MinimumChargeTariff = i % 3;
    figures.Sessions.push_back(f);
  }
  ReportModel details;
  details.Text = texts[0] + texts[2] + texts[4];
  ReportDocument in;
  in.figures = &figures;
  in.run = &run;
  in.sessionsAsRun = &sessions;
  in.summary = &summary;
  in.details = &details;
  for (bool costs : {true, false}) {
    figures.CostsShown = costs;
    EXPECT_EQ(Streamed(in), ReferenceJson(in));
  }
  // Nothing ran: counts 0, empty lists, no reports.
  ReportDocument nothing;
  nothing.logCorrupt = true;
  EXPECT_EQ(Streamed(nothing), ReferenceJson(nothing));
}

}  // namespace
}  // namespace mirolat

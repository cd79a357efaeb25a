#pragma once
// The shown report's rows as comma-separated values (RFC 4180: CR LF line
// ends, a field quoted when it holds the separator, a quote or a line break).
// Numbers are written whole and unrounded: money as the shortest decimal text
// that reads back as the same double (no exponent), durations in whole
// seconds, bytes as counts. No totals row: a spreadsheet adds them.
//
// Summary: Number, Service, Seconds, Sessions, BytesRead, BytesWritten, and
// with costs shown Cost, DialCost, TimeCost, DataCost.
// Details: Index, Service, Number, ConnectDate, ConnectTime, DisconnectDate,
// DisconnectTime, Seconds, BytesRead, BytesWritten, Error (1 or 0), with costs
// shown Cost, DialCost, TimeCost, DataCost, Tariffs ("Peak 120s 0.5; Night
// 60s 0.1": each tariff met, its seconds and charge) and MinimumChargeTariff
// (the description of the tariff whose minimum charge was taken), then Notes.
//
// The standard layout writes "," between fields, "." as decimal point and
// dates as YYYY-MM-DD. The locale layout is for spreadsheets that read the
// user's locale: the locale's decimal point, ";" between fields where that
// point is ",", and dates in the locale's short format; times stay HH:MM:SS.
#include "core/reports/formats/report_format.h"

namespace mirolat {

enum class CsvLayout { Standard, Locale };

class CsvFormat final : public ReportFormat {
 public:
  explicit CsvFormat(CsvLayout layout) : layout_(layout) {}
  QString Id() const override;
  QString FileFilter() const override;
  QString Extension() const override { return QStringLiteral("csv"); }
  ReportNeeds Needs() const override { return ReportNeeds::Shown; }
  void Write(const ReportDocument& document, const ReportSink& sink) const override;

 private:
  CsvLayout layout_;
};

}  // namespace mirolat

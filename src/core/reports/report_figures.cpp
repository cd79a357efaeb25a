#include "core/reports/report_figures.h"

#include <QHash>
#include <algorithm>
#include <cmath>

#include "core/costs/dial_tariffs.h"
#include "core/costs/service_charges.h"
#include "core/model/service_lookup.h"
#include "core/reports/summary_report.h"

namespace mirolat {

namespace {

// Does the text, upper-cased, contain "ERROR"? Plain ASCII notes (all of them
// in practice) are searched without making the upper-cased copy.
bool HasErrorMark(const QString& notes) {
  const QChar* p = notes.constData();
  const qsizetype n = notes.size();
  bool ascii = true;
  for (qsizetype i = 0; i < n && ascii; ++i) ascii = p[i].unicode() < 0x80;
  if (!ascii) return notes.toUpper().contains(QLatin1String("ERROR"));
  static constexpr char16_t kMark[] = u"ERROR";
  for (qsizetype i = 0; i + 5 <= n; ++i) {
    qsizetype k = 0;
    while (k < 5) {
      char16_t c = p[i + k].unicode();
      if (c >= u'a' && c <= u'z') c = char16_t(c - (u'a' - u'A'));
      if (c != kMark[k]) break;
      ++k;
    }
    if (k == 5) return true;
  }
  return false;
}

// What a session's number stands for: its display name and its Summary row.
// A report names a handful of numbers over and over; each is looked up once
// and its name shared by every session that dials it.
class NumberLookup {
 public:
  NumberLookup(const Configuration& config, const SessionTable& tables, const std::vector<int>& rowOfEntry)
      : config_(config), rowOfEntry_(rowOfEntry) {
    for (int e = 1; e <= tables.ServiceTotalsCount && e < int(tables.ServiceTotals.size()); ++e) {
      entries_.insert(TrimBlanks(tables.ServiceTotals[std::size_t(e)].Number).toString(), e);
    }
  }
  struct Known {
    QString name;
    int row = -1;
  };
  const Known& Of(const Session& session) {
    for (const auto& [number, known] : known_) {
      if (number == session.Number) return known;
    }
    // The run files a session under its dialled number; answered calls under
    // "Answered Calls", a session without a usable number under entry 0.
    int entry = 0;
    if (session.Answered) {
      entry = entries_.value(QStringLiteral("Answered Calls"), -1);
    } else if (session.Number != QLatin1String("Unknown Service")) {
      entry = entries_.value(session.Number, -1);
    }
    const int row = entry >= 0 && std::size_t(entry) < rowOfEntry_.size() ? rowOfEntry_[std::size_t(entry)] : -1;
    known_.emplace_back(session.Number, Known{ServiceDisplayName(config_, session.Number), row});
    return known_.back().second;
  }

 private:
  const Configuration& config_;
  const std::vector<int>& rowOfEntry_;
  QHash<QString, int> entries_;
  std::vector<std::pair<QString, Known>> known_;
};

constexpr qint64 kSecondsPerHour = 3600;

// Adds the session's connected time inside the range to its days and to the
// hours of the week it falls in.
void SpreadTime(ReportFigures& f, const SessionFigures& s) {
  const qint64 rangeBegin = qint64(f.ReportStartDate) * kSecondsPerDay;
  const qint64 rangeEnd = (qint64(f.ReportEndDate) + 1) * kSecondsPerDay;
  qint64 at = std::max(qint64(s.ConnectDate) * kSecondsPerDay + s.ConnectTime, rangeBegin);
  const qint64 end = std::min(qint64(s.DisconnectDate) * kSecondsPerDay + s.DisconnectTime, rangeEnd);
  while (at < end) {
    const qint64 next = std::min(end, (at / kSecondsPerHour + 1) * kSecondsPerHour);
    const Date day = Date(at / kSecondsPerDay);
    const int hour = int(at % kSecondsPerDay / kSecondsPerHour);
    f.HourOfWeekSeconds[std::size_t(WeekdayIndex(day) * 24 + hour)] += next - at;
    if (s.Number >= 0) f.Days[std::size_t(day - f.ReportStartDate)].Seconds[std::size_t(s.Number)] += next - at;
    at = next;
  }
  if (s.Number >= 0 && !f.Days.empty()) {
    const Date day = std::clamp(s.ConnectDate, f.ReportStartDate, f.ReportEndDate);
    f.Days[std::size_t(day - f.ReportStartDate)].Cost[std::size_t(s.Number)] += s.Cost;
  }
}

// The Summary's rows, and for each ServiceTotals entry its row (-1: none).
std::vector<int> FillNumbers(ReportFigures& f, const SessionTable& tables, const Configuration& config) {
  std::vector<int> rowOfEntry(tables.ServiceTotals.size(), -1);
  const SummaryEntries entries = ListedSummaryEntries(tables);
  f.NumbersListed = entries.listed;
  if (!entries.listed) return rowOfEntry;
  for (int e = entries.first; e <= entries.last; ++e) {
    const ServiceTotal& entry = tables.ServiceTotals[std::size_t(e)];
    NumberFigures n;
    n.Entry = e;
    n.Number = entry.Number.trimmed();
    n.Name = ServiceDisplayName(config, entry.Number);
    n.Seconds = entry.TotalSeconds;
    n.Sessions = entry.TotalSessions;
    n.BytesRead = entry.TotalBytesRead;
    n.BytesWritten = entry.TotalBytesWritten;
    // Answered calls cost the caller nothing.
    if (!entry.Number.contains(QLatin1String("Answer"))) {
      n.Cost = entry.TotalCost;
      n.DialCost = entry.TotalDialCost;
      n.TimeCost = entry.TotalTimeCost;
      n.DataCost = entry.TotalDataCost;
    }
    rowOfEntry[std::size_t(e)] = int(f.Numbers.size());
    f.Numbers.push_back(std::move(n));
  }
  return rowOfEntry;
}

}  // namespace

ReportFigures BuildReportFigures(SessionTable& tables, const ReportInputs& inputs, Progress& progress) {
  const Configuration& config = *inputs.config;
  ReportFigures f;
  f.ReportStartDate = inputs.ReportStartDate;
  f.ReportEndDate = inputs.ReportEndDate;
  f.CostsShown = config.CalcCosts;
  f.ErrorsFound = inputs.ErrorsFound;
  f.SessionCount = tables.SessionCount;
  const std::vector<int> rowOfEntry = FillNumbers(f, tables, config);
  for (Date d = f.ReportStartDate; d <= f.ReportEndDate; ++d) {
    f.Days.push_back(DayFigures{d, std::vector<qint64>(f.Numbers.size(), 0), std::vector<double>(f.Numbers.size(), 0)});
  }

  // Usage counters of the report alone: allowances are consumed again in
  // session order.
  PeriodUsage usage;
  PricingContext pricing;
  pricing.config = &config;
  pricing.locale = inputs.locale;
  pricing.ReportStartDate = inputs.ReportStartDate;
  pricing.ReportEndDate = inputs.ReportEndDate;
  pricing.usage = &usage;
  NumberLookup numbers(config, tables, rowOfEntry);
  DialWalkTrace trace;

  const int sessionCount = tables.SessionCount;
  f.Sessions.reserve(std::size_t(std::max(sessionCount, 0)));
  int shownPercent = -1;
  for (int i = 1; i <= sessionCount; ++i) {
    const int percent = int(double(i) / sessionCount * 100);
    if (percent != shownPercent) {
      shownPercent = percent;
      progress.SetStatus(QStringLiteral("Processing . . .  ") + QString::number(percent) + QLatin1Char('%'));
      progress.SetPercent(percent);
      progress.Yield();
    }

    Session& session = tables.Sessions[std::size_t(i)];
    const bool error = HasErrorMark(session.Notes);
    if (error && !config.ShowErrors) continue;

    // Duration inside the range; the midnight remark joins the notes once, so
    // that building the figures again gives the same notes.
    QString kept = session.Notes;
    const qint32 seconds =
        qint32(std::lround(SessionSecondsInRange(session, inputs.ReportStartDate, inputs.ReportEndDate)));
    if (!session.Notes.isEmpty() && !kept.contains(session.Notes)) {
      kept += QStringLiteral(" -");
      kept += session.Notes;
    }
    session.Notes = std::move(kept);

    const NumberLookup::Known& known = numbers.Of(session);
    SessionFigures s;
    s.Index = i;
    s.Number = known.row;
    s.DialledNumber = session.Number;
    s.Name = known.name;
    s.ConnectDate = session.ConnectDate;
    s.ConnectTime = session.ConnectTime;
    s.DisconnectDate = session.DisconnectDate;
    s.DisconnectTime = session.DisconnectTime;
    s.Seconds = seconds;
    s.BytesRead = session.BytesRead;
    s.BytesWritten = session.BytesWritten;
    s.Answered = session.Answered;
    s.Error = error;
    if (f.CostsShown && !session.Answered) {
      s.DialCost = CalcDialCost(pricing, session.Number, session.ConnectDate, session.ConnectTime,
                                session.DisconnectDate, session.DisconnectTime, &session.Notes, &trace)
                       .cost;
      s.TimeCost = CalcServiceTimeCost(pricing, session.Number, seconds, session.ConnectDate);
      s.DataCost = CalcServiceDataCost(pricing, session.Number, double(session.BytesRead), session.ConnectDate);
      s.Cost = s.DialCost + s.TimeCost + s.DataCost;
      if (!trace.Tariffs.empty()) {
        const Service& service = config.Services[std::size_t(FindServiceByNumber(config, session.Number))];
        for (const DialTariffCharge& c : trace.Tariffs) {
          s.Tariffs.push_back(
              TariffUse{c.Tariff, service.Tariffs[std::size_t(c.Tariff - 1)].Description, c.Seconds, c.Cost});
        }
      }
      s.MinimumChargeTariff = trace.MinimumChargeTariff;
    }
    s.Notes = session.Notes;
    SpreadTime(f, s);
    f.Sessions.push_back(std::move(s));
  }
  return f;
}

}  // namespace mirolat

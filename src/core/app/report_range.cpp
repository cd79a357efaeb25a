#include "core/app/report_range.h"

#include <algorithm>

#include "core/planning/billing_cycle.h"

namespace mirolat {

namespace {

constexpr int kMaxDragDepth = 4;

void Enter(RangeEntry& out, DateBox box, Date entered, DateBox active, const RangeBounds& bounds, int depth) {
  ReportRange& r = out.range;
  const bool start = box == DateBox::Start;
  (start ? r.startValid : r.endValid) = entered != 0;
  if (entered == 0) return;
  if (start) {
    r.start = entered;
    if (bounds.clampStart && entered < bounds.first) {
      r.start = bounds.first;
      out.rewriteStart = true;
      out.messages.push_back(active == DateBox::Start ? StatusMessageId::StartBeforeFirst
                                                      : StatusMessageId::EndBeforeStart);
    }
    out.calendar = r.start;
    if (r.end < r.start && depth < kMaxDragDepth) {
      out.rewriteEnd = true;
      Enter(out, DateBox::End, r.start, active, bounds, depth + 1);
    }
  } else {
    r.end = entered;
    if (bounds.clampEnd && entered > bounds.last) {
      r.end = bounds.last;
      out.rewriteEnd = true;
      out.messages.push_back(active == DateBox::End ? StatusMessageId::EndAfterLast
                                                    : StatusMessageId::StartAfterEnd);
    }
    out.calendar = r.end;
    if (r.end < r.start && depth < kMaxDragDepth) {
      out.rewriteStart = true;
      Enter(out, DateBox::Start, r.end, active, bounds, depth + 1);
    }
  }
}

}  // namespace

RangeBounds RangeBoundsOf(const CurrentFileState& f) {
  RangeBounds b;
  b.first = f.LogFirstDate;
  b.last = f.LogLastDate;
  b.clampStart = (f.LogExists || f.ArchiveOpen) && !f.NotAModemLog && !f.LogCorrupt;
  b.clampEnd = b.clampStart && !f.LogEmpty;
  return b;
}

std::optional<ReportRange> RangeAfterFileChange(const ReportRange& before, const RangeBounds& bounds) {
  if (!before.startValid || !before.endValid) return std::nullopt;
  // A file that gives no dates for now (damaged, gone, empty) leaves the
  // range alone until it does again.
  if (!bounds.clampStart || !bounds.clampEnd || bounds.first <= 0 || bounds.last < bounds.first) return before;
  ReportRange kept = before;
  kept.start = std::clamp(before.start, bounds.first, bounds.last);
  kept.end = std::clamp(before.end, bounds.first, bounds.last);
  if (kept.start > kept.end) kept.start = kept.end;
  return kept;
}

RangeEntry EnterDate(const ReportRange& before, DateBox box, Date entered, DateBox active,
                     const RangeBounds& bounds) {
  RangeEntry out;
  out.range = before;
  if (box != DateBox::None) Enter(out, box, entered, active, bounds, 0);
  return out;
}

RangeCaption CaptionFor(const ReportRange& range, const CurrentFileState& file) {
  RangeCaption c;
  if (!range.startValid || !range.endValid || (!file.LogExists && !file.ArchiveOpen)) {
    c.title = QStringLiteral("MIROLAT");
    return c;
  }
  c.processEnabled = true;
  c.periodDays = range.end - range.start + 1;
  // The number as signed-number text: a leading blank when it is positive.
  const QString number = (c.periodDays >= 0 ? QStringLiteral(" ") : QString()) + QString::number(c.periodDays);
  c.title = QStringLiteral("MIROLAT - Report for") + number +
            (c.periodDays < 2 ? QStringLiteral(" day") : QStringLiteral(" days"));
  return c;
}

bool HasDatedEntries(const CurrentFileState& file) {
  return !file.LogEmpty && file.LogFirstDate > 0 && file.LogLastDate > 0;
}

Date QuickDateTarget(QuickDate command, Date from, Date today, const CurrentFileState& file) {
  switch (command) {
    case QuickDate::Today: return today;
    case QuickDate::FirstEntry: return HasDatedEntries(file) ? file.LogFirstDate : 0;
    case QuickDate::LastEntry: return HasDatedEntries(file) ? file.LogLastDate : 0;
    case QuickDate::WeekForward: return from > 0 ? from + 7 : 0;
    case QuickDate::WeekBack: return from > 7 ? from - 7 : 0;
    case QuickDate::MonthForward: return from > 0 ? FromQDate(ToQDate(from).addMonths(1)) : 0;
    case QuickDate::MonthBack: return from > 0 ? FromQDate(ToQDate(from).addMonths(-1)) : 0;
  }
  return 0;
}

const BudgetSettings& QuickDateBudget(const Configuration& config, int service) {
  const bool inUse = service >= 0 && service < config.UsedServices && std::size_t(service) < config.Services.size();
  return inUse ? config.Services[std::size_t(service)].Budget : config.OverallBudget;
}

ReportRange BillingCycleRange(CycleQuickDate command, const BudgetSettings& budget, Date today) {
  const BillingCycle current = CycleContaining(budget, today);
  const BillingCycle cycle = command == CycleQuickDate::LastCycle ? PreviousCycle(budget, current) : current;
  const Date end = command == CycleQuickDate::LastCycle ? cycle.Last : today;
  return ReportRange{cycle.First, end, true, true};
}

}  // namespace mirolat

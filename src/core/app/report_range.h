#pragma once
// The rules of the report range the main window's two date boxes hold: a
// date before the current file's first entry or after its last is pulled
// back to it (with a beep and a held message), a start after the end drags
// the end along and an end before the start drags the start; the caption
// the range gives; and the dates the quick-date commands write.
#include <QString>
#include <optional>
#include <vector>

#include "core/app/status_messages.h"
#include "core/common/dates.h"
#include "core/logfile/current_file.h"
#include "core/model/configuration.h"

namespace mirolat {

// The bounds a current file sets on the range.
struct RangeBounds {
  Date first = 0;
  Date last = 0;
  bool clampStart = false;  // the file exists (log or archive), is a modem log and is not corrupt
  bool clampEnd = false;    // the same, and the file is not empty
};
RangeBounds RangeBoundsOf(const CurrentFileState& file);

struct ReportRange {
  Date start = 0;
  Date end = 0;
  bool startValid = false;
  bool endValid = false;
};

enum class DateBox { None = 0, Start = 1, End = 2 };

// What one entry into a box leads to.
struct RangeEntry {
  ReportRange range;
  bool rewriteStart = false;  // the start box must show range.start (pulled back or dragged)
  bool rewriteEnd = false;    // the end box must show range.end
  Date calendar = 0;          // the date the calendar shows afterwards; 0: unchanged
  // The held messages the rules gave, in order; each comes with a beep.
  std::vector<StatusMessageId> messages;
};

// `box` now holds `entered` (0: its text is no valid date). `active` is the
// box that has the focus, which picks the message of a pull-back. The chain
// of drags stops after a few steps, so a file dated backwards (last entry
// before the first) cannot pull the boxes back and forth without end.
RangeEntry EnterDate(const ReportRange& before, DateBox box, Date entered, DateBox active,
                     const RangeBounds& bounds);

// The range once the current file changed on disk (rewritten, saved, appended
// to or replaced by another program): the user's range stays while both ends
// lie within the file's dated entries, and an end outside them is clamped to
// the nearest; a file that gives no dates for now (damaged, gone, empty)
// leaves the range as it is. No value when a box held no valid date: the
// range starts afresh.
std::optional<ReportRange> RangeAfterFileChange(const ReportRange& before, const RangeBounds& bounds);

struct RangeCaption {
  QString title;
  bool processEnabled = false;
  int periodDays = 0;  // 0 while the range is not valid
};
// "MIROLAT" while a box holds no valid date or there is no file to analyse;
// otherwise "MIROLAT - Report for n day(s)".
RangeCaption CaptionFor(const ReportRange& range, const CurrentFileState& file);

enum class QuickDate { Today, FirstEntry, LastEntry, WeekForward, WeekBack, MonthForward, MonthBack };

// The date a quick-date command writes into the active box: today, the
// file's first or last entry, or `from` a week or a calendar month on or
// back. 0 when there is nothing to write (no dated entry in the file).
Date QuickDateTarget(QuickDate command, Date from, Date today, const CurrentFileState& file);

enum class CycleQuickDate { ThisCycle, LastCycle };

// The budget the billing-cycle quick dates follow: service `service`'s
// (0-based, in use) when one is given, else the overall one.
const BudgetSettings& QuickDateBudget(const Configuration& config, int service);
// The range This Billing Cycle and Last Billing Cycle write into both boxes:
// the cycle holding `today` from its first day up to today (the days after
// today have nothing to report yet), or the whole cycle before it.
ReportRange BillingCycleRange(CycleQuickDate command, const BudgetSettings& budget, Date today);

// True when the file has a dated entry, so First Entry and Last Entry have a
// date to give.
bool HasDatedEntries(const CurrentFileState& file);

}  // namespace mirolat

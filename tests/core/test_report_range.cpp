#include <gtest/gtest.h>

#include "core/app/command_availability.h"
#include "core/app/report_range.h"
#include "core/app/run_status.h"

namespace mirolat {
namespace {

using M = StatusMessageId;

const Date kFirst = MakeDate(1998, 1, 15);
const Date kLast = MakeDate(1998, 1, 21);

CurrentFileState WeekLog() {
  CurrentFileState f;
  f.LogExists = true;
  f.LogFirstDate = kFirst;
  f.LogLastDate = kLast;
  f.LogEntryCount = 28;
  return f;
}

Date Jan(int day) { return MakeDate(1998, 1, day); }

// One entry into a box of a range that starts as [start, end], both valid.
struct EntryCase {
  const char* name;
  Date start, end;
  DateBox box;
  Date entered;
  DateBox active;
  Date wantStart, wantEnd;
  bool rewriteStart, rewriteEnd;
  std::vector<StatusMessageId> messages;
  Date calendar;
};

TEST(RangeEntry, FollowsTheRules) {
  const DateBox S = DateBox::Start, E = DateBox::End;
  const EntryCase cases[] = {
      {"start_inside", Jan(21), Jan(21), S, Jan(15), S, Jan(15), Jan(21), false, false, {}, Jan(15)},
      {"start_after_end_drags_end", Jan(15), Jan(17), S, Jan(19), S, Jan(19), Jan(19), false, true, {}, Jan(19)},
      {"end_before_start_drags_start", Jan(19), Jan(19), E, Jan(16), E, Jan(16), Jan(16), true, false, {}, Jan(16)},
      {"end_after_last_pulled_back", Jan(21), Jan(21), E, Jan(25), E, Jan(21), Jan(21), false, true, {M::EndAfterLast}, Jan(21)},
      {"start_before_first_pulled_back", Jan(15), Jan(21), S, Jan(10), S, Jan(15), Jan(21), true, false, {M::StartBeforeFirst}, Jan(15)},
      // Today on the start box drags the end box past the last entry: it is
      // pulled back with the start box's message and drags the start back.
      {"start_past_log_drags_end_back", Jan(15), Jan(21), S, MakeDate(2026, 12, 6), S, Jan(21), Jan(21), true, true, {M::StartAfterEnd}, Jan(21)},
      // An end dragged below the first entry pulls the start up, with the
      // end box's message.
      {"end_before_first_drags_start_up", Jan(15), Jan(21), E, Jan(2), E, Jan(15), Jan(15), true, true, {M::EndBeforeStart}, Jan(15)},
      {"same_day_is_no_drag", Jan(17), Jan(19), E, Jan(17), E, Jan(17), Jan(17), false, false, {}, Jan(17)}};
  for (const EntryCase& c : cases) {
    const ReportRange before{c.start, c.end, true, true};
    const RangeEntry e = EnterDate(before, c.box, c.entered, c.active, RangeBoundsOf(WeekLog()));
    EXPECT_EQ(e.range.start, c.wantStart) << c.name;
    EXPECT_EQ(e.range.end, c.wantEnd) << c.name;
    EXPECT_EQ(e.rewriteStart, c.rewriteStart) << c.name;
    EXPECT_EQ(e.rewriteEnd, c.rewriteEnd) << c.name;
    EXPECT_EQ(e.messages, c.messages) << c.name;
    EXPECT_EQ(e.calendar, c.calendar) << c.name;
    EXPECT_TRUE(e.range.startValid && e.range.endValid) << c.name;
  }
}

TEST(RangeEntry, AnInvalidTextOnlyClearsItsValidFlag) {
  const ReportRange before{Jan(15), Jan(21), true, true};
  const RangeEntry e = EnterDate(before, DateBox::Start, 0, DateBox::Start, RangeBoundsOf(WeekLog()));
  EXPECT_FALSE(e.range.startValid);
  EXPECT_TRUE(e.range.endValid);
  EXPECT_EQ(e.range.start, Jan(15));
  EXPECT_EQ(e.calendar, 0);
  EXPECT_TRUE(e.messages.empty());
}

TEST(RangeEntry, BoundsApplyOnlyToAUsableFile) {
  struct Row { const char* name; void (*change)(CurrentFileState&); bool clampStart, clampEnd; };
  const Row rows[] = {
      {"modem log", [](CurrentFileState&) {}, true, true},
      {"archive, log gone", [](CurrentFileState& f) { f.LogExists = false; f.ArchiveOpen = true; }, true, true},
      {"no file", [](CurrentFileState& f) { f.LogExists = false; }, false, false},
      {"not a modem log", [](CurrentFileState& f) { f.NotAModemLog = true; }, false, false},
      {"corrupt", [](CurrentFileState& f) { f.LogCorrupt = true; }, false, false},
      {"empty", [](CurrentFileState& f) { f.LogEmpty = true; }, true, false}};
  for (const Row& r : rows) {
    CurrentFileState f = WeekLog();
    r.change(f);
    const RangeBounds b = RangeBoundsOf(f);
    EXPECT_EQ(b.clampStart, r.clampStart) << r.name;
    EXPECT_EQ(b.clampEnd, r.clampEnd) << r.name;
  }
}

TEST(RangeAfterFileChange, KeepsTheRangeInsideTheLogAndClampsTheRest) {
  struct Row {
    const char* name;
    Date start, end;
    bool valid;
    Date first, last;
    bool usable;
    Date wantStart, wantEnd;  // 0: the range starts afresh
  };
  const Row rows[] = {
      {"inside", Jan(16), Jan(18), true, kFirst, kLast, true, Jan(16), Jan(18)},
      {"the whole log", kFirst, kLast, true, kFirst, kLast, true, kFirst, kLast},
      {"purged before the start", Jan(16), Jan(18), true, Jan(17), kLast, true, Jan(17), Jan(18)},
      {"cut after the end", Jan(16), Jan(20), true, kFirst, Jan(19), true, Jan(16), Jan(19)},
      {"all of it purged away", Jan(15), Jan(16), true, Jan(18), kLast, true, Jan(18), Jan(18)},
      {"a box held no date", Jan(16), Jan(18), false, kFirst, kLast, true, 0, 0},
      {"damaged or gone for now", Jan(16), Jan(18), true, kFirst, kLast, false, Jan(16), Jan(18)},
      {"no dated entry", Jan(16), Jan(18), true, 0, 0, true, Jan(16), Jan(18)}};
  for (const Row& r : rows) {
    RangeBounds bounds{r.first, r.last, r.usable, r.usable};
    const auto kept = RangeAfterFileChange({r.start, r.end, true, r.valid}, bounds);
    if (r.wantStart == 0) { EXPECT_FALSE(kept.has_value()) << r.name; continue; }
    ASSERT_TRUE(kept.has_value()) << r.name;
    EXPECT_EQ(kept->start, r.wantStart) << r.name;
    EXPECT_EQ(kept->end, r.wantEnd) << r.name;
  }
}

TEST(RangeEntry, AFileDatedBackwardsStopsPullingAfterAFewSteps) {
  // First entry after the last: each bound pulls the other box.
  CurrentFileState f = WeekLog();
  f.LogFirstDate = kLast;
  f.LogLastDate = kFirst;
  const ReportRange before{kFirst, kFirst, true, true};
  const RangeEntry e = EnterDate(before, DateBox::End, Jan(30), DateBox::End, RangeBoundsOf(f));
  EXPECT_TRUE(e.range.endValid);
  EXPECT_TRUE(e.range.startValid);
  EXPECT_LE(e.messages.size(), 5u);
}

TEST(RangeCaption, NamesTheDaysOfAValidRange) {
  const struct { ReportRange range; bool fileExists; const char* title; bool process; int days; } rows[] = {
      {{Jan(21), Jan(21), true, true}, true, "MIROLAT - Report for 1 day", true, 1},
      {{Jan(15), Jan(21), true, true}, true, "MIROLAT - Report for 7 days", true, 7},
      {{Jan(15), Jan(21), false, true}, true, "MIROLAT", false, 0},
      {{Jan(15), Jan(21), true, false}, true, "MIROLAT", false, 0},
      {{Jan(15), Jan(21), true, true}, false, "MIROLAT", false, 0}};
  for (const auto& r : rows) {
    CurrentFileState f = WeekLog();
    f.LogExists = r.fileExists;
    const RangeCaption c = CaptionFor(r.range, f);
    EXPECT_EQ(c.title, QString::fromLatin1(r.title));
    EXPECT_EQ(c.processEnabled, r.process) << r.title;
    EXPECT_EQ(c.periodDays, r.days) << r.title;
  }
}

TEST(QuickDates, TargetsOfEachCommand) {
  const Date today = MakeDate(2026, 12, 6);
  CurrentFileState empty = WeekLog();
  empty.LogEmpty = true;
  empty.LogFirstDate = 0;
  empty.LogLastDate = 0;
  const struct { QuickDate command; Date from; bool emptyFile; Date want; } rows[] = {
      {QuickDate::Today, Jan(17), false, today}, {QuickDate::FirstEntry, Jan(17), false, kFirst},
      {QuickDate::LastEntry, Jan(17), false, kLast}, {QuickDate::WeekForward, Jan(1), false, Jan(8)},
      {QuickDate::WeekBack, Jan(24), false, Jan(17)}, {QuickDate::MonthForward, Jan(31), false, MakeDate(1998, 2, 28)},
      {QuickDate::MonthBack, MakeDate(1998, 3, 31), false, MakeDate(1998, 2, 28)},
      // A file without a dated entry has no first or last date to give.
      {QuickDate::FirstEntry, Jan(17), true, 0}, {QuickDate::LastEntry, Jan(17), true, 0}};
  for (const auto& r : rows) {
    EXPECT_EQ(QuickDateTarget(r.command, r.from, today, r.emptyFile ? empty : WeekLog()), r.want)
        << static_cast<int>(r.command) << " empty " << r.emptyFile;
  }
}

TEST(CommandAvailability, FollowsTheStateOfTheCurrentFile) {
  using A = Availability;
  CurrentFileState none;
  CurrentFileState corrupt = WeekLog();
  corrupt.LogCorrupt = true;
  CurrentFileState archive = WeekLog();
  archive.ArchiveOpen = true;
  CurrentFileState empty = WeekLog();
  empty.LogEmpty = true;
  empty.LogFirstDate = empty.LogLastDate = 0;
  // View, Process, OpenArchiveMenu, QuickDate, ToolsMenu, ToolsPurge, ToolsClear, Repair, FirstLastEntry.
  const struct { const char* name; CurrentFileState file; std::vector<A> want; } rows[] = {
      {"no log", none, {A::Off, A::Off, A::On, A::Off, A::Off, A::Unchanged, A::Unchanged, A::Off, A::Off}},
      {"corrupt", corrupt, {A::Off, A::Off, A::Off, A::Off, A::Unchanged, A::Off, A::Unchanged, A::On, A::Off}},
      {"log", WeekLog(), {A::On, A::On, A::On, A::On, A::On, A::On, A::On, A::Off, A::On}},
      {"archive", archive, {A::On, A::On, A::On, A::On, A::On, A::Off, A::Off, A::Off, A::On}},
      {"empty log", empty, {A::On, A::On, A::On, A::On, A::On, A::Off, A::On, A::Off, A::Off}}};
  for (const auto& r : rows) {
    const CommandAvailability a = AvailabilityFor(r.file, true);
    EXPECT_EQ((std::vector<A>{a.View, a.Process, a.OpenArchiveMenu, a.QuickDate, a.ToolsMenu, a.ToolsPurge,
                              a.ToolsClear, a.Repair, a.FirstLastEntry}),
              r.want)
        << r.name;
  }
  // The command line's rewrites follow the same table: a corrupt file (an
  // archive too) takes only Repair; any other file every rewrite.
  CurrentFileState corruptArchive = corrupt;
  corruptArchive.ArchiveOpen = true;
  for (const LogRewrite rewrite : {LogRewrite::Optimize, LogRewrite::Purge, LogRewrite::Archive, LogRewrite::Repair}) {
    const bool repair = rewrite == LogRewrite::Repair;
    EXPECT_EQ(RewriteAllowed(corrupt, rewrite), repair) << static_cast<int>(rewrite);
    EXPECT_EQ(RewriteAllowed(corruptArchive, rewrite), repair) << static_cast<int>(rewrite);
    EXPECT_TRUE(RewriteAllowed(WeekLog(), rewrite)) << static_cast<int>(rewrite);
    EXPECT_TRUE(RewriteAllowed(empty, rewrite)) << static_cast<int>(rewrite);
  }
}

TEST(RunEndText, AStoppedRunSaysWhatStoppedIt) {
  const struct { bool corrupt, connections, services; const char* text; } rows[] = {
      {false, false, false, " F I N I S H E D !  -  (42 entries processed)"},
      {true, false, false, " STOPPED: undated line in the modem log  -  (42 entries processed)"},
      {false, true, false, " STOPPED: too many connections  -  (42 entries processed)"},
      {false, false, true, " STOPPED: too many services  -  (42 entries processed)"}};
  for (const auto& r : rows) {
    RunState run;
    run.LinesRead = 42;
    run.LogCorrupt = r.corrupt;
    run.TooManyConnections = r.connections;
    run.TooManyServices = r.services;
    EXPECT_EQ(RunEndText(run), QString::fromLatin1(r.text));
  }
}

}  // namespace
}  // namespace mirolat

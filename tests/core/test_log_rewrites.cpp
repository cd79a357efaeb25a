// The log rewrites over bytes: which lines optimize, purge and repair keep,
// the line ends they write, and the progress they report.
#include <gtest/gtest.h>

#include <QLocale>
#include <functional>

#include "core/logfile/log_rewrites.h"
#include "file_test_support.h"

namespace mirolat {
namespace {

using test::RecordingProgress;

QByteArray Optimize(const QByteArray& log, const Configuration& config = Configuration{},
                    LineCounts* counts = nullptr) {
  ByteArraySink sink;
  NullProgress progress;
  const LineCounts c = OptimizeLogText(log, config, sink, progress);
  if (counts != nullptr) *counts = c;
  return sink.bytes();
}

const Date kJan15 = MakeDate(1998, 1, 15);
const Date kJan16 = MakeDate(1998, 1, 16);

QByteArray Purge(const QByteArray& log, Date from, Date to, LineCounts* counts = nullptr) {
  ByteArraySink sink;
  NullProgress progress;
  const LineCounts c = PurgeLogText(log, from, to, sink, progress);
  if (counts != nullptr) *counts = c;
  return sink.bytes();
}

QByteArray Strip(const QByteArray& log) { NullProgress progress; return StripBadCharacters(log, progress); }

QByteArray DropUndated(const QByteArray& text, LineCounts* counts = nullptr) {
  ByteArraySink sink;
  NullProgress progress;
  const LineCounts c = DropUndatedLines(text, sink, progress);
  if (counts != nullptr) *counts = c;
  return sink.bytes();
}

// Optimize with the default response texts, purge of 15 and 16 January 1998,
// and repair's pass over undated lines: the lines each keeps and its counts.
TEST(LineRewrites, KeepTheirLinesEachEndingInCrLf) {
  using Rewrite = QByteArray (*)(const QByteArray&, LineCounts*);
  const Rewrite optimize = [](const QByteArray& in, LineCounts* c) { return Optimize(in, Configuration{}, c); };
  const Rewrite purge = [](const QByteArray& in, LineCounts* c) { return Purge(in, kJan15, kJan16, c); };
  const Rewrite drop = [](const QByteArray& in, LineCounts* c) { return DropUndated(in, c); };
  const struct { const char* name; Rewrite rewrite; QByteArray input, expected; qint64 kept, removed; } rows[] = {
      {"optimize: each kind kept, chatter dropped", optimize,
       "01-15-1998 10:00:00.00 - Initializing modem.\r\n01-15-1998 10:00:01.00 - Recv: ATDT5551234\r\n"
       "01-15-1998 10:00:02.00 - Send: ATDT5551234\r\n01-15-1998 10:00:30.00 - Connection established at 28800bps.\r\n"
       "01-15-1998 10:30:00.00 - Hanging up the modem.\r\n01-15-1998 10:30:01.00 - Modem Reads : 1024 bytes\r\n"
       "01-15-1998 10:30:01.00 - Modem Writes : 512 bytes\r\n01-15-1998 11:00:00.00 - Answering an incoming call.\r\n"
       "01-15-1998 11:20:00.00 - Remote modem hung up.\r\n01-15-1998 11:20:01.00 - Session statistics:\r\n",
       "01-15-1998 10:00:01.00 - Recv: ATDT5551234\r\n01-15-1998 10:00:30.00 - Connection established at 28800bps.\r\n"
       "01-15-1998 10:30:00.00 - Hanging up the modem.\r\n01-15-1998 10:30:01.00 - Modem Reads : 1024 bytes\r\n"
       "01-15-1998 10:30:01.00 - Modem Writes : 512 bytes\r\n01-15-1998 11:00:00.00 - Answering an incoming call.\r\n"
       "01-15-1998 11:20:00.00 - Remote modem hung up.\r\n", 7, 3},
      {"optimize: two texts in a line, any case, written once", optimize,
       "01-15-1998 10:00:00.00 - RECV: ATDT555 CONNECTION ESTABLISHED\r\n01-15-1998 10:00:01.00 - READS 10 WRITES 20\r\n"
       "01-15-1998 10:00:00.00 - connection established\r\n01-15-1998 10:00:00.00 - CoNnEcTiOn EsTaBlIsHeD\r\n",
       "01-15-1998 10:00:00.00 - RECV: ATDT555 CONNECTION ESTABLISHED\r\n01-15-1998 10:00:01.00 - READS 10 WRITES 20\r\n"
       "01-15-1998 10:00:00.00 - connection established\r\n01-15-1998 10:00:00.00 - CoNnEcTiOn EsTaBlIsHeD\r\n", 4, 0},
      {"optimize: blank and undated lines", optimize,
       "\r\n   \r\nno date but READS 5 bytes\r\nno date and nothing else\r\n", "no date but READS 5 bytes\r\n", 1, 3},
      {"optimize: line ends", optimize,
       "01-15-1998 10:00:00.00 - READS 1\n01-15-1998 10:00:00.00 - chatter\n01-15-1998 10:00:00.00 - READS 2\r"
       "01-15-1998 10:00:00.00 - READS 3\r\n01-15-1998 10:00:00.00 - READS 4",
       "01-15-1998 10:00:00.00 - READS 1\r\n01-15-1998 10:00:00.00 - READS 2\r\n"
       "01-15-1998 10:00:00.00 - READS 3\r\n01-15-1998 10:00:00.00 - READS 4\r\n", 4, 1},
      {"optimize: end-of-file mark", optimize,
       "01-15-1998 10:00:00.00 - READS 1\r\n\x1a" "01-15-1998 10:00:00.00 - READS 2\r\n",
       "01-15-1998 10:00:00.00 - READS 1\r\n", 1, 0}, {"optimize: empty", optimize, "", "", 0, 0},
      {"purge: both days of the range go", purge,
       "01-14-1998 23:59:59.00 - before\r\n01-15-1998 00:00:00.00 - first day\r\n"
       "01-16-1998 23:59:59.00 - last day\r\n01-17-1998 00:00:00.00 - after\r\n",
       "01-14-1998 23:59:59.00 - before\r\n01-17-1998 00:00:00.00 - after\r\n", 2, 2},
      {"purge: blank and undated lines go everywhere", purge,
       "\r\n01-14-1998 10:00:00.00 - before\r\n  \r\ngarbage before the range\r\n01-15-1998 10:00:00.00 - inside\r\n"
       "garbage inside the range\r\n01-17-1998 10:00:00.00 - after\r\n\r\ngarbage after the range\r\n",
       "01-14-1998 10:00:00.00 - before\r\n01-17-1998 10:00:00.00 - after\r\n", 2, 7},
      // Other separators and days that do not exist are no dates.
      {"purge: only the log's own dates count", purge,
       "01/15/1998 10:00:00.00 - slashes\r\n01.17.1998 10:00:00.00 - dots\r\n13-15-1997 10:00:00.00 - month 13\r\n"
       "01-32-1998 10:00:00.00 - day 32\r\n01-17-1998 10:00:00.00 - AFTER\r\n",
       "01-17-1998 10:00:00.00 - AFTER\r\n", 1, 4}, {"purge: line ends", purge,
       "01-14-1998 10:00:00.00 - lf\n01-15-1998 10:00:00.00 - inside\r01-17-1998 10:00:00.00 - cr\r"
       "01-18-1998 10:00:00.00 - no end",
       "01-14-1998 10:00:00.00 - lf\r\n01-17-1998 10:00:00.00 - cr\r\n01-18-1998 10:00:00.00 - no end\r\n", 3, 1},
      {"purge: short lines", purge, "1-1\r\n01-14-1998\r\n01-15-1998\r\n", "01-14-1998\r\n", 1, 2},
      {"repair: garbage and blank lines go", drop,
       "01-15-1998 10:00:00.00 - kept\r\nxx01-15-1998 10:00:00.00 - garbage first\r\n\r\n     \r\n"
       "01-16-1998 10:00:00.00 - Kept too\r\n",
       "01-15-1998 10:00:00.00 - kept\r\n01-16-1998 10:00:00.00 - Kept too\r\n", 2, 3}, {"repair: line ends", drop,
       "01-15-1998 10:00:00.00 - lf\n01-15-1998 10:00:01.00 - cr\r01-15-1998 10:00:02.00 - crlf\r\n"
       "01-15-1998 10:00:03.00 - none",
       "01-15-1998 10:00:00.00 - lf\r\n01-15-1998 10:00:01.00 - cr\r\n01-15-1998 10:00:02.00 - crlf\r\n"
       "01-15-1998 10:00:03.00 - none\r\n", 4, 0}, {"repair: a line longer than a line can be goes", drop,
       "01-15-1998 10:00:00.00 - " + QByteArray(1000, 'x') + "\r\n01-15-1998 10:00:01.00 - " + QByteArray(999, 'x') +
           "\r\n", "01-15-1998 10:00:01.00 - " + QByteArray(999, 'x') + "\r\n", 1, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    LineCounts counts;
    EXPECT_EQ(row.rewrite(row.input, &counts), row.expected);
    EXPECT_EQ(counts.Kept, row.kept);
    EXPECT_EQ(counts.Removed, row.removed);
  }
}

TEST(OptimizeRules, AResponseTextWithLowerCaseLettersNeverMatches) {
  Configuration config;
  config.ModemConnect = QStringLiteral("Connection established");
  const QByteArray log = "01-15-1998 10:00:00.00 - Connection established\r\n"
      "01-15-1998 10:00:00.00 - CONNECTION ESTABLISHED\r\n"
      "01-15-1998 10:00:01.00 - RECV: ATDT1\r\n";
  EXPECT_EQ(Optimize(log, config), "01-15-1998 10:00:01.00 - RECV: ATDT1\r\n");
}

TEST(OptimizeRules, LongRunsOfKeptLinesComeOutWhole) {
  // More kept bytes than one piece handed to the sink.
  QByteArray log;
  QByteArray expected;
  for (int i = 0; i < 60000; ++i) {
    const QByteArray kept = "01-15-1998 10:00:00.00 - READS " + QByteArray::number(i) + "\r\n";
    log += kept;
    expected += kept;
    if (i % 1000 == 0) log += "01-15-1998 10:00:00.00 - chatter\r\n";
  }
  LineCounts counts;
  EXPECT_EQ(Optimize(log, Configuration{}, &counts), expected);
  EXPECT_EQ(counts.Kept, 60000);
  EXPECT_EQ(counts.Removed, 60);
}

TEST(PurgeRules, MoreThan32767LinesAreCounted) {
  // Three days of 20,000 lines each; the middle day is purged.
  QByteArray log;
  QByteArray expected;
  for (int day = 14; day <= 16; ++day) {
    for (int i = 0; i < 20000; ++i) {
      const QByteArray line = "01-" + QByteArray::number(day) + "-1998 10:00:00.00 - line " +
                              QByteArray::number(i) + "\r\n";
      log += line;
      if (day != 15) expected += line;
    }
  }
  LineCounts counts;
  EXPECT_EQ(Purge(log, kJan15, kJan15, &counts), expected);
  EXPECT_EQ(counts.Kept, 40000);
  EXPECT_EQ(counts.Removed, 20000);
  // Kept whole, in pieces of at most a megabyte each.
  EXPECT_EQ(Purge(log, 1, 1, &counts), log);
  EXPECT_EQ(counts.Kept, 60000);
}

TEST(StripBadCharactersTest, AllByteValues) {
  QByteArray all;
  QByteArray expected;
  for (int b = 0; b < 256; ++b) {
    all += static_cast<char>(b);
    if (b == 10 || b == 13 || (b >= 32 && b <= 126)) expected += static_cast<char>(b);
  }
  EXPECT_EQ(Strip(all), expected);
  // Across the stretches the walk is cut into.
  EXPECT_EQ(Strip(all.repeated(3000)), expected.repeated(3000));
}

TEST(StripBadCharactersTest, ABadByteAtEveryPlaceOfALongRun) {
  // Runs of good bytes are copied whole: a bad byte anywhere in one, and two
  // next to each other, go without taking a neighbour with them.
  const QByteArray good = QByteArray("01-15-1998 10:00:00.00 - CONNECTION ESTABLISHED\r\n").repeated(3);
  for (qsizetype at = 0; at < good.size(); ++at) {
    for (const char bad : {'\0', '\t', '\x7f', '\x80', '\xff', '\x1a'}) {
      QByteArray once = good;
      once.insert(at, bad);
      ASSERT_EQ(Strip(once), good) << at << ' ' << int(bad);
      QByteArray twice = once;
      twice.insert(at, '\x01');
      ASSERT_EQ(Strip(twice), good) << at << ' ' << int(bad);
    }
  }
}

TEST(RepairPasses, ALineStartingWithNulKeepsItsDateAndItsLastCharacter) {
  const QByteArray log = QByteArray("\0" "01-15-1998 10:00:00.00 - CONN\tECTED", 36) + "\xff";
  EXPECT_EQ(DropUndated(Strip(log)), "01-15-1998 10:00:00.00 - CONNECTED\r\n");
}

// Every rewrite reports percentages from 0 to 100, rising, about once per
// percent however many lines there are, and ends on its status text at 100%.
TEST(RewriteProgress, StaysWithin0To100AboutOncePerPercent) {
  QByteArray many;
  for (int i = 0; i < 50000; ++i) many += "01-15-1998 10:00:00.00 - READS " + QByteArray::number(i) + "\r\n";
  const QByteArray inputs[] = {"", QByteArray("\r\n").repeated(5000), "01-15-1998 10:00:00.00 - READS 1", many,
                               QByteArray(3000000, 'x')};
  ByteArraySink sink;
  const struct { const char* last; std::function<void(const QByteArray&, Progress&)> run; } rewrites[] = {
      {"Please Wait .....Optimizing  100%",
       [&](const QByteArray& in, Progress& p) { OptimizeLogText(in, Configuration{}, sink, p); }},
      {"Please Wait .....Purging  100%", [&](const QByteArray& in, Progress& p) { PurgeLogText(in, kJan15, kJan15, sink, p); }},
      {"Repairing Modem Log.........  100%", [](const QByteArray& in, Progress& p) { StripBadCharacters(in, p); }},
      {"Checking Entries.........  100%", [&](const QByteArray& in, Progress& p) { DropUndatedLines(in, sink, p); }}};
  for (const QByteArray& input : inputs) {
    for (const auto& rewrite : rewrites) {
      SCOPED_TRACE(::testing::Message() << rewrite.last << ", " << input.size() << " bytes");
      RecordingProgress p;
      rewrite.run(input, p);
      ASSERT_FALSE(p.percents.empty());
      EXPECT_EQ(p.percents.front(), 0);
      EXPECT_EQ(p.percents.back(), 100);
      for (qsizetype i = 1; i < p.percents.size(); ++i) EXPECT_GT(p.percents[i], p.percents[i - 1]);
      EXPECT_LE(p.percents.size(), 102);
      EXPECT_EQ(p.yields, static_cast<int>(p.percents.size()));
      EXPECT_EQ(p.statuses.last(), QLatin1String(rewrite.last));
    }
  }
  RecordingProgress optimize;
  OptimizeLogText("01-15-1998 10:00:00.00 - READS 1\r\n", Configuration{}, sink, optimize);
  EXPECT_EQ(optimize.statuses, (QStringList{"Please Wait .....Optimizing  0%", "Please Wait .....Optimizing  100%"}));
}

TEST(RepairDoneText, SaysWhatWasRemovedAndWhereTheOldFileIs) {
  const auto text = [](qint64 lines, qint64 bytes, const char* backup) {
    RewriteResult r;
    r.Done = true;
    r.LinesRemoved = lines;
    r.BytesDropped = bytes;
    r.BackupPath = QString::fromLatin1(backup);
    return RepairDoneText(r).toStdString();
  };
  EXPECT_EQ(text(1, 2, "/logs/ModemLog.old"),
            "Modem File Successfully Repaired!\n\n1 line removed, 2 characters removed.\n"
            "The file as it was is kept as ModemLog.old.");
  EXPECT_EQ(text(3, 1, ""), "Modem File Successfully Repaired!\n\n3 lines removed, 1 character removed.");
  EXPECT_EQ(text(0, 0, "/a/ModemLogArchive.old"), "Modem File Successfully Repaired!\n\nNothing had to be removed.\n"
            "The file as it was is kept as ModemLogArchive.old.");
}

TEST(ArchiveName, FirstAndLastDay) {
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  EXPECT_EQ(ProposedArchiveName(MakeDate(1998, 1, 1), MakeDate(1998, 1, 31), english), "01Jan98 - 31Jan98");
  EXPECT_EQ(ProposedArchiveName(MakeDate(1999, 12, 5), MakeDate(2000, 2, 29), english), "05Dec99 - 29Feb00");
  EXPECT_EQ(ProposedArchiveName(0, MakeDate(1998, 1, 31), english), "");
}

TEST(CommandQuestions, PurgeNamesTheDaysInTheLocalesShortForm) {
  EXPECT_EQ(PurgeQuestion(kJan15, MakeDate(1998, 2, 3), QLocale(QLocale::English, QLocale::UnitedStates)).text,
            "About to purge all entries in Modem\nLog File between 1/15/98 and 2/3/98.\n\nAre You Sure?");
}

TEST(CommandRules, AutoOptimizeAppliesOnlyWhenEverythingAllowsIt) {
  Configuration on;
  on.AutoOptimize = true;
  const Configuration off;
  const struct { bool item, tools; const Configuration& config; bool asked, applies; } rows[] = {
      {true, true, on, false, true},   {false, true, on, false, false}, {true, false, on, false, false},
      {true, true, off, false, false}, {true, true, on, true, false}};
  for (const auto& r : rows) {
    EXPECT_EQ(AutoOptimizeApplies(r.item, r.tools, r.config, r.asked), r.applies)
        << r.item << r.tools << r.config.AutoOptimize << r.asked;
  }
}

TEST(CommandRules, PurgeDatesAreClampedToTheLog) {
  const Date first = MakeDate(1998, 1, 10);
  const Date last = MakeDate(1998, 1, 20);
  const struct { Date typed, result; bool clamped; } rows[] = {{MakeDate(1998, 1, 1), first, true},
              {first, first, false}, {kJan15, kJan15, false}, {last, last, false}, {MakeDate(1998, 2, 1), last, true}};
  for (const auto& r : rows) {
    bool clamped = !r.clamped;
    EXPECT_EQ(ClampPurgeDate(r.typed, first, last, &clamped), r.result) << r.typed;
    EXPECT_EQ(clamped, r.clamped) << r.typed;
  }
  EXPECT_TRUE(PurgeOkEnabled(true, kJan15, true, kJan15));
  EXPECT_TRUE(PurgeOkEnabled(true, kJan15, true, kJan16));
  EXPECT_FALSE(PurgeOkEnabled(true, kJan16, true, kJan15));
  EXPECT_FALSE(PurgeOkEnabled(false, kJan15, true, kJan16));
  EXPECT_FALSE(PurgeOkEnabled(true, kJan15, false, kJan16));
}

}  // namespace
}  // namespace mirolat

#include <gtest/gtest.h>

#include <QDateTime>
#include <QRegularExpression>

#include "core/analysis/log_generator.h"

namespace mirolat {
namespace {

TEST(LogGenerator, SameSeedSameBytesOtherSeedOtherLog) {
  LogGeneratorOptions a;
  a.seed = 7;
  a.days = 10;
  const QByteArray first = GenerateModemLog(a);
  EXPECT_EQ(first, GenerateModemLog(a));
  LogGeneratorOptions b = a;
  b.seed = 8;
  EXPECT_NE(first, GenerateModemLog(b));
}

TEST(LogGenerator, NoDaysNoLog) {
  LogGeneratorOptions o;
  o.days = 0;
  GeneratedLogStats stats;
  stats.lines = 99;
  EXPECT_TRUE(GenerateModemLog(o, &stats).isEmpty());
  EXPECT_EQ(stats.lines, 0);
}

// Every line is "MM-DD-YYYY HH:MM:SS.hh - text", the clock never goes back,
// and the log starts on the first day and stays within the days asked for
// (a call of the last day may run past its midnight). Walked the way the
// analysis sees it, the log holds every kind of call the statistics promise,
// with the dialled numbers.
TEST(LogGenerator, DatedLinesInOrderHoldingEveryKindOfCall) {
  LogGeneratorOptions o;
  o.seed = 3;
  o.days = 60;
  o.sessionsPerDay = 4;
  o.start = QDate(1998, 12, 20);  // crosses a year end
  GeneratedLogStats stats;
  QList<QByteArray> lines = GenerateModemLog(o, &stats).split('\n');
  ASSERT_TRUE(lines.last().isEmpty()) << "the log must end with a line end";
  lines.removeLast();
  ASSERT_EQ(lines.size(), stats.lines);
  EXPECT_TRUE(lines.first().startsWith("12-20-1998 "));
  EXPECT_TRUE(lines.last().endsWith("Closing Modem.\r") || stats.missingDisconnects > 0);
  const QRegularExpression shape(QStringLiteral(R"(^(\d\d)-(\d\d)-(\d{4}) (\d\d:\d\d:\d\d)\.(\d\d) - \s*\S.*$)"));
  QDateTime previous;
  const QStringList numbers = GeneratedLogNumbers();
  ASSERT_EQ(numbers.size(), 4);
  int connects = 0, answers = 0, dials = 0, unusable = 0, failed = 0, missing = 0, crossings = 0;
  int reads = 0, writes = 0;
  bool connected = false;
  bool pending = false;
  QByteArray connectDay;
  QList<int> perNumber(numbers.size(), 0);
  for (QByteArray raw : lines) {
    ASSERT_TRUE(raw.endsWith('\r')) << raw.constData();
    raw.chop(1);
    const auto m = shape.match(QString::fromLatin1(raw));
    ASSERT_TRUE(m.hasMatch()) << raw.constData();
    const QDate d(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    const QTime t = QTime::fromString(m.captured(4), QStringLiteral("hh:mm:ss")).addMSecs(m.captured(5).toInt() * 10);
    ASSERT_TRUE(d.isValid() && t.isValid()) << raw.constData();
    const QDateTime now(d, t);
    if (previous.isValid()) { ASSERT_LE(previous, now) << raw.constData(); }
    previous = now;
    ASSERT_GE(d, o.start);
    ASSERT_LE(d, o.start.addDays(o.days)) << raw.constData();
    const QByteArray text = raw.mid(25);
    const QByteArray upper = raw.toUpper();
    const bool isDial = upper.contains("RECV: ATD");
    const bool isAnswer = upper.contains("ANSWERING");
    const bool isConnect = upper.contains("CONNECTION ESTABLISHED");
    const bool isHangUp = upper.contains("HANGING UP THE MODEM") || upper.contains("REMOTE MODEM HUNG UP");
    if ((isDial || isAnswer) && connected) { ++missing; connected = false; }
    if (isDial) {
      ++dials;
      ASSERT_TRUE(text.startsWith("Recv: ATDT") && text.endsWith("<cr>")) << raw.constData();
      const QString number = QString::fromLatin1(text.mid(10, text.size() - 14));
      if (number.startsWith(QLatin1String("9,"))) {
        ++unusable;
        EXPECT_EQ(number.mid(2), numbers[0]);
      } else { ASSERT_TRUE(numbers.contains(number)) << raw.constData(); ++perNumber[numbers.indexOf(number)]; }
      pending = true;
    }
    if (isAnswer) { ++answers; pending = true; }
    if (isConnect) {
      ASSERT_TRUE(pending) << raw.constData();
      ++connects;
      connected = true;
      pending = false;
      connectDay = raw.left(10);
    }
    if (isHangUp) {
      if (pending) ++failed;
      if (connected && raw.left(10) != connectDay) ++crossings;
      connected = false;
      pending = false;
    }
    if (upper.contains("READS :")) ++reads;
    if (upper.contains("WRITES :")) ++writes;
  }
  if (connected) ++missing;
  EXPECT_EQ(stats.lastDate, previous.date());
  EXPECT_EQ(connects, stats.connectedSessions);
  EXPECT_EQ(answers, stats.answeredSessions);
  EXPECT_EQ(failed, stats.failedDials);
  EXPECT_EQ(missing, stats.missingDisconnects);
  EXPECT_EQ(unusable, stats.unusableNumbers);
  EXPECT_EQ(dials + answers, connects + failed);
  EXPECT_EQ(crossings, stats.midnightCrossings);
  EXPECT_EQ(reads, connects - missing);
  EXPECT_EQ(writes, reads);
  // 60 days of about four calls a day: every kind shows up.
  EXPECT_GT(connects, 150);
  EXPECT_GT(answers, 0);
  EXPECT_GT(failed, 0);
  EXPECT_GT(missing, 0);
  EXPECT_GT(unusable, 0);
  EXPECT_GT(stats.midnightCrossings, 0);
  for (int n : perNumber) EXPECT_GT(n, 0);
}

}  // namespace
}  // namespace mirolat

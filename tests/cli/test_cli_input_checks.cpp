// Inputs mirolat-cli refuses with a clear message instead of guessing: an
// unknown locale name, a folder given as the log, and a generated log whose
// dates would leave four-digit years.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "cli_test_support.h"

namespace mirolat {
namespace {

class CliInputTest : public testing::CliTest {
 protected:
  QString HealthyLog() { return testing::CaseDir("costs_on") + QStringLiteral("/ModemLog.txt"); }
};

// Known names are taken (C and POSIX as en_US); any other name is an error
// before anything is read or written.
TEST_F(CliInputTest, UnknownLocaleNamesAreRefused) {
  const struct {
    const char* name;
    int scanExit;
    const char* firstEntry;  // scan's line for a known name
  } cases[] = {
      {"de_DE.UTF-8", 0, "First entry: Donnerstag, 15. Januar 1998"}, {"xx_YY", 1, nullptr}};
  for (const auto& c : cases) {
    const QString name = QString::fromLatin1(c.name);
    EXPECT_EQ(Run(Words("scan --log") << HealthyLog() << QStringLiteral("--locale") << name), c.scanExit) << c.name;
    if (c.firstEntry != nullptr) {
      EXPECT_TRUE(out_.contains(QLatin1String(c.firstEntry))) << c.name << ": " << out_.toStdString();
      continue;
    }
    EXPECT_TRUE(out_.isEmpty()) << c.name;
    EXPECT_TRUE(err_.contains(QStringLiteral("unknown locale '") + name + QLatin1Char('\''))) << err_.toStdString();
    EXPECT_EQ(Run(ReportArgs("costs_on", "1998-01-15", "1998-01-15", c.name)), 1) << c.name;
    EXPECT_TRUE(err_.contains(QStringLiteral("unknown locale '") + name + QLatin1Char('\''))) << err_.toStdString();
    EXPECT_TRUE(out_.isEmpty()) << c.name;
  }
}

TEST_F(CliInputTest, AFolderIsNoLogFile) {
  const QString folder = dir_.filePath(QStringLiteral("logs"));
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_EQ(Run(Words("scan --locale en_US --log") << folder), 1);
  EXPECT_EQ(err_, QStringLiteral("mirolat-cli: '%1' is a folder, not a log file\n").arg(folder));
  EXPECT_EQ(Run(Words("report --from 1998-01-15 --to 1998-01-15 --log") << folder), 1);
  EXPECT_TRUE(err_.endsWith(QStringLiteral("mirolat-cli: '%1' is a folder, not a log file\n").arg(folder)))
      << err_.toStdString();
  EXPECT_TRUE(out_.isEmpty());
  // A missing file is still a missing file.
  EXPECT_EQ(Run(Words("report --from 1998-01-15 --to 1998-01-15 --log") << folder + QStringLiteral("/none.txt")), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("no modem log at"))) << err_.toStdString();
}

// The log's line format has four-digit years. A range whose last day (or the
// day after it, which a late call of the last evening reaches) is past the
// year 9999 is refused; one that ends just inside is written whole.
TEST_F(CliInputTest, GenlogKeepsFourDigitYears) {
  const struct { const char* start; const char* days; int exit; } cases[] = {
      {"9999-12-29", "2", 0},  // the last day 9999-12-30
      {"9999-12-30", "1", 0}, {"9999-12-30", "2", 1},  // the last day 9999-12-31
      {"9999-12-31", "1", 1}, {"9990-01-01", "36500", 1}};
  const QRegularExpression dated(QStringLiteral(R"(^\d\d-\d\d-\d{4} \d\d:\d\d:\d\d\.\d\d - )"));
  for (const auto& c : cases) {
    const QString path = dir_.filePath(QStringLiteral("gen.txt"));
    QFile::remove(path);
    EXPECT_EQ(Run(Words("genlog --seed 7 --start") << QLatin1String(c.start) << QStringLiteral("--days")
                                                    << QLatin1String(c.days) << QStringLiteral("--out") << path),
              c.exit)
        << c.start << ' ' << c.days << ": " << err_.toStdString();
    if (c.exit != 0) {
      EXPECT_TRUE(err_.contains(QStringLiteral("four-digit years"))) << err_.toStdString();
      EXPECT_FALSE(QFile::exists(path)) << c.start;
      continue;
    }
    const QList<QByteArray> lines = Read(path).split('\n');
    ASSERT_GT(lines.size(), 1) << c.start;
    for (const QByteArray& line : lines.first(lines.size() - 1)) {
      ASSERT_TRUE(dated.match(QString::fromLatin1(line)).hasMatch()) << line.constData();
    }
  }
}

}  // namespace
}  // namespace mirolat

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "core/logfile/log_checks.h"
#include "core/logfile/warnings.h"
#include "file_test_support.h"

namespace mirolat {
namespace {

using test::ScriptedReporter;
using test::RecordingProgress;

class LogChecks : public ::testing::Test {
 protected:
  CurrentFileState StateFor(const QByteArray& bytes) {
    const QString path = dir_.filePath(QStringLiteral("ModemLog.txt"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    CurrentFileState state;
    state.WindowsDir = dir_.path() + QLatin1Char('/');
    state.LogFileName = QStringLiteral("ModemLog.txt");
    state.LogFilePath = path;
    state.LogExists = true;
    return state;
  }
  QString MissingPath() const { return dir_.filePath(QStringLiteral("missing.txt")); }
  QTemporaryDir dir_;
  NullProgress none_;
};

const QByteArray kLine = "01-15-1998 10:23:45.12 - Dialing.\r\n";  // 35 bytes

TEST_F(LogChecks, FileExistsFindsFilesOnly) {
  const CurrentFileState state = StateFor("x");
  EXPECT_TRUE(FileExists(state.LogFilePath));
  EXPECT_FALSE(FileExists(MissingPath()));
  EXPECT_FALSE(FileExists(state.WindowsDir));
  EXPECT_FALSE(FileExists(QString()));
}

TEST_F(LogChecks, ForbiddenBytesAndOverlongLinesMakeTheLogCorrupt) {
  struct Case { QByteArray bytes; bool corrupt; const char* what; } cases[] = {
      {kLine + kLine, false, "plain text"}, {"a\tb\r\nc\nd\re", false, "tab, CR and LF"},
      {kLine + "\x1a", false, "end-of-file mark as the last byte"}, {kLine + "~ ", false, "highest printable byte"},
      {kLine + "\x1a" + kLine, true, "end-of-file mark inside the file"},
      {kLine + QByteArray(1, '\0') + "x", true, "NUL"}, {kLine + "\x7f" + "x", true, "DEL"},
      {kLine + "\xe9" + "x", true, "byte above 126"}, {kLine + "\x1b" + "x", true, "escape"},
      {kLine + "\x7f", false, "forbidden byte last: never examined"},
      {QByteArray(1, '\0'), false, "a single forbidden byte is the last byte"},
      {kLine + QByteArray(1024, 'x') + "\r\n" + kLine, false, "a line as long as a line can be"},
      {kLine + QByteArray(1025, 'x') + "\r\n" + kLine, true, "a line longer than that"},
      {kLine + QByteArray(1025, 'x'), true, "a last line longer than that"},
      {kLine + QByteArray(1000, 'x') + "\r" + QByteArray(1000, 'x') + "\n", false, "two long lines ended by CR and LF"},
  };
  for (const auto& c : cases) {
    CurrentFileState state = StateFor(c.bytes);
    ScriptedReporter reporter({}, ErrorAnswer::End);
    EXPECT_EQ(CheckLogCharacters(state, false, none_, reporter), c.corrupt) << c.what;
    EXPECT_EQ(state.LogFileSize, c.bytes.size()) << c.what;
    EXPECT_FALSE(state.LogEmpty) << c.what;
  }
}

// A status every hundredth of the file: the step is the size / 100 rounded
// half to even, so 50 bytes and less show only the final text; never more
// than a hundred; none when not asked or for an empty file (which is empty,
// not corrupt); a corrupt log shows no final percentage.
TEST_F(LogChecks, LoadingProgressAndEmptyFiles) {
  // `n` bytes of text in lines of 64.
  const auto Text = [](int n) {
    QByteArray text(n, 'a');
    for (int i = 63; i < n; i += 64) text[i] = '\n';
    return text;
  };
  const QString done = QStringLiteral("Please Wait .....Loading 100%");
  struct Case {
    QByteArray bytes;
    bool show;
    bool corrupt;
    int statuses;  // -1: between 2 and 100
    int yields;    // -1: not checked
    QString last;
  } cases[] = {
      {Text(1), true, false, 1, 0, done},    {Text(50), true, false, 1, 0, done},
      {Text(1000), true, false, 100, 99, done}, {Text(51), true, false, -1, -1, done},
      {Text(149), true, false, -1, -1, done}, {Text(10049), true, false, -1, -1, done},
      {Text(500) + '\x01' + Text(499), true, true, 50, -1,
       QStringLiteral("Please Wait .....Loading  50%")},  // 10 .. 500
      {Text(1000), false, false, 0, -1, QString()}, {QByteArray(), true, false, 0, -1, QString()}};
  for (const auto& c : cases) {
    const qsizetype size = c.bytes.size();
    CurrentFileState state = StateFor(c.bytes);
    ScriptedReporter reporter({}, ErrorAnswer::End);
    RecordingProgress progress;
    EXPECT_EQ(CheckLogCharacters(state, c.show, progress, reporter), c.corrupt) << size;
    EXPECT_EQ(state.LogEmpty, size == 0) << size;
    EXPECT_EQ(state.LogFileSize, size);
    if (c.statuses >= 0) {
      ASSERT_EQ(progress.statuses.size(), c.statuses) << size;
    } else { EXPECT_GE(progress.statuses.size(), 2) << size; EXPECT_LE(progress.statuses.size(), 100) << size; }
    if (c.yields >= 0) { EXPECT_EQ(progress.yields, c.yields) << size; }
    if (!c.last.isEmpty()) { EXPECT_EQ(progress.statuses.back(), c.last) << size; }
    if (size == 1000 && c.show && !c.corrupt) {
      EXPECT_EQ(progress.statuses[0], QStringLiteral("Please Wait .....Loading  1%"));
      EXPECT_EQ(progress.statuses[49], QStringLiteral("Please Wait .....Loading  50%"));
      EXPECT_EQ(progress.statuses[98], QStringLiteral("Please Wait .....Loading  99%"));
    }
  }
}

TEST_F(LogChecks, MissingFileGoesToTheReporter) {
  CurrentFileState state = StateFor(kLine);
  state.LogFilePath = MissingPath();
  ScriptedReporter ending({ErrorAnswer::End});
  EXPECT_THROW(CheckLogCharacters(state, false, none_, ending), EndProgramRequested);
  ASSERT_EQ(ending.errors.size(), 1u);
  EXPECT_EQ(ending.errors[0].condition(), ErrorCondition::PathNotFound);
  // Retry after the file has come back: the check goes on with it.
  ScriptedReporter retrying({ErrorAnswer::Retry});
  retrying.onReport = [&] {
    QFile f(state.LogFilePath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kLine + "\x01" + kLine);
  };
  EXPECT_TRUE(CheckLogCharacters(state, false, none_, retrying));
  EXPECT_EQ(state.LogFileSize, 2 * kLine.size() + 1);
}

TEST_F(LogChecks, ScanLogCountsAndDates) {
  const QByteArray log = "Modem log opened\r\n"
      "\r\n"
      "01-15-1998 10:23:45.12 - Dialing.\r\n"
      "01-15-1998 10:23:46.00 - Recv: ATDT5551234\r\n"
      "   \r\n"
      "02-03-1998 09:00:00.00 - Hanging up the modem.\r\n"
      "\r\n";
  CurrentFileState state = StateFor(log);
  state.LogEmpty = true;  // from an earlier file
  ScriptedReporter reporter({}, ErrorAnswer::End);
  ScanLog(state, Configuration(), reporter);
  EXPECT_EQ(state.LogFileSize, log.size());
  EXPECT_EQ(state.LogEntryCount, 5);  // non-empty lines, the blank one included
  EXPECT_EQ(state.LogFirstDate, MakeDate(1998, 1, 15));
  EXPECT_EQ(state.LogLastDate, MakeDate(1998, 2, 3));
  EXPECT_FALSE(state.NotAModemLog);
  EXPECT_FALSE(state.LogEmpty);
  EXPECT_FALSE(state.LogTooBig);
}

TEST_F(LogChecks, ScanLogLineEndingsAndEndOfFileMark) {
  struct Case { QByteArray bytes; qint64 entries; Date last; bool notModemLog; } cases[] = {
      {"01-15-1998 x\n02-16-1998 y", 2, MakeDate(1998, 2, 16), false},
      {"01-15-1998 x\r02-16-1998 y\r", 2, MakeDate(1998, 2, 16), false},
      {"01-15-1998 x\r\n02-16-1998 y\r\n\x1a", 2, MakeDate(1998, 2, 16), false},
      {"01-15-1998 x\r\n02-16-1998 y\r\nno date here\r\n", 3, 0, true},  // last non-empty line undated
      {"no date\r\nnone at all\r\n", 2, 0, true},
      {"01-15-1998 x\r\n99-99-9999 y\r\n", 2, 0, true},  // a day that does not exist
      {"01-15-1998 x\r\n02/30/99 y\r\n", 2, 0, true}, {"01-15-1998", 1, MakeDate(1998, 1, 15), false},
      // The ending is byte 64, the first after a 64-byte stretch.
      {QByteArray("01-15-1998 ") + QByteArray(53, 'x') + "\n02-16-1998 y", 2, MakeDate(1998, 2, 16), false}};
  for (const auto& c : cases) {
    CurrentFileState state = StateFor(c.bytes);
    ScriptedReporter reporter({}, ErrorAnswer::End);
    ScanLog(state, Configuration(), reporter);
    EXPECT_EQ(state.LogEntryCount, c.entries) << c.bytes.constData();
    EXPECT_EQ(state.LogLastDate, c.last) << c.bytes.constData();
    EXPECT_EQ(state.NotAModemLog, c.notModemLog) << c.bytes.constData();
  }
}

TEST_F(LogChecks, ScanLogSizeLimitIsExact) {
  Configuration config;
  config.MaxLogSize = 1;
  for (int size : {1023, 1024, 1025}) {
    QByteArray bytes = kLine;
    bytes += QByteArray(size - kLine.size() * 2 - 2, 'x') + "\r\n";
    bytes += kLine;
    ASSERT_EQ(bytes.size(), size);
    CurrentFileState state = StateFor(bytes);
    ScriptedReporter reporter({}, ErrorAnswer::End);
    ScanLog(state, config, reporter);
    EXPECT_EQ(state.LogTooBig, size >= 1024) << size;
    EXPECT_FALSE(state.NotAModemLog) << size;
  }
}

TEST_F(LogChecks, ScanLogOfAnEmptyFileKeepsEarlierFlags) {
  CurrentFileState state = StateFor(QByteArray());
  state.LogTooBig = true;
  state.NotAModemLog = true;
  state.LogEntryCount = 12;
  state.LogFirstDate = 100;
  state.LogLastDate = 200;
  ScriptedReporter reporter({}, ErrorAnswer::End);
  ScanLog(state, Configuration(), reporter);
  EXPECT_TRUE(state.LogEmpty);
  EXPECT_TRUE(state.LogTooBig);
  EXPECT_TRUE(state.NotAModemLog);
  EXPECT_EQ(state.LogEntryCount, 0);
  EXPECT_EQ(state.LogFirstDate, 0);
  EXPECT_EQ(state.LogLastDate, 0);
  CurrentFileState fresh = StateFor(QByteArray());
  ScanLog(fresh, Configuration(), reporter);
  EXPECT_TRUE(fresh.LogEmpty);
  EXPECT_FALSE(fresh.NotAModemLog);  // an empty log is not "not a modem log"
}

TEST_F(LogChecks, ScanLogOfAVanishedFileContinuesWhenToldTo) {
  CurrentFileState state = StateFor(kLine);
  state.LogFilePath = MissingPath();
  ScriptedReporter reporter({ErrorAnswer::Continue});
  ScanLog(state, Configuration(), reporter);
  EXPECT_EQ(reporter.Conditions(), std::vector<ErrorCondition>{ErrorCondition::PathNotFound});
  EXPECT_EQ(state.LogEntryCount, 0);
}

TEST(Warnings, WhichBoxesApply) {
  auto titlesAndFirstLines = [](const QList<MessageBoxSpec>& boxes) {
    QStringList out;
    for (const auto& b : boxes) out << b.text.section(QLatin1Char('\n'), 0, 0);
    return out;
  };
  CurrentFileState state;
  state.LogExists = false;
  state.NotAModemLog = true;
  state.LogCorrupt = true;
  state.LogTooBig = true;
  EXPECT_EQ(titlesAndFirstLines(ActivationWarnings(state, false)),
            (QStringList{QStringLiteral("INVALID MODEM LOG FILE!"),
                         QStringLiteral("Mirolat Cannot Locate Your Modem Log File!"),
                         QStringLiteral("Corruption Detected in Modem Log File!"),
                         QStringLiteral("Your Modem Log is Too Big!")}));
  EXPECT_FALSE(WarnNoLogApplies(state, true));  // shown once per run
  EXPECT_EQ(ActivationWarnings(state, true).size(), 3);
  state.ArchiveOpen = true;  // an archive: only the corruption warning stays
  EXPECT_EQ(titlesAndFirstLines(ActivationWarnings(state, false)),
            QStringList{QStringLiteral("Corruption Detected in Modem Log File!")});
  CurrentFileState healthy;
  healthy.LogExists = true;
  EXPECT_TRUE(ActivationWarnings(healthy, false).isEmpty());
  EXPECT_TRUE(WarnWrongDirectory(QStringLiteral("/var/log/")).text.contains(QLatin1String("in the '/var/log/' dir")));
}

}  // namespace
}  // namespace mirolat

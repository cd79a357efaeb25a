// Reading the log: blocks of whole lines, the start-up checks in one reading,
// the byte walks against their plain definitions, and a log that is cut short
// while it is read (a read error, never a signal).
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <utility>
#include <random>
#include <vector>

#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/common/block_reader.h"
#include "core/common/locale_values.h"
#include "core/logfile/byte_scan.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/log_format.h"
#include "file_test_support.h"

namespace mirolat {
namespace {

using test::ScriptedReporter;

// Runs `action` the first time the loop yields or shows a text.
class ActingProgress : public Progress {
 public:
  explicit ActingProgress(std::function<void()> action) : action_(std::move(action)) {}
  void SetStatus(const QString& text) override { statuses.push_back(text); Act(); }
  void SetPercent(int) override {}
  void Yield() override { Act(); }
  std::vector<QString> statuses;

 private:
  void Act() { if (action_) std::exchange(action_, nullptr)(); }
  std::function<void()> action_;
};

class LogReading : public ::testing::Test {
 protected:
  QString Write(const QByteArray& bytes) {
    test::WriteRaw(dir_.filePath(QStringLiteral("ModemLog.txt")), bytes);
    return dir_.filePath(QStringLiteral("ModemLog.txt"));
  }
  static void Truncate(const QString& path, qint64 size) { ASSERT_TRUE(QFile::resize(path, size)); }
  static QByteArray Generated(int days) {
    LogGeneratorOptions o;
    o.seed = 11;
    o.days = days;
    return GenerateModemLog(o);
  }
  QTemporaryDir dir_;
};

// Blocks put back together give the file; each ends just after a line ending
// (never between CR and LF) or at the end of the text.
TEST_F(LogReading, BlocksAreWholeLines) {
  const struct { const char* name; QByteArray bytes; } cases[] = {
      {"crlf", "01-01-1998 10:00:00 - a\r\n01-01-1998 10:00:01 - bb\r\n01-01-1998 10:00:02 - ccc\r\n"},
      {"lone cr and lf", "aaaaaaaaaaaaaaaaaaaa\rbbbbbbbbbbbbbbbbbbbbbb\ncccccccccccccccccc\r\r\ndddd"},
      {"one long line", QByteArray(200, 'x') + "\r\n" + QByteArray(3, 'y')}, {"no ending at all", QByteArray(70, 'z')},
      {"crlf at every boundary", QByteArray(15, 'a') + "\r\n" + QByteArray(14, 'b') + "\r\n" + QByteArray(15, 'c') + "\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = Write(c.bytes);
    for (qsizetype blockSize : {16, 17, 64, 1 << 20}) {
      BlockReader reader(true, blockSize);
      reader.Open(path);
      EXPECT_EQ(reader.size(), c.bytes.size());
      QByteArray joined;
      QByteArrayView block;
      while (reader.Next(block)) {
        joined += block.toByteArray();
        if (joined.size() < c.bytes.size()) {
          const char lastByte = block.back();
          EXPECT_TRUE(lastByte == '\n' || lastByte == '\r') << blockSize;
          EXPECT_FALSE(lastByte == '\r' && c.bytes[joined.size()] == '\n') << "CR LF split at " << joined.size();
        }
      }
      EXPECT_EQ(joined, c.bytes) << blockSize;
      EXPECT_NO_THROW(reader.CheckUnchanged());
    }
  }
}

TEST_F(LogReading, EndOfFileMarkEndsTheTextOnlyWhenAsked) {
  const QByteArray bytes = QByteArray("line one\r\nline two\x1a") + "after the mark\r\n";
  const QString path = Write(bytes);
  for (bool stop : {true, false}) {
    BlockReader reader(stop, 16);
    reader.Open(path);
    QByteArray joined;
    QByteArrayView block;
    while (reader.Next(block)) joined += block.toByteArray();
    EXPECT_EQ(joined, stop ? bytes.first(bytes.indexOf('\x1a') + 1) : bytes);
  }
}

// The walks 16 bytes at a time against the byte-by-byte definitions, on
// random text of every alignment and length, fed in random pieces; the
// line-length check against the longest line as NextLogLine splits them.
TEST_F(LogReading, ByteWalksMatchTheirDefinitions) {
  // Every walk: 64 bytes at a time where the processor allows, then the 16-byte ones.
  for (bool wide : {true, false}) {
    AllowWideByteScans(wide);
    SCOPED_TRACE(wide ? "wide walks" : "16-byte walks");
    std::mt19937 rng(5);
    const char alphabet[] = {'a', '0', ' ', '\r', '\n', '\t', '\r', '\n', '~'};
    for (int round = 0; round < 400; ++round) {
      const int length = int(rng() % 300);
      std::vector<unsigned char> bytes(std::size_t(length) + 1);
      for (int i = 0; i < length; ++i) bytes[std::size_t(i)] = static_cast<unsigned char>(alphabet[rng() % sizeof alphabet]);
      const bool plantForbidden = round % 3 == 0 && length > 0;
      if (plantForbidden) bytes[rng() % std::size_t(length)] = static_cast<unsigned char>(round % 2 == 0 ? 0x7f : 0xe9);
      const unsigned char* p = bytes.data() + (round % 2);  // unaligned half the time
      const qsizetype n = std::max(0, length - round % 2);
      qsizetype firstForbidden = n;
      for (qsizetype i = 0; i < n; ++i) {
        if (IsForbiddenLogByte(p[i])) { firstForbidden = i; break; }
      }
      EXPECT_EQ(FindForbiddenByte(p, n), firstForbidden);
      qint64 lines = 0;
      qsizetype longest = 0;
      {
        qsizetype pos = 0;
        QByteArrayView line;
        const QByteArrayView data(reinterpret_cast<const char*>(p), n);
        while (NextLogLine(data, pos, line)) {
          lines += line.isEmpty() ? 0 : 1;
          longest = std::max(longest, line.size());
        }
      }
      LineCounter pieces;
      LineCounter checked;
      const qsizetype limit = qsizetype(rng() % 24);
      LineLengthCheck lengths(limit);
      bool withinLimit = true;
      qsizetype at = 0;
      bool stopped = false;
      while (at < n) {
        const qsizetype piece = std::min<qsizetype>(n - at, qsizetype(rng() % (round % 4 == 0 ? 300 : 40)));
        pieces.Feed(p + at, piece);
        withinLimit = withinLimit && lengths.Feed(p + at, piece);
        const qsizetype found = checked.FeedUnlessForbidden(p + at, piece);
        if (found != piece) { EXPECT_EQ(at + found, firstForbidden); stopped = true; }
        at += piece;
        if (stopped) break;
      }
      if (!stopped) { EXPECT_EQ(withinLimit, longest <= limit) << round; }
      if (firstForbidden == n) {
        EXPECT_EQ(pieces.Lines(), lines) << round;
        EXPECT_EQ(checked.Lines(), lines) << round;
      } else { EXPECT_TRUE(stopped); }
    }
  }
  AllowWideByteScans(true);
}

// The check and the scan in one reading give what the two give in turn.
// The reference for SkipLinesStartingWith: lines as NextLogLine splits them,
// passed while they begin with the prefix.
qint64 SkipByLines(QByteArrayView data, qsizetype& pos, const QByteArray& prefix, qint64 maxLines) {
  qint64 passed = 0;
  QByteArrayView line;
  while (passed < maxLines) {
    qsizetype next = pos;
    if (!NextLogLine(data, next, line) || !line.startsWith(prefix)) break;
    pos = next;
    ++passed;
  }
  return passed;
}

TEST_F(LogReading, SkippedLinesAreThoseThatBeginWithThePrefix) {
  // Every walk: 64 bytes at a time where the processor allows, then the 16-byte ones.
  for (bool wide : {true, false}) {
    AllowWideByteScans(wide);
    SCOPED_TRACE(wide ? "wide walks" : "16-byte walks");
    const QByteArray prefix = "01-15-1998";
    struct Case { const char* name; QByteArray data; qint64 maxLines; };
    const QByteArray filler(70, 'x');  // longer than one 64-byte chunk
    const Case cases[] = {
        {"nine bytes of it", prefix.left(9), 100},
        {"the prefix alone, no ending", prefix, 100},
        {"LF CR: an empty line stops", prefix + " a\n\r" + prefix + " b\r\n", 100},
        {"byte 26 right after the prefix", prefix + "\x1a" + prefix + " b\r\n", 100},
        {"at most two", prefix + " a\r\n" + prefix + " b\r\n" + prefix + " c\r\n", 2},
        {"none wanted", prefix + " a\r\n", 0},
        {"CR LF across a chunk border", prefix + QByteArray(53, 'y') + "\r\n" + prefix + filler + "\r\n" + filler, 100},
    };
    for (const Case& c : cases) {
      for (int lead : {0, 1, 31, 63, 64, 65}) {
        // Lines before the first one skipped shift everything against the chunks.
        const QByteArray data = QByteArray(lead, 'z') + "\n" + c.data;
        SCOPED_TRACE(testing::Message() << c.name << ", lead " << lead);
        qsizetype pos = lead + 1;
        qsizetype expectedPos = pos;
        const qint64 expected = SkipByLines(data, expectedPos, prefix, c.maxLines);
        EXPECT_EQ(SkipLinesStartingWith(data, pos, prefix.constData(), c.maxLines), expected);
        EXPECT_EQ(pos, expectedPos);
      }
    }
    // Random lines: mostly of the day, some of another day or empty, every kind of ending.
    std::mt19937 rng(17);
    for (int round = 0; round < 2000; ++round) {
      QByteArray data;
      const int lines = int(rng() % 30);
      for (int i = 0; i < lines; ++i) {
        const unsigned kind = rng() % 20;
        if (kind == 0) {
          // nothing: an empty line
        } else if (kind == 1) {
          QByteArray other = prefix;
          other[qsizetype(rng() % 10)] = '7';
          data += other;
        } else { data += prefix; }
        data += QByteArray(qsizetype(rng() % 90), 'a' + char(rng() % 26));
        const char* endings[] = {"\r\n", "\n", "\r", "\n\r", "\r\n", "\r\n"};
        if (rng() % 200 == 0) data += '\x1a';
        data += endings[rng() % 6];
      }
      const qint64 maxLines = rng() % 4 == 0 ? qint64(rng() % 10) : 1000;
      qsizetype pos = 0;
      qsizetype expectedPos = 0;
      const qint64 expected = SkipByLines(data, expectedPos, prefix, maxLines);
      ASSERT_EQ(SkipLinesStartingWith(data, pos, prefix.constData(), maxLines), expected) << round;
      ASSERT_EQ(pos, expectedPos) << round;
    }
  }
  AllowWideByteScans(true);
}

TEST_F(LogReading, CheckAndScanMatchesTheChecksInTurn) {
  const QByteArray big = Generated(40);
  const struct { const char* name; QByteArray bytes; } cases[] = {
      {"generated", big}, {"end-of-file mark last", "01-15-1998 10:00:00.00 - a\r\n01-16-1998 11:00:00.00 - b\x1a"},
      {"undated first lines", "\r\nno date here\r\n\r\n01-15-1998 10:00:00.00 - a\r\n\r\n01-17-1998 10:00:00.00 - b"},
      {"undated last line", "01-15-1998 10:00:00.00 - a\r\nthe end\r\n\r\n"},
      {"lone carriage returns", "01-15-1998 10:00:00.00 - a\r\r01-16-1998 10:00:00.00 - b\r"},
      {"corrupt", "01-15-1998 10:00:00.00 - a\r\n\x01\r\n"},
      {"corrupt late", big + "\x80" + "01-15-1998 10:00:00.00 - a\r\n"}, {"one byte", "\x01"}, {"empty", ""},
      {"no date anywhere", "Dear friend,\r\nhow are you?\r\n"}};
  Configuration config;
  config.MaxLogSize = 100;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = Write(c.bytes);
    for (bool showProgress : {false, true}) {
      CurrentFileState apart;
      apart.LogFilePath = path;
      apart.LogTooBig = true;  // kept when the scan does not run
      CurrentFileState together = apart;
      ScriptedReporter r1({}, ErrorAnswer::End), r2({}, ErrorAnswer::End);
      ActingProgress p1(nullptr), p2(nullptr);
      apart.LogCorrupt = CheckLogCharacters(apart, showProgress, p1, r1);
      if (!apart.LogCorrupt) ScanLog(apart, config, r1);
      together.LogCorrupt = CheckAndScanLog(together, config, showProgress, p2, r2);
      EXPECT_EQ(together.LogCorrupt, apart.LogCorrupt);
      EXPECT_EQ(together.LogFileSize, apart.LogFileSize);
      EXPECT_EQ(together.LogEmpty, apart.LogEmpty);
      EXPECT_EQ(together.LogTooBig, apart.LogTooBig);
      EXPECT_EQ(together.LogEntryCount, apart.LogEntryCount);
      EXPECT_EQ(together.LogFirstDate, apart.LogFirstDate);
      EXPECT_EQ(together.LogLastDate, apart.LogLastDate);
      EXPECT_EQ(together.NotAModemLog, apart.NotAModemLog);
      EXPECT_EQ(p2.statuses, p1.statuses);
      EXPECT_TRUE(r1.errors.empty());
      EXPECT_TRUE(r2.errors.empty());
    }
  }
}

// A log cut short while the analysis reads it: the read error goes to the
// reporter, whose answer ends the program or lets the run finish with what
// was read.
TEST_F(LogReading, LogCutShortDuringTheAnalysisIsAReadError) {
  // Larger than one block, so that the cut is met by a read; and smaller,
  // so that it is met only by the check at the end.
  for (int days : {300, 20}) {
    SCOPED_TRACE(days);
    const QByteArray bytes = Generated(days);
    ASSERT_EQ(days > 20, bytes.size() > BlockReader::kDefaultBlockSize);
    for (ErrorAnswer answer : {ErrorAnswer::End, ErrorAnswer::Continue}) {
      const QString path = Write(bytes);
      Configuration config;
      config.MaxConnections = 5000;
      const LocaleValues locale = LoadLocaleInfo(QLocale(QStringLiteral("en_US")));
      RunInputs in;
      in.config = &config;
      in.locale = &locale;
      in.ReportStartDate = MakeDate(1998, 1, 1);
      in.ReportEndDate = MakeDate(1999, 12, 31);
      in.LogEntryCount = float(bytes.count('\n'));
      ActingProgress progress([&] { Truncate(path, 100); });
      ScriptedReporter reporter({}, answer);
      if (answer == ErrorAnswer::End) {
        EXPECT_THROW(ProcessLog(in, path, progress, reporter), EndProgramRequested);
      } else {
        const RunState run = ProcessLog(in, path, progress, reporter);
        EXPECT_LE(run.LinesRead, int(in.LogEntryCount));
      }
      EXPECT_EQ(reporter.Conditions(), std::vector<ErrorCondition>{ErrorCondition::ReadPastEnd});
    }
  }
}

// The same for the start-up check (its progress comes every hundredth of the
// file) and for a file that grows while it is read.
TEST_F(LogReading, LogChangedDuringTheChecksIsAReadError) {
  const QByteArray bytes = Generated(300);
  Configuration config;
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    const QString path = Write(bytes);
    CurrentFileState state;
    state.LogFilePath = path;
    ActingProgress progress([&] {
      if (way == 2) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("01-01-2001 00:00:00.00 - more\r\n");
      } else { Truncate(path, 10); }
    });
    ScriptedReporter reporter;
    const bool corrupt = way == 0 ? CheckLogCharacters(state, true, progress, reporter)
                                  : CheckAndScanLog(state, config, true, progress, reporter);
    EXPECT_FALSE(corrupt);
    ASSERT_FALSE(reporter.errors.empty());
    EXPECT_EQ(reporter.errors.front().condition(), ErrorCondition::ReadPastEnd);
  }
}

TEST_F(LogReading, ReadAfterACutFailsUntilTheFileIsWholeAgain) {
  const QByteArray bytes = QByteArray(40, 'a') + "\r\n" + QByteArray(40, 'b') + "\r\n" + QByteArray(40, 'c');
  const QString path = Write(bytes);
  BlockReader reader(true, 50);
  reader.Open(path);
  QByteArrayView block;
  ASSERT_TRUE(reader.Next(block));
  EXPECT_EQ(block.size(), 42);
  Truncate(path, 50);
  EXPECT_EQ(test::ErrorOf([&] { reader.Next(block); }).condition(), ErrorCondition::ReadPastEnd);
  EXPECT_THROW(reader.CheckUnchanged(), RunError);
  // Retried once the file is back: the reader goes on where it stopped.
  Write(bytes);
  QByteArray rest;
  while (reader.Next(block)) rest += block.toByteArray();
  EXPECT_EQ(rest, bytes.sliced(42));
}

}  // namespace
}  // namespace mirolat

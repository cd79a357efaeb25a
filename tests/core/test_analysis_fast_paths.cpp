// The analysis's one-pass line splitting and response-text search against a
// plain reference, and whole runs over generated logs fed line by line and in one pass.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <random>
#include <vector>

#include "analysis_fixtures.h"
#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/common/locale_values.h"
#include "core/logfile/entry_scanner.h"
#include "core/logfile/log_format.h"

namespace mirolat {
namespace {

struct LineAndKinds { QByteArray line; unsigned kinds = 0; bool operator==(const LineAndKinds&) const = default; };

void PrintTo(const LineAndKinds& l, std::ostream* os) { *os << '"' << l.line.toStdString() << "\" kinds " << l.kinds; }

const QList<QString> kDefaultTexts = {QStringLiteral("RECV: ATD"), QStringLiteral("ANSWERING"),
                                      QStringLiteral("CONNECTION ESTABLISHED"), QStringLiteral("HANGING UP THE MODEM"),
                                      QStringLiteral("REMOTE MODEM HUNG UP"), QStringLiteral("READS"),
                                      QStringLiteral("WRITES")};

// The reference: lines split byte by byte, kinds by searching the ASCII
// upper-cased line for each text.
std::vector<LineAndKinds> Reference(const QByteArray& data, const QList<QString>& texts) {
  std::vector<LineAndKinds> out;
  qsizetype i = 0;
  const qsizetype n = data.size();
  while (i < n && data[i] != '\x1a') {
    qsizetype e = i;
    while (e < n && data[e] != '\n' && data[e] != '\r' && data[e] != '\x1a') ++e;
    const QByteArray line = data.mid(i, e - i);
    const QString upper = UpperAscii(QString::fromLatin1(line));
    unsigned kinds = 0;
    for (int k = 0; k < texts.size(); ++k) { if (upper.contains(texts[k])) kinds |= 1u << k; }
    out.push_back({line, kinds});
    if (e >= n || data[e] == '\x1a') break;
    i = (data[e] == '\r' && e + 1 < n && data[e + 1] == '\n') ? e + 2 : e + 1;
  }
  return out;
}

std::vector<LineAndKinds> Scanned(const QByteArray& data, const QList<QString>& texts) {
  const EntryScanner scanner(texts);
  std::vector<LineAndKinds> out;
  qsizetype pos = 0;
  QByteArrayView line;
  unsigned kinds = 0;
  while (scanner.Next(data, pos, line, kinds)) {
    out.push_back({line.toByteArray(), kinds});
    // Each line's kinds as the line alone gives them.
    EXPECT_EQ(scanner.KindsOf(line), kinds) << line.toByteArray().constData();
  }
  return out;
}

// The same through the cursor (the wide search where the processor has it),
// which must also leave its position just past each line's ending.
std::vector<LineAndKinds> ScannedByCursor(const QByteArray& data, const QList<QString>& texts) {
  const EntryScanner scanner(texts);
  EntryScanner::Lines lines(scanner, data);
  std::vector<LineAndKinds> out;
  QByteArrayView line;
  unsigned kinds = 0;
  qsizetype pos = 0;
  QByteArrayView expected;
  while (lines.Next(line, kinds)) {
    out.push_back({line.toByteArray(), kinds});
    EXPECT_TRUE(NextLogLine(data, pos, expected));
    EXPECT_EQ(lines.pos(), pos);
  }
  return out;
}

void ExpectSameAsReference(const QByteArray& data, const QList<QString>& texts) {
  const std::vector<LineAndKinds> reference = Reference(data, texts);
  EXPECT_EQ(Scanned(data, texts), reference) << "data (hex): " << data.toHex().constData();
  EXPECT_EQ(ScannedByCursor(data, texts), reference) << "cursor, data (hex): " << data.toHex().constData();
}

TEST(AnalysisFastPaths, LinesAndKindsMatchThePlainSearch) {
  struct Case { const char* name; QByteArray data; };
  const Case cases[] = {
      {"lower case", "01-15-1998 10:23:45.12 - remote modem hung up.\r\n01-15-1998 10:23:46.00 - reads : 5 bytes"},
      {"text cut by the data's end", "01-15-1998 10:00:00.00 - Hanging up the mode"},
      {"lines under 19 and 20 bytes", "01-15-1998 10:00\r\n01-15-1998 10:00:0\r\nREADS 1\r\n\r\n   \r\nx\r\n"},
      {"CR only", "01-15-1998 10:00:00.00 - Answering\r01-15-1998 10:00:01.00 - Writes : 3\r\r"},
      {"LF only", "01-15-1998 10:00:00.00 - Answering\n01-15-1998 10:00:01.00 - Writes : 3\n\n"},
      {"LF CR", "READS\n\rWRITES\n\r"},
      {"byte 26 ends the text", "01-15-1998 10:00:00.00 - Reads\x1a" "01-15-1998 10:00:00.00 - Writes\r\n"},
      {"byte 26 starts a line", "READS\r\n\x1a" "WRITES\r\n"}, {"byte 26 first", "\x1a" "READS\r\n"}, {"empty", ""},
      {"only endings", "\r\n\r\n\n\r\r"},
      {"two texts, one line", "01-15-1998 10:00:00.00 - Recv: ATDT5551234<cr> answering, reads, writes, hung up"},
      {"bit 0x20 look-alikes", "@NSWERING rE@DS READS\x80\xe0 WRITES"},
  };
  for (const Case& c : cases) { SCOPED_TRACE(c.name); ExpectSameAsReference(c.data, kDefaultTexts); }
}

// Texts and line endings on either side of every border of the 16-byte blocks
// the portable search reads and of the 64-byte chunks of the wide one (which
// leaves the last 66 bytes of the data to the portable search), a text ending
// its line or the data, and near misses that share a text's first bytes.
TEST(AnalysisFastPaths, TextsAtEveryOffset) {
  const QByteArray texts[] = {"READS", "hanging up the modem", "CONNECTION ESTABLISHED", "Recv: ATD"};
  const QByteArray nearMisses[] = {"REA", "READ", "Recv: AT", "CONNECTION ESTABLISHE", "CoNnEcTiOn"};
  for (int lead = 0; lead <= 70; lead += 3) {
    // A first line of `lead` bytes moves the second line's start against the chunks.
    const QByteArray first = QByteArray(lead, 'x') + "\r\n";
    for (int at = 0; at <= 140; ++at) {
      for (const QByteArray& text : texts) {
        const QByteArray line = QByteArray(at, '.') + text + (at % 3 == 0 ? "" : " ok");
        SCOPED_TRACE(line.constData());
        if (lead == 0) ExpectSameAsReference(line, kDefaultTexts);  // all of it left to the portable search
        ExpectSameAsReference(first + line + "\r\n" + QByteArray(150, 'z'), kDefaultTexts);
        // The same line at the data's end: some of it in the chunks, the rest in the tail.
        ExpectSameAsReference(QByteArray(140, 'q') + "\n" + first + line, kDefaultTexts);
        // Cut in two by a line ending just before the text's last byte.
        ExpectSameAsReference(first + line.left(at + text.size() - 1) + "\r" + line.mid(at + text.size() - 1) +
                                  QByteArray(150, 'z'), kDefaultTexts);
      }
      if (at % 7 == 0) {
        for (const QByteArray& miss : nearMisses) {
          ExpectSameAsReference(first + QByteArray(at, ' ') + miss + "\r\n" + QByteArray(150, 'r'), kDefaultTexts);
        }
      }
    }
  }
  // Many short lines in one chunk, and empty lines, CR only and LF CR among them.
  QByteArray shortLines;
  for (int i = 0; i < 200; ++i) {
    shortLines += (i % 5 == 0) ? QByteArray("reads") : (i % 7 == 0) ? QByteArray() : QByteArray(i % 11, 'w');
    shortLines += (i % 3 == 0) ? "\r" : (i % 3 == 1) ? "\n\r" : "\r\n";
  }
  ExpectSameAsReference(shortLines, kDefaultTexts);
  // Byte 26 inside a chunk ends the text.
  ExpectSameAsReference(QByteArray(30, 'a') + "\r\nREADS\x1a" + QByteArray(100, 'b') + "\r\nREADS\r\n", kDefaultTexts);
}

TEST(AnalysisFastPaths, ConfiguredTextsOfAnyShape) {
  struct Case { const char* name; QList<QString> texts; QByteArray data; };
  const Case cases[] = {
      {"one-character texts", {QStringLiteral("X"), QStringLiteral(":")},
       "01-15-1998 10:00:00.00 - x\r\nno\r\n12:00\r\n"},
      {"empty text is in every line", {QString(), QStringLiteral("READS")}, "a\r\n\r\nREADS\r\n"},
      {"lower-case text is in none", {QStringLiteral("Reads"), QStringLiteral("READS")}, "Reads\r\nREADS\r\n"},
      {"text beyond Latin-1 is in none", {QStringLiteral("CONNECT\u20ac"), QStringLiteral("CONNECT")},
       "CONNECT\x80\r\nconnect\r\n"},
      {"line ending in a text is in none", {QStringLiteral("A\rB"), QStringLiteral("A\x1a" "B")}, "A\rB\r\nA\x1a" "B"},
      {"Latin-1 letters keep their case", {QStringLiteral("\u00c9T\u00c9")}, "\xc9t\xc9\r\n\xe9T\xe9\r\n\xc9T\xc9"},
      {"non-letters with bit 0x20", {QStringLiteral("@@"), QStringLiteral("[1]")}, "``@@ {1} [1]\r\n`` {1}\r\n"},
      {"same first bytes", {QStringLiteral("ABC"), QStringLiteral("ABD"), QStringLiteral("AB")}, "xxabd abc\r\nab"},
      {"eight texts", {QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3"), QStringLiteral("D4"),
                       QStringLiteral("E5"), QStringLiteral("F6"), QStringLiteral("G7"), QStringLiteral("H8")},
       "a1 b2 c3\r\nd4 e5 f6 g7 h8 a1\r\nh8"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSameAsReference(c.data, c.texts);
    // Far enough from the data's end for the wide search.
    ExpectSameAsReference(c.data + QByteArray(100, '\n'), c.texts);
    ExpectSameAsReference(c.data + "\r\n" + c.data + "\r\n" + c.data + QByteArray(100, '\n'), c.texts);
  }
}

// A whole run over a generated log (also in mixed case, with CR-only endings and
// with blank lines) equals the same lines fed one by one to ProcessLogLine.
TEST(AnalysisFastPaths, WholeRunEqualsLineByLine) {
  LogGeneratorOptions options;
  options.seed = 5;
  options.days = 40;
  options.sessionsPerDay = 6;
  const QByteArray generated = GenerateModemLog(options);
  ASSERT_FALSE(generated.isEmpty());
  QByteArray mixedCase = generated;
  std::mt19937 gen(3);
  for (char& c : mixedCase) {
    if (gen() % 2 == 0) c = (c >= 'a' && c <= 'z') ? char(c - 32) : (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
  }
  QByteArray crOnly = generated;
  crOnly.replace("\r\n", "\r");
  Configuration config;
  const QStringList numbers = GeneratedLogNumbers();
  testing::AddService(config, testing::FixedService(numbers[0], 0.12));
  testing::AddService(config, testing::TariffService(numbers[1], {Tariff{QStringLiteral("All day"),
      QStringLiteral("Everyday"), MakeTime(0, 0, 0), MakeTime(23, 59, 59), 0.05, 0.02, 0}}));
  config.MaxConnections = 2000;
  config.MaxServices = 20;
  RunInputs in;
  in.config = &config;
  in.locale = &testing::EnglishLocale();
  in.ReportEndDate = FromQDate(options.start.addDays(options.days - 5));
  // Blank lines among the early ones, which the run only dates and counts.
  QByteArray blanks = generated;
  blanks.replace("Closing Modem.\r\n", "Closing Modem.\r\n   \r\n\r\n");
  QTemporaryDir dir;
  int logIndex = 0;
  // A range that starts on the third day, and one whose first two thirds of
  // the log come before the days read.
  for (int startDay : {3, 25})
  for (const QByteArray* log : std::initializer_list<const QByteArray*>{&generated, &mixedCase, &crOnly, &blanks}) {
    SCOPED_TRACE(logIndex);
    in.ReportStartDate = FromQDate(options.start.addDays(startDay));
    const QString path = dir.filePath(QStringLiteral("log%1.txt").arg(logIndex++));
    test::WriteRaw(path, *log);
    in.LogEntryCount = log->count('\r') + log->count('\n');
    testing::RecordingProgress progress;
    testing::ScriptedReporter reporter;
    const RunState whole = ProcessLog(in, path, progress, reporter);
    RunState single;
    testing::ScriptedReporter singleReporter;
    testing::RecordingProgress singleProgress;
    SessionBuilder builder(in, single, singleProgress, singleReporter);
    builder.StartRun();
    qsizetype pos = 0;
    QByteArrayView line;
    while (single.KeepGoing && NextLogLine(*log, pos, line)) {
      builder.ProcessLogLine(line);
      if (single.TooManyServices) single.KeepGoing = false;
    }
    builder.FinishLog();
    EXPECT_GT(whole.Tables.SessionCount, 50);
    EXPECT_EQ(whole.Tables.SessionCount, single.Tables.SessionCount);
    EXPECT_EQ(whole.Tables.ServiceTotalsCount, single.Tables.ServiceTotalsCount);
    for (int i = 0; i <= whole.Tables.SessionCount; ++i) {
      EXPECT_EQ(whole.Tables.Sessions[size_t(i)], single.Tables.Sessions[size_t(i)]) << "session " << i;
    }
    for (int i = 0; i <= whole.Tables.ServiceTotalsCount; ++i) {
      EXPECT_EQ(whole.Tables.ServiceTotals[size_t(i)], single.Tables.ServiceTotals[size_t(i)]) << "entry " << i;
    }
    EXPECT_EQ(whole.LinesRead, single.LinesRead);
    EXPECT_EQ(whole.ErrorsFound, single.ErrorsFound);
    EXPECT_EQ(whole.LogCorrupt, single.LogCorrupt);
    EXPECT_EQ(reporter.errors, singleReporter.errors);
    // The finished text comes from the run only.
    ASSERT_FALSE(progress.statuses.isEmpty());
    progress.statuses.removeLast();
    EXPECT_EQ(progress.statuses, singleProgress.statuses);
    EXPECT_GE(progress.statuses.size(), 3);
  }
}

}  // namespace
}  // namespace mirolat

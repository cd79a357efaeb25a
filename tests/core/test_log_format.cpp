#include <gtest/gtest.h>

#include <random>

#include "core/common/errors.h"
#include "core/logfile/log_format.h"
#include "file_test_support.h"

namespace mirolat {
namespace {

// Only the log's own form mm-dd-yyyy of a day that exists is a date; no
// piece is carried into the next (13-01-1998 is no date, not January 1999).
TEST(LogFormat, ParseLogDateTakesOnlyTheLogsOwnFormOfADayThatExists) {
  struct Case { const char* line; Date expected; } cases[] = {
      {"01-15-1998 10:23:45.12 - CONNECTION ESTABLISHED", MakeDate(1998, 1, 15)},
      {"12-31-1998 23:59:59.99 - Dialing.", MakeDate(1998, 12, 31)},
      {"01-15-1998junk", MakeDate(1998, 1, 15)},  // only characters 1-10 matter
      {"02-29-2000", MakeDate(2000, 2, 29)}, {"01-01-1900", MakeDate(1900, 1, 1)},
      {"12-31-9999", MakeDate(9999, 12, 31)}, {"13-01-1998 10:00:00.00", 0},  // no month 13
      {"00-15-1998", 0}, {"04-31-1998 10:00:00.00", 0},  // no 31 April
      {"02-29-1999", 0}, {"02-29-1900", 0},  // 1900 is no leap year
      {"02-30-1999", 0}, {"01-00-1998", 0}, {"12-32-1998", 0}, {"99-99-9999 10:00:00.00", 0}, {"12-31-1899", 0},
      {"02/30/99 10:00:00.00", 0},  // slashes and a two-digit year
      {"01/15/1998", 0}, {"01-15-98  10:00:00", 0}, {" 1- 5-1998 10:00:00.00", 0}, {"1--5--1998", 0}, {"+1-15-1998", 0},
      {"01-15-19x8", 0}, {"ab-cd-1998 10:00:00.00 - x", 0}, {"01-15-199", 0}, {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(ParseLogDate(QString::fromLatin1(c.line)), c.expected) << c.line;
}

TEST(LogFormat, ReadLineTimeNeedsNineteenCharacters) {
  struct Case { const char* line; bool read; TimeOfDay expected; } cases[] = {
      {"01-15-1998 10:23:45.12 - Dialing.", true, MakeTime(10, 23, 45)},
      {"12-31-1998 23:59:59.99 - x", true, MakeTime(23, 59, 59)},
      {"12-31-1998 00:00:00", true, 0},                 // exactly 19 characters
      {"01-15-1998T07:08:09", true, MakeTime(7, 8, 9)},       // character 11 is not looked at
      {"xxxxxxxxxxx23:00:01 tail", true, MakeTime(23, 0, 1)},  // nor are the date characters
      {"12-31-1998 23:59:5", false, 777},              // 18 characters: unchanged
      {"", false, 777}};
  for (const auto& c : cases) {
    TimeOfDay t = 777;
    EXPECT_EQ(ReadLineTime(QString::fromLatin1(c.line), t), c.read) << c.line;
    EXPECT_EQ(t, c.expected) << c.line;
  }
}

TEST(LogFormat, ReadLineTimeRejectsTextThatIsNoTime) {
  for (const char* line : {"12-31-1998 ab:cd:ef.00", "12-31-1998 24:00:00.00", "12-31-1998 10-00-00.00",
                           "12-31-1998 10:60:00.00"}) {
    TimeOfDay t = 5;
    const RunError e = test::ErrorOf([&] { ReadLineTime(QString::fromLatin1(line), t); });
    EXPECT_EQ(e.condition(), ErrorCondition::Other);
    EXPECT_EQ(e.description(), QStringLiteral("Type mismatch"));
    EXPECT_EQ(e.number(), 13);
    EXPECT_EQ(t, 5);
  }
}

TEST(LogFormat, ByteCountsFollowTheResponseText) {
  const Configuration config;
  struct Case { const char* upperLine; qint32 reads; qint32 writes; } cases[] = {
      {"01-15-1998 10:45:12.34 - READS : 24513 BYTES", 24513, 0},
      {"01-15-1998 10:45:12.34 - WRITES : 4096 BYTES", 0, 4096}, {"01-15-1998 10:45:12.34 - READS : 0 BYTES", 0, 0},
      {"01-15-1998 10:45:12.34 - READS : 1,024 BYTES", 1, 0},       // the comma ends the digits
      {"01-15-1998 10:45:12.34 - READS: 24513", 24513, 0},          // digits up to the end of the line
      {"01-15-1998 10:45:12.34 - READS: 24513 ", 24513, 0},         // a blank ends the digits
      {"01-15-1998 10:45:12.34 - READS : NONE", 0, 0},              // no digit
      {"01-15-1998 10:45:12.34 - READS : 2147483647 BYTES", 2147483647, 0},
      {"01-15-1998 10:45:12.34 - NOTHING 99", 0, 0},                 // no response text
      {"01-15-1998 10:45:12.34 - 77 READS 12 WRITES 34", 12, 34},   // digits after the text only
  };
  for (const auto& c : cases) {
    const QString line = QString::fromLatin1(c.upperLine);
    EXPECT_EQ(ExtractReads(line, config), c.reads) << c.upperLine;
    EXPECT_EQ(ExtractWrites(line, config), c.writes) << c.upperLine;
  }
}

TEST(LogFormat, ByteCountBeyondThirtyTwoBitsOverflows) {
  const Configuration config;
  for (const char* line : {"READS : 2147483648 BYTES", "READS : 99999999999999999999"}) {
    const RunError e = test::ErrorOf([&] { ExtractReads(QString::fromLatin1(line), config); });
    EXPECT_EQ(e.description(), QStringLiteral("Overflow")) << line;
    EXPECT_EQ(e.number(), 6);
  }
}

TEST(LogFormat, EntriesAreRecognisedOnTheUpperCasedLine) {
  const Configuration config;
  using K = EntryKind;
  struct Case { const char* line; std::initializer_list<K> kinds; } cases[] = {
      {"01-15-1998 10:00:00.00 - Recv: ATDT0845 123 4567", {K::Dial}},
      {"01-15-1998 10:00:00.00 - Answering the call.", {K::Answer}},
      {"01-15-1998 10:00:00.00 - Connection established at 33600bps.", {K::Connect}},
      {"01-15-1998 10:00:00.00 - Hanging up the modem.", {K::UserDisconnect}},
      {"01-15-1998 10:00:00.00 - remote modem hung up", {K::HostDisconnect}},
      {"01-15-1998 10:00:00.00 - Reads : 100 bytes", {K::Reads}},
      {"01-15-1998 10:00:00.00 - Writes : 100 bytes", {K::Writes}},
      {"01-15-1998 10:00:00.00 - Reads : 1 Writes : 2", {K::Reads, K::Writes}},
      {"01-15-1998 10:00:00.00 - Send: AT&F", {}}};
  const K all[] = {K::Dial, K::Answer, K::Connect, K::UserDisconnect, K::HostDisconnect, K::Reads, K::Writes};
  for (const auto& c : cases) {
    const QString upper = UpperAscii(QString::fromLatin1(c.line));
    for (K k : all) {
      const bool expected = std::find(c.kinds.begin(), c.kinds.end(), k) != c.kinds.end();
      EXPECT_EQ(IsEntry(upper, k, config), expected) << c.line << " kind " << static_cast<int>(k);
    }
    EXPECT_EQ(IsDisconnect(upper, config), IsEntry(upper, K::UserDisconnect, config) ||
                                               IsEntry(upper, K::HostDisconnect, config));
  }
  // Recognition is on the upper-cased line only: the raw mixed-case line does not match.
  EXPECT_FALSE(IsEntry(u"remote modem hung up", K::HostDisconnect, config));
}

TEST(LogFormat, ResponseTextsAreFoundAnywhereInTheLine) {
  Configuration config;
  struct Case { const char* upperLine; bool dial; } cases[] = {
      {"RECV: ATDT5551234", true},              // at the start
      {"01-15-1998 10:00:00.00 - RECV: ATD", true},  // at the very end
      {"RECV: AT", false},                      // line shorter than the text
      {"RECV: ATZ RECV: ATX RECV: ATDT1", true},  // after partial matches
      {"RECV:  ATDT1", false}, {"", false}};
  for (const auto& c : cases) EXPECT_EQ(IsEntry(QString::fromLatin1(c.upperLine), EntryKind::Dial, config), c.dial) << c.upperLine;
  EXPECT_EQ(ExtractReads(u"READ 7 READS 8 BYTES", config), 8);
  // The configured texts count; the first occurrence of the text, then digits after it anywhere.
  config.ModemReads = QStringLiteral("RX");
  config.ModemWrites = QStringLiteral("TX");
  EXPECT_EQ(ExtractReads(u"01-15-1998 10:00:00.00 - READS 5 RX=123 TX=456", config), 123);
  EXPECT_EQ(ExtractWrites(u"01-15-1998 10:00:00.00 - READS 5 RX=123 TX=456", config), 456);
  EXPECT_EQ(ExtractReads(u"RX: none yet, RX 9 BYTES", config), 9);
  config.ModemAnswer.clear();  // an empty response text is found in every line
  EXPECT_TRUE(IsEntry(u"ANYTHING", EntryKind::Answer, config));
}

TEST(LogFormat, UpperAsciiTouchesAsciiLettersOnly) {
  EXPECT_EQ(UpperAscii(u"abc xyz AZ az 09 {}"), QStringLiteral("ABC XYZ AZ AZ 09 {}"));
  EXPECT_EQ(UpperAscii(u"\u00e9t\u00e9 \u00df"), QStringLiteral("\u00e9T\u00e9 \u00df"));
  QString buffer = QStringLiteral("a much longer earlier line");
  UpperAscii(u"short", buffer);
  EXPECT_EQ(buffer, QStringLiteral("SHORT"));
}

TEST(LogFormat, LinesEndAtCrLfLoneLfOrLoneCr) {
  struct Case { const char* data; std::initializer_list<const char*> lines; } cases[] = {
      {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}}, {"a\rb\r", {"a", "b"}}, {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then a lone CR
      {"", {}}, {"\r\n", {""}}, {"a\r\nb\r\n\x1a", {"a", "b"}},  // the end-of-file mark ends the text
      {"a\r\nb\x1a\r\nc", {"a", "b"}}};
  for (const auto& c : cases) {
    const QByteArray data(c.data);
    qsizetype pos = 0;
    QByteArrayView line;
    std::vector<QByteArray> got;
    while (NextLogLine(data, pos, line)) got.emplace_back(line.toByteArray());
    std::vector<QByteArray> expected;
    for (const char* l : c.lines) expected.emplace_back(l);
    EXPECT_EQ(got, expected) << QByteArray(c.data).toHex().constData();
  }
}

TEST(LogFormat, FindInLineFindsTheFirstOccurrenceAsIndexOfDoes) {
  struct Case { const char16_t* hay; const char16_t* needle; qsizetype at; };
  const Case cases[] = {
      {u"RECV: AT<CR> RECV: ATD", u"RECV: ATD", 13}, {u"RRRECV: ATD", u"RECV: ATD", 2},
      {u"READ", u"READS", -1},                       {u"", u"READS", -1},
      {u"ABC", u"", 0},                              {u"ENDS WITH R", u"R", 10},
  };
  for (const Case& c : cases) {
    const QStringView hay(c.hay);
    const QStringView needle(c.needle);
    EXPECT_EQ(FindInLine(hay, needle), c.at) << hay.toString().toStdString() << " / " << needle.toString().toStdString();
    EXPECT_EQ(FindInLine(hay, needle), hay.indexOf(needle));
  }
  // Random texts over a small alphabet, so that near misses abound.
  std::mt19937 rng(23);
  for (int round = 0; round < 3000; ++round) {
    QString hay;
    QString needle;
    for (int i = int(rng() % 40); i > 0; --i) hay += QChar(u'A' + char16_t(rng() % 3));
    for (int i = 1 + int(rng() % 4); i > 0; --i) needle += QChar(u'A' + char16_t(rng() % 3));
    ASSERT_EQ(FindInLine(hay, needle), QStringView(hay).indexOf(needle)) << hay.toStdString() << " / " << needle.toStdString();
  }
}

// Every byte value at every place of the 16-byte blocks and the tail, into a
// string that held something longer and something shorter before.
TEST(LogFormat, AssignUpperLatin1IsLatin1ThenUpperAscii) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  QString out = QString(600, QLatin1Char('#'));
  for (int offset = 0; offset < 17; ++offset) {
    for (int length : {0, 1, 15, 16, 17, 31, 32, 33, 100, 256 - offset}) {
      const QByteArrayView bytes = QByteArrayView(all).sliced(offset, std::min(length, 256 - offset));
      AssignUpperLatin1(bytes, out);
      ASSERT_EQ(out, UpperAscii(QString::fromLatin1(bytes))) << "offset " << offset << ", length " << length;
    }
  }
  const QString shared = out;  // a copy sharing the text is left as it was
  AssignUpperLatin1("reads : 5 bytes", out);
  EXPECT_EQ(out, QStringLiteral("READS : 5 BYTES"));
  EXPECT_EQ(shared, UpperAscii(QString::fromLatin1(QByteArrayView(all).sliced(16))));
}

TEST(LogFormat, AssignLatin1KeepsEveryByte) {
  QString out;
  AssignLatin1(QByteArrayView("ab\xe9", 3), out);
  EXPECT_EQ(out, QStringLiteral("ab\u00e9"));
}

}  // namespace
}  // namespace mirolat

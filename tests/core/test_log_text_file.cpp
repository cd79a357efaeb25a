// The viewer's text of a log: read with its line ends, saved without growing,
// and the file's stamp.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "core/common/errors.h"
#include "core/logfile/log_text_file.h"

#include "file_test_support.h"

namespace mirolat {
namespace {

using test::ReadAll;
using test::WriteRaw;

struct RoundTripRow {
  const char* name;
  QByteArray file;
  QString text;        // as the viewer shows it
  QByteArray lineEnd;  // the line end found
  QByteArray saved;    // the bytes a save of the unchanged text writes
};

class LogTextRoundTrip : public ::testing::TestWithParam<RoundTripRow> {};

TEST_P(LogTextRoundTrip, ReadsAndSavesWithoutGrowing) {
  const RoundTripRow& r = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ModemLog.txt"));
  WriteRaw(path, r.file);
  const LogText log = ReadLogText(path);
  EXPECT_EQ(log.text, r.text);
  EXPECT_EQ(log.lineEnd, r.lineEnd);
  // Saved once and then again from what was saved: the same bytes each time.
  WriteLogText(path, log.text, log.lineEnd);
  EXPECT_EQ(ReadAll(path), r.saved);
  const LogText again = ReadLogText(path);
  WriteLogText(path, again.text, again.lineEnd);
  EXPECT_EQ(ReadAll(path), r.saved);
}

const RoundTripRow kRoundTrips[] = {
    {"crlf_with_final_end", "a\r\nb\r\n", QStringLiteral("a\nb\n"), "\r\n", "a\r\nb\r\n"},
    {"crlf_without_final_end", "a\r\nb", QStringLiteral("a\nb"), "\r\n", "a\r\nb\r\n"},
    {"lf_file_keeps_lf", "a\nb\n", QStringLiteral("a\nb\n"), "\n", "a\nb\n"},
    {"lone_cr_file_keeps_cr", "a\rb", QStringLiteral("a\nb"), "\r", "a\rb\r"},
    {"mixed_takes_the_first_line_end", "a\nb\r\nc\n", QStringLiteral("a\nb\nc\n"), "\n", "a\nb\nc\n"},
    {"blank_lines_kept", "a\r\n\r\n\r\nb\r\n", QStringLiteral("a\n\n\nb\n"), "\r\n", "a\r\n\r\n\r\nb\r\n"},
    {"no_line_end_defaults_to_crlf", "one line", QStringLiteral("one line"), "\r\n", "one line\r\n"},
    {"empty_file_stays_empty", "", QString(), "\r\n", ""},
    {"latin1_bytes_kept", "caf\xe9\xa0x\r\n", QString::fromLatin1("caf\xe9\xa0x\n"), "\r\n", "caf\xe9\xa0x\r\n"}};

INSTANTIATE_TEST_SUITE_P(Files, LogTextRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const ::testing::TestParamInfo<RoundTripRow>& info) { return std::string(info.param.name); });

TEST(LogTextBytes, EditedTextGetsTheFilesLineEndAndOneFinalEnd) {
  EXPECT_EQ(LogTextBytes(QStringLiteral("x\ny"), "\r\n"), QByteArray("x\r\ny\r\n"));
  EXPECT_EQ(LogTextBytes(QStringLiteral("x\ny\n\n"), "\r\n"), QByteArray("x\r\ny\r\n\r\n"));
  // A character a log cannot hold is written as '?', one byte for one character.
  EXPECT_EQ(LogTextBytes(QString::fromUtf8("a\u20acb"), "\n"), QByteArray("a?b\n"));
}

TEST(LogTextFile, MissingFileIsARunError) {
  QTemporaryDir dir;
  EXPECT_EQ(test::ErrorOf([&] { ReadLogText(dir.filePath(QStringLiteral("none.txt"))); }).condition(),
            ErrorCondition::PathNotFound);
}

TEST(LogTextFile, WriteIntoAMissingFolderFailsAndCreatesNothing) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("no/such/folder/a.mrl"));
  EXPECT_THROW(WriteLogText(path, QStringLiteral("a"), "\r\n"), RunError);
  EXPECT_FALSE(QFile::exists(path));
}

TEST(FileStamp, ChangesWhenLinesAreAppendedOrTheFileGoes) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ModemLog.txt"));
  EXPECT_FALSE(StampOfFile(path).exists);
  WriteRaw(path, "a\r\n");
  const FileStamp first = StampOfFile(path);
  EXPECT_TRUE(first.exists);
  EXPECT_EQ(first.size, 3);
  EXPECT_EQ(StampOfFile(path), first);
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("b\r\n");
  }
  EXPECT_NE(StampOfFile(path), first);
  QFile::remove(path);
  EXPECT_NE(StampOfFile(path), first);
}

}  // namespace
}  // namespace mirolat

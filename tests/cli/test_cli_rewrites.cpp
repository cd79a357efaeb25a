// mirolat-cli optimize, purge, repair and archive: the line each prints, the
// exit codes, the files each leaves, and two writers at once.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "cli_test_support.h"
#include "core/analysis/log_generator.h"
#include "core/common/dates.h"
#include "core/logfile/log_lock.h"
#include "core/logfile/log_rewrites.h"

namespace mirolat {
namespace {

QByteArray Golden(const char* name) {
  return testing::CliTest::Read(QStringLiteral(MIROLAT_TEST_DATA_DIR "/rewrites/mixed/") + QLatin1String(name));
}

// The log directory is a folder of the test's own; the configured modem log
// (ModemLog.txt by default) lies in it.
class CliRewriteTest : public testing::CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    logDir_ = dir_.filePath(QStringLiteral("logs"));
    ASSERT_TRUE(QDir().mkpath(logDir_));
    winDir_.emplace("WinDir", logDir_);
  }
  void TearDown() override { winDir_.reset(); CliTest::TearDown(); }
  QString LogPath(const char* name = "ModemLog.txt") const { return logDir_ + QLatin1Char('/') + QLatin1String(name); }
  void WriteLog(const QByteArray& bytes, const char* name = "ModemLog.txt") {
    QFile f(LogPath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }
  QStringList LogEntries() const {
    return QDir(logDir_).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  }
  QString logDir_;
  std::optional<testing::EnvGuard> winDir_;
};

// What the core's rewrites make of a log, for the commands' outputs.
QByteArray Optimized(const QByteArray& log) {
  ByteArraySink sink;
  NullProgress quiet;
  OptimizeLogText(log, Configuration{}, sink, quiet);
  return sink.bytes();
}
QByteArray Purged(const QByteArray& log) {
  ByteArraySink sink;
  NullProgress quiet;
  PurgeLogText(log, MakeDate(1998, 1, 15), MakeDate(1998, 1, 16), sink, quiet);
  return sink.bytes();
}

struct CommandRow {
  const char* words;
  const char* input;                             // golden file the log starts as
  QByteArray (*expected)(const QByteArray& log);  // what the log becomes
  const char* line;      // the output line, a pattern ({log} and {dir} stand for the paths)
};

class CliRewriteCommandTest : public CliRewriteTest, public ::testing::WithParamInterface<CommandRow> {};

TEST_P(CliRewriteCommandTest, RewritesTheConfiguredLogAndSaysSo) {
  const CommandRow& row = GetParam();
  const QByteArray input = Golden(row.input);
  WriteLog(input);
  WriteLog("an earlier backup", "ModemLog.old");
  ASSERT_EQ(Run(Words(row.words)), 0) << err_.toStdString();
  EXPECT_EQ(err_, "");
  const QByteArray expected = row.expected(input);
  EXPECT_EQ(Read(LogPath()), expected);
  QString line = QString::fromLatin1(row.line);
  line.replace(QStringLiteral("{log}"), LogPath()).replace(QStringLiteral("{dir}"), logDir_);
  line.replace(QStringLiteral("{kept}"), QString::number(expected.count("\r\n")));
  EXPECT_EQ(out_, line + QLatin1Char('\n'));
}

// A corrupt log is only repaired (ModemLog.txt of the case holds bytes a log
// line cannot hold); a clean one takes every command.
INSTANTIATE_TEST_SUITE_P(Commands, CliRewriteCommandTest, ::testing::Values(
        CommandRow{"optimize", "repaired.txt", Optimized,
                   "Optimized {log}: {kept} lines kept, 3 removed; the previous file is {dir}/ModemLog.old"},
        CommandRow{"purge --from 1998-01-15 --to 1998-01-16", "repaired.txt", Purged,
                   "Purged 1998-01-15 to 1998-01-16 from {log}: {kept} lines kept, 7 removed; the previous file is "
                   "{dir}/ModemLog.old"},
        CommandRow{"repair", "ModemLog.txt", [](const QByteArray&) { return Golden("repaired.txt"); },
                   "Repaired {log}: 4 bad bytes dropped, {kept} lines kept, 4 removed; the previous file is "
                   "{dir}/ModemLog.old"}),
    [](const ::testing::TestParamInfo<CommandRow>& info) {
      return QString::fromLatin1(info.param.words).section(QLatin1Char(' '), 0, 0).toStdString();
    });

// The command line does not rewrite what its own check calls corrupt (here a
// UTF-16 log).
TEST_F(CliRewriteTest, ACorruptLogIsRefusedByAllButRepair) {
  const QString text = QStringLiteral("01-15-1998 10:00:00.00 - READS 1\r\n");
  const QByteArray utf16 =  // little-endian, with its byte order mark
      QByteArray("\xff\xfe") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  const QString archive = dir_.filePath(QStringLiteral("Jan98.mrl"));
  for (const char* words : {"optimize", "purge --from 1998-01-15 --to 1998-01-16", "archive --out"}) {
    SCOPED_TRACE(words);
    WriteLog(utf16);
    WriteLog("the backup before", "ModemLog.old");
    QStringList args = Words(words);
    if (args.last() == QLatin1String("--out")) args << archive;
    EXPECT_EQ(Run(args), 1);
    EXPECT_EQ(out_, "");
    EXPECT_TRUE(err_.startsWith(QStringLiteral("mirolat-cli: WARNING: Corruption Detected in Modem Log File! ")))
        << err_.toStdString();
    EXPECT_TRUE(err_.contains(QStringLiteral(" refused: only repair rewrites a corrupt log"))) << err_.toStdString();
    EXPECT_EQ(Read(LogPath()), utf16);
    EXPECT_EQ(Read(LogPath("ModemLog.old")), "the backup before");
    EXPECT_FALSE(QFileInfo::exists(archive));
    EXPECT_EQ(LogEntries(), (QStringList{"ModemLog.old", "ModemLog.txt"}));
  }
  EXPECT_EQ(Run(Words("repair")), 0) << err_.toStdString();
  EXPECT_EQ(Read(LogPath()), "01-15-1998 10:00:00.00 - READS 1\r\n");
}

TEST_F(CliRewriteTest, AnotherFileIsAnArchiveWithItsOwnBackup) {
  const QByteArray input = Golden("repaired.txt");
  WriteLog("the modem log");
  WriteLog("the modem log's backup", "ModemLog.old");
  const QString archive = dir_.filePath(QStringLiteral("Jan98.mrl"));
  Write(QStringLiteral("Jan98.mrl"), input);
  ASSERT_EQ(Run(Words("optimize --log") << archive), 0) << err_.toStdString();
  EXPECT_EQ(Read(archive), Optimized(input));
  EXPECT_TRUE(out_.endsWith(QStringLiteral("the previous file is ") +
                            dir_.filePath(QStringLiteral("ModemLogArchive.old")) + '\n'))
      << out_.toStdString();
  EXPECT_EQ(Read(LogPath("ModemLog.old")), "the modem log's backup");
  // Purge, as in the window, is refused on an archive: both files stay.
  const QByteArray optimized = Read(archive);
  EXPECT_EQ(Run(Words("purge --from 1998-01-15 --to 1998-01-16 --log") << archive), 1);
  EXPECT_EQ(err_, QStringLiteral("mirolat-cli: purge works on the modem log only: '%1' is an archive, not the "
                                 "configured modem log '%2'\n")
                      .arg(archive, LogPath()));
  EXPECT_EQ(Read(archive), optimized);
  EXPECT_EQ(Read(dir_.filePath(QStringLiteral("ModemLogArchive.old"))), input);
}

// Every command that reads the log takes the configured one when --log is
// absent; the commands that only read create no settings store.
TEST_F(CliRewriteTest, CommandsTakeTheConfiguredLogAndReadersCreateNoStore) {
  const struct {
    const char* words;
    const char* output;  // a line of the output; {log} stands for the log's path
    bool writes;
  } rows[] = {
      {"scan --locale en_US", "Path: {log}\nSize: ", false},
      {"report --from 1998-01-15 --to 1998-01-16 --locale en_US --format csv", "Number,Service,", false},
      {"config export", "\"ModemLogFile\": \"ModemLog.txt\"", false}, {"modem list", "Modem entries: none\n", false},
      {"optimize", "Optimized {log}: ", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.words);
    QDir(configDir_).removeRecursively();
    WriteLog(Golden("repaired.txt"));
    EXPECT_EQ(Run(Words(row.words)), 0) << err_.toStdString();
    EXPECT_TRUE(out_.contains(QString::fromLatin1(row.output).replace(QStringLiteral("{log}"), LogPath())))
        << out_.toStdString();
    EXPECT_EQ(QFileInfo::exists(configDir_), row.writes);
    EXPECT_EQ(err_.contains(QStringLiteral("no settings are stored")), !row.writes) << err_.toStdString();
  }
}

TEST_F(CliRewriteTest, TheConfiguredLogNamedByAnotherPathIsTheModemLog) {
  const QByteArray input = Golden("ModemLog.txt");
  WriteLog(input);
  ASSERT_EQ(Run(Words("repair --log") << logDir_ + QStringLiteral("/../logs/./ModemLog.txt")), 0) << err_.toStdString();
  EXPECT_EQ(Read(LogPath("ModemLog.old")), input);
  EXPECT_EQ(Read(LogPath()), Golden("repaired.txt"));
}

TEST_F(CliRewriteTest, TheConfiguredFileNameIsUsed) {
  ASSERT_EQ(ImportJson(R"({"General": {"ModemLogFile": "Modem Log 2.txt"}})"), 0) << err_.toStdString();
  WriteLog("01-15-1998 10:00:00.00 - READS 1\r\n01-15-1998 10:00:00.00 - chatter\r\n", "Modem Log 2.txt");
  ASSERT_EQ(Run(Words("optimize")), 0) << err_.toStdString();
  EXPECT_EQ(Read(LogPath("Modem Log 2.txt")), "01-15-1998 10:00:00.00 - READS 1\r\n");
  EXPECT_EQ(Read(LogPath("ModemLog.old")), "01-15-1998 10:00:00.00 - READS 1\r\n01-15-1998 10:00:00.00 - chatter\r\n");
}

// A file that cannot be written (a folder has the first pass's name): the
// command fails, says so, and changes nothing.
TEST_F(CliRewriteTest, AFailedRewriteChangesNothing) {
  const QByteArray input = Golden("repaired.txt");
  WriteLog(input);
  WriteLog("the backup before", "ModemLog.old");
  ASSERT_TRUE(QDir(logDir_).mkdir(QStringLiteral("ModemLog.fx1")));
  EXPECT_EQ(Run(Words("repair")), 1);
  EXPECT_EQ(out_, "");
  EXPECT_TRUE(err_.contains(QStringLiteral("mirolat-cli: repair abandoned; %1 and its backup are unchanged").arg(LogPath())))
      << err_.toStdString();
  EXPECT_EQ(Read(LogPath()), input);
  EXPECT_EQ(Read(LogPath("ModemLog.old")), "the backup before");
  EXPECT_EQ(LogEntries(), (QStringList{"ModemLog.fx1", "ModemLog.old", "ModemLog.txt"}));
}

TEST_F(CliRewriteTest, WrongArgumentsAndAMissingLog) {
  const struct { const char* words; int rc; const char* message; } rows[] = {
      {"optimize", 1, "no log file at"}, {"repair --log nothing.log", 1, "no log file at"},
      {"purge --from 1998-01-15", 2, "purge needs --from YYYY-MM-DD and --to YYYY-MM-DD"},
      {"purge --from 15.01.1998 --to 1998-01-16", 2, "--from needs a date YYYY-MM-DD, not '15.01.1998'"},
      {"purge --from 1998-01-15 --to 1998-02-30", 2, "--to needs a date YYYY-MM-DD, not '1998-02-30'"},
      {"purge --from 1998-01-16 --to 1998-01-15", 2, "--from 1998-01-16 is after --to 1998-01-15"},
      {"optimize --log", 2, "--log needs a file name"}, {"repair extra", 2, "unexpected argument 'extra'"},
      {"archive", 2, "archive needs --out FILE.mrl"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.words);
    EXPECT_EQ(Run(Words(row.words)), row.rc);
    EXPECT_TRUE(err_.contains(QLatin1String(row.message))) << err_.toStdString();
    EXPECT_EQ(out_, "");
  }
  EXPECT_EQ(LogEntries(), QStringList{});
}

TEST_F(CliRewriteTest, ArchiveCopiesTheLogExactly) {
  const QByteArray input = Golden("repaired.txt");
  WriteLog(input);
  const QString archive = dir_.filePath(QStringLiteral("Jan98.mrl"));
  ASSERT_EQ(Run(Words("archive --out") << dir_.filePath(QStringLiteral("Jan98"))), 0) << err_.toStdString();
  EXPECT_EQ(Read(archive), input);
  EXPECT_EQ(out_, QStringLiteral("Archived %1 as %2 (%3 bytes)\n").arg(LogPath(), archive).arg(input.size()));
  EXPECT_EQ(LogEntries(), QStringList{"ModemLog.txt"});
  // An existing archive is replaced only when asked.
  WriteLog("newer log");
  EXPECT_EQ(Run(Words("archive --out") << archive), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("add --force"))) << err_.toStdString();
  EXPECT_EQ(Read(archive), input);
  EXPECT_EQ(Run(Words("archive --force --out") << archive), 0) << err_.toStdString();
  EXPECT_EQ(Read(archive), "newer log");
  // Another log, and the log itself refused as the archive.
  Write(QStringLiteral("other.txt"), "other log");
  EXPECT_EQ(Run(Words("archive --force --out")
                << archive << QStringLiteral("--log") << dir_.filePath(QStringLiteral("other.txt"))), 0);
  EXPECT_EQ(Read(archive), "other log");
  EXPECT_EQ(Run(Words("archive --force --out") << archive << QStringLiteral("--log") << archive), 1);
  EXPECT_EQ(Read(archive), "other log");
}

// Two writers started at the same moment, again and again: one waits for the
// other, both finish, and the log holds both changes, never a mix of two files.
TEST_F(CliRewriteTest, TwoWritersAtOnceNeverInterleave) {
  LogGeneratorOptions options;
  options.seed = 11;
  options.days = 300;
  options.sessionsPerDay = 4;
  const QByteArray log = GenerateModemLog(options);
  const auto day = [&](int n) { return DateToIso(FromQDate(options.start.addDays(n))); };
  const QStringList purgeA{"purge", "--from", day(10), "--to", day(100)};
  const QStringList purgeB{"purge", "--from", day(150), "--to", day(250)};
  const QStringList import{"import-pppd", "--from", QStringLiteral(MIROLAT_SAMPLES_DIR "/pppd-syslog.log"), "--year",
                           "2026"};
  // What both changes give, made one after the other.
  NullProgress quiet;
  ByteArraySink once, twice;
  PurgeLogText(log, FromQDate(options.start.addDays(10)), FromQDate(options.start.addDays(100)), once, quiet);
  PurgeLogText(once.bytes(), FromQDate(options.start.addDays(150)), FromQDate(options.start.addDays(250)), twice,
               quiet);
  const QByteArray bothPurges = twice.bytes();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("WinDir"), logDir_);
  env.insert(QStringLiteral("MIROLAT_CONFIG_DIR"), configDir_);
  const auto runPair = [&](const QStringList& first, const QStringList& second) {
    WriteLog(log);
    QProcess a, b;
    for (QProcess* p : {&a, &b}) p->setProcessEnvironment(env);
    a.start(QStringLiteral(MIROLAT_CLI_PATH), first);
    b.start(QStringLiteral(MIROLAT_CLI_PATH), second);
    EXPECT_TRUE(a.waitForFinished(60000) && b.waitForFinished(60000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
    return Read(LogPath());
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(runPair(purgeA, purgeB) == bothPurges) << "two purges";
    const QByteArray imported = runPair(purgeA, import);
    EXPECT_TRUE(imported.startsWith(once.bytes()) && imported.size() > once.bytes().size()) << "purge and import";
    QStringList left = LogEntries();
    left.removeAll(QStringLiteral("ModemLog.txt"));
    left.removeAll(QStringLiteral("ModemLog.old"));
    EXPECT_EQ(left, QStringList{}) << "no work file left";
  }
}

// A writer that finds the log busy for longer than it waits says so, fails,
// and leaves the log as it was.
TEST_F(CliRewriteTest, ABusyLogIsAClearFailureThatChangesNothing) {
  const QByteArray input = Golden("ModemLog.txt");
  WriteLog(input);
  const LogWriteLock held(LogPath());
  qputenv("MIROLAT_LOCK_WAIT", "0.2");
  EXPECT_EQ(Run(Words("repair")), 1);
  qunsetenv("MIROLAT_LOCK_WAIT");
  EXPECT_TRUE(err_.contains(QLatin1String(kLogBusyText))) << err_.toStdString();
  EXPECT_EQ(Read(LogPath()), input);
  EXPECT_EQ(LogEntries(), QStringList{"ModemLog.txt"});
}

}  // namespace
}  // namespace mirolat

// What mirolat-cli writes reaches its place whole or the command says it did
// not: files go through the atomic writer (a failed step leaves the earlier
// file as it was), and standard output is checked to its last flush.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "../core/file_test_support.h"
#include "cli_test_support.h"

namespace mirolat {
namespace {

using mirolat::test::Call;

struct FileCommand {
  const char* name;
  const char* words;  // the target's path follows
  Call failing;  // fails as a full disk would
};

class CliFileOutputTest : public testing::CliTest, public ::testing::WithParamInterface<FileCommand> {
 protected:
  int RunFailing(const QStringList& words, FileSystemOps& files) {
    out_.clear();
    err_.clear();
    QTextStream out(&out_);
    QTextStream err(&err_);
    const int rc = cli::Run(QStringList{QStringLiteral("mirolat-cli")} + words, out, err, files);
    out.flush();
    err.flush();
    return rc;
  }
};

// Whichever step fails, the file already there keeps its bytes, nothing is
// left beside it, and the command says why and exits 1.
TEST_P(CliFileOutputTest, AFailedWriteLeavesTheExistingFileWhole) {
  const FileCommand& c = GetParam();
  const QString target = Write(QStringLiteral("existing.txt"), "the user's earlier file\n");
  mirolat::test::FailingOps files(c.failing, "", ENOSPC);
  EXPECT_EQ(RunFailing(Words(c.words) << target, files), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("cannot write '") + target + QStringLiteral("'"))) << err_.toStdString();
  EXPECT_TRUE(err_.contains(QStringLiteral("No space left on device"))) << err_.toStdString();
  EXPECT_EQ(Read(target), QByteArray("the user's earlier file\n"));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("existing.txt")});
  // The same command through the system's calls replaces the file.
  EXPECT_EQ(Run(Words(c.words) << target), 0) << err_.toStdString();
  EXPECT_NE(Read(target), QByteArray("the user's earlier file\n"));
  EXPECT_FALSE(Read(target).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Steps, CliFileOutputTest,
                         ::testing::Values(FileCommand{"ExportWrite", "config export", Call::Write},
                                           FileCommand{"GenlogRename", "genlog --seed 3 --days 4 --out",
                                                       Call::Rename}),
                         [](const auto& info) { return std::string(info.param.name); });

// The real program with its standard output on a full device: every command
// that prints ends non-zero and says that its output is incomplete; the same
// command with its output in a file succeeds.
class CliStdoutTest : public testing::CliTest {
 protected:
  int RunProgram(const QStringList& words, const QString& stdoutFile) {
    QProcess p;
    p.setProgram(QStringLiteral(MIROLAT_CLI_PATH));
    p.setArguments(words);
    p.setStandardOutputFile(stdoutFile);
    p.start();
    EXPECT_TRUE(p.waitForFinished(30000)) << words.join(QLatin1Char(' ')).toStdString();
    programErr_ = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }
  QString programErr_;
};

TEST_F(CliStdoutTest, AFullDeviceOnStandardOutputIsAFailure) {
  ASSERT_TRUE(QFile::exists(QStringLiteral("/dev/full")));
  const QString log = testing::CaseDir("costs_on") + QStringLiteral("/ModemLog.txt");
  const QList<QStringList> commands = {
      ReportArgs("costs_on", "1998-01-15", "1998-01-15") << Words("--format json"),
      Words("scan --locale en_US --log") << log, Words("config export"),
      Words("genlog --seed 2 --days 300"),  // larger than any stream buffer
  };
  const QString file = dir_.filePath(QStringLiteral("stdout.txt"));
  for (const QStringList& words : commands) {
    const std::string shown = words.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(RunProgram(words, file), 0) << shown << ": " << programErr_.toStdString();
    EXPECT_GT(QFileInfo(file).size(), 0) << shown;
    EXPECT_EQ(RunProgram(words, QStringLiteral("/dev/full")), 1) << shown;
    EXPECT_TRUE(programErr_.contains(QStringLiteral("mirolat-cli: the output is incomplete: write 'standard output': "
                                                    "No space left on device")))
        << shown << ": " << programErr_.toStdString();
  }
}

}  // namespace
}  // namespace mirolat

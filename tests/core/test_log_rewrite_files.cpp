// The rewrites on files: the work files and backups beside the log, the
// golden cases byte for byte, and a failure injected at each file-system call
// (the log stays whole, the earlier backup as it was, no work file left, and
// the result says the rewrite was abandoned).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include "core/logfile/log_rewrites.h"

#include "file_test_support.h"

namespace mirolat {
namespace {

using test::Call;
using test::FailingOps;
using test::ReadAll;
using test::ScriptedReporter;
using test::WriteRaw;

QByteArray GoldenFile(const char* name) {
  return ReadAll(QStringLiteral(MIROLAT_TEST_DATA_DIR "/rewrites/mixed/") + QLatin1String(name));
}

enum class Op { Optimize, Purge, Repair };

const char* OpName(Op op) { return op == Op::Optimize ? "Optimize" : op == Op::Purge ? "Purge" : "Repair"; }

using test::RecordingProgress;

class RewriteFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
  QStringList Entries() const { return test::FilesIn(dir_.path()); }
  CurrentFileState File(const char* name = "ModemLog.txt", bool archive = false) const {
    CurrentFileState f;
    f.WindowsDir = dir_.path() + QLatin1Char('/');
    f.LogFileName = QLatin1String(name);
    f.LogFilePath = f.WindowsDir + f.LogFileName;
    f.ArchiveOpen = archive;
    return f;
  }
  static RewriteResult Run(Op op, const CurrentFileState& file, ErrorReporter& reporter,
                           FileSystemOps& ops = FileSystemOps::System(), Progress* shown = nullptr) {
    NullProgress quiet;
    Progress& progress = shown != nullptr ? *shown : quiet;
    switch (op) {
      case Op::Optimize:
        return OptimizeLog(file, Configuration{}, progress, reporter, ops);
      case Op::Purge:
        return PurgeEntries(file, MakeDate(1998, 1, 15), MakeDate(1998, 1, 16), progress, reporter, ops);
      case Op::Repair:
        return RepairLog(file, progress, reporter, ops);
    }
    return {};
  }
  QTemporaryDir dir_;
};

// Golden cases: the log as given, the file each rewrite leaves, byte for byte,
// the old log as the backup, and the rewrite's last status text.
TEST_F(RewriteFilesTest, RewritesTheLogAndKeepsTheOldOneAsBackup) {
  const struct {
    Op op;
    const char* expected;
    QStringList entries;  // the folder afterwards
    const char* finished;
  } rows[] = {
      {Op::Optimize, "optimized.txt", {"ModemLog.old", "ModemLog.txt"}, "Finished Optimizing Modem Log File!"},
      {Op::Purge, "purged.txt", {"ModemLog.old", "ModemLog.txt"}, "Finished Purging Records!"},
      {Op::Repair, "repaired.txt", {"ModemLog.fx1", "ModemLog.old", "ModemLog.txt"}, "Modem File Successfully Repaired!"}};
  const QByteArray input = GoldenFile("ModemLog.txt");
  ASSERT_GT(input.size(), 500);
  for (const auto& row : rows) {
    SCOPED_TRACE(OpName(row.op));
    WriteRaw(Path("ModemLog.txt"), input);
    WriteRaw(Path("ModemLog.old"), "an earlier backup");
    ScriptedReporter reporter;
    RecordingProgress progress;
    const RewriteResult result = Run(row.op, File(), reporter, FileSystemOps::System(), &progress);
    ASSERT_TRUE(result.Done);
    EXPECT_TRUE(reporter.errors.empty());
    const QByteArray expected = GoldenFile(row.expected);
    EXPECT_EQ(ReadAll(Path("ModemLog.txt")), expected);
    EXPECT_EQ(ReadAll(Path("ModemLog.old")), input) << "the backup is the log exactly as it was";
    EXPECT_EQ(result.BackupPath, Path("ModemLog.old"));
    EXPECT_EQ(result.BytesBefore, input.size());
    EXPECT_EQ(result.BytesAfter, expected.size());
    EXPECT_EQ(result.LinesKept, expected.count("\r\n"));
    EXPECT_EQ(Entries(), row.entries);
    EXPECT_EQ(progress.statuses.last(), QLatin1String(row.finished));
    if (row.op == Op::Repair) {
      EXPECT_EQ(ReadAll(Path("ModemLog.fx1")), GoldenFile("first_pass.txt"));
      EXPECT_EQ(result.BytesDropped, input.size() - GoldenFile("first_pass.txt").size());
    }
  }
}

TEST_F(RewriteFilesTest, AnArchiveKeepsItsOwnBackupBesideIt) {
  for (const Op op : {Op::Optimize, Op::Purge, Op::Repair}) {
    SCOPED_TRACE(OpName(op));
    const QByteArray input = GoldenFile("ModemLog.txt");
    WriteRaw(Path("Jan98.mrl"), input);
    WriteRaw(Path("ModemLog.old"), "the modem log's backup");
    ScriptedReporter reporter;
    const RewriteResult result = Run(op, File("Jan98.mrl", true), reporter);
    ASSERT_TRUE(result.Done);
    EXPECT_EQ(result.BackupPath, Path("ModemLogArchive.old"));
    EXPECT_EQ(ReadAll(Path("ModemLogArchive.old")), input);
    EXPECT_EQ(ReadAll(Path("ModemLog.old")), "the modem log's backup");
  }
}

// Links planted at the work files' names are never written through: each run
// writes files of its own, and the log stays a regular file.
TEST_F(RewriteFilesTest, PlantedLinksAreNeverFollowed) {
  const QByteArray victim = "not the log's\r\n";
  WriteRaw(Path("victim"), victim);
  for (const char* name : {"ModemLog.opt", "ModemLog.pge", "ModemLog.fx1", "ModemLog.fx2"}) {
    ASSERT_EQ(::symlink("victim", QFile::encodeName(Path(name)).constData()), 0);
  }
  for (const Op op : {Op::Optimize, Op::Purge, Op::Repair}) {
    SCOPED_TRACE(OpName(op));
    WriteRaw(Path("ModemLog.txt"), GoldenFile("ModemLog.txt"));
    ScriptedReporter reporter;
    ASSERT_TRUE(Run(op, File(), reporter).Done);
    EXPECT_EQ(ReadAll(Path("victim")), victim);
    EXPECT_FALSE(QFileInfo(Path("ModemLog.txt")).isSymLink());
    EXPECT_FALSE(QFileInfo(Path("ModemLog.old")).isSymLink());
  }
}

// A log that is a link is rewritten where it points; the link stays, and the
// backup beside it is the old file itself, not a second link to the log.
TEST_F(RewriteFilesTest, ALogThatIsALinkIsRewrittenWhereItPoints) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("var"));
  const QString real = Path("var/dialer.log");
  WriteRaw(real, GoldenFile("ModemLog.txt"));
  ASSERT_EQ(::symlink("var/dialer.log", QFile::encodeName(Path("ModemLog.txt")).constData()), 0);
  ScriptedReporter reporter;
  ASSERT_TRUE(Run(Op::Optimize, File(), reporter).Done);
  EXPECT_TRUE(QFileInfo(Path("ModemLog.txt")).isSymLink());
  EXPECT_EQ(ReadAll(real), GoldenFile("optimized.txt"));
  EXPECT_FALSE(QFileInfo(Path("ModemLog.old")).isSymLink());
  EXPECT_EQ(ReadAll(Path("ModemLog.old")), GoldenFile("ModemLog.txt"));
}

// Files made from a private log are private: the rewritten log, the repair's
// first pass and an archive (an exact copy) take the log's mode.
TEST_F(RewriteFilesTest, FilesMadeFromAPrivateLogKeepItsMode) {
  const auto mode = [](const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 01000u;
  };
  WriteRaw(Path("ModemLog.txt"), GoldenFile("ModemLog.txt"));
  ASSERT_EQ(::chmod(QFile::encodeName(Path("ModemLog.txt")).constData(), 0600), 0);
  ScriptedReporter reporter;
  ASSERT_TRUE(Run(Op::Repair, File(), reporter).Done);
  ASSERT_TRUE(SaveLogAsArchive(Path("ModemLog.txt"), Path("Jan98.mrl"), reporter));
  EXPECT_EQ(ReadAll(Path("Jan98.mrl")), GoldenFile("repaired.txt")) << "an archive is an exact copy";
  for (const char* name : {"ModemLog.txt", "ModemLog.fx1", "ModemLog.old", "Jan98.mrl"}) {
    EXPECT_EQ(mode(Path(name)), 0600u) << name;
  }
}

struct FailureRow {
  const char* name;
  Op op;
  Call call;
  const char* pathPart;
  int err;
  long writeBudget;
  ErrorCondition condition;
};

void PrintTo(const FailureRow& row, std::ostream* os) { *os << OpName(row.op) << row.name; }

class RewriteFailureTest : public RewriteFilesTest, public ::testing::WithParamInterface<FailureRow> {};

// Whatever call fails, and although the reporter answers "continue", the
// rewrite is abandoned: the log keeps its bytes, the earlier backup stays,
// no work file is left, and the result is not Done.
TEST_P(RewriteFailureTest, AbandonsTheRewriteAndChangesNothing) {
  const FailureRow& row = GetParam();
  // Large enough for several buffered writes.
  const QByteArray input = GoldenFile("ModemLog.txt").repeated(300);
  WriteRaw(Path("ModemLog.txt"), input);
  WriteRaw(Path("ModemLog.old"), "the backup before");
  FailingOps ops(row.call, row.pathPart, row.err, row.writeBudget);
  ScriptedReporter reporter({ErrorAnswer::Continue});
  RecordingProgress progress;
  const RewriteResult result = Run(row.op, File(), reporter, ops, &progress);
  EXPECT_GE(ops.failures, 1) << "the failure was injected";
  EXPECT_FALSE(result.Done);
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(reporter.errors[0].condition(), row.condition) << reporter.errors[0].description().toStdString();
  EXPECT_EQ(ReadAll(Path("ModemLog.txt")), input);
  EXPECT_EQ(ReadAll(Path("ModemLog.old")), "the backup before");
  EXPECT_EQ(Entries(), (QStringList{"ModemLog.old", "ModemLog.txt"}));
  for (const QString& s : progress.statuses)
    EXPECT_FALSE(s.startsWith("Finished") || s.contains("Successfully")) << s.toStdString();
}

std::vector<FailureRow> FailureRows() {
  std::vector<FailureRow> rows;
  const struct {
    Op op;
    const char* work;
  } ops[] = {{Op::Optimize, "ModemLog.opt"}, {Op::Purge, "ModemLog.pge"}, {Op::Repair, "ModemLog.fx2"}};
  for (const auto& o : ops) {
    rows.push_back({"OpenWorkFile", o.op, Call::Open, o.work, EACCES, 0, ErrorCondition::PathFileAccess});
    rows.push_back({"FirstWrite", o.op, Call::Write, "", EIO, 0, ErrorCondition::DeviceIO});
    rows.push_back({"WritePartWay", o.op, Call::Write, "", ENOSPC, 70000, ErrorCondition::DiskFull});
    rows.push_back({"Sync", o.op, Call::Sync, "", EIO, 0, ErrorCondition::DeviceIO});
    rows.push_back({"Close", o.op, Call::Close, "", ENOSPC, 0, ErrorCondition::DiskFull});
    rows.push_back({"BackupRename", o.op, Call::RenameTo, "ModemLog.old", EIO, 0, ErrorCondition::DeviceIO});
    rows.push_back({"RenameOverLog", o.op, Call::Rename, o.work, EACCES, 0, ErrorCondition::PathFileAccess});
  }
  // The first pass's own file.
  rows.push_back({"OpenFirstPassFile", Op::Repair, Call::Open, "ModemLog.fx1", ENOSPC, 0, ErrorCondition::DiskFull});
  rows.push_back({"RenameFirstPassFile", Op::Repair, Call::Rename, "ModemLog.fx1", EIO, 0, ErrorCondition::DeviceIO});
  return rows;
}

INSTANTIATE_TEST_SUITE_P(EachCall, RewriteFailureTest, ::testing::ValuesIn(FailureRows()),
                         [](const ::testing::TestParamInfo<FailureRow>& info) {
                           return std::string(OpName(info.param.op)) + info.param.name;
                         });

TEST_F(RewriteFilesTest, AMissingLogIsReportedAndNothingIsWritten) {
  for (const Op op : {Op::Optimize, Op::Purge, Op::Repair}) {
    SCOPED_TRACE(OpName(op));
    WriteRaw(Path("ModemLog.old"), "the backup before");
    ScriptedReporter reporter;
    EXPECT_FALSE(Run(op, File(), reporter).Done);
    ASSERT_EQ(reporter.errors.size(), 1u);
    EXPECT_EQ(reporter.errors[0].condition(), ErrorCondition::PathNotFound);
    EXPECT_EQ(Entries(), QStringList{"ModemLog.old"});
    EXPECT_EQ(ReadAll(Path("ModemLog.old")), "the backup before");
  }
}

TEST_F(RewriteFilesTest, RetryRunsTheRewriteAgain) {
  const QByteArray input = GoldenFile("ModemLog.txt");
  WriteRaw(Path("ModemLog.txt"), input);
  FailingOps ops(Call::Rename, "ModemLog.pge", ENOSPC, 0, /*times=*/1);
  ScriptedReporter reporter({ErrorAnswer::Retry});
  const RewriteResult result = Run(Op::Purge, File(), reporter, ops);
  EXPECT_TRUE(result.Done);
  EXPECT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(ReadAll(Path("ModemLog.txt")), GoldenFile("purged.txt"));
  EXPECT_EQ(ReadAll(Path("ModemLog.old")), input);
}

TEST_F(RewriteFilesTest, EndingTheProgramLeavesTheFilesWhole) {
  const QByteArray input = GoldenFile("ModemLog.txt");
  WriteRaw(Path("ModemLog.txt"), input);
  WriteRaw(Path("ModemLog.old"), "the backup before");
  FailingOps ops(Call::Sync, "", EIO);
  ScriptedReporter reporter({ErrorAnswer::End});
  EXPECT_THROW(Run(Op::Repair, File(), reporter, ops), EndProgramRequested);
  EXPECT_EQ(ReadAll(Path("ModemLog.txt")), input);
  EXPECT_EQ(ReadAll(Path("ModemLog.old")), "the backup before");
  EXPECT_EQ(Entries(), (QStringList{"ModemLog.old", "ModemLog.txt"}));
}

// A file named like the rewrite's backup or work file would lose it.
TEST_F(RewriteFilesTest, ALogNamedLikeItsBackupIsNotRewritten) {
  const struct { Op op; const char* name; bool archive; } rows[] = {{Op::Repair, "ModemLog.old", false},
              {Op::Optimize, "ModemLogArchive.old", true}, {Op::Purge, "ModemLog.pge", false},
              {Op::Repair, "ModemLog.fx1", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
    const QByteArray input = GoldenFile("ModemLog.txt");
    WriteRaw(Path(row.name), input);
    ScriptedReporter reporter;
    EXPECT_FALSE(Run(row.op, File(row.name, row.archive), reporter).Done);
    ASSERT_EQ(reporter.errors.size(), 1u);
    EXPECT_EQ(ReadAll(Path(row.name)), input);
    EXPECT_EQ(Entries(), QStringList{QLatin1String(row.name)});
  }
}

TEST_F(RewriteFilesTest, AFailedArchiveLeavesNoFileAndAnEarlierOneWhole) {
  WriteRaw(Path("ModemLog.txt"), GoldenFile("ModemLog.txt"));
  WriteRaw(Path("old.mrl"), "earlier archive");
  for (const char* name : {"new.mrl", "old.mrl"}) {
    FailingOps ops(Call::Write, "", ENOSPC, 100);
    ScriptedReporter reporter;
    EXPECT_FALSE(SaveLogAsArchive(Path("ModemLog.txt"), Path(name), reporter, ops)) << name;
    EXPECT_EQ(reporter.errors.size(), 1u);
  }
  EXPECT_EQ(ReadAll(Path("old.mrl")), "earlier archive");
  EXPECT_EQ(Entries(), (QStringList{"ModemLog.txt", "old.mrl"}));
  ScriptedReporter reporter;
  EXPECT_FALSE(SaveLogAsArchive(Path("missing.txt"), Path("new.mrl"), reporter));
  EXPECT_EQ(Entries(), (QStringList{"ModemLog.txt", "old.mrl"}));
}

}  // namespace
}  // namespace mirolat

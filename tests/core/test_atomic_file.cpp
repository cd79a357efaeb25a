// The atomic writer: the target holds its old bytes or its new bytes, whole,
// whichever call fails; a kept backup is the old file exactly.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/common/atomic_file.h"
#include "core/common/errors.h"

#include "file_test_support.h"

namespace mirolat {
namespace {

using test::ReadAll;
using test::WriteRaw;
using test::Call;
using test::FailingOps;

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QStringList Entries() const { return test::FilesIn(dir_.path()); }
  QTemporaryDir dir_;
};

// More than the writer's buffer, in pieces small and large, replaces the old
// bytes at the commit and not before.
TEST_F(AtomicFileTest, WritesNewAndReplacesExistingFilesWhole) {
  const QString target = Path("report.txt");
  WriteFileAtomically(target, "first\r\n");
  EXPECT_EQ(ReadAll(target), "first\r\n");
  AtomicFileWriter writer(target);
  QByteArray expected;
  for (int i = 0; i < 20000; ++i) {
    const QByteArray line = i == 5000 ? QByteArray(300000, 'b') : QByteArray::number(i) + " line of the new file\r\n";
    writer.Write(line);
    expected += line;
  }
  EXPECT_EQ(ReadAll(target), "first\r\n") << "nothing is visible before the commit";
  writer.Commit();
  EXPECT_EQ(ReadAll(target), expected);
  EXPECT_EQ(Entries(), QStringList{"report.txt"}) << "no work file is left behind";
}

TEST_F(AtomicFileTest, AnUncommittedWriterLeavesTheTargetAlone) {
  const QString target = Path("config.json");
  WriteRaw(target, "old");
  {
    AtomicFileWriter writer(target);
    writer.Write(QByteArray(100000, 'x'));
  }
  EXPECT_EQ(ReadAll(target), "old");
  EXPECT_EQ(Entries(), QStringList{"config.json"});
}

struct FailureRow {
  const char* name;
  Call call;
  const char* pathPart;
  int err;
  long writeBudget;
  ErrorCondition condition;
};

class AtomicFileFailureTest : public AtomicFileTest, public ::testing::WithParamInterface<FailureRow> {};

// Whatever call fails, the target keeps its old bytes, an earlier backup stays
// as it was, no work file is left, and the failure's condition is raised.
TEST_P(AtomicFileFailureTest, TargetAndBackupStayWhole) {
  const FailureRow& row = GetParam();
  const QString target = Path("ModemLog.txt");
  const QString backup = Path("ModemLog.old");
  const QByteArray oldBytes = "10-01-1998 10:00:00.00 - old line\r\n";
  WriteRaw(target, oldBytes);
  WriteRaw(backup, "the backup before");
  FailingOps ops(row.call, row.pathPart, row.err, row.writeBudget);
  const RunError e = test::ErrorOf([&] {
    AtomicFileWriter writer(target, ops);
    writer.Write(QByteArray(200000, 'n'));
    writer.CommitWithBackup(backup);
  });
  EXPECT_EQ(e.condition(), row.condition) << e.description().toStdString();
  EXPECT_EQ(ReadAll(target), oldBytes);
  EXPECT_EQ(ReadAll(backup), "the backup before");
  EXPECT_EQ(Entries(), (QStringList{"ModemLog.old", "ModemLog.txt"}));
}

INSTANTIATE_TEST_SUITE_P(EachCall, AtomicFileFailureTest,
    ::testing::Values(FailureRow{"Open", Call::Open, "", EACCES, 0, ErrorCondition::PathFileAccess},
                      FailureRow{"FirstWrite", Call::Write, "", EIO, 0, ErrorCondition::DeviceIO},
                      FailureRow{"WritePartWay", Call::Write, "", ENOSPC, 70000, ErrorCondition::DiskFull},
                      FailureRow{"Sync", Call::Sync, "", EIO, 0, ErrorCondition::DeviceIO},
                      FailureRow{"Close", Call::Close, "", ENOSPC, 0, ErrorCondition::DiskFull},
                      FailureRow{"Rename", Call::Rename, ".new-", EACCES, 0, ErrorCondition::PathFileAccess},
                      FailureRow{"BackupRename", Call::RenameTo, ".old", EIO, 0, ErrorCondition::DeviceIO}),
    [](const ::testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.name); });

TEST_F(AtomicFileTest, BackupIsTheOldFileExactlyWithOrWithoutHardLinks) {
  for (const bool links : {true, false}) {
    const QString target = Path("ModemLog.txt");
    const QString backup = Path("ModemLog.old");
    WriteRaw(target, "old log\r\n");
    WriteRaw(backup, "older backup");
    FailingOps noLinks(Call::Link, "", EXDEV);
    FileSystemOps& ops = links ? FileSystemOps::System() : noLinks;
    AtomicFileWriter writer(target, ops);
    writer.Write("new log\r\n");
    writer.CommitWithBackup(backup);
    EXPECT_EQ(ReadAll(target), "new log\r\n") << links;
    EXPECT_EQ(ReadAll(backup), "old log\r\n") << links;
    EXPECT_EQ(Entries(), (QStringList{"ModemLog.old", "ModemLog.txt"})) << links;
  }
}

// At no moment of a replacement with backup is the backup the same file as
// the target: interrupted anywhere, a program appending to the target never
// changes the backup.
TEST_F(AtomicFileTest, TheBackupIsNeverTheLiveFile) {
  class WatchingOps : public FileSystemOps {
   public:
    WatchingOps(QString target, QString backup) : target_(std::move(target)), backup_(std::move(backup)) {}
    int Rename(const QByteArray& from, const QByteArray& to) override { return Check(FileSystemOps::Rename(from, to)); }
    int Link(const QByteArray& from, const QByteArray& to) override { return Check(FileSystemOps::Link(from, to)); }
    int calls = 0;
    int aliased = 0;

   private:
    int Check(int result) {
      struct stat t {}, b {};
      ++calls;
      if (::stat(QFile::encodeName(target_).constData(), &t) == 0 &&
          ::stat(QFile::encodeName(backup_).constData(), &b) == 0 && t.st_ino == b.st_ino && t.st_dev == b.st_dev)
        ++aliased;
      return result;
    }
    QString target_, backup_;
  } ops(Path("ModemLog.txt"), Path("ModemLog.old"));
  WriteRaw(Path("ModemLog.txt"), "old log\r\n");
  WriteRaw(Path("ModemLog.old"), "older backup");
  AtomicFileWriter writer(Path("ModemLog.txt"), ops);
  writer.Write("new log\r\n");
  writer.CommitWithBackup(Path("ModemLog.old"));
  EXPECT_GE(ops.calls, 3);
  EXPECT_EQ(ops.aliased, 0);
  EXPECT_EQ(ReadAll(Path("ModemLog.old")), "old log\r\n");
}

// A file or link planted at the work file's name (even in the instant before
// the writer creates it) is never written through.
TEST_F(AtomicFileTest, APlantedWorkFileIsNeverWrittenThrough) {
  class PlantingOps : public FileSystemOps {
   public:
    explicit PlantingOps(QString victim) : victim_(std::move(victim)) {}
    int Open(const QByteArray& path, int flags, int mode) override {
      if (planted_++ == 0) ::symlink(QFile::encodeName(victim_).constData(), path.constData());
      return FileSystemOps::Open(path, flags, mode);
    }

   private:
    QString victim_;
    int planted_ = 0;
  } ops(Path("victim"));
  WriteRaw(Path("victim"), "someone else's");
  WriteFileAtomically(Path("config.json"), "{}", ops);
  EXPECT_EQ(ReadAll(Path("victim")), "someone else's");
  EXPECT_EQ(ReadAll(Path("config.json")), "{}");
}

// Only a regular file (or a link to one) or a free name is replaced; the
// other kinds are refused and stay what they were.
TEST_F(AtomicFileTest, OnlyRegularFilesAreReplaced) {
  WriteRaw(Path("plain"), "x");
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600), 0);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
  ASSERT_EQ(::symlink("plain", QFile::encodeName(Path("to-plain")).constData()), 0);
  ASSERT_EQ(::symlink("/dev/null", QFile::encodeName(Path("to-device")).constData()), 0);
  ASSERT_EQ(::symlink("nowhere", QFile::encodeName(Path("to-nothing")).constData()), 0);
  const struct {
    const char* name;
    const char* replaced;  // nullptr: refused
  } rows[] = {{"plain", "plain"},   {"free", "free"},         {"to-plain", "plain"},    {"fifo", nullptr},
              {"folder", nullptr}, {"to-device", nullptr}, {"to-nothing", nullptr}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.replaced != nullptr) {
      EXPECT_EQ(QFileInfo(ReplaceablePath(Path(row.name))).fileName(), QLatin1String(row.replaced));
      continue;
    }
    const RunError e = test::ErrorOf([&] { WriteFileAtomically(Path(row.name), "new"); });
    EXPECT_EQ(e.condition(), ErrorCondition::BadFileName);
    EXPECT_TRUE(e.description().contains("not a regular file") || e.description().contains("does not exist"))
        << e.description().toStdString();
  }
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(Path("fifo")).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_TRUE(QFileInfo(Path("to-device")).isSymLink());
}

TEST_F(AtomicFileTest, NoBackupIsMadeWhenThereIsNoOldFile) {
  AtomicFileWriter writer(Path("ModemLog.txt"));
  writer.Write("new");
  writer.CommitWithBackup(Path("ModemLog.old"));
  EXPECT_EQ(Entries(), QStringList{"ModemLog.txt"});
}

TEST_F(AtomicFileTest, AMissingFolderIsPathNotFound) {
  EXPECT_EQ(test::ErrorOf([&] { WriteFileAtomically(Path("no/such/folder/file.txt"), "x"); }).condition(),
            ErrorCondition::PathNotFound);
}

TEST(WriteAllToDescriptorTest, AFullDeviceIsDiskFull) {
  const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  if (fd < 0) GTEST_SKIP() << "no /dev/full here";
  const RunError e = test::ErrorOf([&] { WriteAllToDescriptor(fd, QByteArray(10, 'x'), QStringLiteral("standard output")); });
  ::close(fd);
  EXPECT_EQ(e.condition(), ErrorCondition::DiskFull);
}

}  // namespace
}  // namespace mirolat

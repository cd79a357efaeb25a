// The log's write lock: a second writer waits, says why and gives up having
// touched nothing; the first cleans up what killed runs left beside the log.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <utime.h>

#include "core/common/errors.h"
#include "core/common/progress.h"
#include "core/logfile/log_lock.h"

#include "file_test_support.h"

namespace mirolat {
namespace {

using test::ReadAll;
using test::WriteRaw;

class Notices : public Progress {
 public:
  void SetStatus(const QString&) override {}
  void SetPercent(int) override {}
  void Notice(const QString& text) override { texts << text; }
  QStringList texts;
};

TEST(LogWriteLockTest, ASecondWriterWaitsSaysWhyAndGivesUp) {
  QTemporaryDir dir;
  const QString log = dir.filePath("ModemLog.txt");
  const LogWriteLock first(log);
  Notices notices;
  const RunError e = test::ErrorOf([&] { const LogWriteLock second(log, std::chrono::milliseconds(200), &notices); });
  EXPECT_EQ(e.condition(), ErrorCondition::FileLocked);
  EXPECT_TRUE(e.description().contains("nother Mirolat command is changing the log")) << e.description().toStdString();
  ASSERT_EQ(notices.texts.size(), 1);
  EXPECT_TRUE(notices.texts[0].contains(QLatin1String(kLogBusyText)));
}

// Work files of runs that are gone and older than the lock are removed; the
// user's files, files of running processes and newer files stay. A backup's
// second name holding the file before an interrupted rewrite becomes the backup.
TEST(LogWriteLockTest, TheHolderClearsWhatKilledRunsLeft) {
  QTemporaryDir dir;
  const auto plant = [&](const char* name, const QByteArray& bytes, bool old) {
    WriteRaw(dir.filePath(name), bytes);
    if (!old) return;
    struct utimbuf times {1000000000, 1000000000};
    ASSERT_EQ(::utime(QFile::encodeName(dir.filePath(name)).constData(), &times), 0);
  };
  plant("ModemLog.txt", "the log", false);
  plant("ModemLog.old", "an older backup", true);
  plant("ModemLog.old.bak-999999999-aB3dE5", "the log before", false);
  for (const char* name : {"ModemLog.fx1.new-999999999", "ModemLog.opt-999999999-abcdef",
                           "ModemLog.txt.new-999999999-QWERTY", "ModemLog.old.prev-999999999"}) {
    plant(name, QByteArray(1000, 'x'), true);
  }
  plant("ModemLog.pge-1-abcdef", "a running process's (pid 1)", true);
  plant("notes.new-999999999", "the user's own", true);
  plant("Jan98.mrl", "an archive", true);
  Notices notices;
  const LogWriteLock lock(dir.filePath("ModemLog.txt"), &notices);
  QStringList removed = lock.RemovedWorkFiles();
  removed.sort();
  EXPECT_EQ(removed, (QStringList{"ModemLog.fx1.new-999999999", "ModemLog.old.prev-999999999",
                                  "ModemLog.opt-999999999-abcdef", "ModemLog.txt.new-999999999-QWERTY"}));
  EXPECT_EQ(lock.RestoredBackups(), QStringList{"ModemLog.old"});
  EXPECT_EQ(ReadAll(dir.filePath("ModemLog.old")), "the log before");
  EXPECT_EQ(test::FilesIn(dir.path()), (QStringList{"Jan98.mrl", "ModemLog.old", "ModemLog.pge-1-abcdef",
                                                    "ModemLog.txt", "notes.new-999999999"}));
  EXPECT_EQ(notices.texts.size(), 2);
}

}  // namespace
}  // namespace mirolat

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "cli_test_support.h"
#include "core/settings/config_json.h"
#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

class CliConfigTest : public testing::CliTest {
 protected:
  Configuration StoredConfiguration() {
    SettingsStore store(SettingsStore::FilePathIn(configDir_));
    Configuration c;
    struct : ErrorReporter {
      ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::End; }
    } reporter;
    LoadConfiguration(store, c, reporter);
    return c;
  }
};

// An export with no settings stored prints the defaults, says that none are
// stored and creates nothing (not even the configuration folder).
TEST_F(CliConfigTest, AFirstExportShowsEveryDefaultAndCreatesNothing) {
  ASSERT_EQ(Run(Words("config export")), 0);
  EXPECT_EQ(err_, QStringLiteral("mirolat-cli: no settings are stored in '%1'; using the defaults\n").arg(configDir_));
  EXPECT_FALSE(QFileInfo::exists(configDir_));
  EXPECT_EQ(out_.toUtf8(), ConfigurationToJson(Configuration{}));
}

// The sample record through import and export comes back as it went in, to
// the file named; import leaves the windows' settings as they were stored.
TEST_F(CliConfigTest, ImportThenExportGivesTheSameJson) {
  ASSERT_EQ(ImportJson("{}"), 0);
  {
    SettingsStore store(SettingsStore::FilePathIn(configDir_));
    store.SettingsWriteValue(Root::Machine, kViewLogKey, QStringLiteral("FontName"), QStringLiteral("Courier"), 1);
  }
  const Configuration sample = test::SampleConfiguration();
  ASSERT_EQ(Import(Write(QStringLiteral("in.json"), ConfigurationToJson(sample))), 0) << err_.toStdString();
  EXPECT_EQ(StoredConfiguration().ViewLog.FontName, QStringLiteral("Courier"));
  const QString out = dir_.filePath(QStringLiteral("out.json"));
  ASSERT_EQ(Run(Words("config export") << out), 0) << err_.toStdString();
  EXPECT_TRUE(out_.isEmpty());
  EXPECT_EQ(Read(out), ConfigurationToJson(sample));
}

// A refused file changes nothing; each value refused is a line of its own.
TEST_F(CliConfigTest, ABadFileIsRefusedAndTheStoreKeepsItsConfiguration) {
  ASSERT_EQ(ImportJson(R"({"General": {"MaxConnections": 321}})"), 0) << err_.toStdString();
  const Configuration before = StoredConfiguration();
  const QString path = Write(QStringLiteral("bad.json"), R"({"General": {"MaxConnections": -1, "NoDisconDuration": -60}})");
  EXPECT_EQ(Import(path), 1);
  const QString refused = QStringLiteral("mirolat-cli: '%1' is not a usable configuration: ").arg(path);
  EXPECT_TRUE(err_.startsWith(refused + QStringLiteral("General.MaxConnections: -1 is not a whole number from 1 to 32767\n") +
                              refused + QStringLiteral("General.NoDisconDuration: -60 is not a duration")))
      << err_.toStdString();
  EXPECT_EQ(StoredConfiguration(), before);
  EXPECT_EQ(Import(dir_.filePath(QStringLiteral("missing.json"))), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("missing.json")));
}

TEST_F(CliConfigTest, UsageMistakesExitNonZero) {
  EXPECT_EQ(Run(Words("config")), 2);
  EXPECT_EQ(Run(Words("config import")), 2);
  EXPECT_EQ(Run(Words("config export a b")), 2);
  EXPECT_EQ(Run(Words("config frobnicate")), 2);
  EXPECT_TRUE(err_.contains(QStringLiteral("frobnicate")));
}

TEST_F(CliConfigTest, AnExportThatCannotBeWrittenLeavesTheTargetAlone) {
  const QString target = Write(QStringLiteral("existing.json"), "keep me");
  // A target inside a folder that does not exist cannot be written.
  EXPECT_NE(Run(Words("config export") << dir_.filePath(QStringLiteral("no/such/x.json"))), 0);
  EXPECT_TRUE(err_.contains(QStringLiteral("no/such/x.json")));
  EXPECT_EQ(Read(target), QByteArray("keep me"));
}

// Only a regular file of a sensible size is read: a FIFO would block the
// import for ever and /dev/zero would fill the memory.
TEST_F(CliConfigTest, ImportReadsOnlyASmallRegularFile) {
  ASSERT_EQ(Import(Write(QStringLiteral("good.json"), R"({"General": {"MaxConnections": 321}})")), 0);
  const Configuration before = StoredConfiguration();

  const QString fifo = dir_.filePath(QStringLiteral("pipe.json"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString huge = dir_.filePath(QStringLiteral("huge.json"));
  {
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(257LL * 1024 * 1024));  // sparse: no disk space used
  }
  struct Case {
    QString path;
    const char* mentioned;
  } cases[] = {
      {fifo, "not a regular file"},
      {huge, "too large"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Import(c.path), 1) << c.path.toStdString();
    EXPECT_TRUE(err_.contains(c.path)) << err_.toStdString();
    EXPECT_TRUE(err_.contains(QLatin1String(c.mentioned))) << err_.toStdString();
    EXPECT_EQ(StoredConfiguration(), before);
  }
}

// A stored record that cannot be loaded no longer locks every command out:
// the store is moved aside with its message, export shows the defaults, and
// import replaces the record without needing the old one.
TEST_F(CliConfigTest, AnUnusableStoredRecordIsMovedAsideAndImportReplacesIt) {
  const auto spoil = [&] {
    ASSERT_EQ(ImportJson("{}"), 0);
    SettingsStore store(SettingsStore::FilePathIn(configDir_));
    store.SettingsWriteValue(Root::Machine, kGeneralKey, QStringLiteral("UsedServices"), 32767, 4);
  };
  spoil();
  ASSERT_EQ(Run(Words("config export")), 0) << err_.toStdString();
  EXPECT_TRUE(err_.contains(QStringLiteral("damaged"))) << err_.toStdString();
  EXPECT_TRUE(err_.contains(QStringLiteral("UsedServices"))) << err_.toStdString();
  EXPECT_EQ(out_.toUtf8(), ConfigurationToJson(Configuration{}));

  spoil();
  ASSERT_EQ(ImportJson(R"({"General": {"MaxConnections": 321}})"), 0) << err_.toStdString();
  EXPECT_TRUE(err_.contains(QStringLiteral("UsedServices"))) << err_.toStdString();
  EXPECT_EQ(StoredConfiguration().MaxConnections, 321);
  EXPECT_EQ(QDir(configDir_).entryList({QStringLiteral("settings.sqlite.damaged-*")}, QDir::Files).size(), 2);
}

}  // namespace
}  // namespace mirolat

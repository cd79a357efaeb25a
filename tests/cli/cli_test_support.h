#pragma once
// The common ground of the command-line tests: a private settings folder for
// each test, mirolat-cli run in-process with its output captured, and the
// words of its common commands.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <optional>

#include "../core/file_test_support.h"
#include "cli/cli.h"
#include "core/settings/configuration_io.h"

namespace mirolat::testing {

// A folder of hand-written report cases under tests/data/reports.
inline QString CaseDir(const char* name) {
  return QStringLiteral(MIROLAT_TEST_DATA_DIR "/reports/") + QLatin1String(name);
}

// Sets an environment variable while it lives, then puts the old value back.
using EnvGuard = test::ScopedEnv;

class CliTest : public ::testing::Test {
 public:
  static QByteArray Read(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
  }

 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    configDir_ = dir_.filePath(QStringLiteral("config"));
    configEnv_.emplace("MIROLAT_CONFIG_DIR", configDir_);
  }
  void TearDown() override { configEnv_.reset(); }
  // Runs mirolat-cli with these words after the program's name; the output
  // lands in out_ and err_.
  int Run(const QStringList& words) {
    out_.clear();
    err_.clear();
    QTextStream out(&out_);
    QTextStream err(&err_);
    const int rc = cli::Run(QStringList{QStringLiteral("mirolat-cli")} + words, out, err);
    out.flush();
    err.flush();
    return rc;
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  // Words given as one blank-separated text.
  static QStringList Words(const char* spaced) {
    return QString::fromLatin1(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  }
  // "config import" of a file; the exit code.
  int Import(const QString& path) { return Run(Words("config import") << path); }
  int ImportJson(const QByteArray& json) { return Import(Write(QStringLiteral("import.json"), json)); }
  // "config export" to the output, read back.
  QJsonObject Export() {
    EXPECT_EQ(Run(Words("config export")), 0) << err_.toStdString();
    return QJsonDocument::fromJson(out_.toUtf8()).object();
  }
  // A value as the store holds it.
  SettingsValue Stored(const QString& key, const char* name) const {
    SettingsStore store(SettingsStore::FilePathIn(configDir_));
    return store.SettingsReadValue(Root::Machine, key, QLatin1String(name));
  }
  // "report" over a case's log and range.
  static QStringList ReportArgs(const char* name, const char* from, const char* to, const char* locale = "en_US") {
    return {QStringLiteral("report"), QStringLiteral("--log"), CaseDir(name) + QStringLiteral("/ModemLog.txt"),
            QStringLiteral("--from"), QLatin1String(from), QStringLiteral("--to"), QLatin1String(to),
            QStringLiteral("--locale"), QLatin1String(locale)};
  }
  QTemporaryDir dir_;
  QString configDir_;
  QString out_;
  QString err_;
  std::optional<EnvGuard> configEnv_;
};

}  // namespace mirolat::testing

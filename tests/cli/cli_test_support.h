#pragma once
// The common ground of the command-line tests: a private settings folder for
// each test and mirolat-cli run in-process with its output captured.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include "cli.h"

namespace mirolat::testing {

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    hadPrevious_ = qEnvironmentVariableIsSet("MIROLAT_CONFIG_DIR");
    previous_ = qgetenv("MIROLAT_CONFIG_DIR");
    configDir_ = dir_.filePath(QStringLiteral("config"));
    qputenv("MIROLAT_CONFIG_DIR", QFile::encodeName(configDir_));
  }
  void TearDown() override {
    if (hadPrevious_) {
      qputenv("MIROLAT_CONFIG_DIR", previous_);
    } else {
      qunsetenv("MIROLAT_CONFIG_DIR");
    }
  }
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
  static QByteArray Read(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
  }

  QTemporaryDir dir_;
  QString configDir_;
  QString out_;
  QString err_;

 private:
  QByteArray previous_;
  bool hadPrevious_ = false;
};

// A folder of hand-written report cases under tests/data/reports.
inline QString CaseDir(const char* name) {
  return QStringLiteral(MIROLAT_TEST_DATA_DIR "/reports/") + QLatin1String(name);
}

}  // namespace mirolat::testing

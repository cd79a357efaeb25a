#pragma once
// Report cases on disk: tests/data/reports/<case>/ holds ModemLog.txt,
// config.json and the expected standard-format texts summary.txt and
// details.txt, written by hand from the report layouts.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include "analysis/analysis_run.h"
#include "common/errors.h"
#include "config/config_json.h"
#include "config/locale_values.h"

namespace mirolat::testing_support {

inline QString ReportCaseDir(const char* name) {
  return QStringLiteral(MIROLAT_TEST_DATA_DIR "/reports/") + QString::fromLatin1(name);
}

inline QByteArray ReadAll(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
  return f.readAll();
}

// Fails the test when any step fails: report cases never touch a bad file.
class FailingReporter : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& error) override {
    ADD_FAILURE() << "unexpected run-time error: " << error.description().toStdString();
    return ErrorAnswer::Continue;
  }
};

inline LocaleValues UsEnglish() { return LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates)); }

struct ReportCase {
  Configuration config;
  LocaleValues locale = UsEnglish();
  RunState run;
  Date start = 0;
  Date end = 0;
};

// Loads the case's configuration and runs the analysis over its log.
inline void RunReportCase(const char* name, const char* from, const char* to, ReportCase& c) {
  const QString dir = ReportCaseDir(name);
  QString error;
  ASSERT_TRUE(ConfigurationFromJson(ReadAll(dir + QStringLiteral("/config.json")), Configuration(), c.config, error))
      << error.toStdString();
  c.start = DateFromIso(QString::fromLatin1(from));
  c.end = DateFromIso(QString::fromLatin1(to));
  RunInputs inputs;
  inputs.config = &c.config;
  inputs.locale = &c.locale;
  inputs.ReportStartDate = c.start;
  inputs.ReportEndDate = c.end;
  inputs.LogEntryCount = 0;
  NullProgress progress;
  FailingReporter reporter;
  c.run = ProcessLog(inputs, dir + QStringLiteral("/ModemLog.txt"), progress, reporter);
  ASSERT_TRUE(ReportWanted(c.run));
}

}  // namespace mirolat::testing_support

#pragma once
// Report cases on disk (tests/data/reports/<case>/: ModemLog.txt, config.json and
// the hand-written expected texts), and a fixture for reports of tables made in code.
#include <gtest/gtest.h>

#include <QString>

#include "core/analysis/analysis_run.h"
#include "core/common/errors.h"
#include "core/common/locale_values.h"
#include "core/reports/report_model.h"
#include "core/settings/config_json.h"
#include "file_test_support.h"

namespace mirolat::testing_support {

inline QString ReportCaseDir(const char* name) {
  return QStringLiteral(MIROLAT_TEST_DATA_DIR "/reports/") + QString::fromLatin1(name);
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

// A case, its report range and locale; the expected texts are summary.txt and
// details.txt, or summary_de.txt and details_de.txt in German.
struct GoldenCase {
  const char* name;
  const char* from;
  const char* to;
  bool german = false;  // de_DE instead of en_US
  std::string Suffix() const { return german ? "_de" : ""; }
};

// Loads the case's configuration and runs the analysis over its log.
inline void RunReportCase(const GoldenCase& g, ReportCase& c) {
  const QString dir = ReportCaseDir(g.name);
  if (g.german) c.locale = LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany));
  QString error;
  ASSERT_TRUE(ConfigurationFromJson(test::ReadAll(dir + QStringLiteral("/config.json")), Configuration(), c.config, error))
      << error.toStdString();
  c.start = DateFromIso(QString::fromLatin1(g.from));
  c.end = DateFromIso(QString::fromLatin1(g.to));
  RunInputs inputs;
  inputs.config = &c.config;
  inputs.locale = &c.locale;
  inputs.ReportStartDate = c.start;
  inputs.ReportEndDate = c.end;
  NullProgress progress;
  FailingReporter reporter;
  c.run = ProcessLog(inputs, dir + QStringLiteral("/ModemLog.txt"), progress, reporter);
  ASSERT_TRUE(ReportWanted(c.run));
}

inline std::string ExpectedText(const GoldenCase& g, const char* report) {
  return test::ReadAll(ReportCaseDir(g.name) + QLatin1Char('/') + QLatin1String(report) +
                 QString::fromStdString(g.Suffix()) + QStringLiteral(".txt"))
      .toStdString();
}

inline ReportInputs InputsOf(const ReportCase& c) {
  return ReportInputs{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
}

// Reports built from tables made in code: one service, US English.
class TableReportTest : public ::testing::Test {
 protected:
  TableReportTest() {
    tables.Create(config.MaxServices, config.MaxConnections);
    config.UsedServices = 1;
  }
  Session& AddSession(const char* number, Date cd, TimeOfDay ct, Date dd, TimeOfDay dt, const char* notes = "") {
    Session& s = tables.Sessions[std::size_t(++tables.SessionCount)];
    s.ConnectDate = cd;
    s.ConnectTime = ct;
    s.DisconnectDate = dd;
    s.DisconnectTime = dt;
    s.Number = QString::fromUtf8(number);
    s.Notes = QString::fromUtf8(notes);
    return s;
  }
  ReportInputs Inputs(Date from, Date to, bool errorsFound = false) const {
    return ReportInputs{&config, &locale, from, to, errorsFound};
  }
  Configuration config;
  LocaleValues locale = UsEnglish();
  SessionTable tables;
};

}  // namespace mirolat::testing_support

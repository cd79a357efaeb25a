// A whole analysis run and both reports over arbitrary log bytes, with one
// fixed configuration (two services, tariffs that leave gaps, flexi and data
// charges): the start-up checks, the run over the log's own date range (at
// most a year), and the Summary and Details reports when the run wants them,
// as `mirolat-cli report` does.
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdint>

#include "core/analysis/analysis_run.h"
#include "core/common/locale_values.h"
#include "core/logfile/current_file.h"
#include "core/logfile/log_checks.h"
#include "core/reports/details_report.h"
#include "core/reports/summary_report.h"

using namespace mirolat;

namespace {

// Every failed step goes on with the next one, so a run explores as far as it can.
class ContinueReporter : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::Continue; }
};

Configuration FixedConfiguration() {
  Configuration c;
  c.MaxServices = 5;
  c.MaxConnections = 40;
  c.Services.assign(6, Service{});
  c.UsedServices = 2;
  Service& flat = c.Services[0];
  flat.ServiceName = QStringLiteral("Flat");
  flat.ServiceNumber = QStringLiteral("5551234");
  flat.DialOption = 2;
  flat.UsedTariffs = 2;
  flat.Tariffs[0] = Tariff{QStringLiteral("Day"), QStringLiteral("Mon - Fri"), 8 * 3600, 18 * 3600 - 60, 0.1, 0.05, 60};
  flat.Tariffs[1] = Tariff{QStringLiteral("Weekend"), QStringLiteral("Sat - Sun"), 0, 86400 - 60, 0.05, 0.02, 0};
  flat.ServiceOption = 1;
  flat.ServiceRate = 1.2;
  flat.PerMeg = 0.5;
  flat.AfterMeg = 1;
  flat.MegPeriod = QStringLiteral("Session");
  Service& flexi = c.Services[1];
  flexi.ServiceName = QStringLiteral("Flexi");
  flexi.ServiceNumber = QStringLiteral("0845");
  flexi.DialOption = 1;
  flexi.DialFixedTariff = 0.3;
  flexi.ServiceOption = 2;
  flexi.FlexRate = 0.8;
  flexi.FlexRate2 = 2.5;
  flexi.UpToHours = 1;
  flexi.PenaltyPeriod = QStringLiteral("Week");
  flexi.PerMeg = 0.1;
  flexi.AfterMeg = 2;
  flexi.MegPeriod = QStringLiteral("Day");
  c.UsedHolidays = 1;
  c.Holidays[0] = 35796;  // 1998-01-01
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Configuration config = FixedConfiguration();
  static const LocaleValues locale = LoadLocaleInfo(QLocale(QStringLiteral("en_US")));
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ModemLog.txt"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) __builtin_trap();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }

  ContinueReporter reporter;
  NullProgress progress;
  CurrentFileState state;
  state.WindowsDir = dir.path() + QLatin1Char('/');
  state.LogFileName = QStringLiteral("ModemLog.txt");
  state.LogFilePath = path;
  state.LogExists = true;
  if (CheckLogCharacters(state, false, progress, reporter)) return 0;
  ScanLog(state, config, reporter);

  RunInputs inputs;
  inputs.config = &config;
  inputs.locale = &locale;
  inputs.ReportStartDate = state.LogFirstDate > 0 ? state.LogFirstDate : 35796;
  inputs.ReportEndDate = state.LogLastDate >= inputs.ReportStartDate ? state.LogLastDate : inputs.ReportStartDate;
  if (inputs.ReportEndDate - inputs.ReportStartDate > 366) inputs.ReportEndDate = inputs.ReportStartDate + 366;
  inputs.LogEntryCount = state.LogEntryCount;
  RunState run = ProcessLog(inputs, path, progress, reporter);
  if (!ReportWanted(run)) return 0;
  ReportInputs in{&config, &locale, inputs.ReportStartDate, inputs.ReportEndDate, run.ErrorsFound};
  const ReportModel summary = BuildSummaryReport(run.Tables, in);
  const DetailsReport details = BuildDetailsReport(run.Tables, in, progress);
  if (summary.Text.isEmpty() || details.Model.Text.isEmpty()) __builtin_trap();
  return 0;
}

#pragma once
// The program-wide state the windows share for the whole run: the
// configuration record, the locale values, the current file, the settings
// store, the report range and the result of the last analysis run.
#include <memory>

#include "core/analysis/session_builder.h"
#include "core/common/dates.h"
#include "core/common/locale_values.h"
#include "core/logfile/current_file.h"
#include "core/model/configuration.h"
#include "core/reports/report_model.h"
#include "core/settings/settings_store.h"

namespace mirolat {

struct AppState {
  Configuration Config;
  LocaleValues Locale;
  CurrentFileState File;
  // The settings store (null when the program runs without one, as some tests do).
  std::shared_ptr<SettingsStore> Store;
  // The store's change count the record in Config was read at: another
  // program that changes the store moves it, and the record is read again
  // (ReloadConfigurationIfChanged) before it is shown or used. -1: not read yet.
  qint64 ConfigChanges = -1;

  // Per-run flags of start-up.
  bool ShowTipsAtStartup = true;
  bool NoLogWarned = false;
  bool AutoOptimizeAsked = false;
  bool TipsShown = false;

  // The report range, set by the main window before Process.
  Date ReportStartDate = 0;
  Date ReportEndDate = 0;
  int PeriodDays = 0;
  bool StartDateValid = false;
  bool EndDateValid = false;
  // Set by the options dialog when its OK changed the modem log's file name.
  bool LogFileChanged = false;

  // The last analysis run (null before the first).
  std::shared_ptr<RunState> LastRun;
};

// The one state of the desktop program.
AppState& TheAppState();

// What a report or chart of the state reads: its configuration, locale,
// report range and the last run's error flag (false before the first run).
ReportInputs ReportInputsOf(const AppState& state);

}  // namespace mirolat

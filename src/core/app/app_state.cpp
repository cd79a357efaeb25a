#include "core/app/app_state.h"

namespace mirolat {

AppState& TheAppState() {
  static AppState state;
  return state;
}

ReportInputs ReportInputsOf(const AppState& state) {
  ReportInputs inputs;
  inputs.config = &state.Config;
  inputs.locale = &state.Locale;
  inputs.ReportStartDate = state.ReportStartDate;
  inputs.ReportEndDate = state.ReportEndDate;
  inputs.ErrorsFound = state.LastRun && state.LastRun->ErrorsFound;
  return inputs;
}

}  // namespace mirolat

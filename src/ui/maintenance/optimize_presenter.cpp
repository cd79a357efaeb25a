#include "ui/maintenance/optimize_presenter.h"

#include "core/app/app_state.h"
#include "core/logfile/log_rewrites.h"
#include "ui/dialogs/message_box.h"

namespace mirolat {

OptimizePresenter::OptimizePresenter(AppState& state, ErrorReporter& reporter, QWidget* dialogParent, QObject* parent)
    : QObject(parent), state_(state), reporter_(reporter), dialogParent_(dialogParent) {}

bool OptimizePresenter::ConfirmOptimize() {
  const bool yes = MessageBox::Show(OptimizeQuestion(), dialogParent_) == MessageButton::Yes;
  state_.AutoOptimizeAsked = true;
  return yes;
}

bool OptimizePresenter::OptimizeCurrentFile() {
  bool optimized = false;
  if (ConfirmOptimize()) {
    Q_EMIT LockMainWindowRequested();
    progress_.Begin();
    const struct EndProgress {
      RewriteProgress& p;
      ~EndProgress() { p.End(); }
    } end{progress_};
    optimized = OptimizeLog(state_.File, state_.Config, progress_, reporter_).Done;
  }
  Q_EMIT Finished(optimized);
  return optimized;
}

}  // namespace mirolat

#pragma once
// The Compare Plans window: what the sessions of a range of days would have
// cost under each configured service's plan and under candidate plans loaded
// from files, ranked by total against what was actually paid. The log is
// analysed and priced again in a worker thread, with a progress bar and
// Cancel.
#include <QDialog>
#include <QThread>
#include <atomic>
#include <memory>
#include <vector>

#include "core/common/dates.h"
#include "core/common/locale_values.h"
#include "core/model/configuration.h"
#include "core/planning/plan_comparison.h"

class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace mirolat {

// What the window compares: a copy of the configuration and the locale, the
// modem log and the range it starts with.
struct CompareSetup {
  Configuration Config;
  LocaleValues Locale;
  QString LogPath;
  Date First = 0;
  Date Last = 0;
};

class frmCompare : public QDialog {
  Q_OBJECT
 public:
  explicit frmCompare(CompareSetup setup, QWidget* parent = nullptr);
  ~frmCompare() override;

  // True while a comparison runs.
  bool Busy() const { return worker_ != nullptr; }
  // The last comparison shown (empty before the first).
  const PlanComparison& Result() const { return result_; }

 Q_SIGNALS:
  // A comparison ended (shown, cancelled or failed).
  void ComparisonFinished();

 protected:
  void reject() override;

 private:
  void BuildControls();
  void cmdCompare_Click();
  void cmdLoadPlan_Click();
  void Cancel();
  // Waits for the worker to end (it stops at the next session once cancelled).
  void StopWorker();
  void Finished(std::shared_ptr<PlanComparison> result, bool noFigures);
  void ShowResult();
  void SetRunning(bool running);

  CompareSetup setup_;
  std::vector<PlanToPrice> candidates_;
  PlanComparison result_;
  QThread* worker_ = nullptr;
  std::shared_ptr<std::atomic<bool>> cancel_;

  // Controls, under the window's own names.
  QDateEdit* dtpFrom = nullptr;
  QDateEdit* dtpTo = nullptr;
  QPushButton* cmdCompare = nullptr;
  QPushButton* cmdLoadPlan = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdClose = nullptr;
  QTableWidget* grdPlans = nullptr;
  QLabel* lblSummary = nullptr;
  QProgressBar* prgCompare = nullptr;
};

}  // namespace mirolat

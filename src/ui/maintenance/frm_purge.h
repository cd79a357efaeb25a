#pragma once
// The purge dialog: removes from the modem log every entry dated inside a
// chosen range of days (the log's start up to a day, between two days, or
// from a day to the log's end), keeping the previous log as ModemLog.old.
// Typed dates outside the log's first and last day are pulled back to them
// with a beep; OK is enabled only for a valid range.
//
// Wiring: create it with the program's state, the error reporter and the
// main window's rewrite progress, exec() it; when PurgeDone() (or the Purged
// signal), the main window re-scans the log and reloads itself.
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "core/common/dates.h"

namespace mirolat {

struct AppState;
class ErrorReporter;
class RewriteProgress;

class frmPurge : public QDialog {
  Q_OBJECT
 public:
  frmPurge(AppState& state, ErrorReporter& reporter, RewriteProgress& progress, QWidget* parent = nullptr);

 private:
  // Controls, under the dialog's own names (index 0 of the option arrays unused).
  std::array<QRadioButton*, 4> optPurge{};
  std::array<QFrame*, 4> FraPurge{};
  QLineEdit* MaskEdBox1 = nullptr;
  std::array<QLineEdit*, 2> MaskEdBox2{};
  QLineEdit* MaskEdBox3 = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;

 public:
  // Form state.
  int PurgeOption() const { return purgeOption_; }
  Date PurgeFrom() const { return purgeFrom_; }
  Date PurgeTo() const { return purgeTo_; }
  bool PurgeFromValid() const { return purgeFromValid_; }
  bool PurgeToValid() const { return purgeToValid_; }
  // True once a purge has been carried out.
  bool PurgeDone() const { return purgeDone_; }

 private Q_SLOTS:
  void optPurge_Click(int index);
  void btnOK_Click();
  void btnCancel_Click();

 Q_SIGNALS:
  // The log was rewritten: the main window re-scans it and reloads itself.
  void Purged();

 private:
  void BoxChanged(QLineEdit* box);
  // The range of the chosen option from its boxes; `typed` (when not null) is
  // the box just typed in, whose date is clamped to the log's days.
  void EvaluateRange(QLineEdit* typed);
  // The date in `box`, clamped (with a beep and the box rewritten) when it is
  // the one typed in; 0 when the box holds no valid date.
  Date BoxDate(QLineEdit* box, QLineEdit* typed);
  void EvaluateOk();
  QLineEdit* MakeBox(QWidget* parent, const QString& name);

  AppState& state_;
  ErrorReporter& reporter_;
  RewriteProgress& progress_;
  int purgeOption_ = 1;
  Date purgeFrom_ = 0;
  Date purgeTo_ = 0;
  bool purgeFromValid_ = false;
  bool purgeToValid_ = false;
  bool purgeDone_ = false;
  bool rewriting_ = false;  // a box is being rewritten: its change is not a typed date
};

}  // namespace mirolat

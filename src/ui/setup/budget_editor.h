#pragma once
// The Budget tab's controls, shared by the service editor (a service's
// budget) and the Options dialog (the overall one): the billing cycle
// (monthly from a day, or every N days from a first day), the money, hours
// and megabytes limits (0: none) and two warning thresholds. It shows a
// budget and gives back the entries; the dialog that holds it writes them
// into its draft on OK.
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>

#include "core/common/locale_values.h"
#include "core/model/budget_rules.h"

namespace mirolat {

class BudgetEditor : public QWidget {
  Q_OBJECT
 public:
  // `whose`: what the budget covers, for the notice ("this service", "all services").
  BudgetEditor(const LocaleValues& locale, const QString& whose, QWidget* parent = nullptr);

  // Shows `budget`; a periodic cycle without its first day offers `today`.
  void Load(const BudgetSettings& budget, Date today);
  BudgetEntries Entries() const;
  // Why the entries cannot be taken (also shown in red under them); empty when they can.
  QString Problem() const;
  // The budget of valid entries.
  BudgetSettings Budget() const;
  // The first control, to give the focus to.
  QWidget* FirstControl() const;

 Q_SIGNALS:
  void Changed();

 private:
  void ShowCycleOption();
  void OnChanged();

  const LocaleValues& locale_;
  Date storedFromDate_ = 0;
  QRadioButton* optBudgetMonthly = nullptr;
  QRadioButton* optBudgetPeriodic = nullptr;
  QSpinBox* spnBudgetStartDay = nullptr;
  QSpinBox* spnBudgetDays = nullptr;
  QDateEdit* dtpBudgetFrom = nullptr;
  QLineEdit* txtBudgetMoney = nullptr;
  QLineEdit* txtBudgetHours = nullptr;
  QLineEdit* txtBudgetMegabytes = nullptr;
  QSpinBox* spnBudgetWarn1 = nullptr;
  QSpinBox* spnBudgetWarn2 = nullptr;
  QLabel* lblBudgetProblem = nullptr;
};

}  // namespace mirolat

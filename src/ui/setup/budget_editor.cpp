#include "ui/setup/budget_editor.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/common/dates.h"

namespace mirolat {

namespace {

QSpinBox* Spin(const char* name, int low, int high, const QString& suffix = QString()) {
  auto* spin = new QSpinBox;
  spin->setObjectName(QLatin1String(name));
  spin->setRange(low, high);
  spin->setSuffix(suffix);
  return spin;
}

QLineEdit* LimitBox(const char* name, const QString& toolTip) {
  auto* box = new QLineEdit;
  box->setObjectName(QLatin1String(name));
  box->setToolTip(toolTip);
  box->setMaximumWidth(110);
  return box;
}

// The Options dialog and the service editor leave few letters free: only the
// cycle's first choice and the first threshold take one (Alt+Y, Alt+W); the
// rest are a Tab away.
QLabel* Buddy(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

BudgetEditor::BudgetEditor(const LocaleValues& locale, const QString& whose, QWidget* parent)
    : QWidget(parent), locale_(locale) {
  setObjectName(QStringLiteral("BudgetEditor"));
  auto* v = new QVBoxLayout(this);

  auto* cycle = new QGroupBox(QStringLiteral("Billing Cycle"));
  auto* cycleGrid = new QGridLayout(cycle);
  optBudgetMonthly = new QRadioButton(QStringLiteral("Monthly, starting on day"));
  optBudgetMonthly->setObjectName(QStringLiteral("optBudgetMonthly"));
  optBudgetPeriodic = new QRadioButton(QStringLiteral("Every"));
  optBudgetPeriodic->setObjectName(QStringLiteral("optBudgetPeriodic"));
  auto* group = new QButtonGroup(this);
  group->addButton(optBudgetMonthly);
  group->addButton(optBudgetPeriodic);
  spnBudgetStartDay = Spin("spnBudgetStartDay", 1, kMaxCycleStartDay);
  spnBudgetStartDay->setToolTip(QStringLiteral("The day of the month each cycle starts on"));
  spnBudgetDays = Spin("spnBudgetDays", 1, kMaxCycleDays);
  spnBudgetDays->setToolTip(QStringLiteral("The cycle's length in days"));
  dtpBudgetFrom = new QDateEdit;
  dtpBudgetFrom->setObjectName(QStringLiteral("dtpBudgetFrom"));
  dtpBudgetFrom->setCalendarPopup(true);
  dtpBudgetFrom->setMinimumWidth(110);
  dtpBudgetFrom->setDisplayFormat(locale.Locale.dateFormat(QLocale::ShortFormat));
  dtpBudgetFrom->setToolTip(QStringLiteral("The first day of any one cycle"));
  cycleGrid->addWidget(optBudgetMonthly, 0, 0);
  cycleGrid->addWidget(spnBudgetStartDay, 0, 1);
  cycleGrid->addWidget(new QLabel(QStringLiteral("of each month")), 0, 2, 1, 2);
  cycleGrid->addWidget(optBudgetPeriodic, 1, 0);
  cycleGrid->addWidget(spnBudgetDays, 1, 1);
  cycleGrid->addWidget(Buddy(QStringLiteral("days, from day"), dtpBudgetFrom), 1, 2);
  cycleGrid->addWidget(dtpBudgetFrom, 1, 3);
  cycleGrid->setColumnStretch(4, 1);

  auto* limits = new QGroupBox(QStringLiteral("Limits per Cycle (0 for none)"));
  auto* limitGrid = new QGridLayout(limits);
  txtBudgetMoney = LimitBox("txtBudgetMoney", QStringLiteral("The most the cycle's calls should cost"));
  txtBudgetHours = LimitBox("txtBudgetHours", QStringLiteral("The most connected hours in a cycle"));
  txtBudgetMegabytes = LimitBox("txtBudgetMegabytes", QStringLiteral("The most megabytes downloaded in a cycle"));
  const QString symbol = locale.CurrencySymbol;
  const bool symbolFirst = locale.CurrencySymbolFirst == 1;
  limitGrid->addWidget(Buddy(QStringLiteral("Money:"), txtBudgetMoney), 0, 0);
  limitGrid->addWidget(new QLabel(symbolFirst ? symbol : QString()), 0, 1, Qt::AlignRight);
  limitGrid->addWidget(txtBudgetMoney, 0, 2);
  limitGrid->addWidget(new QLabel(symbolFirst ? QString() : symbol), 0, 3);
  limitGrid->addWidget(Buddy(QStringLiteral("Hours connected:"), txtBudgetHours), 1, 0);
  limitGrid->addWidget(txtBudgetHours, 1, 2);
  limitGrid->addWidget(new QLabel(QStringLiteral("hours")), 1, 3);
  limitGrid->addWidget(Buddy(QStringLiteral("Megabytes downloaded:"), txtBudgetMegabytes), 2, 0);
  limitGrid->addWidget(txtBudgetMegabytes, 2, 2);
  limitGrid->addWidget(new QLabel(QStringLiteral("MB")), 2, 3);
  limitGrid->setColumnStretch(4, 1);

  auto* warnings = new QGroupBox(QStringLiteral("Warnings"));
  auto* warnRow = new QHBoxLayout(warnings);
  spnBudgetWarn1 = Spin("spnBudgetWarn1", 0, 100, QStringLiteral(" %"));
  spnBudgetWarn2 = Spin("spnBudgetWarn2", 0, 100, QStringLiteral(" %"));
  for (QSpinBox* spin : {spnBudgetWarn1, spnBudgetWarn2}) spin->setSpecialValueText(QStringLiteral("None"));
  warnRow->addWidget(Buddy(QStringLiteral("&Warn at"), spnBudgetWarn1));
  warnRow->addWidget(spnBudgetWarn1);
  warnRow->addWidget(Buddy(QStringLiteral("and again at"), spnBudgetWarn2));
  warnRow->addWidget(spnBudgetWarn2);
  warnRow->addWidget(new QLabel(QStringLiteral("of a limit")));
  warnRow->addStretch();

  auto* notice = new QLabel(
      QStringLiteral("The main window shows how much of %1 budget the current cycle has used and where it is "
                     "heading by the cycle's end.")
          .arg(whose));
  notice->setObjectName(QStringLiteral("lblBudgetNotice"));
  notice->setWordWrap(true);
  lblBudgetProblem = new QLabel;
  lblBudgetProblem->setObjectName(QStringLiteral("lblBudgetProblem"));
  lblBudgetProblem->setWordWrap(true);
  lblBudgetProblem->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));

  v->addWidget(cycle);
  v->addWidget(limits);
  v->addWidget(warnings);
  v->addWidget(notice);
  v->addWidget(lblBudgetProblem);
  v->addStretch();

  for (QRadioButton* option : {optBudgetMonthly, optBudgetPeriodic}) {
    connect(option, &QRadioButton::toggled, this, [this] { ShowCycleOption(); });
  }
  for (QSpinBox* spin : {spnBudgetStartDay, spnBudgetDays, spnBudgetWarn1, spnBudgetWarn2}) {
    connect(spin, &QSpinBox::valueChanged, this, &BudgetEditor::OnChanged);
  }
  connect(dtpBudgetFrom, &QDateEdit::dateChanged, this, &BudgetEditor::OnChanged);
  for (QLineEdit* box : {txtBudgetMoney, txtBudgetHours, txtBudgetMegabytes}) {
    connect(box, &QLineEdit::textChanged, this, &BudgetEditor::OnChanged);
  }
}

void BudgetEditor::Load(const BudgetSettings& budget, Date today) {
  const BudgetEntries e = BudgetEntriesOf(budget, locale_);
  storedFromDate_ = budget.CycleFromDate;
  (e.CycleOption == 1 ? optBudgetPeriodic : optBudgetMonthly)->setChecked(true);
  spnBudgetStartDay->setValue(e.CycleStartDay);
  spnBudgetDays->setValue(e.CycleDays);
  dtpBudgetFrom->setDate(ToQDate(e.CycleFromDate > 0 ? e.CycleFromDate : today));
  txtBudgetMoney->setText(e.Money);
  txtBudgetHours->setText(e.Hours);
  txtBudgetMegabytes->setText(e.Megabytes);
  spnBudgetWarn1->setValue(e.WarnPercent1);
  spnBudgetWarn2->setValue(e.WarnPercent2);
  ShowCycleOption();
}

BudgetEntries BudgetEditor::Entries() const {
  BudgetEntries e;
  e.CycleOption = optBudgetPeriodic->isChecked() ? 1 : 0;
  e.CycleStartDay = spnBudgetStartDay->value();
  e.CycleDays = spnBudgetDays->value();
  // A monthly cycle keeps the first day stored with it, untouched.
  e.CycleFromDate = e.CycleOption == 1 ? FromQDate(dtpBudgetFrom->date()) : storedFromDate_;
  e.Money = txtBudgetMoney->text();
  e.Hours = txtBudgetHours->text();
  e.Megabytes = txtBudgetMegabytes->text();
  e.WarnPercent1 = spnBudgetWarn1->value();
  e.WarnPercent2 = spnBudgetWarn2->value();
  return e;
}

QString BudgetEditor::Problem() const { return BudgetEntriesProblem(Entries(), locale_); }

BudgetSettings BudgetEditor::Budget() const { return BuildBudget(Entries(), locale_); }

QWidget* BudgetEditor::FirstControl() const {
  return optBudgetPeriodic->isChecked() ? optBudgetPeriodic : optBudgetMonthly;
}

void BudgetEditor::ShowCycleOption() {
  const bool periodic = optBudgetPeriodic->isChecked();
  spnBudgetStartDay->setEnabled(!periodic);
  spnBudgetDays->setEnabled(periodic);
  dtpBudgetFrom->setEnabled(periodic);
  OnChanged();
}

void BudgetEditor::OnChanged() {
  lblBudgetProblem->setText(Problem());
  Q_EMIT Changed();
}

}  // namespace mirolat

#include "core/model/budget_rules.h"

#include "core/model/option_entries.h"

namespace mirolat {

namespace {

struct LimitField {
  const char* Field;
  const char* What;
  double BudgetSettings::*Member;
  QString BudgetEntries::*Entry;
};
const LimitField kLimits[] = {{"BudgetMoney", "money limit", &BudgetSettings::Money, &BudgetEntries::Money},
                              {"BudgetHours", "hours limit", &BudgetSettings::Hours, &BudgetEntries::Hours},
                              {"BudgetMegabytes", "megabytes limit", &BudgetSettings::Megabytes,
                               &BudgetEntries::Megabytes}};

bool IsThreshold(int percent) { return percent >= 0 && percent <= 100; }

}  // namespace

QList<BudgetValueProblem> BudgetProblems(const BudgetSettings& b) {
  QList<BudgetValueProblem> problems;
  const auto add = [&](const char* field, const QString& problem) {
    problems.append(BudgetValueProblem{QLatin1String(field), problem});
  };
  if (b.CycleOption != 0 && b.CycleOption != 1) {
    add("CycleOption", QStringLiteral("%1 is neither 0 (monthly) nor 1 (every number of days)").arg(b.CycleOption));
  }
  if (b.CycleStartDay < 1 || b.CycleStartDay > kMaxCycleStartDay) {
    add("CycleStartDay", QStringLiteral("the cycle's first day of the month must be a whole number from 1 to %1, "
                                        "not %2")
                             .arg(kMaxCycleStartDay)
                             .arg(b.CycleStartDay));
  }
  if (b.CycleDays < 1 || b.CycleDays > kMaxCycleDays) {
    add("CycleDays",
        QStringLiteral("the cycle's length must be from 1 to %1 days, not %2").arg(kMaxCycleDays).arg(b.CycleDays));
  }
  if (b.CycleOption == 1 && b.CycleFromDate <= 0) {
    add("CycleFromDate", QStringLiteral("a cycle of a number of days needs the day one of its cycles starts on"));
  }
  for (const LimitField& l : kLimits) {
    const double value = b.*l.Member;
    if (!(value >= 0 && value <= kMaxStoredAmount)) {
      add(l.Field, QStringLiteral("the %1 must be from 0 to %2, not %3")
                       .arg(QLatin1String(l.What))
                       .arg(kMaxStoredAmount, 0, 'f', 4)
                       .arg(value));
    }
  }
  if (!IsThreshold(b.WarnPercent1) || !IsThreshold(b.WarnPercent2)) {
    add(IsThreshold(b.WarnPercent1) ? "WarnPercent2" : "WarnPercent1",
        QStringLiteral("a warning threshold must be a percentage from 1 to 100, or 0 for none"));
  } else if (b.WarnPercent1 > 0 && b.WarnPercent2 > 0 && b.WarnPercent1 >= b.WarnPercent2) {
    add("WarnPercent1", QStringLiteral("the first warning threshold (%1 %) must be below the second (%2 %)")
                            .arg(b.WarnPercent1)
                            .arg(b.WarnPercent2));
  }
  return problems;
}

BudgetEntries BudgetEntriesOf(const BudgetSettings& b, const LocaleValues& locale) {
  BudgetEntries e;
  e.CycleOption = b.CycleOption;
  e.CycleStartDay = b.CycleStartDay;
  e.CycleDays = b.CycleDays;
  e.CycleFromDate = b.CycleFromDate;
  for (const LimitField& l : kLimits) e.*l.Entry = FormatAmount(b.*l.Member, 4, locale);
  e.WarnPercent1 = b.WarnPercent1;
  e.WarnPercent2 = b.WarnPercent2;
  return e;
}

QString BudgetEntriesProblem(const BudgetEntries& e, const LocaleValues& locale) {
  for (const LimitField& l : kLimits) {
    const QString& text = e.*l.Entry;
    if (!ReadAmount(text, locale)) {
      return QStringLiteral("Budget: the %1 \"%2\" is not an amount of 0 or more.").arg(QLatin1String(l.What), text);
    }
  }
  const QList<BudgetValueProblem> problems = BudgetProblems(BuildBudget(e, locale));
  if (problems.isEmpty()) return {};
  QString problem = problems.first().Problem;
  problem[0] = problem[0].toUpper();
  return QStringLiteral("Budget: ") + problem + QLatin1Char('.');
}

BudgetSettings BuildBudget(const BudgetEntries& e, const LocaleValues& locale) {
  BudgetSettings b;
  b.CycleOption = e.CycleOption;
  b.CycleStartDay = e.CycleStartDay;
  b.CycleDays = e.CycleDays;
  b.CycleFromDate = e.CycleFromDate;
  for (const LimitField& l : kLimits) b.*l.Member = ReadAmount(e.*l.Entry, locale).value_or(0);
  b.WarnPercent1 = e.WarnPercent1;
  b.WarnPercent2 = e.WarnPercent2;
  return b;
}

}  // namespace mirolat

#pragma once
// The main window's budget bars: one row for each limit of each budget with a
// limit (the overall budget first, then the services'), in its current cycle:
// the name, a bar of the use against the limit with the projection to the
// cycle's end marked on it, the figures with the projection's method and the
// days left, and the state in words beside the bar's colour. Hidden while no
// budget has a limit.
#include <QFrame>
#include <QGridLayout>
#include <vector>

#include "core/common/locale_values.h"
#include "core/planning/budget_status.h"

namespace mirolat {

// One bar: the use filled in, the projection a mark; the colour follows the
// state, and the state is always said in words as well (accessible name, tooltip).
class BudgetBar : public QWidget {
  Q_OBJECT
 public:
  explicit BudgetBar(QWidget* parent = nullptr);
  void Set(const BudgetLimitStatus& limit, const QString& description);
  QSize sizeHint() const override { return {160, 16}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  BudgetLimitStatus limit_;
};

class BudgetBars : public QFrame {
  Q_OBJECT
 public:
  explicit BudgetBars(QWidget* parent = nullptr);
  // Shows these statuses (hidden when there are none).
  void Show(const std::vector<BudgetStatus>& statuses, const LocaleValues& locale);
  // The rows' texts as shown, one line per limit: name, figures, state.
  QStringList RowTexts() const;

 private:
  QGridLayout* grid_ = nullptr;
  QStringList rows_;
};

}  // namespace mirolat

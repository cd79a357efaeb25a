#include "ui/main/budget_bars.h"

#include <QLabel>
#include <QPainter>
#include <algorithm>

#include "core/planning/budget_text.h"

namespace mirolat {

namespace {

QColor StateColour(const BudgetLimitStatus& limit) {
  switch (limit.State) {
    case BudgetState::Ok: return QColor(46, 139, 87);
    case BudgetState::Warning: return QColor(214, 140, 0);
    case BudgetState::Over: return limit.OverProjected ? QColor(214, 90, 0) : QColor(200, 30, 30);
  }
  return {};
}

}  // namespace

BudgetBar::BudgetBar(QWidget* parent) : QWidget(parent) {
  setMinimumWidth(100);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void BudgetBar::Set(const BudgetLimitStatus& limit, const QString& description) {
  limit_ = limit;
  setAccessibleName(description);
  setToolTip(description);
  update();
}

void BudgetBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRectF frame = QRectF(rect()).adjusted(0.5, 2.5, -0.5, -2.5);
  p.setPen(palette().color(QPalette::Mid));
  p.setBrush(palette().color(QPalette::Base));
  p.drawRect(frame);
  const auto at = [&](double value) {
    const double share = limit_.Limit > 0 ? std::clamp(value / limit_.Limit, 0.0, 1.0) : 0.0;
    return frame.left() + share * frame.width();
  };
  p.setPen(Qt::NoPen);
  p.setBrush(StateColour(limit_));
  p.drawRect(QRectF(frame.topLeft(), QPointF(at(limit_.Used), frame.bottom())));
  // The projection: a line across the bar with a notch above it.
  const double x = at(limit_.Projected);
  p.setPen(QPen(palette().color(QPalette::WindowText), 2));
  p.drawLine(QPointF(x, 0), QPointF(x, height()));
}

BudgetBars::BudgetBars(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("BudgetBars"));
  setFrameShape(QFrame::StyledPanel);
  grid_ = new QGridLayout(this);
  grid_->setContentsMargins(6, 4, 6, 4);
  grid_->setVerticalSpacing(2);
  grid_->setColumnStretch(1, 1);
  hide();
}

void BudgetBars::Show(const std::vector<BudgetStatus>& statuses, const LocaleValues& locale) {
  while (QLayoutItem* item = grid_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  rows_.clear();
  int row = 0;
  for (const BudgetStatus& s : statuses) {
    for (const BudgetLimitStatus& l : s.Limits) {
      const QString name = s.Name + QStringLiteral(", ") + MeasureWord(l.Measure);
      const QString figures = MeasureFigure(l.Measure, l.Used, locale) + QStringLiteral(" of ") +
                              MeasureFigure(l.Measure, l.Limit, locale) + QStringLiteral(", ") +
                              ProjectionText(s, l, locale);
      const QString state = LimitStateText(l);
      auto* nameLabel = new QLabel(name);
      nameLabel->setObjectName(QStringLiteral("lblBudgetName%1").arg(row));
      auto* bar = new BudgetBar;
      bar->setObjectName(QStringLiteral("barBudget%1").arg(row));
      bar->Set(l, name + QStringLiteral(": ") + figures + QStringLiteral(". ") + state);
      auto* stateLabel = new QLabel(state);
      stateLabel->setObjectName(QStringLiteral("lblBudgetState%1").arg(row));
      QFont bold = stateLabel->font();
      bold.setBold(l.State != BudgetState::Ok);
      stateLabel->setFont(bold);
      auto* figureLabel = new QLabel(figures);
      figureLabel->setObjectName(QStringLiteral("lblBudgetFigures%1").arg(row));
      figureLabel->setToolTip(QStringLiteral("Cycle %1").arg(CycleText(s.Cycle, locale)));
      grid_->addWidget(nameLabel, 2 * row, 0);
      grid_->addWidget(bar, 2 * row, 1);
      grid_->addWidget(stateLabel, 2 * row, 2);
      grid_->addWidget(figureLabel, 2 * row + 1, 0, 1, 3);
      rows_ << name + QStringLiteral(" | ") + figures + QStringLiteral(" | ") + state;
      ++row;
    }
  }
  setVisible(row > 0);
}

QStringList BudgetBars::RowTexts() const { return rows_; }

}  // namespace mirolat

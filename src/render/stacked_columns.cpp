#include "render/stacked_columns.h"

#include <QChart>
#include <QGraphicsSceneHoverEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace mirolat {

namespace {
// Above the plot area, its grid and axes, as the chart's own series are.
constexpr qreal kSeriesZ = 4;
}  // namespace

StackedColumnsItem::StackedColumnsItem(QChart* chart, std::vector<QList<qreal>> values, std::vector<QColor> colours,
                                       std::vector<QStringList> tips, qreal top)
    : QGraphicsItem(chart),
      chart_(chart),
      values_(std::move(values)),
      colours_(std::move(colours)),
      tips_(std::move(tips)),
      top_(top > 0 ? top : 1) {
  setZValue(kSeriesZ);
  setAcceptHoverEvents(true);
  QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] { prepareGeometryChange(); });
}

QRectF StackedColumnsItem::boundingRect() const { return chart_->plotArea(); }

void StackedColumnsItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  if (values_.empty() || values_.front().isEmpty()) return;
  const QRectF area = chart_->plotArea();
  const qsizetype count = values_.front().size();
  const qreal step = area.width() / qreal(count);
  const qreal scale = area.height() / top_;
  std::vector<qreal> base(std::size_t(count), 0.0);
  painter->save();
  painter->setClipRect(area);
  QList<QLineF> strokes;
  strokes.reserve(count);
  for (std::size_t k = 0; k < values_.size(); ++k) {
    strokes.clear();
    for (qsizetype i = 0; i < count; ++i) {
      const qreal v = values_[k][i];
      if (v <= 0) continue;
      const qreal x = area.left() + (qreal(i) + 0.5) * step;
      qreal& b = base[std::size_t(i)];
      strokes.append(QLineF(x, area.bottom() - b * scale, x, area.bottom() - (b + v) * scale));
      b += v;
    }
    // Columns touch at any width, and never vanish below a pixel.
    painter->setPen(QPen(colours_[k], std::max<qreal>(step, 1.0), Qt::SolidLine, Qt::FlatCap));
    painter->drawLines(strokes);
  }
  painter->restore();
}

void StackedColumnsItem::hoverMoveEvent(QGraphicsSceneHoverEvent* event) {
  const QRectF area = chart_->plotArea();
  if (values_.empty() || values_.front().isEmpty()) return;
  const qsizetype count = values_.front().size();
  const qsizetype i = std::clamp<qsizetype>(qsizetype((event->pos().x() - area.left()) / area.width() * count), 0, count - 1);
  const qreal value = (area.bottom() - event->pos().y()) / area.height() * top_;
  qreal sum = 0;
  QString tip;
  for (std::size_t k = 0; k < values_.size(); ++k) {
    sum += values_[k][i];
    if (values_[k][i] > 0 && value <= sum) {
      tip = tips_[k][i];
      break;
    }
  }
  setToolTip(tip);
}

}  // namespace mirolat

#pragma once
// Columns stacked by number for more buckets than bars can draw quickly: one
// vertical stroke per bucket and number, painted straight into the chart's
// plot area. Qt Charts fills an area of thousands of points, or strokes a
// line through them, in time that grows with the square of the points; ten
// years of days took seconds. The legend and the axes stay the chart's own.
#include <QColor>
#include <QGraphicsItem>
#include <QList>
#include <QStringList>
#include <vector>

class QChart;

namespace mirolat {

class StackedColumnsItem final : public QGraphicsItem {
 public:
  // One list of values per number (all of one length, one per bucket) on the
  // chart's x positions 0..n-1 and its y axis from 0 to `top`, with the
  // numbers' colours and tooltip texts. Becomes a child of `chart`.
  StackedColumnsItem(QChart* chart, std::vector<QList<qreal>> values, std::vector<QColor> colours,
                     std::vector<QStringList> tips, qreal top);

  QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 protected:
  // The tooltip follows the column and the number under the mouse.
  void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;

 private:
  QChart* chart_;
  std::vector<QList<qreal>> values_;
  std::vector<QColor> colours_;
  std::vector<QStringList> tips_;
  qreal top_;
};

}  // namespace mirolat

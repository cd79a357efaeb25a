#include "ui/reports/report_text_view.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace mirolat {

namespace {
constexpr int kMargin = 4;  // pixels left of the text and above the first line
}

ReportTextView::ReportTextView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  setPlainText(QString());
  UpdateMetrics();
}

void ReportTextView::setPlainText(const QString& text) {
  text_ = text;
  lineStarts_.clear();
  lineStarts_.push_back(0);
  longestLine_ = 0;
  const QChar* data = text_.constData();
  const qsizetype size = text_.size();
  qsizetype start = 0;
  for (qsizetype i = 0; i < size; ++i) {
    if (data[i] == QLatin1Char('\n')) {
      longestLine_ = std::max(longestLine_, static_cast<int>(i - start));
      start = i + 1;
      lineStarts_.push_back(start);
    }
  }
  longestLine_ = std::max(longestLine_, static_cast<int>(size - start));
  anchor_ = cursor_ = Position{};
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  UpdateScrollBars();
  viewport()->update();
}

QStringView ReportTextView::line(int line) const {
  if (line < 0 || line >= lineCount()) return {};
  const qsizetype start = lineStarts_[static_cast<std::size_t>(line)];
  const qsizetype end =
      line + 1 < lineCount() ? lineStarts_[static_cast<std::size_t>(line) + 1] - 1 : text_.size();
  return QStringView(text_).mid(start, end - start);
}

int ReportTextView::TextWidth() const {
  // Characters are drawn at their exact, fractional advance: a long line is
  // wider than its length times the rounded one.
  return 2 * kMargin + static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0')) * longestLine_));
}

QSize ReportTextView::ContentSize() const {
  const int frame = 2 * frameWidth();
  return {frame + TextWidth(), frame + 2 * kMargin + lineCount() * lineHeight_};
}

QString ReportTextView::selectedText() const {
  const Position from = std::min(anchor_, cursor_);
  const Position to = std::max(anchor_, cursor_);
  if (from == to) return {};
  const qsizetype start = lineStarts_[static_cast<std::size_t>(from.line)] +
                          std::min<qsizetype>(from.column, line(from.line).size());
  const qsizetype end =
      lineStarts_[static_cast<std::size_t>(to.line)] + std::min<qsizetype>(to.column, line(to.line).size());
  return text_.mid(start, end - start);
}

void ReportTextView::selectAll() {
  anchor_ = Position{};
  cursor_ = Position{lineCount() - 1, static_cast<int>(line(lineCount() - 1).size())};
  viewport()->update();
}

void ReportTextView::copy() const {
  const QString selected = selectedText();
  if (!selected.isEmpty()) QGuiApplication::clipboard()->setText(selected);
}

void ReportTextView::UpdateMetrics() {
  const QFontMetrics metrics(font());
  charWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
  lineHeight_ = std::max(1, metrics.lineSpacing());
  ascent_ = metrics.ascent();
  UpdateScrollBars();
  viewport()->update();
}

void ReportTextView::UpdateScrollBars() {
  // The room the text has with the scroll bars it needs there, worked out
  // from the room without any: a bar shown once must not keep itself shown.
  const QSize most = maximumViewportSize();
  const int textHeight = kMargin + lineCount() * lineHeight_;
  bool across = TextWidth() > most.width();
  const bool down = textHeight > most.height() - (across ? horizontalScrollBar()->sizeHint().height() : 0);
  across = TextWidth() > most.width() - (down ? verticalScrollBar()->sizeHint().width() : 0);
  const QSize room(most.width() - (down ? verticalScrollBar()->sizeHint().width() : 0),
                   most.height() - (across ? horizontalScrollBar()->sizeHint().height() : 0));
  const int visibleLines = std::max(1, (room.height() - kMargin) / lineHeight_);
  verticalScrollBar()->setRange(0, std::max(0, lineCount() - visibleLines));
  verticalScrollBar()->setPageStep(visibleLines);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setRange(0, std::max(0, TextWidth() - room.width()));
  horizontalScrollBar()->setPageStep(room.width());
  horizontalScrollBar()->setSingleStep(charWidth_);
}

void ReportTextView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setFont(font());
  const int first = verticalScrollBar()->value();
  const int x0 = kMargin - horizontalScrollBar()->value();
  const Position from = std::min(anchor_, cursor_);
  const Position to = std::max(anchor_, cursor_);
  const QColor highlight = palette().color(QPalette::Highlight);
  const QColor highlighted = palette().color(QPalette::HighlightedText);
  const QColor normal = palette().color(QPalette::Text);
  for (int i = first, y = kMargin; i < lineCount() && y < viewport()->height(); ++i, y += lineHeight_) {
    const QStringView text = line(i);
    painter.setPen(normal);
    painter.drawText(x0, y + ascent_, text.toString());
    if (from == to || i < from.line || i > to.line) continue;
    // The selected part of the line, drawn over in the highlight colours.
    const int c0 = i == from.line ? std::min<int>(from.column, int(text.size())) : 0;
    const int c1 = i == to.line ? std::min<int>(to.column, int(text.size())) : int(text.size());
    const int extra = i < to.line ? 1 : 0;  // the line end
    const QRect band(x0 + c0 * charWidth_, y, (c1 - c0 + extra) * charWidth_, lineHeight_);
    if (band.width() <= 0) continue;
    painter.fillRect(band, highlight);
    painter.setPen(highlighted);
    painter.drawText(x0 + c0 * charWidth_, y + ascent_, text.mid(c0, c1 - c0).toString());
  }
}

void ReportTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void ReportTextView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateMetrics();
}

ReportTextView::Position ReportTextView::PositionAt(const QPoint& p) const {
  const int row = verticalScrollBar()->value() + std::max(0, p.y() - kMargin) / lineHeight_;
  Position pos;
  pos.line = std::clamp(row, 0, lineCount() - 1);
  const int x = p.x() - kMargin + horizontalScrollBar()->value();
  pos.column = std::clamp((x + charWidth_ / 2) / charWidth_, 0, static_cast<int>(line(pos.line).size()));
  return pos;
}

void ReportTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  cursor_ = PositionAt(event->position().toPoint());
  if (!(event->modifiers() & Qt::ShiftModifier)) anchor_ = cursor_;
  viewport()->update();
}

void ReportTextView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return QAbstractScrollArea::mouseMoveEvent(event);
  const QPoint p = event->position().toPoint();
  // Dragging past an edge scrolls the text along.
  if (p.y() < 0) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  if (p.y() > viewport()->height()) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  cursor_ = PositionAt(p);
  viewport()->update();
}

void ReportTextView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copy();
  } else if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
    verticalScrollBar()->setValue(0);
  } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  } else {
    QAbstractScrollArea::keyPressEvent(event);
  }
}

void ReportTextView::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace mirolat

#pragma once
// A read-only view of a long fixed-pitch text: the report's standard format.
// Only the lines in sight are drawn, so a report of hundreds of thousands of
// lines shows at once. Text can be selected with the mouse or Select All and
// copied to the clipboard.
#include <QAbstractScrollArea>
#include <QString>
#include <vector>

namespace mirolat {

class ReportTextView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit ReportTextView(QWidget* parent = nullptr);

  void setPlainText(const QString& text);
  const QString& toPlainText() const { return text_; }
  int lineCount() const { return static_cast<int>(lineStarts_.size()); }
  // Line `line` (0-based) without its line feed.
  QStringView line(int line) const;

  // The size that shows the whole text without scrolling, frame included.
  QSize ContentSize() const;

  // The selected text (whole lines joined by line feeds), empty when nothing is selected.
  QString selectedText() const;
  void selectAll();
  void copy() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  struct Position {
    int line = 0;
    int column = 0;
    bool operator==(const Position&) const = default;
    auto operator<=>(const Position&) const = default;
  };
  void UpdateMetrics();
  void UpdateScrollBars();
  Position PositionAt(const QPoint& viewportPoint) const;
  int TextWidth() const;  // the longest line's, margins included

  QString text_;
  std::vector<qsizetype> lineStarts_;
  int longestLine_ = 0;  // characters
  int charWidth_ = 8;
  int lineHeight_ = 16;
  int ascent_ = 12;
  Position anchor_;
  Position cursor_;
};

}  // namespace mirolat

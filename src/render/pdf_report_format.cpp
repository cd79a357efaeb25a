#include "render/pdf_report_format.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "core/reports/formats/html_format.h"
#include "core/reports/report_list_rules.h"
#include "render/report_charts.h"

namespace mirolat {

namespace {

constexpr int kDpi = 300;
constexpr double kMarginMm = 15;
// The Summary's charts, one under the other across the page: time and cost
// per day, then the shares. They are laid out on a larger page and drawn
// smaller, so that their labels keep room at a print size.
constexpr double kDailyChartMm = 92;
constexpr double kShareChartMm = 52;
constexpr double kChartScale = 0.7;

double Mm(double mm) { return mm * kDpi / 25.4; }

// An entry's rows (an entry and its continued rows, or the totals), kept on one page.
struct Block {
  std::vector<int> rows;
  std::vector<double> heights;
  double height = 0;
  bool totals = false;
  int page = 0;
  double top = 0;
};

class PdfLayout {
 public:
  PdfLayout(const ReportModel& model, QPaintDevice& device)
      : model_(model), columns_(ShownColumns(model)), body_(QStringLiteral("DejaVu Sans")) {
    body_.setStyleHint(QFont::SansSerif);
    body_.setPointSizeF(8);
    bold_ = body_;
    bold_.setBold(true);
    title_ = bold_;
    title_.setPointSizeF(14);
    plain_.emplace(body_, &device);
    strong_.emplace(bold_, &device);
    line_ = plain_->lineSpacing();
    pad_ = Mm(1.2);
  }

  // Column widths for a page `width` wide: each column as wide as its
  // widest text; when they do not fit, the widest column of text wraps in
  // what is left, and should even that not do, every column shrinks.
  void FitColumns(double width, QPaintDevice& device) {
    const QFontMetricsF plain(body_, &device);
    const QFontMetricsF strong(bold_, &device);
    widths_.assign(columns_.size(), 0);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const int c = columns_[i];
      double w = strong.horizontalAdvance(model_.Columns[std::size_t(c)].Title.trimmed());
      for (const ReportRow& row : model_.Rows) {
        if (row.Role == RowRole::Rule || c >= row.Cells.size() || row.Cells[c].isEmpty()) continue;
        w = std::max(w, (row.Role == RowRole::Totals ? strong : plain).horizontalAdvance(row.Cells[c]));
      }
      widths_[i] = std::ceil(w) + 2 * pad_;
    }
    double total = 0;
    for (double w : widths_) total += w;
    if (total <= width) return;
    int widest = -1;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      if (IsFigureColumn(model_.Columns[std::size_t(columns_[i])])) continue;
      if (widest < 0 || widths_[i] > widths_[std::size_t(widest)]) widest = int(i);
    }
    if (widest >= 0) {
      const double rest = width - (total - widths_[std::size_t(widest)]);
      if (rest >= width * 0.15) {
        widths_[std::size_t(widest)] = rest;
        return;
      }
    }
    for (double& w : widths_) w *= width / total;
  }

  double RowHeight(const ReportRow& row, QPaintDevice& device) const {
    const QFontMetricsF metrics(row.Role == RowRole::Totals ? bold_ : body_, &device);
    double height = line_;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const int c = columns_[i];
      if (c >= row.Cells.size() || row.Cells[c].isEmpty()) continue;
      if (metrics.horizontalAdvance(row.Cells[c]) <= widths_[i] - 2 * pad_) continue;
      const QRectF room(0, 0, widths_[i] - 2 * pad_, 1e6);
      height = std::max(height, metrics.boundingRect(room, Qt::TextWrapAnywhere, row.Cells[c]).height());
    }
    return height + pad_;
  }

  void DrawRow(QPainter& painter, double top, const QStringList& cells, bool strong, double height) const {
    painter.setFont(strong ? bold_ : body_);
    const QFontMetricsF& metrics = strong ? *strong_ : *plain_;
    double left = 0;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const int c = columns_[i];
      const ReportColumn& column = model_.Columns[std::size_t(c)];
      int align = Qt::AlignLeft;
      if (IsFigureColumn(column)) {
        align = Qt::AlignRight;
      } else if (column.Alignment == ColumnAlignment::Centre) {
        align = Qt::AlignHCenter;
      }
      const QRectF cell(left + pad_, top + pad_ / 2, widths_[i] - 2 * pad_, height - pad_ / 2);
      left += widths_[i];
      if (c >= cells.size() || cells[c].isEmpty()) continue;
      // A text that fits is set on its line directly: most cells, and far
      // quicker than laying them out in a box.
      const double width = metrics.horizontalAdvance(cells[c]);
      if (width > cell.width()) {
        painter.drawText(cell, align | Qt::AlignTop | Qt::TextWrapAnywhere, cells[c]);
        continue;
      }
      double x = cell.left();
      if (align == Qt::AlignRight) x = cell.right() - width;
      if (align == Qt::AlignHCenter) x = cell.left() + (cell.width() - width) / 2;
      painter.drawText(QPointF(x, cell.top() + metrics.ascent()), cells[c]);
    }
  }

  QStringList Titles() const {
    QStringList titles(model_.Columns.size());
    for (std::size_t c = 0; c < model_.Columns.size(); ++c) titles[qsizetype(c)] = model_.Columns[c].Title.trimmed();
    return titles;
  }
  double TableWidth() const {
    double total = 0;
    for (double w : widths_) total += w;
    return total;
  }
  double Line() const { return line_; }
  const QFont& Body() const { return body_; }
  const QFont& Bold() const { return bold_; }
  const QFont& TitleFont() const { return title_; }

 private:
  const ReportModel& model_;
  std::vector<int> columns_;
  std::vector<double> widths_;
  QFont body_, bold_, title_;
  std::optional<QFontMetricsF> plain_, strong_;
  double line_ = 0;
  double pad_ = 0;
};

}  // namespace

void PdfReportFormat::Write(const ReportDocument& document, const ByteSink& sink) const {
  const bool details = document.shown == ReportKind::Details;
  const ReportModel* model = details ? document.details : document.summary;
  if (model == nullptr) return;

  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&bytes);
    writer.setResolution(kDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
    writer.setTitle(model->RepTitle);
    writer.setCreator(QStringLiteral("Mirolat"));
    const QRectF paintRect = writer.pageLayout().paintRectPixels(kDpi);
    const QRectF area(0, 0, paintRect.width(), paintRect.height());

    PdfLayout layout(*model, writer);
    layout.FitColumns(area.width(), writer);
    const double line = layout.Line();
    const double footer = 2 * line;
    const double headerRow = line + Mm(1.5);

    // The title block: the title, the range, the warnings.
    QStringList lines = {QStringLiteral("Beginning:\t") + model->RepBegin, QStringLiteral("Ending:\t") + model->RepEnd,
                         QStringLiteral("Period:\t") + model->RepPeriod};
    QStringList notes;
    if (model->WarningShown) {
      notes << QStringLiteral("Warning: Errors found in log! ") +
                   (details ? QStringLiteral("Report may be inaccurate.") : QStringLiteral("Check details report."));
    }
    if (model->NoConnShown) notes << QStringLiteral("No connections made during this period.");
    const double titleHeight = QFontMetricsF(layout.TitleFont(), &writer).lineSpacing() * 1.6;
    double firstTop = titleHeight + line * (double(lines.size()) + 0.6) + line * 1.4 * double(notes.size());
    const bool charts = !details && document.figures != nullptr && !model->NoConnShown;
    const QRectF chartArea(0, firstTop, area.width(), Mm(kDailyChartMm + kShareChartMm));
    if (charts) firstTop += chartArea.height() + Mm(4);

    // Blocks onto pages.
    std::vector<Block> blocks;
    for (std::size_t r = 0; r < model->Rows.size(); ++r) {
      const ReportRow& row = model->Rows[r];
      if (row.Role == RowRole::Rule) continue;
      if (row.Role != RowRole::EntryContinued || blocks.empty() || blocks.back().totals) blocks.push_back({});
      Block& block = blocks.back();
      block.rows.push_back(int(r));
      block.heights.push_back(layout.RowHeight(row, writer));
      block.totals = row.Role == RowRole::Totals;
      block.height += block.heights.back();
    }
    int pages = 1;
    double y = firstTop + headerRow;
    const double bottom = area.height() - footer;
    for (Block& block : blocks) {
      if (y + block.height > bottom && y > headerRow + 1) {
        ++pages;
        y = headerRow;
      }
      block.page = pages;
      block.top = y;
      y += block.height + (block.totals ? Mm(0.8) : 0);
    }

    QPainter painter(&writer);
    const QColor shade(236, 236, 236);
    const QColor rule(96, 96, 96);
    const auto headerAt = [&](double top) {
      layout.DrawRow(painter, top, layout.Titles(), true, headerRow);
      painter.setPen(QPen(rule, Mm(0.3)));
      painter.drawLine(QPointF(0, top + headerRow), QPointF(layout.TableWidth(), top + headerRow));
      painter.setPen(Qt::black);
    };
    const auto footerOf = [&](int n) {
      painter.setFont(layout.Body());
      painter.setPen(Qt::black);
      const QRectF foot(0, area.height() - line, area.width(), line);
      painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, model->RepTitle);
      painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(n).arg(pages));
    };

    painter.setFont(layout.TitleFont());
    painter.drawText(QRectF(0, 0, area.width(), titleHeight), Qt::AlignLeft | Qt::AlignTop, model->RepTitle);
    double top = titleHeight;
    const double labelWidth = QFontMetricsF(layout.Bold(), &writer).horizontalAdvance(QStringLiteral("Beginning:")) + Mm(3);
    for (const QString& text : lines) {
      const QStringList parts = text.split(QLatin1Char('\t'));
      painter.setFont(layout.Bold());
      painter.drawText(QRectF(0, top, labelWidth, line), Qt::AlignLeft | Qt::AlignTop, parts[0]);
      painter.setFont(layout.Body());
      painter.drawText(QRectF(labelWidth, top, area.width() - labelWidth, line), Qt::AlignLeft | Qt::AlignTop, parts[1]);
      top += line;
    }
    top += line * 0.6;
    painter.setFont(layout.Bold());
    for (const QString& note : notes) {
      painter.setPen(note.startsWith(QLatin1String("Warning")) ? QColor(176, 0, 0) : Qt::black);
      painter.drawText(QRectF(0, top, area.width(), line), Qt::AlignLeft | Qt::AlignTop, note);
      top += line * 1.4;
    }
    painter.setPen(Qt::black);
    if (charts) {
      ChartOptions options;
      options.locale = document.locale;
      painter.save();
      painter.translate(chartArea.topLeft());
      painter.scale(kChartScale, kChartScale);
      const double width = chartArea.width() / kChartScale;
      PaintChart(painter, QRectF(0, 0, width, Mm(kDailyChartMm) / kChartScale), ChartKind::Daily, *document.figures, options);
      PaintChart(painter, QRectF(0, Mm(kDailyChartMm) / kChartScale, width, Mm(kShareChartMm) / kChartScale),
                 ChartKind::Share, *document.figures, options);
      painter.restore();
    }
    headerAt(firstTop);

    int page = 1;
    int shaded = 0;
    for (const Block& block : blocks) {
      if (block.page != page) {
        footerOf(page);
        writer.newPage();
        page = block.page;
        headerAt(0);
      }
      double rowTop = block.top;
      if (block.totals) {
        painter.setPen(QPen(rule, Mm(0.3)));
        painter.drawLine(QPointF(0, rowTop), QPointF(layout.TableWidth(), rowTop));
        painter.setPen(Qt::black);
      } else if (shaded++ % 2 == 1) {
        painter.fillRect(QRectF(0, rowTop, layout.TableWidth(), block.height), shade);
      }
      for (std::size_t i = 0; i < block.rows.size(); ++i) {
        layout.DrawRow(painter, rowTop, model->Rows[std::size_t(block.rows[i])].Cells, block.totals, block.heights[i]);
        rowTop += block.heights[i];
      }
    }
    footerOf(page);
  }
  sink(bytes.data());
}

}  // namespace mirolat

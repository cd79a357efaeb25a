#pragma once
// The report's charts on Qt Charts, drawn the same way in the Charts window,
// in the PDF's Summary page and by `mirolat-cli chart`: (a) time and cost per
// day, week or month stacked by number, (b) each number's share of time and
// of cost, (c) connected time per hour of the week, (d) cumulative cost.
// Colours come from a palette readable by colour-blind users, on a light or a
// dark background.
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

#include "core/reports/report_figures.h"

class QChart;

namespace mirolat {

enum class ChartKind { Daily, Share, HeatMap, Cumulative };
enum class ChartPeriod { Automatic, Day, Week, Month };

struct ChartOptions {
  ChartPeriod period = ChartPeriod::Automatic;  // the daily chart's buckets
  bool dark = false;                            // a dark background and light text
  const LocaleValues* locale = nullptr;         // money and dates in the axis labels and tooltips
};

// "daily", "share", "heatmap", "cumulative"; false for anything else.
bool ChartKindFromId(const QString& id, ChartKind* kind);

// A new chart of `kind` over the figures; the caller owns it. Needs a
// QApplication (an offscreen one will do).
QChart* BuildChart(ChartKind kind, const ReportFigures& figures, const ChartOptions& options);

// The chart drawn into `target` of the painter's device.
void PaintChart(QPainter& painter, const QRectF& target, ChartKind kind, const ReportFigures& figures,
                const ChartOptions& options);
// The chart as a PNG or SVG file's bytes.
QByteArray ChartPng(ChartKind kind, const ReportFigures& figures, QSize size, const ChartOptions& options);
QByteArray ChartSvg(ChartKind kind, const ReportFigures& figures, QSize size, const ChartOptions& options);

}  // namespace mirolat

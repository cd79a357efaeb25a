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

#include <memory>
#include <vector>

#include "core/reports/chart_series.h"
#include "core/reports/report_figures.h"

class QChart;

namespace mirolat {

enum class ChartKind { Daily, Share, HeatMap, Cumulative };

struct ChartOptions {
  ChartPeriod period = ChartPeriod::Automatic;  // the daily chart's buckets
  bool dark = false;                            // a dark background and light text
  const LocaleValues* locale = nullptr;         // money and dates in the axis labels and tooltips
};

// "daily", "share", "heatmap", "cumulative"; false for anything else.
bool ChartKindFromId(const QString& id, ChartKind* kind);

// Every series (and bar set) of a built chart carries what it draws, one
// entry per bucket, day or cell, as two properties: the values in the
// chart's own unit (hours, money, percent) as a QList<qreal>, and the texts
// its tooltips show as a QStringList.
inline constexpr char kChartValuesProperty[] = "chartValues";
inline constexpr char kChartTipsProperty[] = "chartTips";

// The charts of `kind` over the figures, top to bottom; the caller owns them.
// The daily chart is two, time and then cost (time alone when the figures
// show no costs); every other kind is one. Needs a QApplication (an
// offscreen one will do).
std::vector<std::unique_ptr<QChart>> BuildCharts(ChartKind kind, const ReportFigures& figures,
                                                 const ChartOptions& options);
// The first of BuildCharts' charts.
QChart* BuildChart(ChartKind kind, const ReportFigures& figures, const ChartOptions& options);

// Shows a chart's tooltip texts where the mouse rests on a bar, area, cell or line.
void InstallChartToolTips(QChart& chart);

// The charts drawn into `target` of the painter's device, one above the
// other, laid out as on a 96 dpi screen and scaled to the device.
void PaintChart(QPainter& painter, const QRectF& target, ChartKind kind, const ReportFigures& figures,
                const ChartOptions& options);
// The chart as a PNG or SVG file's bytes.
QByteArray ChartPng(ChartKind kind, const ReportFigures& figures, QSize size, const ChartOptions& options);
QByteArray ChartSvg(ChartKind kind, const ReportFigures& figures, QSize size, const ChartOptions& options);

}  // namespace mirolat

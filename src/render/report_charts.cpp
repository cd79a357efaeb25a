#include "render/report_charts.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalPercentBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/common/formatting.h"
#include "render/chart_style.h"
#include "render/stacked_columns.h"

namespace mirolat {

namespace {

// Beyond this many buckets the daily chart draws its columns itself rather
// than as bars: thousands of bar items are slow to make and to draw.
constexpr std::size_t kMostBars = 120;
// The heat map's classes of connected time above none.
constexpr int kHeatClasses = 5;

// The share chart's smallest part (percent) with a label of its own.
constexpr qreal kSmallestLabelledShare = 4.0;

enum class Measure { Time, Cost };

const LocaleValues& ValuesOf(const ChartOptions& options) {
  static const LocaleValues kDefault;
  return options.locale != nullptr ? *options.locale : kDefault;
}

QList<qreal> ValuesOf(const QObject* object) { return object->property(kChartValuesProperty).value<QList<qreal>>(); }

void Carry(QObject* object, const QList<qreal>& values, const QStringList& tips) {
  object->setProperty(kChartValuesProperty, QVariant::fromValue(values));
  object->setProperty(kChartTipsProperty, tips);
}

QString MoneyText(double amount, const LocaleValues& locale) { return FormatMoney(amount, 0, locale); }

void AddWithAxes(QChart* chart, QAbstractSeries* series) {
  chart->addSeries(series);
  for (QAbstractAxis* axis : chart->axes()) series->attachAxis(axis);
}

void HideLegendOf(QChart* chart, QAbstractSeries* series) {
  for (QLegendMarker* marker : chart->legend()->markers(series)) marker->setVisible(false);
}

QString BucketLabel(const ChartBucket& bucket, ChartPeriod period, const QLocale& locale) {
  return period == ChartPeriod::Month ? MonthText(bucket.First, locale) : ShortDateText(bucket.First, locale);
}

// What a tooltip calls the bucket: its day, its days, or its month.
QString BucketSpan(const ChartBucket& bucket, ChartPeriod period, const QLocale& locale) {
  if (period == ChartPeriod::Month) return MonthText(bucket.First, locale);
  if (bucket.First == bucket.Last) return ShortDateText(bucket.First, locale);
  return ShortDateText(bucket.First, locale) + QStringLiteral(" – ") + ShortDateText(bucket.Last, locale);
}

// Time or cost per bucket, stacked by number.
QChart* PeriodChart(const ReportFigures& figures, const PeriodSeries& series, Measure measure,
                    const ChartOptions& options) {
  const LocaleValues& values = ValuesOf(options);
  const QLocale& locale = values.Locale;
  const bool time = measure == Measure::Time;
  static const char* const kPer[] = {"period", "day", "week", "month"};
  const QString per = QString::fromLatin1(kPer[int(series.Period)]);
  QChart* chart = NewStyledChart(time ? QStringLiteral("Connected time per %1").arg(per)
                                      : QStringLiteral("Cost per %1").arg(per),
                                 options.dark);
  const std::size_t buckets = series.Buckets.size();
  const std::size_t numbers = figures.Numbers.size();
  std::vector<QList<qreal>> amounts(numbers);
  std::vector<QStringList> tips(numbers);
  double largest = 0;
  for (const ChartBucket& bucket : series.Buckets) {
    const QString span = BucketSpan(bucket, series.Period, locale);
    double total = 0;
    for (std::size_t k = 0; k < numbers; ++k) {
      const qint64 seconds = k < bucket.Seconds.size() ? bucket.Seconds[k] : 0;
      const double cost = k < bucket.Cost.size() ? bucket.Cost[k] : 0.0;
      const double amount = time ? double(seconds) / 3600.0 : cost;
      amounts[k].append(amount);
      tips[k].append(QStringLiteral("%1\n%2: %3")
                         .arg(span, NumberLabel(figures, k), time ? DurationText(seconds) : MoneyText(cost, values)));
      total += amount;
    }
    largest = std::max(largest, total);
  }
  chart->addAxis(PositionAxis(
                     int(buckets),
                     [&](int i) { return BucketLabel(series.Buckets[std::size_t(i)], series.Period, locale); },
                     options.dark),
                 Qt::AlignBottom);
  QCategoryAxis* valueAxis = ValueAxis(
      largest, [&](double v) { return time ? HoursText(v, locale) : MoneyText(v, values); }, options.dark);
  chart->addAxis(valueAxis, Qt::AlignLeft);
  if (buckets <= kMostBars) {
    auto* bars = new QStackedBarSeries;
    bars->setBarWidth(0.8);
    std::vector<QBarSet*> sets;
    for (std::size_t k = 0; k < numbers; ++k) {
      auto* set = new QBarSet(NumberLabel(figures, k));
      set->append(amounts[k]);
      Carry(set, amounts[k], tips[k]);
      bars->append(set);
      sets.push_back(set);
    }
    AddWithAxes(chart, bars);
    // The theme colours a series as it joins the chart: the palette goes on after.
    for (std::size_t k = 0; k < sets.size(); ++k) {
      sets[k]->setColor(NumberColour(k, options.dark));
      sets[k]->setBorderColor(NumberColour(k, options.dark));
    }
    return chart;
  }
  // Too many buckets for bars: the numbers' series carry the legend, the
  // values and the tooltips, and the columns are drawn in one go.
  std::vector<QColor> colours;
  for (std::size_t k = 0; k < numbers; ++k) {
    auto* line = new QLineSeries;
    line->setName(NumberLabel(figures, k));
    Carry(line, amounts[k], tips[k]);
    AddWithAxes(chart, line);
    colours.push_back(NumberColour(k, options.dark));
    line->setPen(QPen(colours.back(), 4));
  }
  new StackedColumnsItem(chart, std::move(amounts), std::move(colours), std::move(tips), valueAxis->max());
  return chart;
}

// Each number's percentage of the connected time and of the cost.
QChart* ShareChart(const ReportFigures& figures, const ChartOptions& options) {
  const LocaleValues& values = ValuesOf(options);
  const bool costs = figures.CostsShown;
  QChart* chart = NewStyledChart(costs ? QStringLiteral("Share of connected time and cost")
                                       : QStringLiteral("Share of connected time"),
                                 options.dark);
  const std::vector<NumberShare> shares = NumberShares(figures);
  auto* categories = new QBarCategoryAxis;
  categories->append(QStringLiteral("Time"));
  if (costs) categories->append(QStringLiteral("Cost"));
  StyleAxis(categories, options.dark);
  categories->setGridLineVisible(false);
  auto* percent = new QValueAxis;
  percent->setRange(0, 100);
  percent->setTickCount(6);
  percent->setLabelFormat(QStringLiteral("%d %%"));
  StyleAxis(percent, options.dark);
  chart->addAxis(percent, Qt::AlignBottom);
  chart->addAxis(categories, Qt::AlignLeft);
  auto* bars = new QHorizontalPercentBarSeries;
  bars->setBarWidth(0.6);
  bars->setLabelsVisible(true);
  bars->setLabelsFormat(QStringLiteral("@value %"));  // the percentage, rounded
  std::vector<QBarSet*> sets;
  for (const NumberShare& share : shares) {
    auto* set = new QBarSet(share.Label);
    QList<qreal> parts{share.TimeShare * 100.0};
    QStringList tips{QStringLiteral("%1: %2 % of the connected time (%3)")
                         .arg(share.Label, values.Locale.toString(share.TimeShare * 100.0, 'f', 1),
                              DurationText(share.Seconds))};
    if (costs) {
      parts.append(share.CostShare * 100.0);
      tips.append(QStringLiteral("%1: %2 % of the cost (%3)")
                      .arg(share.Label, values.Locale.toString(share.CostShare * 100.0, 'f', 1),
                           MoneyText(share.Cost, values)));
    }
    set->append(parts);
    Carry(set, parts, tips);
    bars->append(set);
    sets.push_back(set);
  }
  AddWithAxes(chart, bars);
  for (std::size_t k = 0; k < sets.size(); ++k) {
    const QColor colour = NumberColour(k, options.dark);
    sets[k]->setColor(colour);
    sets[k]->setBorderColor(colour);
    // Dark text on the light colours, white on the dark ones. A label can
    // only be hidden for a whole set: a set with a sliver (whose label would
    // spill over its neighbours) shows none; its tooltip has the figures.
    bool sliver = false;
    for (qreal part : ValuesOf(sets[k])) sliver = sliver || (part > 0 && part < kSmallestLabelledShare);
    sets[k]->setLabelColor(sliver ? QColor(Qt::transparent)
                           : colour.lightnessF() > 0.55 ? QColor(0x202124)
                                                        : QColor(Qt::white));
  }
  return chart;
}

// Hours rounded up to two significant digits, for the bounds of a legend.
double RoundedUp(double hours) {
  if (hours <= 0) return 0;
  const double unit = std::pow(10.0, std::floor(std::log10(hours)) - 1);
  return std::ceil(hours / unit - 1e-9) * unit;
}

// One rectangle area from (x0, y0) to (x1, y1), on the chart's axes.
QAreaSeries* Rectangle(QChart* chart, qreal x0, qreal y0, qreal x1, qreal y1) {
  auto* lower = new QLineSeries(chart);
  auto* upper = new QLineSeries(chart);
  lower->append({QPointF(x0, y0), QPointF(x1, y0)});
  upper->append({QPointF(x0, y1), QPointF(x1, y1)});
  return new QAreaSeries(upper, lower);
}

// Connected time per weekday and hour: Monday on top, midnight on the left,
// in classes of a sequential scale with a legend of their bounds.
QChart* HeatMapChart(const ReportFigures& figures, const ChartOptions& options) {
  const QLocale& locale = ValuesOf(options).Locale;
  QChart* chart = NewStyledChart(QStringLiteral("Connected time by hour of the week"), options.dark);
  const HourOfWeekGrid grid = HourOfWeek(figures);
  auto* hours = new QCategoryAxis;
  StyleAxis(hours, options.dark);
  hours->setStartValue(-1e-6);
  for (int h = 0; h < 24; h += 3) hours->append(QStringLiteral("%1:00").arg(h), h);
  hours->setRange(0, 24);
  hours->setGridLineVisible(false);
  // Monday's row on top: day d is the row from 6 - d to 7 - d, named at its
  // middle (a reversed axis, or names centred between the bounds, loses the
  // outer rows' names when the window is resized).
  auto* days = new QCategoryAxis;
  StyleAxis(days, options.dark);
  days->setStartValue(0);
  for (int d = 6; d >= 0; --d) days->append(locale.dayName(d + 1, QLocale::ShortFormat), 6.5 - d);
  days->setRange(0, 7);
  days->setGridLineVisible(false);
  chart->addAxis(hours, Qt::AlignBottom);
  chart->addAxis(days, Qt::AlignLeft);

  const QColor gap = chart->backgroundBrush().color();
  const auto classOf = [&](qint64 seconds) {
    return seconds <= 0 ? 0 : int(std::ceil(double(seconds) * kHeatClasses / double(grid.Largest)));
  };
  const auto colourOf = [&](int cls) {
    return cls == 0 ? EmptyCellColour(options.dark) : ScaleColour(double(cls - 1) / (kHeatClasses - 1));
  };
  for (int d = 0; d < 7; ++d) {
    for (int h = 0; h < 24; ++h) {
      const qint64 seconds = grid.Seconds[std::size_t(d)][std::size_t(h)];
      QAreaSeries* cell = Rectangle(chart, h, 6 - d, h + 1, 7 - d);
      cell->setName(QStringLiteral("%1 %2:00").arg(locale.dayName(d + 1, QLocale::ShortFormat)).arg(h));
      Carry(cell, {double(seconds) / 3600.0},
            {QStringLiteral("%1 %2:00–%3:00\n%4 connected")
                 .arg(locale.dayName(d + 1, QLocale::LongFormat))
                 .arg(h)
                 .arg(h + 1)
                 .arg(DurationText(seconds))});
      AddWithAxes(chart, cell);
      cell->setColor(colourOf(classOf(seconds)));
      cell->setBorderColor(gap);
      HideLegendOf(chart, cell);
    }
  }
  // The key: a legend entry per class, over no area of its own.
  for (int cls = 0; cls <= (grid.Largest > 0 ? kHeatClasses : 0); ++cls) {
    auto* key = new QAreaSeries(new QLineSeries(chart));
    key->setName(cls == 0 ? QStringLiteral("none")
                          : QStringLiteral("up to %1").arg(HoursText(
                                RoundedUp(double(grid.Largest) * cls / kHeatClasses / 3600.0), locale)));
    AddWithAxes(chart, key);
    key->setColor(colourOf(cls));
    key->setBorderColor(colourOf(cls));
  }
  return chart;
}

// The cost (or, without costs, the connected time) summed day by day.
QChart* CumulativeChart(const ReportFigures& figures, const ChartOptions& options) {
  const LocaleValues& values = ValuesOf(options);
  const QLocale& locale = values.Locale;
  const bool costs = figures.CostsShown;
  QChart* chart = NewStyledChart(costs ? QStringLiteral("Cumulative cost") : QStringLiteral("Cumulative connected time"),
                                 options.dark);
  const std::vector<CumulativeDay> days = CumulativeCost(figures);
  QList<QPointF> points;
  QList<qreal> amounts;
  QStringList tips;
  points.reserve(qsizetype(days.size()));
  for (std::size_t i = 0; i < days.size(); ++i) {
    const CumulativeDay& day = days[i];
    const double amount = costs ? day.Cost : double(day.Seconds) / 3600.0;
    points.append(QPointF(qreal(i), amount));
    amounts.append(amount);
    tips.append(QStringLiteral("%1: %2").arg(ShortDateText(day.Day, locale),
                                             costs ? MoneyText(day.Cost, values) : DurationText(day.Seconds)));
  }
  chart->addAxis(PositionAxis(
                     int(days.size()), [&](int i) { return ShortDateText(days[std::size_t(i)].Day, locale); },
                     options.dark),
                 Qt::AlignBottom);
  chart->addAxis(ValueAxis(
                     amounts.isEmpty() ? 0.0 : amounts.last(),
                     [&](double v) { return costs ? MoneyText(v, values) : HoursText(v, locale); }, options.dark),
                 Qt::AlignLeft);
  auto* line = new QLineSeries;
  line->setName(costs ? QStringLiteral("Cost") : QStringLiteral("Connected time"));
  line->replace(points);
  Carry(line, amounts, tips);
  AddWithAxes(chart, line);
  // Sky blue stands out on the dark background, blue on the light one.
  line->setPen(QPen(NumberColour(options.dark ? 4 : 0, options.dark), 2));
  chart->legend()->hide();
  return chart;
}

// Lays the chart out at the device's size in 96 dpi pixels and draws it into target.
void RenderChart(QPainter& painter, const QRectF& target, QChart& chart) {
  const int dpi = painter.device() != nullptr ? painter.device()->logicalDpiX() : 96;
  const double scale = dpi > 0 ? dpi / 96.0 : 1.0;
  const QRectF layout(QPointF(0, 0), target.size() / scale);
  QGraphicsScene scene;
  scene.addItem(&chart);
  chart.setGeometry(layout);
  chart.layout()->activate();
  scene.setSceneRect(layout);
  scene.render(&painter, target, layout, Qt::IgnoreAspectRatio);
  scene.removeItem(&chart);
}

void ShowTip(bool shown, const QObject* source, int index) {
  const QStringList tips = source->property(kChartTipsProperty).toStringList();
  if (shown && index >= 0 && index < tips.size()) {
    QToolTip::showText(QCursor::pos(), tips[index]);
  } else {
    QToolTip::hideText();
  }
}

}  // namespace

std::vector<std::unique_ptr<QChart>> BuildCharts(ChartKind kind, const ReportFigures& figures,
                                                 const ChartOptions& options) {
  std::vector<std::unique_ptr<QChart>> charts;
  switch (kind) {
    case ChartKind::Daily: {
      const PeriodSeries series = BucketDays(figures, options.period);
      charts.emplace_back(PeriodChart(figures, series, Measure::Time, options));
      if (figures.CostsShown) charts.emplace_back(PeriodChart(figures, series, Measure::Cost, options));
      break;
    }
    case ChartKind::Share:
      charts.emplace_back(ShareChart(figures, options));
      break;
    case ChartKind::HeatMap:
      charts.emplace_back(HeatMapChart(figures, options));
      break;
    case ChartKind::Cumulative:
      charts.emplace_back(CumulativeChart(figures, options));
      break;
  }
  return charts;
}

QChart* BuildChart(ChartKind kind, const ReportFigures& figures, const ChartOptions& options) {
  return BuildCharts(kind, figures, options).front().release();
}

void InstallChartToolTips(QChart& chart) {
  for (QAbstractSeries* series : chart.series()) {
    if (auto* bars = qobject_cast<QAbstractBarSeries*>(series)) {
      for (QBarSet* set : bars->barSets()) {
        QObject::connect(set, &QBarSet::hovered, set, [set](bool shown, int index) { ShowTip(shown, set, index); });
      }
    } else if (auto* area = qobject_cast<QAreaSeries*>(series)) {
      QObject::connect(area, &QAreaSeries::hovered, area, [area](const QPointF& point, bool shown) {
        const bool single = area->property(kChartTipsProperty).toStringList().size() == 1;
        ShowTip(shown, area, single ? 0 : qRound(point.x()));
      });
    } else if (auto* line = qobject_cast<QXYSeries*>(series)) {
      QObject::connect(line, &QXYSeries::hovered, line,
                       [line](const QPointF& point, bool shown) { ShowTip(shown, line, qRound(point.x())); });
    }
  }
}

void PaintChart(QPainter& painter, const QRectF& target, ChartKind kind, const ReportFigures& figures,
                const ChartOptions& options) {
  const std::vector<std::unique_ptr<QChart>> charts = BuildCharts(kind, figures, options);
  const double height = target.height() / double(charts.size());
  for (std::size_t i = 0; i < charts.size(); ++i) {
    RenderChart(painter, QRectF(target.left(), target.top() + height * double(i), target.width(), height),
                *charts[i]);
  }
}

QByteArray ChartPng(ChartKind kind, const ReportFigures& figures, QSize size, const ChartOptions& options) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(ChartBackground(options.dark));
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), kind, figures, options);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray ChartSvg(ChartKind kind, const ReportFigures& figures, QSize size, const ChartOptions& options) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(96);
  svg.setTitle(QStringLiteral("Mirolat chart"));
  {
    QPainter painter(&svg);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), kind, figures, options);
  }
  return bytes;
}

}  // namespace mirolat

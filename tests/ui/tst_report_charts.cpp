// The report's charts built offscreen from known figures: each kind draws
// exactly the figures' values (read back from its series and bar sets), in
// the buckets, shares, cells and running totals they belong to, and writes
// real PNG and SVG files.
#include <QAreaSeries>
#include <QBarSet>
#include <QChart>
#include <QHorizontalPercentBarSeries>
#include <QImage>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QTest>

#include "render/chart_style.h"
#include "render/report_charts.h"

using namespace mirolat;

namespace {

const Date kMonday = ExistingDate(2024, 1, 1);

// Two numbers over `days` days: "Home" 3600 s and 1.50 a day, "Work" i * 60 s
// and 0.25 on day i; Wednesday 21:00 is the busiest hour of the week.
ReportFigures Figures(int days, bool costs = true) {
  ReportFigures f;
  f.ReportStartDate = kMonday;
  f.ReportEndDate = kMonday + days - 1;
  f.CostsShown = costs;
  f.Numbers.resize(2);
  f.Numbers[0].Name = QStringLiteral("Home");
  f.Numbers[1].Name = QStringLiteral("Work");
  for (int i = 0; i < days; ++i) {
    f.Days.push_back(DayFigures{kMonday + i, {3600, qint64(i) * 60}, {1.5, 0.25}});
    f.Numbers[0].Seconds += 3600;
    f.Numbers[1].Seconds += qint64(i) * 60;
    f.Numbers[0].Cost += 1.5;
    f.Numbers[1].Cost += 0.25;
  }
  f.HourOfWeekSeconds[2 * 24 + 21] = 5400;
  f.HourOfWeekSeconds[0] = 60;
  return f;
}

QList<qreal> ValuesOf(const QObject* o) { return o->property(kChartValuesProperty).value<QList<qreal>>(); }

void CompareList(const QList<qreal>& got, const QList<qreal>& want) {
  QCOMPARE(got.size(), want.size());
  for (qsizetype i = 0; i < got.size(); ++i) QVERIFY2(qFuzzyCompare(1 + got[i], 1 + want[i]), qPrintable(QString::number(i)));
}

template <typename Series>
QList<Series*> SeriesOf(QChart& chart) {
  QList<Series*> found;
  for (QAbstractSeries* s : chart.series()) {
    if (auto* t = qobject_cast<Series*>(s)) found << t;
  }
  return found;
}

}  // namespace

class ReportChartsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void dailyBarsAndAreasCarryTheBuckets() {
    // Nine days from a Monday in weeks: seven days and two.
    ChartOptions weeks;
    weeks.period = ChartPeriod::Week;
    auto charts = BuildCharts(ChartKind::Daily, Figures(9), weeks);
    QCOMPARE(charts.size(), std::size_t(2));
    const auto time = SeriesOf<QStackedBarSeries>(*charts[0]);
    QCOMPARE(time.size(), 1);
    QCOMPARE(time[0]->barSets().size(), 2);
    const QBarSet* work = time[0]->barSets()[1];
    CompareList(ValuesOf(work), {21.0 * 60 / 3600, 15.0 * 60 / 3600});  // 0+1+..+6 and 7+8 minutes
    QCOMPARE(work->at(1), 0.25);
    CompareList(ValuesOf(SeriesOf<QStackedBarSeries>(*charts[1])[0]->barSets()[0]), {7 * 1.5, 2 * 1.5});
    // Without costs only the time is drawn.
    QCOMPARE(BuildCharts(ChartKind::Daily, Figures(9, false), weeks).size(), std::size_t(1));

    // A thousand days one by one: too many for bars; the columns are drawn
    // apart and the numbers' series carry what they draw.
    ChartOptions days;
    days.period = ChartPeriod::Day;
    charts = BuildCharts(ChartKind::Daily, Figures(1000), days);
    QVERIFY(SeriesOf<QStackedBarSeries>(*charts[1]).isEmpty());
    const auto lines = SeriesOf<QLineSeries>(*charts[1]);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1]->name(), QStringLiteral("Work"));
    QCOMPARE(ValuesOf(lines[1]).size(), 1000);
    QCOMPARE(ValuesOf(lines[0])[500], 1.5);
    QCOMPARE(ValuesOf(SeriesOf<QLineSeries>(*charts[0])[1])[500], 500.0 / 60);
  }

  void shareHeatMapAndCumulativeCarryTheirFigures() {
    const ReportFigures f = Figures(10);
    std::unique_ptr<QChart> share(BuildChart(ChartKind::Share, f, {}));
    const auto sets = SeriesOf<QHorizontalPercentBarSeries>(*share)[0]->barSets();
    // Home has 36000 s of 38700, and 15.00 of 17.50.
    CompareList(ValuesOf(sets[0]), {100.0 * 36000 / 38700, 100.0 * 15 / 17.5});
    QCOMPARE(sets[1]->at(1), 100.0 * 2.5 / 17.5);

    std::unique_ptr<QChart> heat(BuildChart(ChartKind::HeatMap, f, {}));
    QList<QAreaSeries*> cells;
    for (QAreaSeries* s : SeriesOf<QAreaSeries>(*heat)) {
      if (ValuesOf(s).size() == 1) cells << s;
    }
    QCOMPARE(cells.size(), 168);
    // Row by row from Monday, midnight first; the busiest cell takes the top of the scale.
    QCOMPARE(ValuesOf(cells[2 * 24 + 21]).first(), 1.5);
    QCOMPARE(cells[2 * 24 + 21]->color(), ScaleColour(1.0));
    QCOMPARE(cells[0]->color(), ScaleColour(0.0));
    QCOMPARE(cells[1]->color(), EmptyCellColour(false));
    QCOMPARE(cells[2 * 24 + 21]->upperSeries()->at(0), QPointF(21, 5));  // Monday's row on top

    std::unique_ptr<QChart> cumulative(BuildChart(ChartKind::Cumulative, f, {}));
    const QLineSeries* line = SeriesOf<QLineSeries>(*cumulative).first();
    QCOMPARE(line->count(), 10);
    QCOMPARE(line->at(3).y(), 4 * 1.75);
    QCOMPARE(line->at(9).y(), 17.5);
    // Without costs it sums the hours.
    std::unique_ptr<QChart> hours(BuildChart(ChartKind::Cumulative, Figures(10, false), {}));
    QCOMPARE(SeriesOf<QLineSeries>(*hours).first()->at(9).y(), 38700.0 / 3600);
  }

  void filesAreRealPicturesEvenOfNothing() {
    for (const ReportFigures& f : {Figures(40), ReportFigures{}}) {
      for (ChartKind kind : {ChartKind::Daily, ChartKind::Share, ChartKind::HeatMap, ChartKind::Cumulative}) {
        ChartOptions dark;
        dark.dark = true;
        const QImage png = QImage::fromData(ChartPng(kind, f, QSize(640, 400), dark), "PNG");
        QCOMPARE(png.size(), QSize(640, 400));
        QCOMPARE(png.pixelColor(0, 0), ChartBackground(true));
        const QByteArray svg = ChartSvg(kind, f, QSize(640, 400), {});
        QVERIFY(svg.startsWith("<?xml"));
        QVERIFY(svg.contains("<svg") && svg.contains("</svg>"));
      }
    }
  }
};

QTEST_MAIN(ReportChartsTest)
#include "tst_report_charts.moc"

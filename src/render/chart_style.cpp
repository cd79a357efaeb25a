#include "render/chart_style.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <algorithm>
#include <array>
#include <cmath>

namespace mirolat {

namespace {

constexpr QRgb kLightBackground = 0xffffff;
constexpr QRgb kDarkBackground = 0x2a2d31;
constexpr QRgb kLightText = 0x202124;
constexpr QRgb kDarkText = 0xe8eaed;
constexpr QRgb kLightGrid = 0xd9d9d9;
constexpr QRgb kDarkGrid = 0x4a4e54;

// A step of 1, 2, 2.5 or 5 times a power of ten giving about `steps` steps up to `largest`.
double NiceStep(double largest, int steps) {
  const double raw = largest / steps;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0}) {
    if (m * magnitude >= raw) return m * magnitude;
  }
  return 10.0 * magnitude;
}

}  // namespace

void StyleAxis(QAbstractAxis* axis, bool dark) {
  if (auto* category = qobject_cast<QCategoryAxis*>(axis)) {
    category->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  }
  axis->setLabelsColor(QColor(dark ? kDarkText : kLightText));
  axis->setGridLineColor(QColor(dark ? kDarkGrid : kLightGrid));
  axis->setLinePenColor(QColor(dark ? kDarkGrid : kLightGrid));
  axis->setTitleBrush(QColor(dark ? kDarkText : kLightText));
}

QColor EmptyCellColour(bool dark) { return QColor(dark ? 0x3a3e44 : 0xececec); }

QColor NumberColour(std::size_t index, bool dark) {
  // Blue, orange, bluish green, vermillion, sky blue, reddish purple, yellow
  // and black (light grey on a dark background).
  static constexpr std::array<QRgb, 8> kOkabeIto = {0x0072b2, 0xe69f00, 0x009e73, 0xd55e00,
                                                    0x56b4e9, 0xcc79a7, 0xf0e442, 0x000000};
  QColor colour(kOkabeIto[index % kOkabeIto.size()]);
  if (dark && colour == Qt::black) colour = QColor(0xbdbdbd);
  for (std::size_t round = index / kOkabeIto.size(); round > 0; --round) {
    colour = dark ? colour.darker(140) : colour.lighter(140);
  }
  return colour;
}

QColor ScaleColour(double t) {
  static constexpr std::array<QRgb, 9> kViridis = {0x440154, 0x472d7b, 0x3b528b, 0x2c728e, 0x21918c,
                                                   0x28ae80, 0x5ec962, 0xaddc30, 0xfde725};
  const double x = std::clamp(t, 0.0, 1.0) * double(kViridis.size() - 1);
  const std::size_t i = std::min(std::size_t(x), kViridis.size() - 2);
  const double f = x - double(i);
  const QColor a(kViridis[i]);
  const QColor b(kViridis[i + 1]);
  const auto mix = [f](int p, int q) { return int(std::lround(p + (q - p) * f)); };
  return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QColor ChartBackground(bool dark) { return QColor(dark ? kDarkBackground : kLightBackground); }

QChart* NewStyledChart(const QString& title, bool dark) {
  auto* chart = new QChart;
  chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setBackgroundBrush(ChartBackground(dark));
  chart->setBackgroundRoundness(0);
  chart->setBackgroundPen(Qt::NoPen);
  chart->setTitle(title);
  chart->setTitleBrush(QColor(dark ? kDarkText : kLightText));
  QFont font = chart->titleFont();
  font.setBold(true);
  font.setPointSizeF(std::max(font.pointSizeF(), 10.0));
  chart->setTitleFont(font);
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->legend()->setLabelColor(QColor(dark ? kDarkText : kLightText));
  return chart;
}

QCategoryAxis* ValueAxis(double largest, const std::function<QString(double)>& label, bool dark) {
  const double step = NiceStep(largest > 0 ? largest : 1.0, 5);
  const int steps = std::max(1, int(std::ceil(largest / step - 1e-9)));
  auto* axis = new QCategoryAxis;
  StyleAxis(axis, dark);
  // A category ends above where the previous one ended: the first label (0)
  // needs a start just below it.
  axis->setStartValue(-step * 1e-6);
  for (int i = 0; i <= steps; ++i) axis->append(label(step * i), step * i);
  axis->setRange(0, step * steps);
  return axis;
}

QCategoryAxis* PositionAxis(int count, const std::function<QString(int)>& label, bool dark) {
  auto* axis = new QCategoryAxis;
  StyleAxis(axis, dark);
  axis->setStartValue(-0.5);
  const int every = std::max(1, (count + 9) / 10);
  for (int i = 0; i < count; i += every) axis->append(label(i), i);
  axis->setRange(-0.5, std::max(count, 1) - 0.5);
  axis->setGridLineVisible(false);
  // An axis without a label is drawn astray, in the chart's corner.
  axis->setVisible(count > 0);
  return axis;
}

QString HoursText(double hours, const QLocale& locale) {
  // As few decimals as the value needs, at most two.
  int decimals = 0;
  while (decimals < 2 && std::abs(hours * std::pow(10.0, decimals) - std::round(hours * std::pow(10.0, decimals))) > 1e-6) {
    ++decimals;
  }
  return locale.toString(hours, 'f', decimals) + QStringLiteral(" h");
}

QString DurationText(qint64 seconds) {
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString ShortDateText(Date day, const QLocale& locale) { return locale.toString(ToQDate(day), QLocale::ShortFormat); }

QString MonthText(Date day, const QLocale& locale) { return locale.toString(ToQDate(day), QStringLiteral("MMM yyyy")); }

}  // namespace mirolat

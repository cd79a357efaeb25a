#include "ui/reports/report_layout.h"

#include <QLocale>
#include <cmath>

namespace mirolat {

QList<double> AutoArrangeWidths(double windowWidthTwips, const QStringList& titles, const QList<double>& widths) {
  QList<double> result = widths;
  const qsizetype count = widths.size();
  if (count < 2) return result;
  const double share = (windowWidthTwips - 2200) / static_cast<double>(count - 1);
  for (qsizetype i = 1; i < count; ++i) {
    if (i < titles.size() && titles[i] == QLatin1String(" Notes")) {
      result[i] = kNotesColumnTwips;
    } else if (share > 100) {
      result[i] = share;
    }
  }
  return result;
}

QString DefaultReportFileName(bool details, Date start, Date end) {
  // Month abbreviations in English whatever the user's language, as the
  // format ddmmmyy has always given them.
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  const QString format = QStringLiteral("ddMMMyy");
  return (details ? QStringLiteral("Detail") : QStringLiteral("Summary")) + QLatin1Char(' ') +
         english.toString(ToQDate(start), format) + QStringLiteral(" - ") + english.toString(ToQDate(end), format);
}

QString SignedNumberText(double value) {
  const QString digits = QString::number(std::fabs(value), 'g', 7);
  return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits;
}

}  // namespace mirolat

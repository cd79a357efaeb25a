#pragma once
// The arithmetic of the report window's layout: twips and pixels, the Auto
// Arrange column widths, the proposed file name and the status-bar texts.
#include <QList>
#include <QString>
#include <QStringList>

#include "core/common/dates.h"

namespace mirolat {

inline constexpr int kTwipsPerInch = 1440;

// Pixels at `dpi` logical dots per inch for a length in twips, and back, both
// rounded to the nearest whole unit.
int TwipsToPixels(double twips, double dpi);
int PixelsToTwips(int pixels, double dpi);
// The twips of `pixels`, keeping `previousTwips` when it still gives the same
// pixels, so a layout written back unchanged keeps its exact stored values.
int PixelsToTwipsKeeping(int pixels, double dpi, int previousTwips);

// Auto Arrange: every column but the first is resized. The column titled
// " Notes" gets 4000 twips; every other one (window width - 2200) / (columns
// - 1), but only when that is above 100. `widths` are the current widths in
// twips, one per column; the result holds the new ones.
inline constexpr double kNotesColumnTwips = 4000;
QList<double> AutoArrangeWidths(double windowWidthTwips, const QStringList& titles, const QList<double>& widths);

// The file name Save As proposes: "Summary 01Jan98 - 31Jan98", "Detail ...".
QString DefaultReportFileName(bool details, Date start, Date end);

// A number as the language's Str() writes it: a leading blank for a
// non-negative value, a minus sign otherwise, no needless decimals.
QString SignedNumberText(double value);

}  // namespace mirolat

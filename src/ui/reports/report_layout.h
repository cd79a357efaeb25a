#pragma once
// The arithmetic of the report window's layout: the Auto Arrange column widths, the proposed file name and the status-bar texts.
#include <QList>
#include <QString>
#include <QStringList>

#include "core/common/dates.h"
#include "ui/dialogs/window_placement.h"

namespace mirolat {

// Auto Arrange: every column but the first is resized. The column titled
// " Notes" gets 4000 twips; every other one (window width - 2200) / (columns
// - 1), but only when that is above 100. `widths` are the current widths in
// twips, one per column; the result holds the new ones.
inline constexpr double kNotesColumnTwips = 4000;
QList<double> AutoArrangeWidths(double windowWidthTwips, const QStringList& titles, const QList<double>& widths);

// The file name Save As proposes: "Summary 01Jan98 - 31Jan98", "Detail ...".
QString DefaultReportFileName(bool details, Date start, Date end);

// A number with its sign in front: a blank for a non-negative value, a minus
// sign otherwise, and no needless decimals (" 10", "-2.5").
QString SignedNumberText(double value);

}  // namespace mirolat

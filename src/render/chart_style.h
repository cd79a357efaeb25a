#pragma once
// The look the report's charts share: the numbers' colours, the colour scale
// of the heat map, the light and dark backgrounds, and axes whose labels are
// written in the user's locale (Qt Charts' own value axes format with printf).
#include <QColor>
#include <QLocale>
#include <QString>
#include <functional>

#include "core/common/dates.h"
#include "core/common/locale_values.h"

class QAbstractAxis;
class QChart;
class QCategoryAxis;

namespace mirolat {

// Colour of the number at `index`: the Okabe–Ito palette, told apart by
// readers with any common colour-vision deficiency; past its eight colours
// the palette comes round again lighter (or darker on a dark background).
QColor NumberColour(std::size_t index, bool dark);

// The perceptually even viridis scale at t in 0..1 (dark blue-violet to yellow).
QColor ScaleColour(double t);

QColor ChartBackground(bool dark);
// A new chart with the background, text and legend of the light or dark look.
QChart* NewStyledChart(const QString& title, bool dark);

// Labels, lines and grid in the light or dark look.
void StyleAxis(QAbstractAxis* axis, bool dark);
// The colour of a cell without a value: a shade next to the background.
QColor EmptyCellColour(bool dark);

// A value axis from 0 to a rounded top at or above `largest`, with a label at
// each of about five even steps written by `label`.
QCategoryAxis* ValueAxis(double largest, const std::function<QString(double)>& label, bool dark);

// An axis over the positions 0..count-1 (bars sit on whole numbers) with at
// most about ten labels from `label`.
QCategoryAxis* PositionAxis(int count, const std::function<QString(int)>& label, bool dark);

// Text helpers for labels and tooltips.
QString HoursText(double hours, const QLocale& locale);  // "12.5 h"
QString DurationText(qint64 seconds);                    // "12:30:00"
QString ShortDateText(Date day, const QLocale& locale);
QString MonthText(Date day, const QLocale& locale);  // "Mar 2026"

}  // namespace mirolat

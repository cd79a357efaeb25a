#pragma once
// Where a window goes on the screen: never larger than the screen's free
// area nor partly off it, and a dialog or box centred on its parent window;
// and the twips (1440 to the inch) in which windows store sizes and places.
#include <QRect>

class QWidget;

namespace mirolat {

inline constexpr int kTwipsPerInch = 1440;

// Pixels at `dpi` logical dots per inch for a length in twips, and back, both
// rounded to the nearest whole unit.
int TwipsToPixels(double twips, double dpi);
int PixelsToTwips(int pixels, double dpi);
// The twips of `pixels`, keeping `previousTwips` when it still gives the same
// pixels, so a layout written back unchanged keeps its exact stored values.
int PixelsToTwipsKeeping(int pixels, double dpi, int previousTwips);

// `window` made to fit `available`: cut to its size, then moved inside it.
QRect FitIntoArea(const QRect& window, const QRect& available);
// A window of `size` centred on `parent`, then fitted into `available`.
QRect CentredOnParent(const QSize& size, const QRect& parent, const QRect& available);
// A window of `size` beside `parent`, its top level with the parent's: on its
// right where it fits there whole, else on its left where it fits there,
// else on its right moved back into `available`, covering the parent's right
// part and leaving its left part, with its menus, in sight.
QRect BesideParent(const QSize& size, const QRect& parent, const QRect& available);

// Places the top-level `window` (not shown yet, or shown) centred on
// `parent` (or on the application's active window when null) and inside the
// free area of that window's screen. Without a parent window it stays where
// it is, fitted into its screen.
void PlaceOnParent(QWidget* window, QWidget* parent);

}  // namespace mirolat

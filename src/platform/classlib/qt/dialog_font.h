// The dialog font and the dialog base units derived from it. A template
// names its font ("MS Shell Dlg", 8 points); on Linux an installed family
// with close metrics stands in, and positions in dialog units become pixels
// the way the Windows dialog manager computes them.
#pragma once

#include <QFont>
#include <QRect>

#include <string>

namespace platform::classlib {

// Horizontal base unit: average width of the 52 letters; vertical: the
// font's height. One dialog unit is a quarter of the first, an eighth of
// the second.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;

    int ToPixelsX(int dlu) const;
    int ToPixelsY(int dlu) const;
    // x, y, width and height converted one by one, as the dialog manager does.
    QRect ToPixels(int x, int y, int cx, int cy) const;
};

// The installed font that stands in for typeface at pointSize points.
QFont DialogFont(const std::u16string& typeface, int pointSize);
DialogBaseUnits MeasureBaseUnits(const QFont& font);

// Rounds a * b / c to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c);

} // namespace platform::classlib

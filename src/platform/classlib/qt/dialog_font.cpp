#include "platform/classlib/qt/dialog_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <array>
#include <cstdlib>

namespace platform::classlib {
namespace {

// Families tried in order for the Windows dialog faces. DejaVu Sans
// Condensed at 8 points gives the same base units as the Windows dialog
// font (6 by 13 at 96 dpi), but its lower case runs a little wider, so its
// letters are set 3% closer: the labels laid out for the Windows font then
// fit their rectangles, and the base units stay the same. Plain DejaVu Sans
// is wider but always there.
struct StandIn {
    const char* family;
    int letterSpacingPercent;
};
constexpr std::array kStandIns = {StandIn{"Tahoma", 100}, StandIn{"Microsoft Sans Serif", 100},
                                  StandIn{"DejaVu Sans Condensed", 97}, StandIn{"Liberation Sans", 100},
                                  StandIn{"DejaVu Sans", 100}};

constexpr std::array<const char16_t*, 4> kWindowsDialogFaces = {u"MS Shell Dlg", u"MS Shell Dlg 2",
                                                                 u"MS Sans Serif", u"System"};

bool IsWindowsDialogFace(const std::u16string& typeface) {
    for (const char16_t* face : kWindowsDialogFaces)
        if (typeface == face)
            return true;
    return typeface.empty();
}

StandIn InstalledStandIn() {
    const QStringList families = QFontDatabase::families();
    for (const StandIn& candidate : kStandIns)
        if (families.contains(QString::fromLatin1(candidate.family), Qt::CaseInsensitive))
            return candidate;
    return StandIn{nullptr, 100};
}

int LogicalDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

} // namespace

int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int DialogBaseUnits::ToPixelsX(int dlu) const { return MulDiv(dlu, x, 4); }
int DialogBaseUnits::ToPixelsY(int dlu) const { return MulDiv(dlu, y, 8); }

QRect DialogBaseUnits::ToPixels(int left, int top, int cx, int cy) const {
    return QRect(ToPixelsX(left), ToPixelsY(top), ToPixelsX(cx), ToPixelsY(cy));
}

QFont DialogFont(const std::u16string& typeface, int pointSize) {
    QFont font;
    if (!IsWindowsDialogFace(typeface)) {
        font.setFamily(QString::fromStdU16String(typeface));
    } else if (const StandIn standIn = InstalledStandIn(); standIn.family) {
        font.setFamily(QString::fromLatin1(standIn.family));
        font.setLetterSpacing(QFont::PercentageSpacing, standIn.letterSpacingPercent);
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    }
    // The character height in pixels, as the dialog manager asks for it.
    font.setPixelSize(MulDiv(pointSize > 0 ? pointSize : 8, LogicalDpiY(), 72));
    return font;
}

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogBaseUnits{(width / 26 + 1) / 2, metrics.height()};
}

} // namespace platform::classlib

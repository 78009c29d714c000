// Device contexts. An HDC is the address of a PaintContext: a painter on the
// window being painted, or, when a context is opened outside the window's
// paint event, on a scratch image, so that drawing then reaches nothing (as
// painting outside WM_PAINT updates nothing on Windows).
#pragma once

#include "platform/wintypes.h"

#include <QImage>
#include <QPainter>

namespace platform::classlib {

struct PaintContext {
    QImage scratch;
    QPainter painter;
};

inline PaintContext* PaintContextFromHandle(HDC dc) { return reinterpret_cast<PaintContext*>(dc); }
inline HDC HandleOf(PaintContext* context) { return reinterpret_cast<HDC>(context); }

} // namespace platform::classlib

// Drawing an icon at its large size into a device context.
#include "platform/classlib/qt/icon_handles.h"
#include "platform/classlib/qt/paint_context.h"
#include "platform/uiservices/ui_services.h"

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    platform::classlib::PaintContext* context = platform::classlib::PaintContextFromHandle(dc);
    const QPixmap pixmap = platform::classlib::LargeIconPixmap(icon);
    if (!context || !context->painter.isActive() || pixmap.isNull())
        return FALSE;
    context->painter.drawPixmap(x, y, pixmap);
    return TRUE;
}

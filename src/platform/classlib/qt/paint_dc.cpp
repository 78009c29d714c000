// CPaintDC: a painter on the window during its paint event.
#include "platform/classlib/qt/dialog_window.h"
#include "platform/classlib/qt/paint_context.h"
#include "platform/classlib/wnd.h"

using platform::classlib::PaintContext;

CPaintDC::CPaintDC(CWnd* wnd) : m_pWnd(wnd) {
    auto* context = new PaintContext;
    QWidget* widget = wnd ? wnd->GetWidget() : nullptr;
    const auto* dialog = qobject_cast<const platform::classlib::DialogWindow*>(widget);
    if (dialog && dialog->IsPainting()) {
        context->painter.begin(widget);
    } else {
        // Outside the paint event there is nothing to update: draw aside.
        context->scratch = QImage(widget ? widget->size().expandedTo(QSize(1, 1)) : QSize(1, 1),
                                  QImage::Format_ARGB32_Premultiplied);
        context->painter.begin(&context->scratch);
    }
    m_hDC = platform::classlib::HandleOf(context);
}

CPaintDC::~CPaintDC() {
    PaintContext* context = platform::classlib::PaintContextFromHandle(m_hDC);
    context->painter.end();
    delete context;
}

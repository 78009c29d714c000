// CWnd::SendMessage: the message map first, then the built-in answers to the
// few messages the system sends by number.
#include "platform/classlib/qt/control_ops.h"
#include "platform/classlib/qt/dialog_window.h"
#include "platform/classlib/qt/icon_handles.h"
#include "platform/classlib/qt/paint_context.h"
#include "platform/classlib/wnd.h"

#include <array>

using namespace platform::classlib;

namespace {

struct BuiltIn {
    UINT message;
    LRESULT (*answer)(CWnd& window, WPARAM wParam, LPARAM lParam);
};

LRESULT SetIconMessage(CWnd& window, WPARAM wParam, LPARAM lParam) {
    const HICON icon = reinterpret_cast<HICON>(lParam);
    if (auto* dialog = qobject_cast<DialogWindow*>(window.GetWidget()))
        return reinterpret_cast<LRESULT>(dialog->SetIcon(icon, wParam != 0));
    if (QWidget* widget = window.GetWidget(); widget && IconFromHandle(icon))
        widget->setWindowIcon(*IconFromHandle(icon));
    return 0;
}

// Fills the window's background through the device context in wParam.
LRESULT IconEraseBackground(CWnd& window, WPARAM wParam, LPARAM) {
    PaintContext* context = PaintContextFromHandle(reinterpret_cast<HDC>(wParam));
    QWidget* widget = window.GetWidget();
    if (!context || !widget || !context->painter.isActive())
        return 0;
    context->painter.fillRect(widget->rect(), widget->palette().brush(widget->backgroundRole()));
    return 1;
}

LRESULT SysCommandDefault(CWnd& window, WPARAM wParam, LPARAM lParam) {
    if (auto* dialog = dynamic_cast<CDialog*>(&window))
        dialog->OnSysCommand(static_cast<UINT>(wParam), lParam);
    return 0;
}

constexpr std::array kBuiltIns = {
    BuiltIn{WM_SETICON, SetIconMessage},
    BuiltIn{WM_ICONERASEBKGND, IconEraseBackground},
    BuiltIn{WM_SYSCOMMAND, SysCommandDefault},
    BuiltIn{CB_GETCURSEL, [](CWnd& w, WPARAM, LPARAM) -> LRESULT { return ComboCurSel(w.GetWidget()); }},
    BuiltIn{CB_SETCURSEL,
            [](CWnd& w, WPARAM index, LPARAM) -> LRESULT {
                return ComboSetCurSel(w.GetWidget(), static_cast<int>(static_cast<INT_PTR>(index)));
            }},
    BuiltIn{EM_SETSEL,
            [](CWnd& w, WPARAM start, LPARAM end) -> LRESULT {
                EditSetSel(w.GetWidget(), static_cast<int>(static_cast<INT_PTR>(start)), static_cast<int>(end));
                return 0;
            }},
};

} // namespace

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
        return result;
    for (const BuiltIn& builtIn : kBuiltIns)
        if (builtIn.message == message)
            return builtIn.answer(*this, wParam, lParam);
    return 0;
}

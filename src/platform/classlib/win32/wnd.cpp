// CWnd over a window of the system: binding objects to windows, finding a
// dialog's controls, text, visibility, focus, icons, the system menu, the
// window's modal state and sending messages. Everything but the binding is
// the system's own call.
#include "platform/classlib/win32/dialog_window.h"
#include "platform/classlib/wnd.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>

using platform::classlib::DialogWindow;

namespace {

// The objects bound to each window, most recent last, so that GetDlgItem
// hands out the member bound by the data exchange.
std::unordered_map<HWND, std::vector<CWnd*>>& Bindings() {
    static std::unordered_map<HWND, std::vector<CWnd*>> bindings;
    return bindings;
}

CWnd* BoundObject(HWND window) {
    const auto it = Bindings().find(window);
    return it == Bindings().end() ? nullptr : it->second.back();
}

// A wrapper of the class that matches the control, for GetDlgItem.
std::unique_ptr<CWnd> WrapperFor(HWND control) {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    std::unique_ptr<CWnd> wrapper;
    if (lstrcmpiW(className, WC_COMBOBOXW) == 0)
        wrapper = std::make_unique<CComboBox>();
    else if (lstrcmpiW(className, WC_EDITW) == 0)
        wrapper = std::make_unique<CEdit>();
    else if (lstrcmpiW(className, WC_BUTTONW) == 0)
        wrapper = std::make_unique<CButton>();
    else
        wrapper = std::make_unique<CWnd>();
    wrapper->Attach(control);
    return wrapper;
}

} // namespace

namespace platform::classlib {

void UnbindWindowTree(HWND window) {
    std::vector<CWnd*> objects;
    for (const auto& [bound, bindings] : Bindings())
        if (bound == window || IsChild(window, bound))
            objects.insert(objects.end(), bindings.begin(), bindings.end());
    for (CWnd* object : objects)
        object->Attach(nullptr);
}

} // namespace platform::classlib

CWnd::~CWnd() { Attach(nullptr); }

void CWnd::Attach(HWND window) {
    if (m_hWnd == window)
        return;
    if (m_hWnd) {
        const auto it = Bindings().find(m_hWnd);
        if (it != Bindings().end()) {
            std::erase(it->second, this);
            if (it->second.empty())
                Bindings().erase(it);
        }
    }
    m_hWnd = window;
    if (window)
        Bindings()[window].push_back(this);
}

CWnd* CWnd::GetDlgItem(int id) const {
    const HWND control = m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr;
    if (!control)
        return nullptr;
    if (CWnd* bound = BoundObject(control))
        return bound;
    auto* dialog = dynamic_cast<CDialog*>(const_cast<CWnd*>(this));
    if (!dialog)
        return nullptr;
    auto& slot = dialog->m_tempControls[id];
    if (!slot || slot->GetSafeHwnd() != control)
        slot = WrapperFor(control);
    return slot.get();
}

int CWnd::GetDlgCtrlID() const { return m_hWnd ? ::GetDlgCtrlID(m_hWnd) : 0; }

void CWnd::SetWindowText(const char16_t* text) {
    if (m_hWnd)
        SetWindowTextW(m_hWnd, AsWide(text ? text : u""));
}

void CWnd::GetWindowText(CString& text) const {
    std::u16string buffer(static_cast<std::size_t>(GetWindowTextLength()) + 1, u'\0');
    const int length = m_hWnd ? GetWindowTextW(m_hWnd, AsWide(buffer.data()), static_cast<int>(buffer.size())) : 0;
    buffer.resize(static_cast<std::size_t>(std::max(length, 0)));
    text = CString(buffer);
}

int CWnd::GetWindowTextLength() const { return m_hWnd ? GetWindowTextLengthW(m_hWnd) : 0; }

BOOL CWnd::ShowWindow(int cmdShow) { return m_hWnd ? ::ShowWindow(m_hWnd, cmdShow) : FALSE; }

BOOL CWnd::IsWindowVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }

BOOL CWnd::EnableWindow(BOOL enable) { return m_hWnd ? ::EnableWindow(m_hWnd, enable) : FALSE; }

BOOL CWnd::IsWindowEnabled() const { return m_hWnd && ::IsWindowEnabled(m_hWnd); }

CWnd* CWnd::SetFocus() {
    const HWND previous = m_hWnd ? ::SetFocus(m_hWnd) : GetFocus();
    return previous ? BoundObject(previous) : nullptr;
}

BOOL CWnd::IsIconic() const { return m_hWnd && ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(LPRECT rect) const {
    if (!rect)
        return;
    *rect = RECT{0, 0, 0, 0};
    if (m_hWnd)
        ::GetClientRect(m_hWnd, rect);
}

void CWnd::UpdateWindow() {
    if (m_hWnd)
        ::UpdateWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hWnd ? SendMessageW(m_hWnd, message, wParam, lParam) : 0;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
    return m_hWnd ? reinterpret_cast<HICON>(SendMessageW(m_hWnd, WM_GETICON, bigIcon ? ICON_BIG : ICON_SMALL, 0))
                  : nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
    DialogWindow* dialog = DialogWindow::Of(m_hWnd);
    return dialog ? dialog->SystemMenu(revert != FALSE) : nullptr;
}

// The window is disabled for the operator (the system then drops clicks and
// keys to it and to its controls, and closing it) while it still paints and
// handles what reaches it from the program. The focus comes back where it
// was.
void CWnd::BeginModalState() {
    if (++m_modalDepth != 1 || !m_hWnd)
        return;
    const HWND focus = GetFocus();
    m_focusBeforeModalState = focus && (focus == m_hWnd || IsChild(m_hWnd, focus)) ? focus : nullptr;
    ::EnableWindow(m_hWnd, FALSE);
}

void CWnd::EndModalState() {
    if (m_modalDepth == 0 || --m_modalDepth > 0 || !m_hWnd)
        return;
    ::EnableWindow(m_hWnd, TRUE);
    if (m_focusBeforeModalState && IsWindow(m_focusBeforeModalState))
        ::SetFocus(m_focusBeforeModalState);
    m_focusBeforeModalState = nullptr;
}

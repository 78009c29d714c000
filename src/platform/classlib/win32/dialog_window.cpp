#include "platform/classlib/win32/dialog_window.h"

#include "platform/classlib/win32/combo_item_tips.h"

#include "platform/resources/resources.h"

#include <cstring>

namespace platform::classlib {
namespace {

constexpr WORD kExtendedTemplateSignature = 0xFFFF;

// Where the style sits: after dlgVer, signature, helpID and exStyle in an
// extended template; first in a plain one.
std::size_t StyleOffset(const std::uint8_t* bytes) {
    WORD signature = 0;
    std::memcpy(&signature, bytes + 2, sizeof signature);
    return signature == kExtendedTemplateSignature ? 12 : 0;
}

} // namespace

// Only the system's dialog class keeps the pointer in DWLP_USER.
DialogWindow* DialogWindow::Of(HWND hwnd) {
    constexpr ULONG_PTR kDialogClassAtom = 32770;
    if (!hwnd || GetClassLongPtrW(hwnd, GCW_ATOM) != kDialogClassAtom)
        return nullptr;
    return reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

const void* DialogWindow::Template(UINT templateId) {
    namespace res = platform::resources;
    const auto bytes = res::Find(res::ResId::Of(res::RT_DIALOG), res::ResId::Of(static_cast<WORD>(templateId)));
    if (!bytes || bytes->size() < 16)
        return nullptr;
    if (!IsHeadless())
        return bytes->data();
    m_hiddenTemplate.assign((bytes->size() + 3) / 4, 0);
    std::memcpy(m_hiddenTemplate.data(), bytes->data(), bytes->size());
    auto* copy = reinterpret_cast<std::uint8_t*>(m_hiddenTemplate.data());
    DWORD style = 0;
    std::memcpy(&style, copy + StyleOffset(copy), sizeof style);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(copy + StyleOffset(copy), &style, sizeof style);
    return copy;
}

INT_PTR DialogWindow::RunModal(UINT templateId, HWND owner) {
    const void* dialogTemplate = Template(templateId);
    if (!dialogTemplate)
        return -1;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(dialogTemplate), owner,
                                   Procedure, reinterpret_cast<LPARAM>(this));
}

HWND DialogWindow::CreateModeless(UINT templateId, HWND owner) {
    const void* dialogTemplate = Template(templateId);
    if (!dialogTemplate)
        return nullptr;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(dialogTemplate), owner,
                                      Procedure, reinterpret_cast<LPARAM>(this));
}

void DialogWindow::End(int result) {
    m_ended = true;
    if (m_hWnd)
        EndDialog(m_hWnd, result);
}

CMenu* DialogWindow::SystemMenu(bool revert) {
    if (!m_hWnd)
        return nullptr;
    if (revert) {
        GetSystemMenu(m_hWnd, TRUE);
        m_systemMenu.reset();
        return nullptr;
    }
    const HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return nullptr;
    if (!m_systemMenu || m_systemMenu->GetSafeHmenu() != menu)
        m_systemMenu = std::make_unique<CMenu>(&m_owner, menu);
    return m_systemMenu.get();
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<DialogWindow*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        window->m_hWnd = hwnd;
        window->m_owner.Attach(hwnd);
        // TRUE: the dialog manager gives the focus to the first tab stop.
        return window->m_owner.OnInitDialog();
    }
    DialogWindow* window = Of(hwnd);
    return window ? window->Handle(message, wParam, lParam) : FALSE;
}

// A control's notification (lParam names the control) that arrives while the
// data exchange holds them, while a long operation holds off the operator's
// input, or after the dialog has ended, acts on nothing.
bool DialogWindow::DropsCommand(WPARAM, LPARAM lParam) const {
    return lParam != 0 && (m_holds > 0 || m_ended || m_owner.InModalState());
}

INT_PTR DialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (DropsCommand(wParam, lParam))
            return TRUE;
        if (HIWORD(wParam) == CBN_DROPDOWN)
            ShowItemTipsWhileOpen(reinterpret_cast<HWND>(lParam));
        break;
    case WM_DESTROY:
        // The controls go with the window: the objects bound to them let go.
        UnbindWindowTree(m_hWnd);
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        m_systemMenu.reset();
        return FALSE;
    default:
        break;
    }
    LRESULT result = 0;
    if (!m_owner.OnWndMsg(message, wParam, lParam, &result))
        return FALSE;  // the dialog manager's default handling
    // The few messages whose answer is the procedure's own result; every
    // other answer goes through DWLP_MSGRESULT.
    if (message == WM_QUERYDRAGICON)
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

} // namespace platform::classlib

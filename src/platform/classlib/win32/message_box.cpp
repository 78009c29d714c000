// Message boxes owned by a window or by the application: the test hook when
// one is set (and the command line's answerer), else the system's box.
#include "platform/classlib/app_title.h"
#include "platform/classlib/wnd.h"
#include "platform/testing/ui_hooks.h"

namespace {

int RunMessageBox(HWND owner, const char16_t* text, const std::u16string& caption, UINT type) {
    const std::u16string body = text ? text : u"";
    if (const auto& hook = platform::testing::GetMessageBoxHook())
        return hook(platform::testing::MessageBoxCall{body, caption, type});
    return MessageBoxW(owner, AsWide(body.c_str()), AsWide(caption.c_str()), type);
}

// A box without an explicit owner belongs to the window the operator is
// working in, else to the application's main window.
HWND DefaultOwner() {
    if (const HWND active = GetActiveWindow())
        return active;
    const CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}

} // namespace

int CWnd::MessageBox(const char16_t* text, const char16_t* caption, UINT type) {
    const std::u16string title = caption ? std::u16string(caption) : platform::classlib::AppTitle();
    return RunMessageBox(m_hWnd, text, title, type);
}

int AfxMessageBox(const char16_t* text, UINT type, UINT) {
    return RunMessageBox(DefaultOwner(), text, platform::classlib::AppTitle(), type);
}

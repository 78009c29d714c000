// Message boxes owned by a window or by the application.
#include "platform/classlib/app_title.h"
#include "platform/classlib/qt/message_box.h"
#include "platform/classlib/wnd.h"

int CWnd::MessageBox(const char16_t* text, const char16_t* caption, UINT type) {
    const std::u16string title = caption ? std::u16string(caption) : platform::classlib::AppTitle();
    return platform::classlib::RunMessageBox(m_pWidget, text ? text : u"", title, type);
}

int AfxMessageBox(const char16_t* text, UINT type, UINT) {
    return platform::classlib::RunMessageBox(nullptr, text ? text : u"", platform::classlib::AppTitle(), type);
}

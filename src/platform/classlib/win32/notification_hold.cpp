// The hold on Windows: the dialog procedure drops its controls' notifications.
#include "platform/classlib/notification_hold.h"

#include "platform/classlib/win32/dialog_window.h"

namespace platform::classlib {

struct NotificationHold::Held {
    DialogWindow* dialog;
};

NotificationHold::NotificationHold(CWnd& window) : m_held(new Held{DialogWindow::Of(window.GetSafeHwnd())}) {
    if (m_held->dialog)
        m_held->dialog->Hold();
}

NotificationHold::~NotificationHold() {
    if (m_held->dialog)
        m_held->dialog->Release();
}

} // namespace platform::classlib

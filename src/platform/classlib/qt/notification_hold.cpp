// The hold on Linux: the dialog window drops its controls' notifications.
#include "platform/classlib/notification_hold.h"

#include "platform/classlib/qt/dialog_window.h"
#include "platform/classlib/wnd.h"

namespace platform::classlib {

struct NotificationHold::Held {
    DialogWindow::NotificationHold hold;
};

NotificationHold::NotificationHold(CWnd& window)
    : m_held(new Held{DialogWindow::NotificationHold(qobject_cast<DialogWindow*>(window.GetWidget()))}) {}

NotificationHold::~NotificationHold() = default;

} // namespace platform::classlib

// While a hold is alive, the controls of a dialog raise no notifications: the
// data exchange touches controls (its message box takes the focus, the focus
// goes back to a refused box) without the handlers reacting to it.
#pragma once

#include <memory>

class CWnd;

namespace platform::classlib {

class NotificationHold {
public:
    // window: the dialog whose controls are held; any other window holds nothing.
    explicit NotificationHold(CWnd& window);
    ~NotificationHold();
    NotificationHold(const NotificationHold&) = delete;
    NotificationHold& operator=(const NotificationHold&) = delete;

private:
    struct Held;
    std::unique_ptr<Held> m_held;
};

} // namespace platform::classlib

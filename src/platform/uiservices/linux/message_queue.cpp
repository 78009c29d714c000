// The thread's message queue on Linux: the toolkit's event queue. Taking a
// message off it means letting the toolkit deliver what is waiting.
#include "platform/uiservices/ui_services.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include <chrono>

namespace {

// Counts the events the toolkit delivers while it is installed.
class DeliveryCounter : public QObject {
public:
    int delivered = 0;

protected:
    bool eventFilter(QObject*, QEvent*) override {
        ++delivered;
        return false;
    }
};

DWORD MillisecondsSinceStart() {
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

// One round of the toolkit's pending events is delivered; TRUE when at
// least one was. Window and range filters are not applied, and PM_NOREMOVE
// delivers too: the toolkit cannot look at its queue without handling it.
BOOL PeekMessageW(MSG* msg, HWND, UINT, UINT, UINT) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return FALSE;
    DeliveryCounter counter;
    app->installEventFilter(&counter);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(&counter);
    if (counter.delivered == 0)
        return FALSE;
    if (msg) {
        const QPoint cursor = qobject_cast<QGuiApplication*>(app) ? QCursor::pos() : QPoint();
        *msg = MSG{nullptr, 0, 0, 0, MillisecondsSinceStart(), POINT{cursor.x(), cursor.y()}};
    }
    return TRUE;
}

// Keys were turned into characters by the toolkit already.
BOOL TranslateMessage(const MSG*) { return FALSE; }

// The toolkit delivered the message when PeekMessageW took it.
LRESULT DispatchMessageW(const MSG*) { return 0; }

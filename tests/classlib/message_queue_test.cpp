// Draining the thread's queue the way the fusing run does between chunks.
#include "platform/uiservices/ui_services.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

namespace {

class Receiver : public QObject {
public:
    int received = 0;
    int repostsLeft = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++received;
        if (repostsLeft > 0) {
            --repostsLeft;
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return true;
    }
};

int Drain() {
    MSG msg{};
    int rounds = 0;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (++rounds > 1000)
            break;
    }
    return rounds;
}

TEST(MessageQueue, PeekDeliversWaitingEventsUntilNoneIsLeft) {
    Drain();
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));

    Receiver receiver;
    for (int i = 0; i < 5; ++i)
        QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    // Events posted while handling are drained too.
    receiver.repostsLeft = 3;
    const int rounds = Drain();
    EXPECT_EQ(receiver.received, 8);
    EXPECT_GE(rounds, 1);
    EXPECT_LT(rounds, 1000);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(UiServices, MetricsAndCommonControls) {
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), 32);
    EXPECT_EQ(GetSystemMetrics(9999), 0);
    const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    EXPECT_TRUE(InitCommonControlsEx(&init));
    const INITCOMMONCONTROLSEX wrongSize{4, ICC_WIN95_CLASSES};
    EXPECT_FALSE(InitCommonControlsEx(&wrongSize));
    EXPECT_FALSE(DrawIcon(nullptr, 0, 0, nullptr));
}

} // namespace

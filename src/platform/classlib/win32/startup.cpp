// The program's start on Windows: the application object's InitInstance.
// When it returns FALSE the process ends at once; TRUE would run the
// application's own message loop until the quit message.
#include "platform/classlib/startup.h"

#include "platform/classlib/wnd.h"

int AfxWinMain(int, char**) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    if (!app->InitInstance())
        return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

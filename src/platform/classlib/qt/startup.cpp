// The program's start: the toolkit's application object, then the
// application object's InitInstance. When it returns FALSE the process ends
// at once; TRUE would start the application's own event loop.
#include "platform/classlib/startup.h"

#include "platform/classlib/wnd.h"

#include <QApplication>

int AfxWinMain(int argc, char** argv) {
    QApplication application(argc, argv);
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    if (!app->InitInstance())
        return 0;
    return QApplication::exec();
}

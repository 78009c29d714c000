// Common controls on Linux: the widget style that draws controls the way
// the Windows dialog does, and the dialog font ready for the first dialog.
#include "platform/classlib/qt/dialog_font.h"
#include "platform/uiservices/ui_services.h"

#include <QApplication>
#include <QStyleFactory>

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX) || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return FALSE;
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(style);
    // Looks the stand-in family up once, so the first dialog opens at once.
    platform::classlib::DialogFont(u"MS Shell Dlg", 8);
    return TRUE;
}

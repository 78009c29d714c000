// The program's name and icons, from the toolkit and the linked resources.
#include "platform/classlib/app_title.h"
#include "platform/classlib/qt/icon_handles.h"

#include <QCoreApplication>

namespace platform::classlib {

std::u16string ProgramName() {
    return QCoreApplication::instance() ? QCoreApplication::applicationName().toStdU16String() : std::u16string();
}

HICON LoadResourceIcon(WORD id) { return ResourceIconHandle(id); }

} // namespace platform::classlib

// Icon handles. An HICON is the address of a QIcon that lives for the whole
// process: icons loaded from the program's resources are shared and never
// destroyed, as resource icons are on Windows.
#pragma once

#include "platform/wintypes.h"

#include <QIcon>
#include <QPixmap>

namespace platform::classlib {

// The icon group id from the linked resources at the large-icon size, or
// nullptr when there is no such group.
HICON ResourceIconHandle(WORD groupId);
const QIcon* IconFromHandle(HICON icon);
// The pixmap an icon handle draws at the large-icon size.
QPixmap LargeIconPixmap(HICON icon);

} // namespace platform::classlib

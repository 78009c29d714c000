// The application's title, the caption of message boxes that name none, and
// the two facts about the program that each system finds its own way.
#pragma once

#include "platform/wintypes.h"

#include <string>

namespace platform::classlib {

// The name given to the application object; else the string table's
// application title (57344); else the program's name.
std::u16string AppTitle();

// The program's name: its file name without extension.
std::u16string ProgramName();

// Icon resource id (an icon group) at the system's large-icon size.
HICON LoadResourceIcon(WORD id);

} // namespace platform::classlib

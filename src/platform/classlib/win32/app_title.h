// The application's title: the caption of message boxes that name none.
#pragma once

#include <string>

namespace platform::classlib {

// The name given to the application object; else the string table's
// application title (57344); else the program's file name without extension.
std::u16string AppTitle();

} // namespace platform::classlib

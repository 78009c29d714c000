// Adds one initial item to a dialog's combo box, each system its own way.
#pragma once

#include "platform/classlib/wnd.h"

#include <string>

namespace platform::classlib {

void AddInitialListItem(CDialog& dialog, int controlId, const std::u16string& text);

} // namespace platform::classlib

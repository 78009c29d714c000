// Item tooltips on Windows: while a drop-down list of a dialog is open, the
// item under the pointer shows what the tooltip provider says of it (see
// classlib/combo_item_tooltips.h).
#pragma once

#include "platform/wintypes.h"

namespace platform::classlib {

// Called when combo's list drops down; does nothing without a provider.
void ShowItemTipsWhileOpen(HWND combo);

} // namespace platform::classlib

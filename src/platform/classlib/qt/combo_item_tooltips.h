// Tooltips for the items of a dialog's lists (a Linux extension). The start-up
// code can install a provider; each time a list's popup opens it is asked for
// every item's tooltip, so that, for example, the drive list can name the
// device behind each letter. An empty answer means no tooltip.
#pragma once

#include <functional>
#include <string>

namespace platform::classlib {

using ComboItemToolTipProvider = std::function<std::u16string(int controlId, const std::u16string& itemText)>;

void SetComboItemToolTipProvider(ComboItemToolTipProvider provider);
const ComboItemToolTipProvider& GetComboItemToolTipProvider();

} // namespace platform::classlib

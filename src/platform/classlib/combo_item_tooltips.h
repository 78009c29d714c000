// Tooltips for the items of a dialog's lists (an extension of the tool). The
// start-up code can install a provider; when a list's popup opens or the
// pointer rests on an item it is asked for the item's tooltip, so that, for
// example, the drive list can name the device behind each letter. An empty
// answer means no tooltip.
#pragma once

#include <functional>
#include <string>

namespace platform::classlib {

using ComboItemToolTipProvider = std::function<std::u16string(int controlId, const std::u16string& itemText)>;

void SetComboItemToolTipProvider(ComboItemToolTipProvider provider);
const ComboItemToolTipProvider& GetComboItemToolTipProvider();

} // namespace platform::classlib

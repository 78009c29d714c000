#include "platform/classlib/combo_item_tooltips.h"

namespace platform::classlib {
namespace {
ComboItemToolTipProvider& Provider() {
    static ComboItemToolTipProvider provider;
    return provider;
}
} // namespace

void SetComboItemToolTipProvider(ComboItemToolTipProvider provider) { Provider() = std::move(provider); }
const ComboItemToolTipProvider& GetComboItemToolTipProvider() { return Provider(); }

} // namespace platform::classlib

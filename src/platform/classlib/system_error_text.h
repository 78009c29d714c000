// The system's own text for one of its error numbers (errno on Linux, a
// system error code on Windows), for the standard file-error box.
#pragma once

#include "platform/wintypes.h"

#include <string>

namespace platform::classlib {

std::u16string SystemErrorText(LONG osError);

} // namespace platform::classlib

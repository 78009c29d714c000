// Linux errno values turned into the system error codes callers of the
// storage services expect from GetLastError, so that "Error = %d," and the
// callers' tests see the same codes they would on the original system.
#pragma once

#include "platform/wintypes.h"

namespace platform::storage {

// The error code for errno value err; ERROR_GEN_FAILURE for one without a
// closer match.
DWORD ErrorFromErrno(int err);

} // namespace platform::storage

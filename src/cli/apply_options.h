// Puts the options of the command line into the dialog the way the operator's
// own actions would: a list choice selects the item and runs the list's
// handler, which sets the size or unit that hangs on it; numbers and paths go
// into their members; then the controls are refreshed from the members, so
// that the run's own exchanges take the same values back in.
#pragma once

#include "cli/fuse_options.h"

class CVEXODlg;

namespace cli {

void ApplyOptions(CVEXODlg& dialog, const FuseOptions& options);

// The drive list item showing letter, or -1.
int FindDriveItem(const CVEXODlg& dialog, char letter);

} // namespace cli

// "strovane fuse [options]": the fusing run of the dialog, without a screen.
#pragma once

namespace cli {
// argv[0] is "fuse". Returns the process exit status.
int RunFuseCommand(int argc, char** argv);
}

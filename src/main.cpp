// Entry point: the Linux command line, then the dialog.
//   strovane [--drive L=PATH]...          the dialog
//   strovane [--drive L=PATH]... --list-drives
//   strovane fuse [options]               fusing without a screen
#include "cli/fuse_command.h"
#include "device/drive_list_tips.h"
#include "platform/classlib/startup.h"
#include "platform/storage/linux/disk_namespace.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kUsage[] =
    "usage: strovane [--drive L=PATH]... [--list-drives]\n"
    "       strovane fuse [options]   (see strovane fuse --help)\n"
    "\n"
    "  --drive L=PATH   give drive letter L (D to Z) to the card image file PATH\n"
    "  --list-drives    print the drive letters, their devices, disk numbers and sizes\n";

int ListDrives() {
    const auto lines = platform::storage::DescribeDrives(platform::storage::DiskNamespace::Current());
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    if (lines.empty())
        std::fputs("strovane: no drive letters: no card reader, removable disk or loop device with a backing file "
                   "is attached (an image file can be given with --drive L=PATH)\n",
                   stderr);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "fuse") == 0)
        return cli::RunFuseCommand(argc - 1, argv + 1);

    bool listDrives = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--list-drives") {
            listDrives = true;
        } else if (arg == "--drive" && i + 1 < argc) {
            const std::string spec = argv[++i];
            const std::string error = spec.size() > 2 && spec[1] == '='
                ? platform::storage::DiskNamespace::Current().AddImageDrive(spec[0], spec.substr(2))
                : "expected L=PATH, got \"" + spec + "\"";
            if (!error.empty()) {
                std::fprintf(stderr, "strovane: --drive: %s\n", error.c_str());
                return 2;
            }
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "strovane: unknown argument \"%s\"\n\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (listDrives)
        return ListDrives();
    InstallDriveListTips();
    return AfxWinMain(argc, argv);
}

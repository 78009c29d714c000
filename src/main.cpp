// Entry point: the command line, then the dialog.
//   strovane [--drive L=PATH]...          the dialog
//   strovane [--drive L=PATH]... --list-drives
//   strovane fuse [options]               fusing without a screen
#include "cli/fuse_command.h"
#include "device/drive_list_tips.h"
#include "platform/classlib/startup.h"
#include "platform/process/process.h"
#include "platform/storage/drives.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: strovane [--drive L=PATH]... [--list-drives]\n"
    "       strovane fuse [options]   (see strovane fuse --help)\n"
    "\n"
    "  --drive L=PATH   give drive letter L (D to Z) to the card image file PATH\n"
    "  --list-drives    print the drive letters, their devices, disk numbers and sizes\n";

int ListDrives() {
    const auto lines = platform::storage::DescribeDrives();
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    if (lines.empty())
        std::fputs("strovane: no drive letters: no card reader, removable disk or loop device with a backing file "
                   "is attached (an image file can be given with --drive L=PATH)\n",
                   stderr);
    return 0;
}

int RunFuse(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::size_t i = 1; i < args.size(); ++i)
        argv.push_back(args[i].data());
    argv.push_back(nullptr);
    return cli::RunFuseCommand(static_cast<int>(args.size()) - 1, argv.data());
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args = platform::process::Arguments(argc, argv);
    if (args.size() > 1)
        platform::process::UseStartingConsole();
    if (args.size() > 1 && args[1] == "fuse")
        return RunFuse(args);

    bool listDrives = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--list-drives") {
            listDrives = true;
        } else if (arg == "--drive" && i + 1 < args.size()) {
            const std::string& assignment = args[++i];
            const std::string error = assignment.size() > 2 && assignment[1] == '='
                ? platform::storage::AddImageDrive(assignment[0], assignment.substr(2))
                : "expected L=PATH, got \"" + assignment + "\"";
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

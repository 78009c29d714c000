// Drives one whole fusing run of the dialog without a screen, for the
// throughput benchmark (bench/fuse_throughput.sh): picks the card's drive
// letter, sets the three image paths and the root file-system start sector,
// presses START, and prints how long the run took and how much memory the
// process held before and at its peak.
//
//   fuse_bench CARD BOOTLOADER KERNEL ROOTFS START_SECTOR
//
// CARD is a card image file (it gets drive letter E) or a loop device that
// the machine offers under a drive letter. Message boxes are answered with
// OK and printed to standard error.
#include "platform/storage/linux/disk_namespace.h"
#include "platform/testing/ui_hooks.h"
#include "platform/text/wide_format.h"
#include "ui/VEXODlg.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

// A line of /proc/self/status such as VmHWM, in KiB.
long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    return -1;
}

// The drive letter the card goes by: its own letter for an image file, the
// machine's letter for a loop device.
char CardLetter(const std::string& card) {
    using platform::storage::DiskNamespace;
    DiskNamespace& disks = DiskNamespace::Current();
    struct stat info {};
    if (::stat(card.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        const std::string error = disks.AddImageDrive('E', card);
        if (!error.empty()) {
            std::fprintf(stderr, "fuse_bench: %s\n", error.c_str());
            return 0;
        }
        return 'E';
    }
    for (const platform::storage::Volume& volume : disks.Volumes()) {
        const platform::storage::Disk* disk = volume.extents.empty() ? nullptr : disks.FindDisk(volume.extents.front().diskNumber);
        if (disk && (disk->devicePath == card || volume.devicePath == card))
            return volume.letter;
    }
    std::fprintf(stderr, "fuse_bench: no drive letter for %s\n", card.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: fuse_bench CARD BOOTLOADER KERNEL ROOTFS START_SECTOR\n");
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    const char letter = CardLetter(argv[1]);
    if (letter == 0)
        return 2;

    bool done = false;
    platform::testing::SetMessageBoxHook([&done](const platform::testing::MessageBoxCall& call) {
        std::fprintf(stderr, "box: %s | %s\n", platform::text::ToUtf8(call.text).c_str(),
                     platform::text::ToUtf8(call.caption).c_str());
        done = done || call.text == u"Fusing image done";
        return IDOK;
    });

    CVEXODlg dlg;
    if (!dlg.Create(IDD_VEXO_DIALOG))
        return 2;
    dlg.ShowWindow(SW_SHOW);
    dlg.m_cbDrive.SetCurSel(letter - 'D');
    dlg.m_strBootloaderPath = platform::text::FromUtf8(argv[2]).c_str();
    dlg.m_strKernelPath = platform::text::FromUtf8(argv[3]).c_str();
    dlg.m_strRootfsPath = platform::text::FromUtf8(argv[4]).c_str();
    dlg.m_nRootfsStartSector = static_cast<DWORD>(std::strtoul(argv[5], nullptr, 10));
    dlg.UpdateData(FALSE);
    app.processEvents();

    const long baseline = StatusKiB("VmHWM");
    const auto begin = std::chrono::steady_clock::now();
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED), 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

    std::printf("\nrun_seconds=%.3f\nbaseline_peak_kib=%ld\npeak_kib=%ld\n", seconds, baseline, StatusKiB("VmHWM"));
    return done ? 0 : 1;
}

// The bootloader, kernel and root file system fused onto a real block device
// (a loop device over a card image), so that the unbuffered read-back runs
// against the kernel's block layer. Needs root and losetup; skips otherwise.
#include "card_fixture.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace enginetest;

namespace {

std::string RunCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        if (::pclose(pipe) != 0)
            return "";
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == ' '))
        output.pop_back();
    return output;
}

} // namespace

class LoopDevice : public CardTest {
public:
    void TearDown() override {
        if (!m_loop.empty())
            RunCommand("losetup -d " + m_loop);
        CardTest::TearDown();
    }

protected:
    std::string m_loop;
};

TEST_F(LoopDevice, FusesAndVerifiesOnABlockDevice) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to attach a loop device";
    if (RunCommand("command -v losetup").empty())
        GTEST_SKIP() << "losetup is not installed";

    const DWORD t = 65536;  // 32 MiB
    InsertCard(t);
    m_loop = RunCommand("losetup -f --show " + cardPath + " 2>/dev/null");
    if (m_loop.empty())
        GTEST_SKIP() << "losetup could not attach a loop device here";

    platform::storage::DiskNamespace& disks = platform::storage::DiskNamespace::Current();
    disks.Rescan();
    int loopDisk = -1;
    for (const platform::storage::Disk& disk : disks.Disks())
        if (disk.devicePath == m_loop)
            loopDisk = disk.number;
    ASSERT_GT(loopDisk, 0) << m_loop << " is not among the disks";
    dlg->m_nDiskNumber = loopDisk;
    dlg->m_nTotalSectors = t;

    const std::vector<BYTE> bootloader = ImageBytes(300000, 1), kernel = ImageBytes(2000000, 2),
                            rootfs = ImageBytes(kChunk + 4096, 3);
    Open(dlg->m_fileBootloader, WriteImage("boot.bin", bootloader));
    ASSERT_EQ(dlg->FuseBootloader(), 1);
    Open(dlg->m_fileKernel, WriteImage("zImage", kernel));
    ASSERT_EQ(dlg->FuseKernel(), 1);
    dlg->m_nRootfsStartSector = 2048;
    dlg->UpdateData(FALSE);
    Open(dlg->m_fileRootfs, WriteImage("rootfs.img", rootfs));
    ASSERT_EQ(dlg->FuseRootfs(), 1);
    EXPECT_TRUE(boxes.empty());

    RunCommand("losetup -d " + m_loop);
    m_loop.clear();
    EXPECT_EQ(CardAt(t - 1074, bootloader.size()), bootloader);
    EXPECT_EQ(CardAt(t - 9266, kernel.size()), kernel);
    EXPECT_EQ(CardAt(2048, rootfs.size()), rootfs);
}

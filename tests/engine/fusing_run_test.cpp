// START: the drive check, the three steps in order with each skipped when
// its file does not open, the completion message and the clearing after
// it, a failure ending the run, a file error ending it with the file-error
// box, and operator input held off while the run handles messages.
#include "card_fixture.h"
#include "platform/text/wide_format.h"

#include <QApplication>
#include <QMetaObject>
#include <QTest>
#include <QWidget>

#include <cstring>

using namespace enginetest;

namespace {

const std::u16string kDone = u"Fusing image done|NOTICE";

} // namespace

class FusingRun : public CardTest {
public:
    void Start() {
        dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                         reinterpret_cast<LPARAM>(dlg->GetDlgItem(IDC_START)->GetSafeHwnd()));
    }
    // Sets the image paths (empty: no such step) and shows them.
    void SetPaths(const std::string& bootloader, const std::string& kernel, const std::string& rootfs) {
        dlg->m_strBootloaderPath = U16(bootloader).c_str();
        dlg->m_strKernelPath = U16(kernel).c_str();
        dlg->m_strRootfsPath = U16(rootfs).c_str();
        dlg->UpdateData(FALSE);
    }
    void SetRootfsStart(DWORD sector) {
        dlg->m_nRootfsStartSector = sector;
        dlg->UpdateData(FALSE);
    }
    // Runs START with standard output captured; returns what it printed.
    std::string StartCapturingOutput() {
        testing::internal::CaptureStdout();
        Start();
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(FusingRun, NoDriveChosenStopsAtTheDriveCheck) {
    InsertCard(60000);
    SetPaths(WriteImage("boot.bin", ImageBytes(3000)), WriteImage("zImage", ImageBytes(3000)), "");
    dlg->m_cbDrive.SetCurSel(-1);
    EXPECT_EQ(StartCapturingOutput(), "");
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Choose SDMMC card drive|ERROR"});
    EXPECT_TRUE(DataRanges(cardPath).empty());
    EXPECT_FALSE(dlg->InModalState());
}

TEST_F(FusingRun, AllPathsEmptyEndsSilently) {
    InsertCard(60000);
    SetPaths("", "", "");
    dlg->m_strBlFrom = u"kept";
    EXPECT_EQ(StartCapturingOutput(), "Something wrong!Something wrong!Something wrong!");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dlg->m_strBlFrom, u"kept");
}

TEST_F(FusingRun, OnlyAKernel) {
    const DWORD t = 60000, k = t - 9266;
    InsertCard(t);
    const std::vector<BYTE> kernel = ImageBytes(100000);
    SetPaths("", WriteImage("zImage", kernel), "");
    SetRootfsStart(500);
    EXPECT_EQ(StartCapturingOutput(), "Something wrong!Something wrong!");
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{kDone});
    EXPECT_EQ(CardAt(k, kernel.size()), kernel);
    // After the completion message the results are cleared and shown cleared.
    for (const CString* text : {&dlg->m_strKernelFrom, &dlg->m_strKernelTo, &dlg->m_strKernelDrive, &dlg->m_strProgress})
        EXPECT_TRUE(text->IsEmpty());
    EXPECT_EQ(ControlText(IDC_KERNEL_FROM), u"");
    EXPECT_EQ(dlg->m_nRootfsStartSector, 0u);
    EXPECT_EQ(ControlText(IDC_ROOTFS_START_SECTOR), u"0");
    EXPECT_FALSE(dlg->m_fileKernel.IsOpen());
    EXPECT_FALSE(dlg->InModalState());
}

TEST_F(FusingRun, BootloaderThatCannotFitStopsTheRunWithItsRangeShown) {
    const DWORD t = 60000;
    InsertCard(t);
    SetPaths(WriteImage("boot.bin", ImageBytes(600000)), WriteImage("zImage", ImageBytes(3000)),
             WriteImage("rootfs.img", ImageBytes(3000)));
    EXPECT_EQ(StartCapturingOutput(), "");
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Check the partition and file size|ERROR"});
    EXPECT_EQ(dlg->m_strBlFrom.Str(), U16(std::to_string(t - 1074)));
    EXPECT_EQ(ControlText(IDC_BL_TO), U16(std::to_string(t - 3)));
    EXPECT_TRUE(DataRanges(cardPath).empty());  // neither BL1 nor the later images
    EXPECT_FALSE(dlg->m_fileBootloader.IsOpen());
}

TEST_F(FusingRun, RootfsFailingOnItsThirdChunk) {
    InsertCard(41000);  // from sector 1000, two chunks and 7232 sectors fit
    UseTestCard();
    const std::vector<BYTE> rootfs = ImageBytes(3 * kChunk - 1);
    SetPaths("", "", WriteImage("rootfs.img", rootfs));
    SetRootfsStart(1000);
    StartCapturingOutput();
    EXPECT_EQ(Boxes(), (std::vector<std::u16string>{u"Only copy 7232 sectors|ERROR", u"Can not write image file|ERROR"}));
    EXPECT_EQ(dlg->m_strProgress, u"  66 %");
    EXPECT_EQ(ControlText(IDC_PROGRESS), u"  66 %");
    EXPECT_EQ(dlg->m_nRootfsStartSector, 1000u);
    EXPECT_EQ(CardAt(1000, 2 * kChunk), std::vector<BYTE>(rootfs.begin(), rootfs.begin() + 2 * kChunk));
    EXPECT_FALSE(dlg->m_fileRootfs.IsOpen());
}

TEST_F(FusingRun, TwoRunsInARowWriteTheRootfsFromSectorZeroTheSecondTime) {
    const DWORD t = 60000;
    InsertCard(t);
    const std::vector<BYTE> bootloader = ImageBytes(20000, 1), kernel = ImageBytes(70000, 2), rootfs = ImageBytes(1 << 20, 3);
    SetPaths(WriteImage("boot.bin", bootloader), WriteImage("zImage", kernel), WriteImage("rootfs.img", rootfs));
    SetRootfsStart(100);

    StartCapturingOutput();
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{kDone});
    EXPECT_EQ(CardAt(100, rootfs.size()), rootfs);
    EXPECT_EQ(CardAt(t - 1074, bootloader.size()), bootloader);
    EXPECT_EQ(CardAt(t - 9266, kernel.size()), kernel);
    EXPECT_EQ(dlg->m_nRootfsStartSector, 0u);
    EXPECT_TRUE(dlg->m_strBlFrom.IsEmpty());

    boxes.clear();
    StartCapturingOutput();
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{kDone});
    EXPECT_EQ(CardAt(0, rootfs.size()), rootfs);
    EXPECT_EQ(dlg->m_nStartSector, 0u);
}

TEST_F(FusingRun, InputBetweenTwoChunksDoesNotActOnTheRun) {
    InsertCard(60000);
    UseTestCard();
    dlg->ShowWindow(SW_SHOW);
    QWidget* dialog = dlg->GetWidget();
    dialog->activateWindow();
    QWidget* startButton = dlg->GetDlgItem(IDC_START)->GetWidget();
    QWidget* driveList = dlg->GetDlgItem(IDC_DRIVE)->GetWidget();
    SetPaths("", "", WriteImage("rootfs.img", ImageBytes(3 * kChunk)));
    SetRootfsStart(0);

    bool posted = false;
    bool operatorActed = false;
    bool inRunWhileActing = false;
    afterTransfer = [&](const Transfer& t) {
        if (!t.write || posted)
            return;
        posted = true;
        // Runs at the first chance the run gives the dialog: between chunks.
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                inRunWhileActing = dlg->InModalState();
                QTest::mouseClick(startButton, Qt::LeftButton);
                QTest::keyClick(dialog, Qt::Key_Return);
                QTest::keyClick(driveList, Qt::Key_Down);
                Start();  // a START that slips through to the handler
                operatorActed = true;
            },
            Qt::QueuedConnection);
    };

    const std::string out = StartCapturingOutput();
    afterTransfer = nullptr;
    ASSERT_TRUE(operatorActed);
    EXPECT_TRUE(inRunWhileActing);
    EXPECT_EQ(Boxes(), std::vector<std::u16string>{kDone});
    EXPECT_EQ(Writes().size(), 3u);  // one run, three chunks, nothing more
    EXPECT_EQ(out, "Something wrong!Something wrong!");
    EXPECT_EQ(dlg->m_cbDrive.GetCurSel(), 1);
    EXPECT_EQ(dlg->m_nDiskNumber, cardDisk);
    EXPECT_FALSE(dlg->InModalState());
}

// Reading /proc/self/mem at offset 0 fails with an input/output error.
TEST_F(FusingRun, FileErrorEndsTheRunWithTheFileErrorBox) {
    InsertCard(60000);
    SetPaths("/proc/self/mem", WriteImage("zImage", ImageBytes(3000)), "");
    StartCapturingOutput();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes.front().text.find(u"/proc/self/mem"), std::u16string::npos) << platform::text::ToUtf8(boxes.front().text);
    EXPECT_NE(boxes.front().style & MB_ICONSTOP, 0u);
    EXPECT_FALSE(dlg->m_fileBootloader.IsOpen());
    EXPECT_FALSE(dlg->m_fileKernel.IsOpen());
    EXPECT_TRUE(DataRanges(cardPath).empty());
    EXPECT_FALSE(dlg->InModalState());
}

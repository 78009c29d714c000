// The main dialog driven through its real widgets: what it shows after
// start-up, the data exchange of the number boxes and paths, the lists, the
// Browse buttons and the keys that start a run or end the dlg->
#include "dialog_fixture.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using platform::testing::FileDialogCall;

TEST_F(DialogTest, StartsWithTheListsSelectedAsTheMembersSay) {
    WithDialog([&] {
        struct Row {
            int list;
            int item;
        };
        const Row rows[] = {
            {IDC_DRIVE, -1}, {IDC_SRAM_SIZE, 1}, {IDC_EFUSE_SIZE, 0},
            {IDC_BOOTLOADER_UNIT, 0}, {IDC_KERNEL_UNIT, 1}, {IDC_ROOTFS_UNIT, 1},
        };
        for (const Row& row : rows) {
            ASSERT_NE(Combo(row.list), nullptr) << "list " << row.list;
            EXPECT_EQ(Combo(row.list)->currentIndex(), row.item) << "list " << row.list;
        }
        EXPECT_EQ(Combo(IDC_DRIVE)->count(), 23);
        EXPECT_EQ(Combo(IDC_DRIVE)->itemText(0), "D");
        EXPECT_EQ(Combo(IDC_SRAM_SIZE)->currentText(), "8 KB");
        EXPECT_EQ(Combo(IDC_KERNEL_UNIT)->currentText(), "MB");

        EXPECT_EQ(dlg->m_nBl1Size, 8192u);
        EXPECT_EQ(dlg->m_nEfuseSize, 1024u);
        EXPECT_EQ(dlg->m_nBootloaderUnit, 1024u);
        EXPECT_EQ(dlg->m_nKernelUnit, 1048576u);
        EXPECT_EQ(dlg->m_nRootfsUnit, 1048576u);

        EXPECT_EQ(Edit(IDC_BOOTLOADER_PART_SIZE)->text(), "512");
        EXPECT_EQ(Edit(IDC_KERNEL_PART_SIZE)->text(), "4");
        EXPECT_EQ(Edit(IDC_ROOTFS_PART_SIZE)->text(), "8");
        EXPECT_EQ(Edit(IDC_ROOTFS_START_SECTOR)->text(), "0");
        EXPECT_EQ(Edit(IDC_BOOTLOADER_PATH)->text(), "");
        EXPECT_EQ(QApplication::focusWidget(), Control(IDC_START));
    });
}

TEST_F(DialogTest, StartWithoutADriveAsksForOne) {
    WithDialog([&] {
        Button(IDC_START)->click();
        EXPECT_EQ(BoxTexts(), std::vector<std::u16string>{u"Choose SDMMC card drive"});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, u"ERROR");
    });
}

TEST_F(DialogTest, EnterInAnEditBoxStartsARun) {
    WithDialog([&] {
        Edit(IDC_KERNEL_PART_SIZE)->setFocus();
        QTest::keyClick(Edit(IDC_KERNEL_PART_SIZE), Qt::Key_Return);
        EXPECT_EQ(BoxTexts(), std::vector<std::u16string>{u"Choose SDMMC card drive"});
    });
}

TEST_F(DialogTest, EscEndsTheDialog) {
    const INT_PTR result = WithDialog([&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(boxes.empty());
}

// What leaving a number box takes in: a number at the start of the text is
// read and the rest ignored; text without one is refused, the focus returns
// to the box with all its text selected, and the member keeps its value.
TEST_F(DialogTest, LeavingANumberBoxReadsTheNumberAtItsStart) {
    struct Case {
        const char* typed;
        bool refused;
        DWORD stored;
    };
    const Case cases[] = {
        {"12abc", false, 12}, {"  7", false, 7}, {"2048", false, 2048}, {"abc", true, 512}, {"", true, 512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        boxes.clear();
        FreshDialog();
        WithDialog([&] {
            Type(IDC_BOOTLOADER_PART_SIZE, c.typed);
            FocusOn(IDC_KERNEL_PART_SIZE);
            EXPECT_EQ(dlg->m_nBootloaderPartSize, c.stored);
            if (!c.refused) {
                EXPECT_TRUE(boxes.empty());
                return;
            }
            EXPECT_EQ(BoxTexts(), std::vector<std::u16string>{u"Enter a positive integer."});
            QLineEdit* box = Edit(IDC_BOOTLOADER_PART_SIZE);
            EXPECT_EQ(QApplication::focusWidget(), box);
            EXPECT_EQ(box->selectedText(), box->text());
            EXPECT_EQ(box->text(), c.typed);
        });
    }
}

// The exchange runs over every box in its fixed order and stops at the first
// box it refuses, whichever box was left: the boxes before it are taken in,
// that box and every box after it keep their members.
TEST_F(DialogTest, ARefusedBoxStopsTheExchangeWhereverTheFocusWas) {
    struct Case {
        int badBox;
        int leftBox;
        bool bootloaderPathTaken;  // exchanged before every number box
        bool bootloaderSizeTaken;  // 6th
        bool kernelSizeTaken;      // 7th
        bool startSectorTaken;     // 9th
    };
    const Case cases[] = {
        {IDC_BOOTLOADER_PART_SIZE, IDC_ROOTFS_START_SECTOR, true, false, false, false},
        {IDC_KERNEL_PART_SIZE, IDC_BOOTLOADER_PART_SIZE, true, true, false, false},
        {IDC_ROOTFS_START_SECTOR, IDC_KERNEL_PART_SIZE, true, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.badBox);
        boxes.clear();
        FreshDialog();
        WithDialog([&] {
            // Filled without moving the focus, so that one exchange runs: the
            // one of leaving c.leftBox.
            Edit(IDC_BOOTLOADER_PATH)->setText("/images/u-boot.bin");
            Edit(IDC_BOOTLOADER_PART_SIZE)->setText("1024");
            Edit(IDC_KERNEL_PART_SIZE)->setText("8");
            Edit(IDC_ROOTFS_START_SECTOR)->setText("4096");
            Edit(IDC_KERNEL_PATH)->setText("/images/zImage");
            Edit(c.badBox)->setText("x");
            FocusOn(c.leftBox);
            ASSERT_TRUE(boxes.empty());
            FocusOn(IDC_START);

            EXPECT_EQ(BoxTexts(), std::vector<std::u16string>{u"Enter a positive integer."});
            EXPECT_EQ(QApplication::focusWidget(), Edit(c.badBox));
            EXPECT_EQ(dlg->m_strBootloaderPath == u"/images/u-boot.bin", c.bootloaderPathTaken);
            EXPECT_EQ(dlg->m_nBootloaderPartSize == 1024, c.bootloaderSizeTaken);
            EXPECT_EQ(dlg->m_nKernelPartSize == 8, c.kernelSizeTaken);
            EXPECT_EQ(dlg->m_nRootfsStartSector == 4096, c.startSectorTaken);
            EXPECT_TRUE(dlg->m_strKernelPath.IsEmpty()) << "exchanged after every number box";
        });
    }
}

TEST_F(DialogTest, LeavingANumberBoxTakesTypedPathsIn) {
    WithDialog([&] {
        Type(IDC_ROOTFS_PATH, "/images/rootfs.img");
        Type(IDC_KERNEL_PATH, "/images/zImage");
        EXPECT_TRUE(dlg->m_strRootfsPath.IsEmpty());
        Edit(IDC_ROOTFS_START_SECTOR)->setFocus();
        FocusOn(IDC_START);
        EXPECT_EQ(dlg->m_strRootfsPath, u"/images/rootfs.img");
        EXPECT_EQ(dlg->m_strKernelPath, u"/images/zImage");
        EXPECT_TRUE(boxes.empty());
    });
}

// Each list stores the value of the chosen item in its member; the size box
// next to a unit list is left alone.
TEST_F(DialogTest, EachListStoresTheValueOfItsChoice) {
    struct Case {
        int list;
        int item;
        DWORD CVEXODlg::*member;
        DWORD value;
    };
    const Case cases[] = {
        {IDC_SRAM_SIZE, 0, &CVEXODlg::m_nBl1Size, 4096},
        {IDC_SRAM_SIZE, 2, &CVEXODlg::m_nBl1Size, 16384},
        {IDC_SRAM_SIZE, 3, &CVEXODlg::m_nBl1Size, 32768},
        {IDC_SRAM_SIZE, 4, &CVEXODlg::m_nBl1Size, 65536},
        {IDC_EFUSE_SIZE, 1, &CVEXODlg::m_nEfuseSize, 2048},
        {IDC_BOOTLOADER_UNIT, 1, &CVEXODlg::m_nBootloaderUnit, 1048576},
        {IDC_KERNEL_UNIT, 0, &CVEXODlg::m_nKernelUnit, 1024},
        {IDC_ROOTFS_UNIT, 0, &CVEXODlg::m_nRootfsUnit, 1024},
    };
    WithDialog([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "list " << c.list << " item " << c.item);
            Choose(c.list, c.item);
            EXPECT_EQ((*dlg).*c.member, c.value);
        }
        // Back to the first items, so every list has moved both ways.
        Choose(IDC_EFUSE_SIZE, 0);
        EXPECT_EQ(dlg->m_nEfuseSize, 1024u);
        Choose(IDC_BOOTLOADER_UNIT, 0);
        EXPECT_EQ(dlg->m_nBootloaderUnit, 1024u);
        Choose(IDC_KERNEL_UNIT, 1);
        EXPECT_EQ(dlg->m_nKernelUnit, 1048576u);
        EXPECT_EQ(Edit(IDC_KERNEL_PART_SIZE)->text(), "4");
        EXPECT_EQ(Edit(IDC_BOOTLOADER_PART_SIZE)->text(), "512");
        EXPECT_TRUE(boxes.empty());
    });
}

// A list whose selection is lost or holds an item the table does not know
// stores 0, which the fusing steps then meet.
TEST_F(DialogTest, AListWithoutAKnownChoiceStoresZero) {
    WithDialog([&] {
        dlg->m_cbSramSize.SetCurSel(-1);
        dlg->OnCbnSelchangeSramSize();
        EXPECT_EQ(dlg->m_nBl1Size, 0u);
        dlg->m_cbEfuseSize.AddString(u"4 KB");
        dlg->m_cbEfuseSize.SetCurSel(2);
        dlg->OnCbnSelchangeEfuseSize();
        EXPECT_EQ(dlg->m_nEfuseSize, 0u);
    });
}

TEST_F(DialogTest, TheSdhcBoxSetsTheReserveWhileTicked) {
    WithDialog([&] {
        EXPECT_FALSE(Control(IDC_SDHC)->isVisible());
        dlg->m_chkSdhc.SetCheck(1);
        dlg->OnBnClickedSdhc();
        EXPECT_EQ(dlg->m_nSdhcReserve, 1024u);
        dlg->m_chkSdhc.SetCheck(0);
        dlg->OnBnClickedSdhc();
        EXPECT_EQ(dlg->m_nSdhcReserve, 0u);
    });
}

struct BrowseCase {
    int button;
    int pathBox;
    CString CVEXODlg::*member;
    std::u16string defExt;
    std::u16string filter;
    std::u16string chosen;
};
const BrowseCase kBrowseCases[] = {
    {IDC_BROWSE_BOOTLOADER, IDC_BOOTLOADER_PATH, &CVEXODlg::m_strBootloaderPath, u"bin",
     u"Image (*.bin)|*.bin|All(*.*)|*.*||", u"/cards/images/u-boot.bin"},
    {IDC_BROWSE_KERNEL, IDC_KERNEL_PATH, &CVEXODlg::m_strKernelPath, u"", u"Image (zImage)|zImage|All(*.*)|*.*||",
     u"/cards/images/zImage"},
    {IDC_BROWSE_CRAMFS, IDC_CRAMFS_PATH, &CVEXODlg::m_strCramfsPath, u"",
     u"cramfs (*.cramfs)|*.cramfs|All (*.*)|*.*|", u"/cards/images/root.cramfs"},
    {IDC_BROWSE_ROOTFS, IDC_ROOTFS_PATH, &CVEXODlg::m_strRootfsPath, u"img", u"Image (*.img)|*.img|All(*.*)|*.*||",
     u"/cards/images/rootfs.img"},
};

// A chosen file shows with its full path, and every other box shows its
// member again: text typed there and not taken in is gone.
TEST_F(DialogTest, BrowseShowsTheChosenPathAndRefreshesEveryBox) {
    for (const BrowseCase& c : kBrowseCases) {
        SCOPED_TRACE(c.button);
        fileDialogs.clear();
        FreshDialog();
        const std::u16string& chosen = c.chosen;
        fileDialogAnswer = {IDOK, chosen};
        WithDialog([&] {
            const int otherPathBox = c.pathBox == IDC_KERNEL_PATH ? IDC_ROOTFS_PATH : IDC_KERNEL_PATH;
            Type(otherPathBox, "taken earlier");
            Type(IDC_BOOTLOADER_PART_SIZE, "999");
            FocusOn(IDC_START);  // leaving box 1012 takes everything typed so far
            Type(otherPathBox, "typed later");
            Edit(IDC_PROGRESS)->setText("typed too");
            Button(c.button)->click();

            ASSERT_EQ(fileDialogs.size(), 1u);
            const FileDialogCall& call = fileDialogs[0];
            EXPECT_TRUE(call.open);
            EXPECT_EQ(call.defExt, c.defExt);
            EXPECT_EQ(call.fileName, u"");
            EXPECT_EQ(call.flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
            EXPECT_EQ(call.filter, c.filter);

            EXPECT_EQ(((*dlg).*c.member).Str(), chosen);
            EXPECT_EQ(Edit(c.pathBox)->text().toStdU16String(), chosen);
            EXPECT_EQ(Edit(otherPathBox)->text(), "taken earlier");
            EXPECT_EQ(Edit(IDC_BOOTLOADER_PART_SIZE)->text(), "999");
            EXPECT_EQ(Edit(IDC_PROGRESS)->text(), "");
        });
    }
}

TEST_F(DialogTest, BrowseCancelledChangesNothing) {
    fileDialogAnswer = {IDCANCEL, u"/never/used"};
    WithDialog([&] {
        for (const BrowseCase& c : kBrowseCases) {
            SCOPED_TRACE(c.button);
            Type(c.pathBox, "typed");
            Button(c.button)->click();
            EXPECT_TRUE(((*dlg).*c.member).IsEmpty());
            EXPECT_EQ(Edit(c.pathBox)->text(), "typed");
        }
        EXPECT_EQ(fileDialogs.size(), std::size(kBrowseCases));
    });
}

} // namespace

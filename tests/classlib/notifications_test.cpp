// Control notifications reaching the message map as WM_COMMAND, and the
// map chain itself: derived entries first, then each base class's.
#include "test_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace classlib_test {
namespace {

using Notifications = DialogFixture;
using Log = std::vector<std::string>;

TEST_F(Notifications, SelectionChangeOnlyOnTheOperatorsChoice) {
    auto* sram = dialog.Control<QComboBox>(IDC_SRAM_SIZE);
    dialog.m_cbSramSize.SetCurSel(1);
    dialog.m_cbSramSize.SendMessage(CB_SETCURSEL, 2);
    Settle();
    EXPECT_TRUE(dialog.log.empty());

    sram->setFocus();
    QTest::keyClick(sram, Qt::Key_Down);
    QTest::keyClick(sram, Qt::Key_Down);
    Settle();
    EXPECT_EQ(dialog.log, (Log{"sram 3", "sram 4"}));
}

TEST_F(Notifications, ButtonClicksRouteByControlId) {
    QTest::mouseClick(dialog.Control(IDC_START), Qt::LeftButton);
    QTest::mouseClick(dialog.Control(IDC_BROWSE_BOOTLOADER), Qt::LeftButton);
    QTest::mouseClick(dialog.Control(IDC_BROWSE_KERNEL), Qt::LeftButton);  // not in the map
    EXPECT_EQ(dialog.log, (Log{"start", "browse"}));
}

TEST_F(Notifications, PlainCheckBoxReportsButLeavesTheTick) {
    auto* sdhc = dialog.Control<QCheckBox>(IDC_SDHC);
    sdhc->click();
    EXPECT_EQ(dialog.log, (Log{"sdhc 0"}));
    dialog.m_chkSdhc.SetCheck(1);
    sdhc->click();
    EXPECT_EQ(dialog.log, (Log{"sdhc 0", "sdhc 1"}));
    EXPECT_EQ(dialog.m_chkSdhc.GetCheck(), 1);
}

TEST_F(Notifications, LeavingAnEditReportsKillFocus) {
    auto* boot = dialog.Control<QLineEdit>(IDC_BOOTLOADER_PART_SIZE);
    boot->setFocus();
    Settle();
    QTest::keyClicks(boot, "2048");
    QTest::keyClick(boot, Qt::Key_Tab);
    Settle();
    EXPECT_EQ(dialog.log, (Log{"kill 1012"}));
    EXPECT_EQ(dialog.m_bootloaderPartSize, 5122048u);
    EXPECT_TRUE(boxes.calls.empty());
}

// A refused box takes the focus back once: the box that had the focus
// meanwhile does not report its own loss, so no second message appears.
TEST_F(Notifications, RefusedNumberTakesTheFocusBackWithOneMessage) {
    struct Case {
        int left, entered;
        Log expected;
    };
    const Case cases[] = {
        // Leaving the start sector box stops the exchange at box 1012.
        {IDC_ROOTFS_START_SECTOR, IDC_BOOTLOADER_PATH, {"kill 1041"}},
        // Going from the refused box to another number box: that box loses
        // the focus again at once, and must not refuse a second time.
        {IDC_BOOTLOADER_PART_SIZE, IDC_ROOTFS_START_SECTOR, {"kill 1012"}},
    };
    auto* boot = dialog.Control<QLineEdit>(IDC_BOOTLOADER_PART_SIZE);
    for (const Case& c : cases) {
        boot->setText("abc");
        dialog.Control<QLineEdit>(IDC_ROOTFS_START_SECTOR)->setText("77");
        dialog.Control(c.left)->setFocus();
        Settle();
        dialog.log.clear();
        boxes.calls.clear();

        dialog.Control(c.entered)->setFocus();
        Settle();
        Settle();
        EXPECT_EQ(dialog.log, c.expected);
        EXPECT_FALSE(dialog.lastExchange);
        EXPECT_EQ(boxes.calls.size(), 1u);
        EXPECT_EQ(QApplication::focusWidget(), boot);
        EXPECT_EQ(boot->selectedText(), "abc");
        EXPECT_EQ(dialog.m_rootfsStartSector, 0u);
    }
}

TEST_F(Notifications, NoKillFocusWhenAnotherWindowTakesTheFocus) {
    dialog.Control(IDC_BOOTLOADER_PART_SIZE)->setFocus();
    Settle();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    Settle();
    EXPECT_TRUE(dialog.log.empty());
}

// A dialog deriving from the test dialog: its own entries come first, the
// test dialog's and CDialog's follow.
class DerivedDialog : public TestDialog {
public:
    void OnStartAgain() { log.push_back("derived start"); }
    void OnOK() override { log.push_back("ok"); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedDialog, TestDialog)
    ON_BN_CLICKED(IDC_START, &DerivedDialog::OnStartAgain)
END_MESSAGE_MAP()

TEST(MessageMap, ChainRunsDerivedEntriesFirstThenBases) {
    MessageBoxRecorder boxes;
    DerivedDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_VEXO_DIALOG));
    auto command = [&](int id, UINT code) { return dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, code)); };
    command(IDC_START, BN_CLICKED);
    command(IDC_BROWSE_BOOTLOADER, BN_CLICKED);
    command(IDC_BROWSE_BOOTLOADER, EN_KILLFOCUS);  // wrong code: nothing
    command(IDOK, BN_CLICKED);                     // CDialog's entry, virtual OnOK
    EXPECT_EQ(dialog.log, (Log{"derived start", "browse", "ok"}));

    LRESULT result = 7;
    EXPECT_FALSE(dialog.OnWndMsg(WM_QUERYDRAGICON, 0, 0, &result));
    EXPECT_EQ(result, 7);
}

TEST(MessageMap, SysCommandKeepsItsLowBitsAndFallsBackToTheDefault) {
    MessageBoxRecorder boxes;
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_VEXO_DIALOG));
    Log expected;
    for (UINT id = 0x10; id <= 0x1F; ++id) {
        dialog.SendMessage(WM_SYSCOMMAND, id, 0);
        expected.push_back("syscommand " + std::to_string(id));
    }
    EXPECT_EQ(dialog.log, expected);
    EXPECT_TRUE(dialog.GetWidget()->isVisible());
    dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE | 0x2, 0);
    EXPECT_FALSE(dialog.GetWidget()->isVisible());
    EXPECT_EQ(dialog.Window()->Result(), IDCANCEL);
}

// A file error thrown by a handler ends the command with the file-error box.
class ThrowingDialog : public TestDialog {
public:
    void OnStartThrows() {
        log.push_back("before");
        throw CFileException(CFileException::hardIO, 5, u"/images/rootfs.img");
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ThrowingDialog, TestDialog)
    ON_BN_CLICKED(IDC_START, &ThrowingDialog::OnStartThrows)
END_MESSAGE_MAP()

TEST(MessageMap, FileExceptionFromAHandlerShowsTheFileErrorBox) {
    MessageBoxRecorder boxes;
    ThrowingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_VEXO_DIALOG));
    dialog.Control<QPushButton>(IDC_START)->click();
    EXPECT_EQ(dialog.log, (Log{"before"}));
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_NE(boxes.calls[0].text.find(u"rootfs.img"), std::u16string::npos);
    const CFileException sample(CFileException::hardIO, 5, u"/images/rootfs.img");
    EXPECT_EQ(boxes.calls[0].text, sample.GetErrorMessage().Str());
}

} // namespace
} // namespace classlib_test

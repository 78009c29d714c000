// The dialog as a window built from template 102: layout from dialog units,
// kinds of control, initial list items, keys, closing and the system menu.
#include "test_dialog.h"

#include "platform/classlib/qt/dialog_font.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <array>

namespace classlib_test {
namespace {

using Window = DialogFixture;
using platform::classlib::MulDiv;

TEST(DialogUnits, ConvertEachValueWithRounding) {
    // Base units 6 by 13, those of the Windows dialog font at 96 dpi.
    const platform::classlib::DialogBaseUnits units{6, 13};
    EXPECT_EQ(units.ToPixels(154, 223, 93, 24), QRect(231, 362, 140, 39));  // 139.5 rounds up
    EXPECT_EQ(units.ToPixelsX(404), 606);
    EXPECT_EQ(units.ToPixelsY(273), 444);  // 443.625
    EXPECT_EQ(units.ToPixelsY(4), 7);      // 6.5 rounds away from zero
    EXPECT_EQ(MulDiv(-3, 13, 8), -5);      // -4.875
    EXPECT_EQ(MulDiv(-4, 13, 8), -7);      // -6.5
}

TEST_F(Window, LaidOutFromDialogUnitsOfTheDialogFont) {
    const platform::classlib::DialogBaseUnits units = dialog.Window()->BaseUnits();
    if (QFontDatabase::families().contains("DejaVu Sans Condensed")) {
        EXPECT_EQ(units.x, 6);
        EXPECT_EQ(units.y, 13);
    }
    ASSERT_GT(units.x, 0);
    ASSERT_GT(units.y, 0);
    auto px = [&](int x, int y, int cx, int cy) { return units.ToPixels(x, y, cx, cy); };
    EXPECT_EQ(dialog.GetWidget()->size(), QSize(MulDiv(404, units.x, 4), MulDiv(273, units.y, 8)));
    EXPECT_EQ(dialog.Control(IDC_START)->geometry(), px(154, 223, 93, 24));
    EXPECT_EQ(dialog.Control(IDC_BOOTLOADER_PATH)->geometry(), px(158, 46, 176, 15));
    EXPECT_EQ(dialog.Control(IDC_PROGRESS)->geometry(), px(279, 185, 37, 14));
    // A list's template height includes its drop-down part; only the
    // position and width come from it.
    const QRect drive = dialog.Control(IDC_DRIVE)->geometry();
    EXPECT_EQ(drive.topLeft(), px(74, 14, 30, 15).topLeft());
    EXPECT_EQ(drive.width(), px(74, 14, 30, 15).width());
    EXPECT_EQ(dialog.GetWidget()->windowTitle(), "TALVEN Strovane   Version 0.98c");
}

TEST_F(Window, HiddenControlsNeverShowAndReadOnlyBoxesRefuseTyping) {
    constexpr std::array hidden = {IDC_ROOTFS_PART_SIZE, IDC_ROOTFS_UNIT, IDC_SDHC,     IDC_LOAD,
                                   IDC_SAVE,             IDC_BROWSE_CRAMFS, IDC_CRAMFS_PATH, IDC_CRAMFS_FROM,
                                   IDC_CRAMFS_TO,        IDC_CRAMFS_DRIVE};
    for (int id : hidden)
        EXPECT_FALSE(dialog.Control(id)->isVisible()) << id;
    constexpr std::array readOnly = {IDC_DRIVE_SIZE, IDC_BL_FROM,   IDC_BL_TO,       IDC_BL_DRIVE,
                                     IDC_KERNEL_FROM, IDC_KERNEL_TO, IDC_KERNEL_DRIVE};
    for (int id : readOnly) {
        auto* edit = dialog.Control<QLineEdit>(id);
        EXPECT_TRUE(edit->isVisible()) << id;
        EXPECT_TRUE(edit->isReadOnly()) << id;
    }
    constexpr std::array editable = {IDC_BOOTLOADER_PATH, IDC_BOOTLOADER_PART_SIZE, IDC_ROOTFS_START_SECTOR,
                                     IDC_PROGRESS};
    for (int id : editable)
        EXPECT_FALSE(dialog.Control<QLineEdit>(id)->isReadOnly()) << id;

    auto* driveSize = dialog.Control<QLineEdit>(IDC_DRIVE_SIZE);
    driveSize->setFocus();
    QTest::keyClicks(driveSize, "123");
    EXPECT_EQ(driveSize->text(), "");

    // Frames are drawn behind the controls and let clicks through.
    for (QGroupBox* frame : dialog.GetWidget()->findChildren<QGroupBox*>())
        EXPECT_TRUE(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(dialog.Control<QPushButton>(IDC_START)->isDefault());
}

TEST_F(Window, ListsFilledFromInitialDataSortedWhereAsked) {
    auto* drive = dialog.Control<QComboBox>(IDC_DRIVE);
    ASSERT_EQ(drive->count(), 23);
    EXPECT_EQ(drive->itemText(0), "D");
    EXPECT_EQ(drive->itemText(22), "Z");
    EXPECT_EQ(drive->currentIndex(), -1);
    EXPECT_TRUE(drive->isEditable());
    auto* sram = dialog.Control<QComboBox>(IDC_SRAM_SIZE);
    ASSERT_EQ(sram->count(), 5);
    EXPECT_EQ(sram->itemText(4), "64 KB");

    // The drive list is sorted without regard to case; the SRAM list keeps
    // the order items come in.
    EXPECT_EQ(dialog.m_cbDrive.AddString(u"a"), 0);
    EXPECT_EQ(dialog.m_cbDrive.AddString(u"dd"), 2);
    EXPECT_EQ(dialog.m_cbDrive.AddString(u"zz"), 25);
    EXPECT_EQ(dialog.m_cbSramSize.AddString(u"1 KB"), 5);
    CString text;
    EXPECT_EQ(dialog.m_cbDrive.GetLBText(2, text), 2);
    EXPECT_EQ(text, u"dd");
    EXPECT_EQ(dialog.m_cbDrive.GetLBText(99, text), CB_ERR);
}

TEST_F(Window, SelectionByProgramShowsItemAndClears) {
    auto* drive = dialog.Control<QComboBox>(IDC_DRIVE);
    EXPECT_EQ(dialog.m_cbDrive.SetCurSel(1), 1);
    EXPECT_EQ(drive->currentText(), "E");
    EXPECT_EQ(dialog.m_cbDrive.SendMessage(CB_GETCURSEL), 1);
    EXPECT_EQ(dialog.m_cbDrive.SetCurSel(-1), CB_ERR);
    EXPECT_EQ(dialog.m_cbDrive.GetCurSel(), CB_ERR);
    EXPECT_EQ(drive->currentText(), "");
    EXPECT_EQ(dialog.m_cbDrive.SetCurSel(23), CB_ERR);
    EXPECT_TRUE(dialog.log.empty());
}

// Enter presses the default push button from anywhere but another push
// button, which takes Enter itself.
TEST_F(Window, EnterPressesTheDefaultButton) {
    struct Case {
        int focus;
        const char* expected;
    };
    for (const Case c : {Case{IDC_ROOTFS_START_SECTOR, "start"}, Case{IDC_DRIVE_SIZE, "start"},
                         Case{IDC_DRIVE, "start"}, Case{IDC_BROWSE_BOOTLOADER, "browse"}}) {
        QWidget* control = dialog.Control(c.focus);
        control->setFocus();
        Settle();
        dialog.log.clear();
        QWidget* target = QApplication::focusWidget();
        ASSERT_TRUE(target == control || control->isAncestorOf(target)) << c.focus;
        QTest::keyClick(target, Qt::Key_Return);
        Settle();
        EXPECT_EQ(dialog.log, std::vector<std::string>{c.expected}) << c.focus;
    }
    // Enter in a list's edit field adds nothing to the list.
    EXPECT_EQ(dialog.Control<QComboBox>(IDC_DRIVE)->count(), 23);
}

// A modal run ended by the operator: the focus starts on START, and Esc or
// the window's close button end it with IDCANCEL.
TEST(ModalRun, EscAndCloseButtonEndWithCancel) {
    MessageBoxRecorder boxes;
    for (bool byEsc : {true, false}) {
        TestDialog dialog;
        QString focusedAtStart;
        QTimer::singleShot(0, [&] {
            QWidget* window = dialog.GetWidget();
            ASSERT_NE(window, nullptr);
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget()))
                focusedAtStart = button->text();
            if (byEsc)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                window->close();
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(focusedAtStart, "START");
        EXPECT_EQ(dialog.GetWidget(), nullptr);
        EXPECT_EQ(dialog.m_cbDrive.GetWidget(), nullptr);
        const std::vector<std::string> closeCommand{"syscommand " + std::to_string(SC_CLOSE)};
        EXPECT_EQ(dialog.log, byEsc ? std::vector<std::string>{} : closeCommand);
    }
    EXPECT_TRUE(boxes.calls.empty());
}

TEST(ModalRun, MissingTemplateFails) {
    CDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST_F(Window, SystemMenuOpensFromContextMenuAndSendsSysCommands) {
    CMenu* menu = dialog.GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetMenuItemCount(), 3);
    EXPECT_EQ(menu->GetMenuItemID(0), SC_MOVE);
    EXPECT_EQ(menu->GetMenuItemID(1), 0u);
    EXPECT_EQ(menu->GetMenuItemID(2), SC_CLOSE);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, u"&About Corvanti...");
    EXPECT_EQ(menu->GetMenuString(4), u"&About Corvanti...");

    // The operator opens it with the right button and picks the last item.
    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        for (QAction* action : popup->actions())
            shown << (action->isSeparator() ? QString("-") : action->text());
        popup->setActiveAction(popup->actions().back());
        QTest::keyClick(popup, Qt::Key_Return);
    });
    QWidget* window = dialog.GetWidget();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), window->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(window, &event);
    EXPECT_EQ(shown, QStringList({"&Move", "-", "&Close\tAlt+F4", "-", "&About Corvanti..."}));
    EXPECT_EQ(dialog.log, std::vector<std::string>{"syscommand 16"});

    // Close from the menu goes the default way: IDCANCEL ends the dialog.
    menu->Choose(2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialog.Window()->Result(), IDCANCEL);
    EXPECT_EQ(dialog.GetSystemMenu(TRUE), nullptr);
    EXPECT_EQ(dialog.GetSystemMenu(FALSE)->GetMenuItemCount(), 3);
}

// Alt+Space opens the system menu, as on Windows; not while the window is
// in its modal state.
TEST_F(Window, AltSpaceOpensTheSystemMenu) {
    for (bool modal : {false, true}) {
        if (modal)
            dialog.BeginModalState();
        QStringList shown;
        QTimer closer;  // goes with this round even when no menu opens
        closer.setSingleShot(true);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* action : popup->actions())
                    shown << action->text();
                popup->close();
            }
        });
        closer.start(0);
        dialog.GetWidget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.GetWidget()));
        QWidget* path = dialog.Control(IDC_BOOTLOADER_PATH);
        path->setFocus();
        QTest::keyClick(path, Qt::Key_Space, Qt::AltModifier);
        QTest::qWait(20);
        EXPECT_EQ(shown.size(), modal ? 0 : 3) << modal;
        EXPECT_EQ(dialog.Control<QLineEdit>(IDC_BOOTLOADER_PATH)->text(), "") << modal;
        if (modal)
            dialog.EndModalState();
    }
    EXPECT_TRUE(dialog.log.empty());
}

TEST_F(Window, PaintEventReachesOnPaint) {
    EXPECT_FALSE(dialog.IsIconic());
    const int before = dialog.paints;
    dialog.GetWidget()->grab();
    EXPECT_GT(dialog.paints, before);
    RECT client{};
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.right, dialog.GetWidget()->width());
    // A paint context opened outside the paint event draws nowhere, harmlessly.
    CPaintDC aside(&dialog);
    EXPECT_NE(aside.GetSafeHdc(), nullptr);
    EXPECT_EQ(dialog.SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(aside.GetSafeHdc())), 1);
}

} // namespace
} // namespace classlib_test

// Start-up and the window-level behaviour of the main dialog: the application
// runs the dialog and ends, the About item of the system menu, the window
// icons and the icon of the minimised window.
#include "dialog_fixture.h"
#include "ui/VEXOApp.h"
#include "ui/icon_placement.h"

namespace {

// Answers the next modal box that opens over the main dialog with Esc and
// remembers its title; the dialog counts how often that happened.
struct ModalWatcher {
    QWidget* mainWindow = nullptr;
    std::vector<QString> titles;

    void Arm() {
        QTimer::singleShot(0, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == mainWindow)
                return;
            titles.push_back(modal->windowTitle());
            QTest::keyClick(modal, Qt::Key_Escape);
        });
    }
};

TEST_F(DialogTest, TheSystemMenuEndsWithTheAboutItemAfterASeparator) {
    WithDialog([&] {
        CMenu* menu = dlg->GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        const int count = menu->GetMenuItemCount();
        ASSERT_GE(count, 2);
        EXPECT_EQ(menu->GetMenuItemID(count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        EXPECT_EQ(menu->GetMenuString(count - 1), u"&About Corvanti...");
        EXPECT_EQ(menu->Items()[static_cast<std::size_t>(count - 2)].flags & MF_SEPARATOR, MF_SEPARATOR);

        ModalWatcher watcher{dlg->GetWidget(), {}};
        watcher.Arm();
        menu->Choose(count - 1);
        EXPECT_EQ(watcher.titles, std::vector<QString>{"About Strovane"});
        EXPECT_EQ(QApplication::activeModalWidget(), dlg->GetWidget());
    });
}

// The low four bits of a system command are the system's: every command from
// 0x0010 to 0x001F is the About item; its neighbours are not.
TEST_F(DialogTest, AnySystemCommandFrom0x10To0x1FOpensTheAboutBox) {
    WithDialog([&] {
        ModalWatcher watcher{dlg->GetWidget(), {}};
        for (UINT command = 0x0010; command <= 0x001F; ++command) {
            watcher.Arm();
            dlg->SendMessage(WM_SYSCOMMAND, command, 0);
        }
        EXPECT_EQ(watcher.titles.size(), 16u);
        for (UINT command : {0x0000u, 0x0020u, 0x0110u}) {
            watcher.Arm();
            dlg->SendMessage(WM_SYSCOMMAND, command, 0);
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(watcher.titles.size(), 16u);
        EXPECT_TRUE(dlg->GetWidget()->isVisible());
    });
}

TEST_F(DialogTest, TheWindowShowsTheSameIconBigAndSmall) {
    ASSERT_NE(dlg->m_hIcon, nullptr);
    WithDialog([&] {
        EXPECT_EQ(dlg->GetIcon(TRUE), dlg->m_hIcon);
        EXPECT_EQ(dlg->GetIcon(FALSE), dlg->m_hIcon);
        EXPECT_EQ(dlg->OnQueryDragIcon(), dlg->m_hIcon);
        EXPECT_FALSE(dlg->GetWidget()->windowIcon().isNull());
    });
}

// The icon of the minimised window is centred, the quotient truncated toward
// zero: a client area one pixel narrower than the icon still starts at 0.
TEST(IconPlacement, CentresTheIconTruncatingTowardZero) {
    struct Case {
        int clientWidth;
        int origin;
    };
    const Case cases[] = {{36, 2}, {35, 2}, {30, 0}, {29, -1}, {32, 0}, {31, 0}, {33, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(CentredIconOrigin(c.clientWidth, 32), c.origin) << "client width " << c.clientWidth;
}

TEST_F(DialogTest, AMinimisedWindowPaintsItsIcon) {
    WithDialog([&] {
        dlg->GetWidget()->showMinimized();
        QCoreApplication::processEvents();
        dlg->OnPaint();
        dlg->GetWidget()->showNormal();
        QCoreApplication::processEvents();
        dlg->OnPaint();
        EXPECT_TRUE(boxes.empty());
    });
}

// The application runs the main dialog as its main window and returns FALSE
// when it closes, so that no message loop of its own follows.
TEST(Application, RunsTheMainDialogAndEndsWhenItCloses) {
    QString caption;
    bool mainWindowSet = false;
    QTimer::singleShot(0, [&] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        caption = window->windowTitle();
        mainWindowSet = AfxGetApp()->m_pMainWnd != nullptr && AfxGetApp()->m_pMainWnd->GetWidget() == window;
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_EQ(theApp.InitInstance(), FALSE);
    EXPECT_EQ(caption, "TALVEN Strovane   Version 0.98c");
    EXPECT_TRUE(mainWindowSet);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(theApp.m_pszRegistryKey, u"Local AppWizard-Generated Applications");
}

} // namespace

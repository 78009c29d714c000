// The application icon on the window and in painting, the list-item
// tooltips, and the real message box's look.
#include "test_dialog.h"

#include "platform/classlib/combo_item_tooltips.h"
#include "platform/classlib/qt/icon_handles.h"
#include "platform/classlib/qt/paint_context.h"

#include <QComboBox>
#include <QImage>
#include <QMessageBox>
#include <QTimer>

namespace classlib_test {
namespace {

using Icons = DialogFixture;

TEST_F(Icons, ResourceIconIsSharedAtLargeSizeAndShownOnTheWindow) {
    CWinApp app;
    const HICON icon = app.LoadIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(app.LoadIcon(IDR_MAINFRAME), icon);  // one shared handle
    EXPECT_EQ(app.LoadIcon(4242), nullptr);
    EXPECT_EQ(platform::classlib::LargeIconPixmap(icon).size(), QSize(32, 32));

    EXPECT_EQ(dialog.SetIcon(icon, TRUE), nullptr);
    EXPECT_EQ(dialog.SetIcon(icon, FALSE), nullptr);
    EXPECT_EQ(dialog.GetIcon(TRUE), icon);
    EXPECT_EQ(dialog.GetIcon(FALSE), icon);
    EXPECT_FALSE(dialog.GetWidget()->windowIcon().isNull());
    EXPECT_EQ(dialog.SetIcon(nullptr, TRUE), icon);
}

TEST(DrawIconTest, DrawsTheIconThroughAPaintContext) {
    CWinApp app;
    const HICON icon = app.LoadIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    platform::classlib::PaintContext context;
    context.scratch = QImage(40, 40, QImage::Format_ARGB32);
    context.scratch.fill(Qt::transparent);
    context.painter.begin(&context.scratch);
    EXPECT_TRUE(DrawIcon(platform::classlib::HandleOf(&context), 4, 4, icon));
    context.painter.end();
    EXPECT_EQ(context.scratch.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(context.scratch.copy(4, 4, 32, 32), platform::classlib::LargeIconPixmap(icon).toImage().convertToFormat(QImage::Format_ARGB32));
}

TEST_F(Icons, MinimisedWindowPaintsItsIconCentred) {
    CWinApp app;
    dialog.icon = app.LoadIcon(IDR_MAINFRAME);
    QWidget* window = dialog.GetWidget();
    window->showMinimized();
    ASSERT_TRUE(dialog.IsIconic());
    // The dialog's own painting, without its controls drawn over it.
    QImage shot(window->size(), QImage::Format_ARGB32);
    window->render(&shot, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    const QImage icon = platform::classlib::LargeIconPixmap(dialog.icon).toImage().convertToFormat(QImage::Format_ARGB32);
    const QPoint at((window->width() - 32 + 1) / 2, (window->height() - 32 + 1) / 2);
    // Every opaque pixel of the icon lands where the centring puts it.
    int compared = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (icon.pixelColor(x, y).alpha() == 255) {
                EXPECT_EQ(shot.pixelColor(at + QPoint(x, y)).rgb(), icon.pixelColor(x, y).rgb()) << x << "," << y;
                ++compared;
            }
    EXPECT_GT(compared, 100);
    EXPECT_EQ(shot.pixelColor(0, 0).rgb(), window->palette().color(QPalette::Window).rgb());
    window->showNormal();
}

TEST_F(Icons, ListPopupAsksForItemTooltips) {
    std::vector<int> askedIds;
    platform::classlib::SetComboItemToolTipProvider([&](int id, const std::u16string& item) {
        askedIds.push_back(id);
        return item == u"E" ? std::u16string(u"/dev/sdb (card reader)") : std::u16string();
    });
    auto* drive = dialog.Control<QComboBox>(IDC_DRIVE);
    drive->showPopup();
    drive->hidePopup();
    platform::classlib::SetComboItemToolTipProvider(nullptr);
    EXPECT_EQ(askedIds.size(), 23u);
    EXPECT_EQ(askedIds.front(), IDC_DRIVE);
    EXPECT_EQ(drive->itemData(1, Qt::ToolTipRole).toString(), "/dev/sdb (card reader)");
    EXPECT_FALSE(drive->itemData(0, Qt::ToolTipRole).isValid());
}

TEST(RealMessageBox, ShowsCaptionIconAndButtons) {
    struct Case {
        UINT style;
        QMessageBox::Icon icon;
        int buttons;
        Qt::Key key;
        int expected;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Warning, 1, Qt::Key_Return, IDOK},
        {MB_OK | MB_ICONSTOP, QMessageBox::Critical, 1, Qt::Key_Escape, IDOK},
        {MB_OKCANCEL | MB_ICONINFORMATION, QMessageBox::Information, 2, Qt::Key_Escape, IDCANCEL},
    };
    CWinApp app(u"Strovane");
    for (const Case& c : cases) {
        QString caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        qsizetype buttons = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            caption = box->windowTitle();
            icon = box->icon();
            buttons = box->buttons().size();
            QTest::keyClick(box, c.key);
        });
        EXPECT_EQ(AfxMessageBox(u"Enter a positive integer.", c.style), c.expected);
        EXPECT_EQ(caption, "Strovane");
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(buttons, c.buttons);
    }
}

} // namespace
} // namespace classlib_test

// The modal state a long operation puts the dialog in: the operator's input
// is held off, painting goes on, other windows keep working.
#include "test_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>

namespace classlib_test {
namespace {

using ModalState = DialogFixture;
using Log = std::vector<std::string>;

void Wheel(QWidget* widget, int delta) {
    QWheelEvent event(QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

QColor ButtonText(QWidget* widget) { return widget->palette().color(QPalette::Active, QPalette::ButtonText); }

TEST_F(ModalState, SwallowsInputButNotPaints) {
    auto* start = dialog.Control<QPushButton>(IDC_START);
    auto* sector = dialog.Control<QLineEdit>(IDC_ROOTFS_START_SECTOR);
    auto* sram = dialog.Control<QComboBox>(IDC_SRAM_SIZE);
    dialog.m_cbSramSize.SetCurSel(1);
    sector->setFocus();
    Settle();
    const QColor normalText = ButtonText(start);

    dialog.BeginModalState();
    dialog.BeginModalState();  // nests
    dialog.EndModalState();
    ASSERT_TRUE(dialog.InModalState());

    QTest::keyClick(sector, Qt::Key_Return);
    QTest::keyClicks(sector, "12");
    QTest::mouseClick(start, Qt::LeftButton);
    QTest::keyClick(sram, Qt::Key_Down);
    Wheel(sram, -120);
    dialog.GetWidget()->close();
    dialog.Control(IDC_BOOTLOADER_PATH)->setFocus();  // the program may still move the focus
    Settle();
    EXPECT_TRUE(dialog.log.empty());
    EXPECT_EQ(sector->text(), "0");
    EXPECT_EQ(sram->currentIndex(), 1);
    EXPECT_TRUE(dialog.GetWidget()->isVisible());
    EXPECT_FALSE(dialog.Window()->Ended());

    // Painting and looks: the window still paints; buttons and lists look
    // disabled while staying enabled; a busy cursor shows.
    const int paints = dialog.paints;
    dialog.GetWidget()->grab();
    EXPECT_GT(dialog.paints, paints);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(ButtonText(start), start->palette().color(QPalette::Disabled, QPalette::ButtonText));
    EXPECT_NE(ButtonText(start), normalText);
    EXPECT_EQ(dialog.GetWidget()->cursor().shape(), Qt::BusyCursor);
    EXPECT_EQ(sector->cursor().shape(), Qt::BusyCursor);

    dialog.EndModalState();
    EXPECT_FALSE(dialog.InModalState());
    EXPECT_EQ(ButtonText(start), normalText);
    EXPECT_EQ(sector->cursor().shape(), Qt::IBeamCursor);
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(dialog.log, (Log{"start"}));
}

// A real message box opened during the state takes the operator's answer.
TEST_F(ModalState, MessageBoxesStillWork) {
    platform::testing::SetMessageBoxHook(nullptr);
    dialog.BeginModalState();
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Can not write image file");
        EXPECT_EQ(box->windowTitle(), "ERROR");
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        QTest::keyClick(box, Qt::Key_Return);
        answered = true;
    });
    EXPECT_EQ(dialog.MessageBox(u"Can not write image file", u"ERROR", MB_OK), IDOK);
    EXPECT_TRUE(answered);
    dialog.EndModalState();
}

} // namespace
} // namespace classlib_test

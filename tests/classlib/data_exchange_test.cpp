// The exchange between the test dialog's members and its boxes, in both
// directions, with the refusal of a box that holds no number.
#include "test_dialog.h"

#include "platform/classlib/app_title.h"

#include <QLineEdit>

#include <string>

namespace classlib_test {
namespace {

using Exchange = DialogFixture;

void Type(TestDialog& dialog, int id, const QString& text) { dialog.Control<QLineEdit>(id)->setText(text); }

TEST_F(Exchange, IntoControlsShowsMembersWithLu) {
    EXPECT_EQ(dialog.Control<QLineEdit>(IDC_BOOTLOADER_PART_SIZE)->text(), "512");
    dialog.m_kernelPartSize = 4294967295u;
    dialog.m_driveSize = u"7744512 sectors";
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(dialog.Control<QLineEdit>(IDC_KERNEL_PART_SIZE)->text(), "4294967295");
    EXPECT_EQ(dialog.Control<QLineEdit>(IDC_DRIVE_SIZE)->text(), "7744512 sectors");
}

struct NumberCase {
    const char* name;
    QString bootloader, kernel, rootfs, start;
    BOOL result;
    DWORD expected[4];  // bootloader, kernel, rootfs, start after the exchange
    int refusedBox;     // 0 when nothing is refused
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class NumberExchange : public DialogFixture, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NumberExchange, TakesNumbersUpToTheFirstRefusedBox) {
    const NumberCase& c = GetParam();
    dialog.m_rootfsStartSector = 99;
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    Type(dialog, IDC_BOOTLOADER_PART_SIZE, c.bootloader);
    Type(dialog, IDC_KERNEL_PART_SIZE, c.kernel);
    Type(dialog, IDC_ROOTFS_PART_SIZE, c.rootfs);
    Type(dialog, IDC_ROOTFS_START_SECTOR, c.start);
    Type(dialog, IDC_PROGRESS, "typed");
    Type(dialog, IDC_BOOTLOADER_PATH, "/images/u-boot.bin");

    EXPECT_EQ(dialog.UpdateData(TRUE), c.result);

    EXPECT_EQ(dialog.m_bootloaderPartSize, c.expected[0]);
    EXPECT_EQ(dialog.m_kernelPartSize, c.expected[1]);
    EXPECT_EQ(dialog.m_rootfsPartSize, c.expected[2]);
    EXPECT_EQ(dialog.m_rootfsStartSector, c.expected[3]);
    // The path comes before every number box, the progress after them all.
    EXPECT_EQ(dialog.m_bootloaderPath, u"/images/u-boot.bin");
    EXPECT_EQ(dialog.m_progress, c.result ? u"typed" : u"");

    if (c.refusedBox == 0) {
        EXPECT_TRUE(boxes.calls.empty());
        return;
    }
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, u"Enter a positive integer.");
    EXPECT_EQ(boxes.calls[0].style, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_FALSE(boxes.calls[0].caption.empty());
    EXPECT_EQ(boxes.calls[0].caption, platform::classlib::AppTitle());
    auto* refused = dialog.Control<QLineEdit>(c.refusedBox);
    if (!refused->isVisible())
        return;  // a hidden box cannot take the focus
    EXPECT_EQ(QApplication::focusWidget(), refused);
    EXPECT_EQ(refused->selectedText(), refused->text());
    if (!refused->text().isEmpty()) {
        EXPECT_EQ(refused->selectionStart(), 0);
    }
}

const QString k63Blanks(63, u' ');

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberExchange,
    ::testing::Values(
        NumberCase{"AllNumbers", "1", "2", "3", "4", TRUE, {1, 2, 3, 4}, 0},
        NumberCase{"TrailingLettersIgnored", "12abc", "2", "3", "4", TRUE, {12, 2, 3, 4}, 0},
        NumberCase{"LeadingBlanksSkipped", "  7", "\t8", "3", "4", TRUE, {7, 8, 3, 4}, 0},
        NumberCase{"LargestValue", "4294967295", "0", "3", "4", TRUE, {4294967295u, 0, 3, 4}, 0},
        NumberCase{"NumberWithinFirst63Characters", "1", "2", "3", QString(62, u' ') + "5", TRUE, {1, 2, 3, 5}, 0},
        NumberCase{"NumberPastFirst63Characters", "1", "2", "3", k63Blanks + "5", FALSE, {1, 2, 3, 99}, IDC_ROOTFS_START_SECTOR},
        NumberCase{"LettersOnlyRefusedFirstBox", "abc", "2", "3", "4", FALSE, {512, 4, 8, 99}, IDC_BOOTLOADER_PART_SIZE},
        NumberCase{"EmptyRefusedSecondBox", "1", "", "3", "4", FALSE, {1, 4, 8, 99}, IDC_KERNEL_PART_SIZE},
        NumberCase{"FirstRefusedBoxStopsTheExchange", "x", "y", "3", "4", FALSE, {512, 4, 8, 99}, IDC_BOOTLOADER_PART_SIZE},
        NumberCase{"HiddenBoxRefusedToo", "1", "2", "-", "4", FALSE, {1, 2, 8, 99}, IDC_ROOTFS_PART_SIZE}),
    [](const ::testing::TestParamInfo<NumberCase>& p) { return std::string(p.param.name); });

TEST_F(Exchange, ControlObjectsAttachOnFirstExchangeOnly) {
    QWidget* drive = dialog.m_cbDrive.GetWidget();
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(drive, dialog.Window()->Control(IDC_DRIVE));
    EXPECT_EQ(dialog.m_editProgress.GetWidget(), dialog.Window()->Control(IDC_PROGRESS));
    // Rebound elsewhere by hand, a later exchange leaves it there.
    dialog.m_cbDrive.Attach(dialog.Window()->Control(IDC_SRAM_SIZE));
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.m_cbDrive.GetWidget(), dialog.Window()->Control(IDC_SRAM_SIZE));
}

} // namespace
} // namespace classlib_test

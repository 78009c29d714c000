// The drive check on a fake machine: for every letter, what CheckDrive says
// and what it leaves in the dialog's members and in the Drive Size box.
#include "device/drive_list_tips.h"
#include "platform/classlib/combo_item_tooltips.h"
#include "platform/storage/linux/disk_namespace.h"
#include "platform/testing/ui_hooks.h"
#include "storage/machine_table.h"
#include "ui/VEXODlg.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include <optional>
#include <vector>

namespace {

using platform::testing::MessageBoxCall;

constexpr int kDriveSizeBox = 1006;
constexpr int kKernelPathBox = 1004;

struct BuiltMachine : fake::FakeSystem {
    BuiltMachine() { fake::BuildMachine(*this, "/srv/cards"); }
};

class DriveCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::testing::SetMessageBoxHook([this](const MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
        ASSERT_TRUE(dlg.Create(CVEXODlg::IDD));
    }
    void TearDown() override { platform::testing::SetMessageBoxHook({}); }

    // Picks letter in the drive list (by program, as the tests need) and checks.
    int Check(char letter) {
        dlg.m_cbDrive.SetCurSel(letter - 'D');
        boxes.clear();
        return dlg.CheckDrive();
    }
    std::u16string BoxText(int id) {
        CString text;
        dlg.GetDlgItem(id)->GetWindowText(text);
        return text.Str();
    }

    BuiltMachine machine;
    fake::ScopedNamespace scope{machine.Root()};
    CVEXODlg dlg;
    std::vector<MessageBoxCall> boxes;
};

// What the previous, successful check leaves: drive L, disk 13, 1,000,000 sectors.
constexpr int kPreviousDisk = 13;
constexpr DWORD kPreviousSectors = 1000000;
const std::u16string kPreviousText = u"1000000 sectors";

TEST_F(DriveCheckTest, EveryLetterOfTheFakeMachine) {
    struct Case {
        char letter;
        std::u16string message;  // empty: the check passes
        int disk;
        std::optional<DWORD> sectors;  // nullopt: the previous card's size stays
        std::u16string text;
    };
    const std::u16string tooLarge = u"This drive may not be a T-flash Storage";
    const std::u16string noDisk = u"Can't read physical drive name";
    const std::u16string noSize = u"Can not get whole sector size";
    std::vector<Case> cases = {
        {'D', u"", 1, 8388608, u"8388608 sectors"},              // exactly the limit
        {'E', tooLarge, 2, 8388609, u"8388609 sectors"},         // one sector over
        {'F', tooLarge, 3, 0xFFFFFFFFu, u"4294967296 sectors"},  // 2^32 sectors, shown in full
        {'G', noSize, 4, std::nullopt, kPreviousText},           // the disk cannot be opened
        {'H', u"", 5, 7744512, u"7744512 sectors"},              // SD card, whole disk
        {'I', u"", 8, 7744512, u"7744512 sectors"},              // a partition: the whole disk's size
        {'J', u"", 8, 7744512, u"7744512 sectors"},              // mounted elsewhere: still a card
        {'K', noDisk, -1, std::nullopt, kPreviousText},          // a volume over two disks
        {'L', u"", 13, 1000000, u"1000000 sectors"},             // two-digit disk number
    };
    for (char letter = 'M'; letter <= 'Z'; ++letter)
        cases.push_back({letter, noDisk, -1, std::nullopt, kPreviousText});

    for (const Case& c : cases) {
        ASSERT_EQ(Check('L'), 1);
        ASSERT_EQ(dlg.m_nDiskNumber, kPreviousDisk);

        const int result = Check(c.letter);
        SCOPED_TRACE(std::string("drive ") + c.letter);
        EXPECT_EQ(result, c.message.empty() ? 1 : 0);
        if (c.message.empty()) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, c.message);
            EXPECT_EQ(boxes[0].caption, u"ERROR");
            EXPECT_EQ(boxes[0].style, MB_OK);
        }
        EXPECT_EQ(dlg.m_nDriveIndex, c.letter - 'A');
        EXPECT_EQ(dlg.m_nDiskNumber, c.disk);
        EXPECT_EQ(dlg.m_nTotalSectors, c.sectors.value_or(kPreviousSectors));
        EXPECT_EQ(dlg.m_strDriveSize.Str(), c.text);
        EXPECT_EQ(BoxText(kDriveSizeBox), c.text);
    }
}

TEST_F(DriveCheckTest, WithoutASelectionNothingIsOpenedOrChanged) {
    ASSERT_EQ(Check('H'), 1);
    int opened = 0;
    platform::storage::DiskNamespace::Current().SetOpenerForTests(
        [&](const platform::storage::Disk& disk, bool forWrite, bool unbuffered) {
            ++opened;
            std::uint32_t error = 0;
            return platform::storage::OpenDiskDevice(disk, forWrite, unbuffered, &error);
        });
    dlg.m_cbDrive.SetCurSel(-1);
    boxes.clear();
    EXPECT_EQ(dlg.CheckDrive(), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Choose SDMMC card drive");
    EXPECT_EQ(boxes[0].caption, u"ERROR");
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(dlg.m_nDriveIndex, 'H' - 'A');
    EXPECT_EQ(dlg.m_nDiskNumber, 5);
    EXPECT_EQ(dlg.m_nTotalSectors, 7744512u);
    EXPECT_EQ(BoxText(kDriveSizeBox), u"7744512 sectors");
}

TEST_F(DriveCheckTest, ASuccessfulSizeQueryShowsEveryMemberInTheControls) {
    dlg.m_strKernelPath = u"zImage-member";
    dlg.GetDlgItem(kKernelPathBox)->SetWindowText(u"typed but not taken");
    Check('K');  // fails before the size query: the typing stays
    EXPECT_EQ(BoxText(kKernelPathBox), u"typed but not taken");
    Check('H');
    EXPECT_EQ(BoxText(kKernelPathBox), u"zImage-member");
}

TEST_F(DriveCheckTest, PickingALetterRunsTheCheck) {
    dlg.m_cbDrive.SetCurSel('E' - 'D');
    boxes.clear();
    dlg.OnCbnSelchangeDrive();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"This drive may not be a T-flash Storage");
    EXPECT_EQ(dlg.m_nDiskNumber, 2);
}

TEST_F(DriveCheckTest, AnImageFileGivenALetterIsACardOfItsOwn) {
    const std::string image = machine.Root() + "/card.img";
    fake::MakeSparseFile(image, 3965190144ull);
    ASSERT_EQ(platform::storage::DiskNamespace::Current().AddImageDrive('N', image), "");
    EXPECT_EQ(Check('N'), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dlg.m_nDiskNumber, 15);
    EXPECT_EQ(dlg.m_nTotalSectors, 7744512u);
    EXPECT_EQ(BoxText(kDriveSizeBox), u"7744512 sectors");
}

TEST_F(DriveCheckTest, TheDriveListNamesWhatStandsBehindEachLetter) {
    InstallDriveListTips();
    auto* list = qobject_cast<QComboBox*>(dlg.m_cbDrive.GetWidget());
    ASSERT_NE(list, nullptr);
    list->showPopup();
    list->hidePopup();
    platform::classlib::SetComboItemToolTipProvider({});
    auto tip = [&](char letter) { return list->itemData(letter - 'D', Qt::ToolTipRole).toString().toStdString(); };
    EXPECT_EQ(tip('H'), "H:  " + machine.Root() + "/dev/mmcblk0  disk 5  7744512 sectors  SL08G");
    EXPECT_EQ(tip('L'), "L:  " + machine.Root() + "/dev/sdh  disk 13  1000000 sectors  Kingston DataTraveler");
    EXPECT_EQ(tip('M'), "");
    EXPECT_EQ(list->itemText('H' - 'D').toStdString(), "H") << "the items themselves stay letters";
}

} // namespace

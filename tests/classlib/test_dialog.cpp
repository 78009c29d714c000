#include "test_dialog.h"

namespace classlib_test {

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_START, &TestDialog::OnStart)
    ON_BN_CLICKED(IDC_BROWSE_BOOTLOADER, &TestDialog::OnBrowse)
    ON_CBN_SELCHANGE(IDC_DRIVE, &TestDialog::OnDrive)
    ON_CBN_SELCHANGE(IDC_SRAM_SIZE, &TestDialog::OnSramSize)
    ON_BN_CLICKED(IDC_SDHC, &TestDialog::OnSdhc)
    ON_EN_KILLFOCUS(IDC_BOOTLOADER_PART_SIZE, &TestDialog::OnKillBootloaderPartSize)
    ON_EN_KILLFOCUS(IDC_ROOTFS_START_SECTOR, &TestDialog::OnKillRootfsStartSector)
END_MESSAGE_MAP()

} // namespace classlib_test

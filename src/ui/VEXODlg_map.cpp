// How the main dialog meets its controls: the message map that routes each
// notification to its handler, and the data exchange that moves the members
// into the controls and back. The exchange order matters: taking the controls
// in stops at the first number box that holds no number, so every member
// before that box has its new value and every one after it keeps its old one.
#include "ui/VEXODlg.h"

BEGIN_MESSAGE_MAP(CVEXODlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_START, &CVEXODlg::OnBnClickedStart)
    ON_BN_CLICKED(IDC_BROWSE_BOOTLOADER, &CVEXODlg::OnBnClickedBrowseBootloader)
    ON_BN_CLICKED(IDC_BROWSE_KERNEL, &CVEXODlg::OnBnClickedBrowseKernel)
    ON_BN_CLICKED(IDC_BROWSE_CRAMFS, &CVEXODlg::OnBnClickedBrowseCramfs)
    ON_CBN_SELCHANGE(IDC_DRIVE, &CVEXODlg::OnCbnSelchangeDrive)
    ON_CBN_SELCHANGE(IDC_BOOTLOADER_UNIT, &CVEXODlg::OnCbnSelchangeBootloaderUnit)
    ON_CBN_SELCHANGE(IDC_KERNEL_UNIT, &CVEXODlg::OnCbnSelchangeKernelUnit)
    ON_CBN_SELCHANGE(IDC_ROOTFS_UNIT, &CVEXODlg::OnCbnSelchangeRootfsUnit)
    ON_CBN_SELCHANGE(IDC_SRAM_SIZE, &CVEXODlg::OnCbnSelchangeSramSize)
    ON_CBN_SELCHANGE(IDC_EFUSE_SIZE, &CVEXODlg::OnCbnSelchangeEfuseSize)
    ON_BN_CLICKED(IDC_BROWSE_ROOTFS, &CVEXODlg::OnBnClickedBrowseRootfs)
    ON_EN_KILLFOCUS(IDC_ROOTFS_START_SECTOR, &CVEXODlg::OnEnKillfocusRootfsStartSector)
    ON_EN_KILLFOCUS(IDC_BOOTLOADER_PART_SIZE, &CVEXODlg::OnEnKillfocusBootloaderPartSize)
    ON_EN_KILLFOCUS(IDC_KERNEL_PART_SIZE, &CVEXODlg::OnEnKillfocusKernelPartSize)
    ON_EN_KILLFOCUS(IDC_ROOTFS_PART_SIZE, &CVEXODlg::OnEnKillfocusRootfsPartSize)
    ON_BN_CLICKED(IDC_SAVE, &CVEXODlg::OnBnClickedSave)
    ON_BN_CLICKED(IDC_LOAD, &CVEXODlg::OnBnClickedLoad)
    ON_BN_CLICKED(IDC_SDHC, &CVEXODlg::OnBnClickedSdhc)
END_MESSAGE_MAP()

void CVEXODlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DRIVE_SIZE, m_strDriveSize);
    DDX_Text(pDX, IDC_BOOTLOADER_PATH, m_strBootloaderPath);
    DDX_Text(pDX, IDC_BL_FROM, m_strBlFrom);
    DDX_Text(pDX, IDC_BL_TO, m_strBlTo);
    DDX_Text(pDX, IDC_BL_DRIVE, m_strBlDrive);
    DDX_Text(pDX, IDC_BOOTLOADER_PART_SIZE, m_nBootloaderPartSize);
    DDX_Text(pDX, IDC_KERNEL_PART_SIZE, m_nKernelPartSize);
    DDX_Text(pDX, IDC_ROOTFS_PART_SIZE, m_nRootfsPartSize);
    DDX_Text(pDX, IDC_ROOTFS_START_SECTOR, m_nRootfsStartSector);
    DDX_Text(pDX, IDC_PROGRESS, m_strProgress);
    DDX_Text(pDX, IDC_KERNEL_PATH, m_strKernelPath);
    DDX_Text(pDX, IDC_CRAMFS_PATH, m_strCramfsPath);
    DDX_Text(pDX, IDC_ROOTFS_PATH, m_strRootfsPath);
    DDX_Text(pDX, IDC_KERNEL_FROM, m_strKernelFrom);
    DDX_Text(pDX, IDC_KERNEL_TO, m_strKernelTo);
    DDX_Text(pDX, IDC_KERNEL_DRIVE, m_strKernelDrive);
    DDX_Text(pDX, IDC_CRAMFS_FROM, m_strCramfsFrom);
    DDX_Text(pDX, IDC_CRAMFS_TO, m_strCramfsTo);
    DDX_Text(pDX, IDC_CRAMFS_DRIVE, m_strCramfsDrive);
    DDX_Control(pDX, IDC_DRIVE, m_cbDrive);
    DDX_Control(pDX, IDC_BOOTLOADER_UNIT, m_cbBootloaderUnit);
    DDX_Control(pDX, IDC_KERNEL_UNIT, m_cbKernelUnit);
    DDX_Control(pDX, IDC_ROOTFS_UNIT, m_cbRootfsUnit);
    DDX_Control(pDX, IDC_SRAM_SIZE, m_cbSramSize);
    DDX_Control(pDX, IDC_EFUSE_SIZE, m_cbEfuseSize);
    DDX_Control(pDX, IDC_SDHC, m_chkSdhc);
    DDX_Control(pDX, IDC_PROGRESS, m_editProgress);
}

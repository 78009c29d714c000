// The fusing settings' values when the dialog is built and once more when it
// has been initialised.
#include "ui/VEXODlg.h"

CVEXODlg::CVEXODlg(CWnd* parent)
    : CDialog(CVEXODlg::IDD, parent),
      m_hIcon(nullptr),
      m_nDriveIndex(0),
      m_nTotalSectors(0),
      m_nStartSector(0),
      m_nDiskNumber(0),
      m_nRootfsStartSector(0),
      m_nBootloaderPartSize(512),
      m_nKernelPartSize(4),
      m_nRootfsPartSize(8),
      m_nBootloaderUnit(1024),
      m_nKernelUnit(1048576),
      m_nRootfsUnit(1048576),
      m_nBl1Size(0),
      m_nEfuseSize(0),
      m_nSdhcReserve(0) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

void CVEXODlg::ResetSettings() {
    m_nDriveIndex = 256;  // no drive chosen yet
    m_nStartSector = 0;
    m_nTotalSectors = 0;
    m_strDriveSize.Empty();
    m_cbBootloaderUnit.SetCurSel(0);  // KB
    m_strBootloaderPath.Empty();
    m_cbKernelUnit.SetCurSel(1);      // MB
    m_strKernelPath.Empty();
    m_cbRootfsUnit.SetCurSel(1);      // MB
    m_strCramfsPath.Empty();
    m_nBl1Size = 8192;
    m_nEfuseSize = 1024;
    m_cbSramSize.SetCurSel(1);        // 8 KB
    m_cbEfuseSize.SetCurSel(0);       // 1 KB
}

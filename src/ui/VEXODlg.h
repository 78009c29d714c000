// The main dialog: it holds the whole working state of the tool (the fusing
// settings) and carries every operation on it. Its operations are defined
// across src/engine (fusing), src/device (card access) and src/ui (handlers).
#pragma once

#include "platform/classlib/afx.h"
#include "resource.h"

// Sector transfer buffers: 8 MiB each, static, zero at start, aligned for
// unbuffered device reads.
inline constexpr DWORD kTransferBufferSize = 8388608;
extern BYTE g_WriteBuffer[kTransferBufferSize];
extern BYTE g_VerifyBuffer[kTransferBufferSize];

// Takes every waiting message off the thread's queue and handles it.
void PumpMessages();

class CVEXODlg : public CDialog {
public:
    explicit CVEXODlg(CWnd* parent = nullptr);
    ~CVEXODlg() override = default;

    enum { IDD = IDD_VEXO_DIALOG };

    // Fusing settings, in declaration order.
    HICON m_hIcon;
    int m_nDriveIndex;
    CString m_strDriveSize;
    DWORD m_nTotalSectors;
    DWORD m_nStartSector;
    CComboBox m_cbDrive;
    int m_nDiskNumber;
    CString m_strBlFrom;
    CString m_strBlTo;
    CString m_strBlDrive;
    CString m_strKernelFrom;
    CString m_strKernelTo;
    CString m_strKernelDrive;
    DWORD m_nRootfsStartSector;
    CString m_strProgress;
    CString m_strCramfsFrom;
    CString m_strCramfsTo;
    CString m_strCramfsDrive;
    CFile m_fileBootloader;
    CFile m_fileKernel;
    CFile m_fileCramfs;
    CFile m_fileRootfs;
    CString m_strBootloaderPath;
    CString m_strKernelPath;
    CString m_strCramfsPath;
    CString m_strRootfsPath;
    DWORD m_nBootloaderPartSize;
    DWORD m_nKernelPartSize;
    DWORD m_nRootfsPartSize;
    DWORD m_nBootloaderUnit;
    DWORD m_nKernelUnit;
    DWORD m_nRootfsUnit;
    CComboBox m_cbBootloaderUnit;
    CComboBox m_cbKernelUnit;
    CComboBox m_cbRootfsUnit;
    CComboBox m_cbSramSize;
    CComboBox m_cbEfuseSize;
    DWORD m_nBl1Size;
    DWORD m_nEfuseSize;
    DWORD m_nSdhcReserve;
    CButton m_chkSdhc;
    CEdit m_editProgress;

    // Settings and layout (src/engine/settings.cpp).
    void ResetSettings();
    int CheckPartitionSizes();

    // Card access (src/device).
    int CheckDrive();
    int UpdateDriveIndex();
    int GetDiskNumber(char letter);
    int GetDiskSectors();
    int WriteSectors(DWORD sector, DWORD count, const BYTE* buffer);
    int ReadSectors(DWORD sector, DWORD count, BYTE* buffer);

    // Image steps (src/engine).
    int FuseBootloader();
    void MakeBl1Checksum(BYTE* buffer);
    int FuseKernel();
    int FuseRootfs();

    // Handlers (src/engine/fusing_run.cpp, src/device, src/ui).
    void OnBnClickedStart();
    void OnCbnSelchangeDrive();
    void OnBnClickedBrowseBootloader();
    void OnBnClickedBrowseKernel();
    void OnBnClickedBrowseCramfs();
    void OnBnClickedBrowseRootfs();
    void OnCbnSelchangeBootloaderUnit();
    void OnCbnSelchangeKernelUnit();
    void OnCbnSelchangeRootfsUnit();
    void OnCbnSelchangeSramSize();
    void OnCbnSelchangeEfuseSize();
    void OnEnKillfocusRootfsStartSector();
    void OnEnKillfocusBootloaderPartSize();
    void OnEnKillfocusKernelPartSize();
    void OnEnKillfocusRootfsPartSize();
    void OnBnClickedSave();
    void OnBnClickedLoad();
    void OnBnClickedSdhc();

    // Window-level behaviour (src/ui).
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
};

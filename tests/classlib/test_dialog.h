// A small dialog of the tests' own on the main dialog template (102): a few
// members exchanged with its boxes, handlers that log what reached them, and
// a recorder that answers message boxes.
#pragma once

#include "platform/classlib/afx.h"
#include "platform/classlib/qt/dialog_window.h"
#include "platform/testing/ui_hooks.h"
#include "resource.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace classlib_test {

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_VEXO_DIALOG) {}

    CString m_driveSize;
    CString m_bootloaderPath;
    DWORD m_bootloaderPartSize = 512;
    DWORD m_kernelPartSize = 4;
    DWORD m_rootfsPartSize = 8;
    DWORD m_rootfsStartSector = 0;
    CString m_progress;
    CComboBox m_cbDrive;
    CComboBox m_cbSramSize;
    CButton m_chkSdhc;
    CEdit m_editProgress;

    std::vector<std::string> log;
    int paints = 0;
    BOOL lastExchange = TRUE;

    void OnStart() { log.push_back("start"); }
    void OnBrowse() { log.push_back("browse"); }
    void OnDrive() { log.push_back("drive " + std::to_string(m_cbDrive.GetCurSel())); }
    void OnSramSize() { log.push_back("sram " + std::to_string(m_cbSramSize.GetCurSel())); }
    void OnSdhc() { log.push_back("sdhc " + std::to_string(m_chkSdhc.GetCheck())); }
    void OnKillBootloaderPartSize() {
        log.push_back("kill 1012");
        lastExchange = UpdateData(TRUE);
    }
    void OnKillRootfsStartSector() {
        log.push_back("kill 1041");
        lastExchange = UpdateData(TRUE);
    }
    void OnSysCommand(UINT id, LPARAM lParam) {
        log.push_back("syscommand " + std::to_string(id));
        if ((id & 0xFFF0) != IDM_ABOUTBOX)
            CDialog::OnSysCommand(id, lParam);
    }
    // Minimised, the window shows its icon centred, drawn over the erased
    // background; otherwise the default painting.
    void OnPaint() {
        ++paints;
        if (!IsIconic()) {
            CDialog::OnPaint();
            return;
        }
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        CRect client;
        GetClientRect(&client);
        const int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc.GetSafeHdc(), x, y, icon);
    }
    HICON icon = nullptr;

    // The widget of a control, as the tests drive it.
    template <typename W = QWidget>
    W* Control(int id) const {
        CWnd* item = GetDlgItem(id);
        return item ? qobject_cast<W*>(item->GetWidget()) : nullptr;
    }
    platform::classlib::DialogWindow* Window() const {
        return qobject_cast<platform::classlib::DialogWindow*>(GetWidget());
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_DRIVE_SIZE, m_driveSize);
        DDX_Text(pDX, IDC_BOOTLOADER_PATH, m_bootloaderPath);
        DDX_Text(pDX, IDC_BOOTLOADER_PART_SIZE, m_bootloaderPartSize);
        DDX_Text(pDX, IDC_KERNEL_PART_SIZE, m_kernelPartSize);
        DDX_Text(pDX, IDC_ROOTFS_PART_SIZE, m_rootfsPartSize);
        DDX_Text(pDX, IDC_ROOTFS_START_SECTOR, m_rootfsStartSector);
        DDX_Text(pDX, IDC_PROGRESS, m_progress);
        DDX_Control(pDX, IDC_DRIVE, m_cbDrive);
        DDX_Control(pDX, IDC_SRAM_SIZE, m_cbSramSize);
        DDX_Control(pDX, IDC_SDHC, m_chkSdhc);
        DDX_Control(pDX, IDC_PROGRESS, m_editProgress);
    }

    DECLARE_MESSAGE_MAP()
};

// Records every message box and answers it with OK.
class MessageBoxRecorder {
public:
    MessageBoxRecorder() {
        platform::testing::SetMessageBoxHook([this](const platform::testing::MessageBoxCall& call) {
            calls.push_back(call);
            return IDOK;
        });
    }
    ~MessageBoxRecorder() { platform::testing::SetMessageBoxHook(nullptr); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<platform::testing::MessageBoxCall> calls;
};

// A test dialog created (not run modally), shown and active, so that focus
// changes and keys behave as they do for an operator.
class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create(IDD_VEXO_DIALOG));
        QWidget* window = dialog.GetWidget();
        ASSERT_NE(window, nullptr);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    // Lets queued notifications arrive.
    static void Settle() { QCoreApplication::processEvents(); }

    MessageBoxRecorder boxes;
    TestDialog dialog;
};

} // namespace classlib_test

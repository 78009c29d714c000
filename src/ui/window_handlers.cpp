// Window-level behaviour of the main dialog: its set-up, the About item of the
// system menu, the icon of the minimised window and the drag icon.
#include "ui/AboutDlg.h"
#include "ui/VEXODlg.h"
#include "ui/icon_placement.h"

// A system-menu command keeps its low four bits free for the system's use,
// and the system's own commands start at 0xF000.
static_assert((IDM_ABOUTBOX & 0xFFF0) == IDM_ABOUTBOX && IDM_ABOUTBOX < 0xF000);

BOOL CVEXODlg::OnInitDialog() {
    // Fills the lists from the template and shows the members in the controls;
    // ResetSettings below selects list items and so must come after it.
    CDialog::OnInitDialog();

    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        CString aboutItem;
        aboutItem.LoadString(IDS_ABOUTBOX);
        if (!aboutItem.IsEmpty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutItem);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    ResetSettings();
    return TRUE;
}

void CVEXODlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}

void CVEXODlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    CRect client;
    GetClientRect(&client);
    const int x = CentredIconOrigin(client.Width(), iconWidth);
    const int y = CentredIconOrigin(client.Height(), iconHeight);
    DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
}

HCURSOR CVEXODlg::OnQueryDragIcon() {
    return m_hIcon;
}

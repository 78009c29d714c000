// Windows, dialogs, controls, data exchange and message boxes of the class
// library stand-in. On Linux every window is a real Qt widget, on Windows a
// real window of the system; the system's code sees only these classes.
#pragma once

#include "platform/classlib/cstring.h"
#include "platform/classlib/msgmap.h"
#include "platform/wintypes.h"

#include <map>
#include <vector>
#include <memory>

#ifdef _WIN32
#include <commdlg.h>
#endif

#ifndef _WIN32
class QWidget;
#endif

namespace platform::classlib {
class DialogWindow;  // the system side of a dialog (classlib/qt/, classlib/win32/)
}

#ifndef _WIN32
// Message box styles and results.
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ICONSTOP = 0x00000010;
inline constexpr UINT MB_ICONERROR = MB_ICONSTOP;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Window and control messages the system sends by number.
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr UINT EM_SETSEL = 0x00B1;
inline constexpr int CB_ERR = -1;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;

// Menu item flags.
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_SEPARATOR = 0x0800;

// System commands.
inline constexpr UINT SC_MOVE = 0xF010;
inline constexpr UINT SC_CLOSE = 0xF060;

// File dialog option flags.
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

struct RECT {
    LONG left, top, right, bottom;
};
using LPRECT = RECT*;
#endif

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    operator LPRECT() { return this; }  // NOLINT
};

class CMenu;
class CDataExchange;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

#ifdef _WIN32
    HWND GetSafeHwnd() const { return m_hWnd; }
    // Binds this object to an existing window (what DDX_Control does).
    void Attach(HWND window);
    void AttachToWindowOf(const CWnd& other) { Attach(other.m_hWnd); }
#else
    HWND GetSafeHwnd() const { return reinterpret_cast<HWND>(m_pWidget); }
    QWidget* GetWidget() const { return m_pWidget; }
    // Binds this object to an existing widget (what DDX_Control does).
    void Attach(QWidget* widget);
    void AttachToWindowOf(const CWnd& other) { Attach(other.m_pWidget); }
#endif

    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;

    void SetWindowText(const char16_t* text);
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    BOOL ShowWindow(int cmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable);
    BOOL IsWindowEnabled() const;
    CWnd* SetFocus();
    BOOL IsIconic() const;
    void GetClientRect(LPRECT rect) const;

    // Repaints the window at once, outside the message queue.
    void UpdateWindow();

    // Runs DoDataExchange in one direction: FALSE shows the members in the
    // controls, TRUE takes the controls into the members. Returns FALSE when a
    // box refused its text; the exchange stops at that box.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // A modal message box owned by this window; returns IDOK, IDCANCEL, ...
    int MessageBox(const char16_t* text, const char16_t* caption = nullptr, UINT type = MB_OK);

    // Sends a message to this window: the message map first, then the
    // built-in handling of the few messages the system sends by number
    // (WM_SETICON, WM_ICONERASEBKGND, CB_GETCURSEL, CB_SETCURSEL, EM_SETSEL);
    // on Windows the system's own default handling.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;

    // The window's system menu: on Linux the window manager owns the title
    // bar, so this menu opens from the dialog's context menu and Alt+Space;
    // on Windows it is the system's own. Its items send WM_SYSCOMMAND to the
    // window.
    CMenu* GetSystemMenu(BOOL revert);

    // While a long operation lets the window handle messages, the operator's
    // input to the window (clicks, keys, closing) is held off and painting
    // goes on. On Linux the window shows a busy cursor, its buttons and lists
    // look disabled and it can still be moved; on Windows the system
    // disables the window. Calls nest.
    void BeginModalState();
    void EndModalState();
    bool InModalState() const { return m_modalDepth > 0; }

protected:
#ifdef _WIN32
    HWND m_hWnd = nullptr;
    HWND m_focusBeforeModalState = nullptr;
#else
    QWidget* m_pWidget = nullptr;
#endif
    int m_modalDepth = 0;
};

class CMenu {
public:
    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, const char16_t* newItem = nullptr);
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int pos) const;     // 0 for a separator
    CString GetMenuString(int pos) const;  // "" for a separator
    // Runs item pos as if the operator had chosen it (tests and shortcuts).
    void Choose(int pos);

    struct Item {
        UINT flags;
        UINT_PTR id;
        CString text;
    };
    explicit CMenu(CWnd* owner) : m_owner(owner) {}
    const std::vector<Item>& Items() const { return m_items; }
#ifdef _WIN32
    // The system's menu these items are added to as well.
    CMenu(CWnd* owner, HMENU menu) : m_owner(owner), m_hMenu(menu) {}
    HMENU GetSafeHmenu() const { return m_hMenu; }
#endif

private:
    CWnd* m_owner;
    std::vector<Item> m_items;
#ifdef _WIN32
    HMENU m_hMenu = nullptr;
#endif
};

class CComboBox : public CWnd {
public:
    int GetCurSel() const;           // CB_ERR when nothing is selected
    int SetCurSel(int select);       // by program: raises no CBN_SELCHANGE; -1 or out of range clears
    int GetCount() const;
    int GetLBText(int index, CString& text) const;
    int AddString(const char16_t* text);
};

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);
};

class CEdit : public CWnd {
public:
    void SetSel(int startChar, int endChar);
    void GetSel(int& startChar, int& endChar) const;
};

// One run of DoDataExchange.
class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd) {}
    // Remembers the control being exchanged so that Fail can return to it.
    HWND PrepareEditCtrl(int idc);
    HWND PrepareCtrl(int idc);
    // Puts the focus back into the last prepared box with its text selected
    // and abandons the exchange (throws; UpdateData catches it).
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    bool m_bEditLastControl = false;
};

void DDX_Text(CDataExchange* pDX, int idc, CString& value);
// Unsigned 32-bit number: shown with "%lu"; read from the first 63
// characters with "%lu", refused with "Enter a positive integer."
void DDX_Text(CDataExchange* pDX, int idc, DWORD& value);
void DDX_Control(CDataExchange* pDX, int idc, CWnd& control);

class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    HDC m_hDC = nullptr;

private:
    CWnd* m_pWnd;
#ifdef _WIN32
    PAINTSTRUCT m_ps{};
#endif
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the window from the dialog template, runs OnInitDialog, shows it
    // and handles messages until EndDialog; returns the EndDialog result, or
    // -1 when the template cannot be loaded.
    virtual INT_PTR DoModal();
    // Builds the window without running it modally (not shown until asked).
    BOOL Create(UINT idTemplate, CWnd* parent = nullptr);
    void EndDialog(int result);

    // Fills the combo boxes from the template's initial-data resource, then
    // shows the members in the controls (UpdateData(FALSE)).
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void OnPaint();
    void OnSysCommand(UINT id, LPARAM lParam);

    UINT GetTemplateId() const { return m_nIDTemplate; }

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    std::unique_ptr<platform::classlib::DialogWindow> m_window;
    std::map<int, std::unique_ptr<CWnd>> m_tempControls;  // wrappers handed out by GetDlgItem
    friend class CWnd;
    friend class platform::classlib::DialogWindow;
};

class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char16_t* defExt = nullptr, const char16_t* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char16_t* filter = nullptr,
                CWnd* parentWnd = nullptr, DWORD size = 0, BOOL vistaStyle = TRUE);
    virtual ~CFileDialog() = default;
    virtual INT_PTR DoModal();
    CString GetPathName() const { return m_pathName; }

    BOOL m_bOpenFileDialog;
    CString m_defExt;
    CString m_fileName;
    DWORD m_flags;
    CString m_filter;

private:
    CWnd* m_pParentWnd = nullptr;
    CString m_pathName;
};

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char16_t* appName = nullptr);
    ~CWinApp() override;
    virtual BOOL InitInstance();
    HICON LoadIcon(UINT idResource) const;  // at the system's large-icon size
    void SetRegistryKey(const char16_t* registryKey);
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    CString m_pszAppName;
    CString m_pszRegistryKey;

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
};

CWinApp* AfxGetApp();
void AfxEnableControlContainer();
// Message box owned by the application, captioned with its title.
int AfxMessageBox(const char16_t* text, UINT type = MB_OK, UINT helpId = 0);

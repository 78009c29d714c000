// CDialog on the system's dialog manager: a window built from a template of
// the resource section, run modally or created modeless, with the default
// handling of OK, Cancel, painting and system commands.
#include "platform/classlib/dialog_list_items.h"
#include "platform/classlib/win32/dialog_window.h"
#include "platform/classlib/wnd.h"
#include "platform/resources/resources.h"

using platform::classlib::DialogWindow;
namespace resources = platform::resources;

namespace {


// The owner of a dialog without a parent: the application's main window,
// which is disabled while the dialog runs (the About box over the main
// dialog); none for the main window itself.
HWND OwnerFor(const CWnd* parent, const CWnd* dialog) {
    if (parent)
        return parent->GetSafeHwnd();
    const CWinApp* app = AfxGetApp();
    const CWnd* main = app ? app->m_pMainWnd : nullptr;
    return main && main != dialog ? main->GetSafeHwnd() : nullptr;
}

} // namespace

CDialog::CDialog(UINT idTemplate, CWnd* parent) : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    m_tempControls.clear();
    if (m_hWnd && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
    Attach(nullptr);
}

BOOL CDialog::Create(UINT idTemplate, CWnd* parent) {
    if (m_hWnd)
        return FALSE;
    m_nIDTemplate = idTemplate;
    m_pParentWnd = parent;
    m_tempControls.clear();
    m_window = std::make_unique<DialogWindow>(*this);
    return m_window->CreateModeless(m_nIDTemplate, OwnerFor(m_pParentWnd, this)) != nullptr;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd)
        return -1;
    m_tempControls.clear();
    m_window = std::make_unique<DialogWindow>(*this);
    const INT_PTR result = m_window->RunModal(m_nIDTemplate, OwnerFor(m_pParentWnd, this));
    // The window is gone; the members bound to its controls were unbound with it.
    m_tempControls.clear();
    Attach(nullptr);
    m_window.reset();
    return result;
}

void CDialog::EndDialog(int result) {
    if (m_window)
        m_window->End(result);
}

// The system paints the dialog's background and its controls.
void CDialog::OnPaint() {
    if (m_hWnd)
        DefWindowProcW(m_hWnd, WM_PAINT, 0, 0);
}

// Moving, closing (which comes back as IDCANCEL), the keyboard's way into
// the system menu and the rest: the system's own handling.
void CDialog::OnSysCommand(UINT id, LPARAM lParam) {
    if (m_hWnd)
        DefWindowProcW(m_hWnd, WM_SYSCOMMAND, id, lParam);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace platform::classlib {

void AddInitialListItem(CDialog& dialog, int controlId, const std::u16string& text) {
    if (dialog.GetSafeHwnd())
        SendDlgItemMessageW(dialog.GetSafeHwnd(), controlId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace platform::classlib

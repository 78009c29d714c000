// Dialog data exchange: DoDataExchange run in one direction, and the three
// kinds of exchange the dialogs use (text, unsigned number, control object).
#include "platform/classlib/notification_hold.h"
#include "platform/classlib/wnd.h"
#include "platform/text/wide_format.h"

namespace {

// Thrown by CDataExchange::Fail, caught by UpdateData.
struct ExchangeAbandoned {};

// A number box reads at most this many characters of its text.
constexpr std::size_t kNumberTextLimit = 63;

} // namespace

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    // Controls touched by the exchange (its message box, the focus going
    // back to a refused box) raise no notifications meanwhile.
    const platform::classlib::NotificationHold hold(*this);
    CDataExchange exchange(this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const ExchangeAbandoned&) {
        return FALSE;
    }
    return TRUE;
}

HWND CDataExchange::PrepareCtrl(int idc) {
    m_idLastControl = idc;
    m_bEditLastControl = false;
    const CWnd* control = m_pDlgWnd->GetDlgItem(idc);
    return control ? control->GetSafeHwnd() : nullptr;
}

HWND CDataExchange::PrepareEditCtrl(int idc) {
    const HWND control = PrepareCtrl(idc);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate) {
        if (CWnd* control = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
            control->SetFocus();
            if (m_bEditLastControl)
                control->SendMessage(EM_SETSEL, 0, -1);
        }
    }
    throw ExchangeAbandoned{};
}

void DDX_Text(CDataExchange* pDX, int idc, CString& value) {
    pDX->PrepareEditCtrl(idc);
    CWnd* control = pDX->m_pDlgWnd->GetDlgItem(idc);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        control->GetWindowText(value);
    else
        control->SetWindowText(value);
}

void DDX_Text(CDataExchange* pDX, int idc, DWORD& value) {
    pDX->PrepareEditCtrl(idc);
    CWnd* control = pDX->m_pDlgWnd->GetDlgItem(idc);
    if (!control)
        return;
    if (!pDX->m_bSaveAndValidate) {
        control->SetWindowText(platform::text::Format(u"%lu", value).c_str());
        return;
    }
    CString text;
    control->GetWindowText(text);
    const std::u16string head = text.Str().substr(0, kNumberTextLimit);
    DWORD number = 0;
    if (platform::text::Scan(head.c_str(), u"%lu", &number) != 1) {
        AfxMessageBox(u"Enter a positive integer.", MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = number;
}

void DDX_Control(CDataExchange* pDX, int idc, CWnd& control) {
    pDX->PrepareCtrl(idc);
    if (control.GetSafeHwnd())
        return;
    if (const CWnd* item = pDX->m_pDlgWnd->GetDlgItem(idc))
        control.AttachToWindowOf(*item);
}

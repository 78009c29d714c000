// The list, button and edit wrappers: the system's own control messages.
#include "platform/classlib/wnd.h"

int CComboBox::GetCurSel() const { return m_hWnd ? static_cast<int>(SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)) : CB_ERR; }

int CComboBox::SetCurSel(int select) {
    return m_hWnd ? static_cast<int>(SendMessageW(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(select), 0)) : CB_ERR;
}

int CComboBox::GetCount() const { return m_hWnd ? static_cast<int>(SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0)) : CB_ERR; }

int CComboBox::GetLBText(int index, CString& text) const {
    const int length = m_hWnd ? static_cast<int>(SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0))
                              : CB_ERR;
    if (length == CB_ERR)
        return CB_ERR;
    std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = static_cast<int>(
        SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data())));
    if (copied == CB_ERR)
        return CB_ERR;
    buffer.resize(static_cast<std::size_t>(copied));
    text = CString(buffer);
    return copied;
}

int CComboBox::AddString(const char16_t* text) {
    return m_hWnd ? static_cast<int>(SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text ? text : u"")))
                  : CB_ERR;
}

int CButton::GetCheck() const { return m_hWnd ? static_cast<int>(SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)) : 0; }

void CButton::SetCheck(int check) {
    if (m_hWnd)
        SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

void CEdit::SetSel(int startChar, int endChar) {
    if (m_hWnd)
        SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(startChar), endChar);
}

void CEdit::GetSel(int& startChar, int& endChar) const {
    DWORD start = 0;
    DWORD end = 0;
    if (m_hWnd)
        SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    startChar = static_cast<int>(start);
    endChar = static_cast<int>(end);
}

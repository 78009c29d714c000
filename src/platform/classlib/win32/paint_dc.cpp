// CPaintDC: the system's paint context of the window, for one WM_PAINT.
#include "platform/classlib/wnd.h"

CPaintDC::CPaintDC(CWnd* wnd) : m_pWnd(wnd) {
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        m_hDC = BeginPaint(m_pWnd->GetSafeHwnd(), &m_ps);
}

CPaintDC::~CPaintDC() {
    if (m_hDC)
        EndPaint(m_pWnd->GetSafeHwnd(), &m_ps);
}

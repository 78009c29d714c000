#include "cli/reporting_dialog.h"

namespace cli {

void CReportingDlg::DoDataExchange(CDataExchange* pDX) {
    CVEXODlg::DoDataExchange(pDX);
    if (pDX->m_bSaveAndValidate)
        return;
    m_report.Range("bootloader", m_strBlFrom.Str(), m_strBlTo.Str(), m_strBlDrive.Str());
    m_report.Range("kernel", m_strKernelFrom.Str(), m_strKernelTo.Str(), m_strKernelDrive.Str());
    m_report.Progress(m_strProgress.Str());
}

} // namespace cli

// The main dialog, unchanged, with one addition for running it without a
// screen: after every exchange into the controls (the moments the operator
// would see new values) it hands the ranges and the progress to the report.
#pragma once

#include "cli/run_report.h"
#include "ui/VEXODlg.h"

namespace cli {

class CReportingDlg : public CVEXODlg {
public:
    explicit CReportingDlg(RunReport& report) : m_report(report) {}

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    RunReport& m_report;
};

} // namespace cli

// START: check the card, then fuse the bootloader, the kernel and the root
// file system in that order, each only if its image file opens; stop at the
// first step that fails; on success say so and clear the results.
#include "engine/diagnostic_output.h"
#include "ui/VEXODlg.h"

namespace {

struct ImageStep {
    CFile CVEXODlg::*file;
    CString CVEXODlg::*path;
    int (CVEXODlg::*fuse)();
};

constexpr ImageStep kImageSteps[] = {
    {&CVEXODlg::m_fileBootloader, &CVEXODlg::m_strBootloaderPath, &CVEXODlg::FuseBootloader},
    {&CVEXODlg::m_fileKernel, &CVEXODlg::m_strKernelPath, &CVEXODlg::FuseKernel},
    {&CVEXODlg::m_fileRootfs, &CVEXODlg::m_strRootfsPath, &CVEXODlg::FuseRootfs},
};

// The root file-system step lets the dialog handle messages between chunks.
// For as long as the run lasts, however it ends, the operator's input to the
// dialog is held off (the window still repaints and moves, shows a busy
// cursor and its controls look disabled), so that nothing can act on the
// card, settings, files or buffers of the run in progress.
class RunInProgress {
public:
    explicit RunInProgress(CWnd& dialog) : m_dialog(dialog) { m_dialog.BeginModalState(); }
    RunInProgress(const RunInProgress&) = delete;
    RunInProgress& operator=(const RunInProgress&) = delete;
    ~RunInProgress() { m_dialog.EndModalState(); }

private:
    CWnd& m_dialog;
};

} // namespace

void CVEXODlg::OnBnClickedStart() {
    // A START that still reaches the dialog while a run handles messages
    // must not begin a second run on the same card and buffers.
    if (InModalState())
        return;
    RunInProgress run(*this);

    if (!CheckDrive())
        return;

    bool fused = false;
    for (const ImageStep& step : kImageSteps) {
        if (!(this->*step.file).Open(this->*step.path, CFile::modeRead | CFile::shareDenyNone)) {
            engine::PrintDiagnostic(u"Something wrong!");
            continue;
        }
        if (!(this->*step.fuse)())
            return;  // the step has shown what went wrong
        fused = true;
    }
    if (!fused)
        return;

    MessageBox(u"Fusing image done", u"NOTICE", MB_OK);
    m_strBlFrom.Empty();
    m_strBlTo.Empty();
    m_strBlDrive.Empty();
    m_strKernelFrom.Empty();
    m_strKernelTo.Empty();
    m_strKernelDrive.Empty();
    m_nRootfsStartSector = 0;
    m_strProgress.Empty();
    UpdateData(FALSE);
    UpdateWindow();
}

// Start-up: common controls, the main dialog run modally, then the end of the
// process. The tool never runs a message loop of its own: InitInstance
// returns FALSE once the dialog has closed.
#include "ui/VEXOApp.h"

#include "ui/VEXODlg.h"

BEGIN_MESSAGE_MAP(CVEXOApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CVEXOApp::CVEXOApp() = default;

CVEXOApp theApp;

BOOL CVEXOApp::InitInstance() {
    INITCOMMONCONTROLSEX commonControls;
    commonControls.dwSize = sizeof(commonControls);
    commonControls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&commonControls);

    CWinApp::InitInstance();
    AfxEnableControlContainer();

    // Names the key for profile settings; the tool keeps its choices in the
    // settings file and stores nothing under it.
    SetRegistryKey(u"Local AppWizard-Generated Applications");

    CVEXODlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();

    // The dialog is a local that dies with this call: leave no main window
    // behind for whatever the platform does on the way out.
    m_pMainWnd = nullptr;
    return FALSE;
}

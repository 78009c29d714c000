// CWinApp: the one application object, its icon loading and its title.
#include "platform/classlib/app_title.h"
#include "platform/classlib/wnd.h"
#include "platform/resources/resources.h"

#include <vector>

namespace {

// String id of the application title in the string table.
constexpr UINT kAppTitleString = 57344;

// Application objects in the order they were made; the latest alive is the
// application (there is one in the program; tests may add their own).
std::vector<CWinApp*>& Apps() {
    static std::vector<CWinApp*> apps;
    return apps;
}

} // namespace

CWinApp::CWinApp(const char16_t* appName) {
    if (appName)
        m_pszAppName = appName;
    Apps().push_back(this);
}

CWinApp::~CWinApp() { std::erase(Apps(), this); }

BOOL CWinApp::InitInstance() { return TRUE; }

HICON CWinApp::LoadIcon(UINT idResource) const {
    return platform::classlib::LoadResourceIcon(static_cast<WORD>(idResource));
}

// Names the key under which profile settings would live; the tool keeps
// no settings there, so nothing is stored.
void CWinApp::SetRegistryKey(const char16_t* registryKey) { m_pszRegistryKey = registryKey ? registryKey : u""; }

// There is no help file; the help command does nothing.
void CWinApp::OnHelp() {}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp* AfxGetApp() { return Apps().empty() ? nullptr : Apps().back(); }

// The dialogs hold no embedded components; nothing to enable.
void AfxEnableControlContainer() {}

namespace platform::classlib {

std::u16string AppTitle() {
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pszAppName.IsEmpty())
        return app->m_pszAppName.Str();
    std::u16string title;
    if (auto fromTable = resources::LoadString(kAppTitleString); fromTable && !fromTable->empty())
        title = *fromTable;
    else
        title = ProgramName();
    if (app)
        app->m_pszAppName = CString(title);
    return title;
}

} // namespace platform::classlib

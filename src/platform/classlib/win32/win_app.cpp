// CWinApp: the one application object, its icon loading and its title.
#include "platform/classlib/win32/app_title.h"
#include "platform/classlib/wnd.h"
#include "platform/resources/resources.h"

#include <filesystem>
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

std::u16string ProgramName() {
    std::u16string path(MAX_PATH, u'\0');
    const DWORD length = GetModuleFileNameW(nullptr, AsWide(path.data()), static_cast<DWORD>(path.size()));
    path.resize(length);
    return std::filesystem::path(path).stem().u16string();
}

} // namespace

CWinApp::CWinApp(const char16_t* appName) {
    if (appName)
        m_pszAppName = appName;
    Apps().push_back(this);
}

CWinApp::~CWinApp() { std::erase(Apps(), this); }

BOOL CWinApp::InitInstance() { return TRUE; }

// The shared icon of the resource section, at the system's large-icon size.
HICON CWinApp::LoadIcon(UINT idResource) const {
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(idResource));
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

// CFileDialog: the test hook (and the command line's answerer) when one is
// set, else the system's Open or Save As dialog.
#include "platform/classlib/wnd.h"
#include "platform/testing/ui_hooks.h"

#include <algorithm>
#include <filesystem>

namespace {

// Room for the longest path the system takes.
constexpr std::size_t kPathCapacity = 32768;

// The class library writes a filter as "description|pattern|...||"; the
// system wants the same pairs separated by NULs and ended by two.
std::u16string SystemFilter(const std::u16string& filter) {
    std::u16string pairs = filter;
    std::replace(pairs.begin(), pairs.end(), u'|', u'\0');
    return pairs + std::u16string(2, u'\0');
}

// What the system's dialog does with a typed name that has no extension,
// for names that come from the hook: the default extension is added, except
// that an Open dialog keeps the bare name when that file exists and the
// extended one does not.
std::u16string WithDefaultExtension(const std::u16string& path, const std::u16string& defExt, bool open) {
    namespace fs = std::filesystem;
    if (defExt.empty() || path.empty() || fs::path(path).filename().u16string().find(u'.') != std::u16string::npos)
        return path;
    const std::u16string extended = path + u"." + defExt;
    std::error_code error;
    if (open && fs::exists(fs::path(path), error) && !fs::exists(fs::path(extended), error))
        return path;
    return extended;
}

HWND OwnerFor(const CWnd* parent) {
    if (parent && parent->GetSafeHwnd())
        return parent->GetSafeHwnd();
    if (const HWND active = GetActiveWindow())
        return active;
    const CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}

} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const char16_t* defExt, const char16_t* fileName, DWORD flags,
                         const char16_t* filter, CWnd* parentWnd, DWORD, BOOL)
    : m_bOpenFileDialog(openFileDialog),
      m_defExt(defExt ? defExt : u""),
      m_fileName(fileName ? fileName : u""),
      m_flags(flags),
      m_filter(filter ? filter : u"") {
    m_pParentWnd = parentWnd;
}

INT_PTR CFileDialog::DoModal() {
    const bool open = m_bOpenFileDialog != FALSE;
    if (const auto& hook = platform::testing::GetFileDialogHook()) {
        const platform::testing::FileDialogAnswer answer = hook(platform::testing::FileDialogCall{
            open, m_defExt.Str(), m_fileName.Str(), m_flags, m_filter.Str()});
        if (answer.result != IDOK)
            return answer.result;
        m_pathName = CString(WithDefaultExtension(answer.pathName, m_defExt.Str(), open));
        return IDOK;
    }

    std::u16string path(kPathCapacity, u'\0');
    std::copy_n(m_fileName.Str().begin(), std::min(m_fileName.Str().size(), kPathCapacity - 1), path.begin());
    const std::u16string filter = SystemFilter(m_filter.Str());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = OwnerFor(m_pParentWnd);
    dialog.lpstrFilter = m_filter.IsEmpty() ? nullptr : AsWide(filter.c_str());
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = AsWide(path.data());
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    // No default extension is a null one: an empty text would make the
    // system add the chosen filter's extension.
    dialog.lpstrDefExt = m_defExt.IsEmpty() ? nullptr : AsWide(m_defExt.GetString());
    // The working folder stays where it was, whatever folder is browsed.
    dialog.Flags = m_flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const BOOL chosen = open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!chosen)
        return IDCANCEL;
    m_pathName = CString(path.c_str());
    return IDOK;
}

// The system's Open and Save As dialogs on Windows.
#include "platform/classlib/file_dialog_rules.h"

#include <algorithm>

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

HWND OwnerFor(const CWnd* parent) {
    if (parent && parent->GetSafeHwnd())
        return parent->GetSafeHwnd();
    if (const HWND active = GetActiveWindow())
        return active;
    const CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}

} // namespace

namespace platform::classlib {

std::optional<std::u16string> RunSystemFileDialog(const CFileDialog& request, CWnd* parent) {
    std::u16string path(kPathCapacity, u'\0');
    const std::u16string& fileName = request.m_fileName.Str();
    std::copy_n(fileName.begin(), std::min(fileName.size(), kPathCapacity - 1), path.begin());
    const std::u16string filter = SystemFilter(request.m_filter.Str());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = OwnerFor(parent);
    dialog.lpstrFilter = request.m_filter.IsEmpty() ? nullptr : AsWide(filter.c_str());
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = AsWide(path.data());
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    // No default extension is a null one: an empty text would make the
    // system add the chosen filter's extension. The system applies the
    // default extension to the chosen name itself.
    dialog.lpstrDefExt = request.m_defExt.IsEmpty() ? nullptr : AsWide(request.m_defExt.GetString());
    // The working folder stays where it was, whatever folder is browsed.
    dialog.Flags = request.m_flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const BOOL chosen = request.m_bOpenFileDialog ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!chosen)
        return std::nullopt;
    return std::u16string(path.c_str());
}

} // namespace platform::classlib

// CFileDialog: the test hook (and the command line's answerer) when one is
// set, else the system's Open or Save As dialog.
#include "platform/classlib/file_dialog_rules.h"
#include "platform/testing/ui_hooks.h"

#include <filesystem>

namespace platform::classlib {

std::u16string WithDefaultExtension(const std::u16string& path, std::u16string_view defExt, bool openDialog) {
    namespace fs = std::filesystem;
    if (defExt.empty() || path.empty() || fs::path(path).filename().u16string().find(u'.') != std::u16string::npos)
        return path;
    const std::u16string extended = path + u"." + std::u16string(defExt);
    std::error_code error;
    if (openDialog && fs::exists(fs::path(path), error) && !fs::exists(fs::path(extended), error))
        return path;
    return extended;
}

} // namespace platform::classlib

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
    std::optional<std::u16string> chosen;
    if (const auto& hook = platform::testing::GetFileDialogHook()) {
        const platform::testing::FileDialogAnswer answer = hook(platform::testing::FileDialogCall{
            open, m_defExt.Str(), m_fileName.Str(), m_flags, m_filter.Str()});
        if (answer.result != IDOK)
            return answer.result;
        chosen = platform::classlib::WithDefaultExtension(answer.pathName, m_defExt.Str(), open);
    } else {
        chosen = platform::classlib::RunSystemFileDialog(*this, m_pParentWnd);
        if (!chosen)
            return IDCANCEL;
    }
    m_pathName = CString(*chosen);
    return IDOK;
}

// CFileDialog: the test hook when one is set, else a real QFileDialog.
#include "platform/classlib/qt/file_dialog_rules.h"
#include "platform/classlib/qt/message_box.h"
#include "platform/classlib/wnd.h"
#include "platform/testing/ui_hooks.h"

#include <QFileDialog>

using namespace platform::classlib;

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
    std::u16string chosen;
    if (const auto& hook = platform::testing::GetFileDialogHook()) {
        const platform::testing::FileDialogAnswer answer = hook(platform::testing::FileDialogCall{
            open, m_defExt.Str(), m_fileName.Str(), m_flags, m_filter.Str()});
        if (answer.result != IDOK)
            return answer.result;
        chosen = answer.pathName;
    } else {
        QWidget* owner = m_pParentWnd && m_pParentWnd->GetWidget() ? m_pParentWnd->GetWidget() : DefaultOwner();
        QFileDialog dialog(owner);
        dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(open && (m_flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, open || !(m_flags & OFN_OVERWRITEPROMPT));
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        const QStringList filters = ToQtNameFilters(m_filter.Str());
        if (!filters.isEmpty())
            dialog.setNameFilters(filters);
        if (!m_fileName.IsEmpty())
            dialog.selectFile(QString::fromStdU16String(m_fileName.Str()));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return IDCANCEL;
        chosen = dialog.selectedFiles().front().toStdU16String();
    }
    m_pathName = CString(WithDefaultExtension(chosen, m_defExt.Str(), open));
    return IDOK;
}

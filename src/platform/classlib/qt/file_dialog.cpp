// The system's file dialog on Linux: a real QFileDialog.
#include "platform/classlib/file_dialog_rules.h"
#include "platform/classlib/qt/file_dialog_rules.h"
#include "platform/classlib/qt/message_box.h"

#include <QFileDialog>

namespace platform::classlib {

std::optional<std::u16string> RunSystemFileDialog(const CFileDialog& request, CWnd* parent) {
    const bool open = request.m_bOpenFileDialog != FALSE;
    QWidget* owner = parent && parent->GetWidget() ? parent->GetWidget() : DefaultOwner();
    QFileDialog dialog(owner);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open && (request.m_flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, open || !(request.m_flags & OFN_OVERWRITEPROMPT));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = ToQtNameFilters(request.m_filter.Str());
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.m_fileName.IsEmpty())
        dialog.selectFile(QString::fromStdU16String(request.m_fileName.Str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return WithDefaultExtension(dialog.selectedFiles().front().toStdU16String(), request.m_defExt.Str(), open);
}

} // namespace platform::classlib

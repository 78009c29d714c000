#include "cli/dialog_driver.h"

#include "platform/testing/ui_hooks.h"
#include "platform/text/wide_format.h"

#include <stdexcept>

namespace cli_test {

namespace {

using platform::text::FromUtf8;
using platform::text::ToUtf8;

std::string RangeLine(const char* what, const CString& from, const CString& to, const CString& drive) {
    return std::string(what) + ": " + ToUtf8(from.Str()) + " to " + ToUtf8(to.Str()) + " on drive " + ToUtf8(drive.Str());
}

void AnswerFileDialogWith(const std::string& path) {
    platform::testing::SetFileDialogHook([answer = FromUtf8(path)](const platform::testing::FileDialogCall&) {
        return platform::testing::FileDialogAnswer{IDOK, answer};
    });
}

} // namespace

DialogDriver::DialogDriver() {
    platform::testing::SetMessageBoxHook([this](const platform::testing::MessageBoxCall& box) {
        m_boxes.push_back(ToUtf8(box.caption) + ": " + ToUtf8(box.text));
        if (box.text == u"Fusing image done" && !m_dialog.m_strBlFrom.IsEmpty())
            m_ranges.push_back(RangeLine("bootloader", m_dialog.m_strBlFrom, m_dialog.m_strBlTo, m_dialog.m_strBlDrive));
        if (box.text == u"Fusing image done" && !m_dialog.m_strKernelFrom.IsEmpty())
            m_ranges.push_back(
                RangeLine("kernel", m_dialog.m_strKernelFrom, m_dialog.m_strKernelTo, m_dialog.m_strKernelDrive));
        return IDOK;
    });
    if (!m_dialog.Create(IDD_VEXO_DIALOG))
        throw std::runtime_error("the main dialog cannot be built");
}

DialogDriver::~DialogDriver() {
    platform::testing::SetMessageBoxHook(nullptr);
    platform::testing::SetFileDialogHook(nullptr);
}

void DialogDriver::PickDrive(char letter) {
    for (int item = 0; item < m_dialog.m_cbDrive.GetCount(); ++item) {
        CString text;
        m_dialog.m_cbDrive.GetLBText(item, text);
        if (text.Str() == std::u16string(1, static_cast<char16_t>(letter))) {
            m_dialog.m_cbDrive.SetCurSel(item);
            m_dialog.OnCbnSelchangeDrive();
            return;
        }
    }
    throw std::runtime_error("no such drive letter in the list");
}

void DialogDriver::Browse(void (CVEXODlg::*onBrowse)(), const std::string& path) {
    AnswerFileDialogWith(path);
    (m_dialog.*onBrowse)();
    platform::testing::SetFileDialogHook(nullptr);
}

void DialogDriver::TypeNumber(int id, unsigned long value, void (CVEXODlg::*onKillfocus)()) {
    m_dialog.GetDlgItem(id)->SetWindowText(FromUtf8(std::to_string(value)).c_str());
    (m_dialog.*onKillfocus)();
}

void DialogDriver::Choose(CComboBox CVEXODlg::*list, int item, void (CVEXODlg::*onSelchange)()) {
    (m_dialog.*list).SetCurSel(item);
    (m_dialog.*onSelchange)();
}

void DialogDriver::Save(const std::string& path) {
    AnswerFileDialogWith(path);
    m_dialog.OnBnClickedSave();
    platform::testing::SetFileDialogHook(nullptr);
}

void DialogDriver::Load(const std::string& path) {
    AnswerFileDialogWith(path);
    m_dialog.OnBnClickedLoad();
    platform::testing::SetFileDialogHook(nullptr);
}

void DialogDriver::Start() {
    m_dialog.OnBnClickedStart();
}

} // namespace cli_test

// What every dialog does by default, on both systems: its lists filled from
// the template's initial data, OK taking the controls in first, Cancel ending.
#include "platform/classlib/dialog_list_items.h"
#include "platform/classlib/wnd.h"
#include "platform/resources/resources.h"

namespace resources = platform::resources;

namespace {

// An initial-data record that adds a string to a combo box.
constexpr WORD kComboAddString = 0x0403;

// The 8-bit texts of the initial data are Windows-1252; the list items use
// only its ASCII part, which maps one to one.
std::u16string FromInitText(const std::string& text) {
    std::u16string wide;
    for (const char c : text)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return wide;
}

} // namespace

BOOL CDialog::OnInitDialog() {
    const auto initData = resources::Find(resources::ResId::Of(resources::RT_DLGINIT),
                                          resources::ResId::Of(static_cast<WORD>(m_nIDTemplate)));
    if (initData) {
        for (const resources::DlgInitItem& item :
             resources::ParseDlgInit(*initData).value_or(std::vector<resources::DlgInitItem>{}))
            if (item.message == kComboAddString)
                platform::classlib::AddInitialListItem(*this, item.controlId, FromInitText(item.text));
    }
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

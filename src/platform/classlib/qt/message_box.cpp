#include "platform/classlib/qt/message_box.h"

#include "platform/classlib/wnd.h"
#include "platform/testing/ui_hooks.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <array>

namespace platform::classlib {
namespace {

constexpr UINT kButtonsMask = 0x0000000F;
constexpr UINT kIconMask = 0x000000F0;

struct ButtonSet {
    UINT style;
    std::array<std::pair<QMessageBox::StandardButton, int>, 2> buttons;  // NoButton ends the list
};
constexpr std::array kButtonSets = {
    ButtonSet{MB_OK, {{{QMessageBox::Ok, IDOK}, {QMessageBox::NoButton, 0}}}},
    ButtonSet{MB_OKCANCEL, {{{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}}},
};

struct IconKind {
    UINT style;
    QMessageBox::Icon icon;
};
constexpr std::array kIcons = {
    IconKind{MB_ICONSTOP, QMessageBox::Critical},
    IconKind{0x00000020, QMessageBox::Question},
    IconKind{MB_ICONEXCLAMATION, QMessageBox::Warning},
    IconKind{MB_ICONINFORMATION, QMessageBox::Information},
};

const ButtonSet& ButtonsFor(UINT style) {
    for (const ButtonSet& set : kButtonSets)
        if (set.style == (style & kButtonsMask))
            return set;
    return kButtonSets.front();
}

QMessageBox::Icon IconFor(UINT style) {
    for (const IconKind& kind : kIcons)
        if (kind.style == (style & kIconMask))
            return kind.icon;
    return QMessageBox::NoIcon;
}

} // namespace

QWidget* DefaultOwner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    const CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->GetWidget() : nullptr;
}

int RunMessageBox(QWidget* owner, const std::u16string& text, const std::u16string& caption, UINT style) {
    if (const auto& hook = testing::GetMessageBoxHook())
        return hook(testing::MessageBoxCall{text, caption, style});

    QMessageBox box(IconFor(style), QString::fromStdU16String(caption), QString::fromStdU16String(text),
                    QMessageBox::NoButton, owner ? owner : DefaultOwner());
    const ButtonSet& set = ButtonsFor(style);
    int escapeResult = set.buttons.front().second;
    for (const auto& [button, result] : set.buttons) {
        if (button == QMessageBox::NoButton)
            break;
        box.addButton(button);
        escapeResult = result;  // the last button also answers Esc and the close button
    }
    box.setDefaultButton(static_cast<QPushButton*>(box.button(set.buttons.front().first)));
    box.exec();
    for (const auto& [button, result] : set.buttons)
        if (button != QMessageBox::NoButton && box.clickedButton() == box.button(button))
            return result;
    return escapeResult;
}

} // namespace platform::classlib

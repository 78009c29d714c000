// The list, button and edit wrappers over their Qt widgets.
#include "platform/classlib/qt/control_ops.h"
#include "platform/classlib/qt/dialog_controls.h"
#include "platform/classlib/wnd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace platform::classlib {
namespace {

QComboBox* AsCombo(QWidget* widget) { return qobject_cast<QComboBox*>(widget); }
const QComboBox* AsCombo(const QWidget* widget) { return qobject_cast<const QComboBox*>(widget); }

QLineEdit* EditOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit;
    const QComboBox* combo = AsCombo(widget);
    return combo ? combo->lineEdit() : nullptr;
}

} // namespace

int ComboCurSel(const QWidget* widget) {
    const QComboBox* combo = AsCombo(widget);
    return combo ? combo->currentIndex() : CB_ERR;
}

int ComboSetCurSel(QWidget* widget, int index) {
    QComboBox* combo = AsCombo(widget);
    if (!combo)
        return CB_ERR;
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->setEditText(QString());
        return CB_ERR;
    }
    combo->setCurrentIndex(index);
    return index;
}

int ComboAddString(QWidget* widget, const QString& text) {
    QComboBox* combo = AsCombo(widget);
    if (!combo)
        return CB_ERR;
    int index = combo->count();
    if (combo->property(kSortedProperty).toBool()) {
        // A sorted list compares without regard to case; a new item goes
        // after the items equal to it.
        index = 0;
        while (index < combo->count() && QString::compare(combo->itemText(index), text, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    // Adding an item selects nothing and leaves the edit field as it was.
    const bool hadSelection = combo->currentIndex() >= 0;
    const QString editText = combo->currentText();
    combo->insertItem(index, text);
    if (!hadSelection && combo->currentIndex() >= 0) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->setEditText(editText);
    }
    return index;
}

void EditSetSel(QWidget* widget, int start, int end) {
    QLineEdit* edit = EditOf(widget);
    if (!edit)
        return;
    if (start < 0) {
        edit->deselect();
        return;
    }
    const int length = static_cast<int>(edit->text().size());
    const int last = (end < 0 || end > length) ? length : end;
    const int first = start > length ? length : start;
    edit->setSelection(first, last - first);
}

} // namespace platform::classlib

using namespace platform::classlib;

int CComboBox::GetCurSel() const { return ComboCurSel(m_pWidget); }
int CComboBox::SetCurSel(int select) { return ComboSetCurSel(m_pWidget, select); }

int CComboBox::GetCount() const {
    const QComboBox* combo = AsCombo(m_pWidget);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::GetLBText(int index, CString& text) const {
    const QComboBox* combo = AsCombo(m_pWidget);
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    text = CString(combo->itemText(index).toStdU16String());
    return text.GetLength();
}

int CComboBox::AddString(const char16_t* text) {
    return ComboAddString(m_pWidget, QString::fromStdU16String(text ? std::u16string(text) : std::u16string()));
}

int CButton::GetCheck() const {
    const auto* box = qobject_cast<const QCheckBox*>(m_pWidget);
    if (!box)
        return 0;
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    case Qt::Unchecked: break;
    }
    return 0;
}

void CButton::SetCheck(int check) {
    if (auto* box = qobject_cast<QCheckBox*>(m_pWidget)) {
        box->setTristate(check == 2 || box->isTristate());
        box->setCheckState(check == 1 ? Qt::Checked : check == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
}

void CEdit::SetSel(int startChar, int endChar) { EditSetSel(m_pWidget, startChar, endChar); }

void CEdit::GetSel(int& startChar, int& endChar) const {
    QLineEdit* edit = EditOf(m_pWidget);
    if (!edit) {
        startChar = endChar = 0;
        return;
    }
    if (edit->hasSelectedText()) {
        startChar = edit->selectionStart();
        endChar = edit->selectionEnd();
    } else {
        startChar = endChar = edit->cursorPosition();
    }
}

// The controls of a dialog template as Qt widgets: one widget per template
// item, of the kind its window class and styles ask for.
#pragma once

#include "platform/classlib/qt/dialog_font.h"
#include "platform/resources/resources.h"
#include "platform/wintypes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <functional>

namespace platform::classlib {

// Notification codes a control raises; the dialog turns them into
// WM_COMMAND messages.
using ControlNotify = std::function<void(int id, UINT code, Qt::FocusReason reason)>;

// The property holding a control's identifier.
inline constexpr char kControlIdProperty[] = "dlgCtrlId";
// Set on combo boxes whose items are kept sorted (CBS_SORT).
inline constexpr char kSortedProperty[] = "dlgSorted";

int ControlId(const QWidget* widget);  // 0 when the widget is no dialog control

// An edit box that reports losing the focus.
class DialogEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void(Qt::FocusReason)> onFocusLost;

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// A list that neither adds typed text as an item nor completes it, as a
// Windows drop-down does, and asks the tooltip provider when it opens.
class DialogComboBox : public QComboBox {
public:
    explicit DialogComboBox(bool editable, QWidget* parent);
    void showPopup() override;
};

// BS_CHECKBOX: reports the click but leaves the tick to the program.
class PlainCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};

struct CreatedControl {
    QWidget* widget = nullptr;
    bool tabStop = false;
    bool groupBox = false;
    bool defaultButton = false;
};

// Creates the widget for one template item, placed from its dialog units.
// Hidden and disabled items come out hidden and disabled.
CreatedControl CreateControl(const resources::DialogItem& item, const DialogBaseUnits& units, QWidget* parent,
                             const ControlNotify& notify);

} // namespace platform::classlib

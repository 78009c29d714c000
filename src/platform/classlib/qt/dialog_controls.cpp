#include "platform/classlib/qt/dialog_controls.h"

#include "platform/classlib/combo_item_tooltips.h"
#include "platform/classlib/qt/icon_handles.h"
#include "platform/classlib/wnd.h"
#include "platform/classlib/msgmap.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cctype>

namespace platform::classlib {
namespace {

// Window styles.
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_TABSTOP = 0x00010000;
// Button styles.
constexpr DWORD BS_TYPEMASK = 0x0000000F;
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_GROUPBOX = 0x7;
// Edit styles.
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_READONLY = 0x0800;
// Static styles.
constexpr DWORD SS_TYPEMASK = 0x0000001F;
constexpr DWORD SS_CENTER = 0x01;
constexpr DWORD SS_RIGHT = 0x02;
constexpr DWORD SS_ICON = 0x03;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_CENTERIMAGE = 0x0200;
// Combo box styles.
constexpr DWORD CBS_TYPEMASK = 0x0003;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;
// With common controls 6 a drop-down list shows up to this many items,
// whatever height the template gives it.
constexpr int kComboVisibleItems = 30;

enum class WindowClass { button, edit, staticText, comboBox, unknown };

struct ClassName {
    WORD ordinal;
    const char16_t* name;
    WindowClass kind;
};
constexpr std::array kClasses = {
    ClassName{0x80, u"button", WindowClass::button},
    ClassName{0x81, u"edit", WindowClass::edit},
    ClassName{0x82, u"static", WindowClass::staticText},
    ClassName{0x85, u"combobox", WindowClass::comboBox},
};

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text)
        if (c < 0x80)
            c = static_cast<char16_t>(std::tolower(c));
    return text;
}

WindowClass ClassOf(const resources::ResId& windowClass) {
    for (const ClassName& known : kClasses) {
        if (windowClass.ordinal ? *windowClass.ordinal == known.ordinal : Lower(windowClass.name) == known.name)
            return known.kind;
    }
    return WindowClass::unknown;
}

QString TitleText(const resources::DialogItem& item) {
    return item.title.ordinal ? QString() : QString::fromStdU16String(item.title.name);
}

// A label shows "&x" as an underlined mnemonic on Windows; Qt labels show
// the ampersand, so the prefix marks are taken out ("&&" stays one '&').
QString WithoutPrefixes(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

int IdOf(const resources::DialogItem& item) { return static_cast<int>(static_cast<short>(item.id & 0xFFFF)); }

CreatedControl MakeButton(const resources::DialogItem& item, QWidget* parent, const ControlNotify& notify) {
    const DWORD type = item.style & BS_TYPEMASK;
    const QString text = TitleText(item);
    const int id = IdOf(item);
    if (type == BS_GROUPBOX) {
        auto* box = new QGroupBox(WithoutPrefixes(text), parent);
        // A frame drawn behind the controls it encloses; clicks go through.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        return {box, false, true, false};
    }
    QAbstractButton* button = nullptr;
    if (type == BS_CHECKBOX) {
        button = new PlainCheckBox(text, parent);
    } else if (type == BS_AUTOCHECKBOX) {
        button = new QCheckBox(text, parent);
    } else {
        auto* push = new QPushButton(text, parent);
        // The dialog decides what Enter presses, not Qt's auto-default.
        push->setAutoDefault(false);
        push->setDefault(type == BS_DEFPUSHBUTTON);
        button = push;
    }
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [notify, id] { notify(id, BN_CLICKED, Qt::OtherFocusReason); });
    return {button, false, false, type == BS_DEFPUSHBUTTON};
}

CreatedControl MakeEdit(const resources::DialogItem& item, QWidget* parent, const ControlNotify& notify) {
    auto* edit = new DialogEdit(TitleText(item), parent);
    edit->setReadOnly(item.style & ES_READONLY);
    edit->setFrame(item.style & WS_BORDER);
    if (item.style & ES_CENTER)
        edit->setAlignment(Qt::AlignCenter);
    else if (item.style & ES_RIGHT)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (edit->isReadOnly()) {
        // Windows greys the inside of a read-only box.
        QPalette palette = edit->palette();
        palette.setBrush(QPalette::Base, palette.brush(QPalette::Window));
        edit->setPalette(palette);
    }
    const int id = IdOf(item);
    edit->onFocusLost = [notify, id](Qt::FocusReason reason) { notify(id, EN_KILLFOCUS, reason); };
    return {edit, false, false, false};
}

CreatedControl MakeStatic(const resources::DialogItem& item, const DialogBaseUnits& units, QWidget* parent) {
    auto* label = new QLabel(parent);
    const DWORD type = item.style & SS_TYPEMASK;
    if (type == SS_ICON) {
        if (item.title.ordinal)
            label->setPixmap(LargeIconPixmap(ResourceIconHandle(*item.title.ordinal)));
        return {label, false, false, false};
    }
    const QString text = TitleText(item);
    label->setText((item.style & SS_NOPREFIX) ? text : WithoutPrefixes(text));
    label->setTextFormat(Qt::PlainText);
    const Qt::Alignment vertical = (item.style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    const Qt::Alignment horizontal = type == SS_CENTER ? Qt::AlignHCenter
                                     : type == SS_RIGHT ? Qt::AlignRight
                                                        : Qt::AlignLeft;
    label->setAlignment(horizontal | vertical);
    // Long texts wrap at word ends; a label one line high keeps its line.
    const int lineHeight = QFontMetrics(parent->font()).height();
    label->setWordWrap(!(item.style & SS_CENTERIMAGE) && units.ToPixelsY(item.cy) >= 2 * lineHeight);
    return {label, false, false, false};
}

CreatedControl MakeComboBox(const resources::DialogItem& item, QWidget* parent, const ControlNotify& notify) {
    auto* combo = new DialogComboBox((item.style & CBS_TYPEMASK) != CBS_DROPDOWNLIST, parent);
    combo->setProperty(kSortedProperty, static_cast<bool>(item.style & CBS_SORT));
    const int id = IdOf(item);
    // Only the operator's choice counts as a selection change; a selection
    // set by the program raises nothing.
    QObject::connect(combo, &QComboBox::activated, combo,
                     [notify, id] { notify(id, CBN_SELCHANGE, Qt::OtherFocusReason); });
    return {combo, false, false, false};
}

} // namespace

int ControlId(const QWidget* widget) {
    const QVariant id = widget ? widget->property(kControlIdProperty) : QVariant();
    return id.isValid() ? id.toInt() : 0;
}

void DialogEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (onFocusLost)
        onFocusLost(event->reason());
}

DialogComboBox::DialogComboBox(bool editable, QWidget* parent) : QComboBox(parent) {
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    if (editable)
        setCompleter(nullptr);
    setMaxVisibleItems(kComboVisibleItems);
}

void DialogComboBox::showPopup() {
    if (const auto& provider = GetComboItemToolTipProvider()) {
        const int id = ControlId(this);
        for (int i = 0; i < count(); ++i) {
            const std::u16string tip = provider(id, itemText(i).toStdU16String());
            setItemData(i, tip.empty() ? QVariant() : QVariant(QString::fromStdU16String(tip)), Qt::ToolTipRole);
        }
    }
    QComboBox::showPopup();
}

CreatedControl CreateControl(const resources::DialogItem& item, const DialogBaseUnits& units, QWidget* parent,
                             const ControlNotify& notify) {
    CreatedControl control;
    switch (ClassOf(item.windowClass)) {
    case WindowClass::button: control = MakeButton(item, parent, notify); break;
    case WindowClass::edit: control = MakeEdit(item, parent, notify); break;
    case WindowClass::comboBox: control = MakeComboBox(item, parent, notify); break;
    case WindowClass::staticText:
    case WindowClass::unknown: control = MakeStatic(item, units, parent); break;
    }
    QWidget* widget = control.widget;
    widget->setProperty(kControlIdProperty, IdOf(item));
    QRect rect = units.ToPixels(item.x, item.y, item.cx, item.cy);
    // A list's template height includes its drop-down part; the closed
    // field is as high as the font makes it.
    if (qobject_cast<QComboBox*>(widget))
        rect.setHeight(widget->sizeHint().height());
    widget->setGeometry(rect);

    control.tabStop = !control.groupBox && (item.style & WS_TABSTOP);
    const bool takesFocus = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                            qobject_cast<QComboBox*>(widget);
    widget->setFocusPolicy(!takesFocus ? Qt::NoFocus : control.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setFocusPolicy(widget->focusPolicy());
    widget->setEnabled(!(item.style & WS_DISABLED));
    if (!(item.style & WS_VISIBLE))
        widget->hide();
    return control;
}

} // namespace platform::classlib

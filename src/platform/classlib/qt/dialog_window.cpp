#include "platform/classlib/qt/dialog_window.h"

#include "platform/classlib/qt/dialog_controls.h"
#include "platform/classlib/qt/icon_handles.h"
#include "platform/classlib/wnd.h"

#include <QContextMenuEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

#include <array>

namespace platform::classlib {
namespace {

constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

struct FrameHint {
    DWORD style;
    Qt::WindowType hint;
};
constexpr std::array kFrameHints = {
    FrameHint{WS_CAPTION, Qt::WindowTitleHint},
    FrameHint{WS_SYSMENU, Qt::WindowSystemMenuHint},
    FrameHint{WS_SYSMENU, Qt::WindowCloseButtonHint},
    FrameHint{WS_MINIMIZEBOX, Qt::WindowMinimizeButtonHint},
    FrameHint{WS_MAXIMIZEBOX, Qt::WindowMaximizeButtonHint},
};

Qt::WindowFlags FlagsFor(DWORD style) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    for (const FrameHint& hint : kFrameHints)
        if ((style & hint.style) == hint.style)
            flags |= hint.hint;
    return flags;
}

// Focus that leaves for another window (a message box, another program) or
// for a popup is not a move inside the dialog.
bool MovedWithinWindow(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

DialogWindow::DialogWindow(CDialog& owner, const resources::DialogTemplate& dialogTemplate)
    : QDialog(nullptr, FlagsFor(dialogTemplate.style)), m_owner(owner), m_systemMenu(std::make_unique<CMenu>(&owner)) {
    setWindowTitle(QString::fromStdU16String(dialogTemplate.caption));
    const QFont font = DialogFont(dialogTemplate.typeface, dialogTemplate.pointSize);
    setFont(font);
    m_units = MeasureBaseUnits(font);
    const QSize client(m_units.ToPixelsX(dialogTemplate.cx), m_units.ToPixelsY(dialogTemplate.cy));
    if (dialogTemplate.style & WS_THICKFRAME)
        resize(client);
    else
        setFixedSize(client);
    BuildControls(dialogTemplate);
    ResetSystemMenu();
    auto* systemMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(systemMenuKey, &QShortcut::activated, this, [this] { PopUpSystemMenu(mapToGlobal(QPoint(0, 0))); });
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::BuildControls(const resources::DialogTemplate& dialogTemplate) {
    const ControlNotify notify = [this](int id, UINT code, Qt::FocusReason reason) { Notify(id, code, reason); };
    std::vector<QWidget*> groupBoxes;
    QWidget* previousFocusable = nullptr;
    for (const resources::DialogItem& item : dialogTemplate.items) {
        const CreatedControl control = CreateControl(item, m_units, this, notify);
        const int id = ControlId(control.widget);
        if (id != -1 && id != 0)
            m_controls.emplace(id, control.widget);
        if (control.groupBox)
            groupBoxes.push_back(control.widget);
        if (control.tabStop)
            m_tabStops.push_back(control.widget);
        if (control.defaultButton && !m_defaultButton)
            m_defaultButton = qobject_cast<QPushButton*>(control.widget);
        // Template order is the tab order.
        if (control.widget->focusPolicy() != Qt::NoFocus) {
            if (previousFocusable)
                setTabOrder(previousFocusable, control.widget);
            previousFocusable = control.widget;
        }
    }
    for (QWidget* box : groupBoxes)
        box->lower();
}

QWidget* DialogWindow::Control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

DialogWindow::NotificationHold::NotificationHold(DialogWindow* window) : m_window(window) {
    if (m_window)
        ++m_window->m_holds;
}

DialogWindow::NotificationHold::~NotificationHold() {
    if (m_window)
        --m_window->m_holds;
}

void DialogWindow::Notify(int id, UINT code, Qt::FocusReason reason) {
    if (m_holds > 0 || m_ended || m_owner.InModalState())
        return;
    if (code != EN_KILLFOCUS) {
        SendCommand(id, code);
        return;
    }
    if (!MovedWithinWindow(reason))
        return;
    // Delivered once the focus change is complete, so that a handler that
    // moves the focus (a refused number puts it back) has the last word.
    QMetaObject::invokeMethod(
        this,
        [this, id, code] {
            if (!m_ended && !m_owner.InModalState())
                SendCommand(id, code);
        },
        Qt::QueuedConnection);
}

void DialogWindow::SendCommand(int id, UINT code) {
    const QWidget* control = Control(id);
    m_owner.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)),
                        reinterpret_cast<LPARAM>(control));
}

int DialogWindow::RunModal() {
    if (m_ended)
        return m_result;
    QEventLoop loop;
    m_loop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;
    return m_result;
}

void DialogWindow::End(int result) {
    m_result = result;
    m_ended = true;
    hide();
    if (m_loop)
        m_loop->exit(result);
}

void DialogWindow::FocusFirstTabStop() {
    for (QWidget* control : m_tabStops) {
        if (!control->isHidden() && control->isEnabled()) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void DialogWindow::ResetSystemMenu() {
    m_systemMenu = std::make_unique<CMenu>(&m_owner);
    m_systemMenu->AppendMenu(MF_STRING, SC_MOVE, u"&Move");
    m_systemMenu->AppendMenu(MF_SEPARATOR);
    m_systemMenu->AppendMenu(MF_STRING, SC_CLOSE, u"&Close\tAlt+F4");
}

void DialogWindow::PopUpSystemMenu(const QPoint& globalPos) {
    if (m_owner.InModalState())
        return;
    QMenu menu(this);
    const auto& items = m_systemMenu->Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdU16String(items[i].text.Str()));
        action->setData(static_cast<qulonglong>(i));
    }
    QPointer<DialogWindow> alive(this);
    QAction* chosen = menu.exec(globalPos);
    if (chosen && alive)
        m_systemMenu->Choose(static_cast<int>(chosen->data().toULongLong()));
}

HICON DialogWindow::SetIcon(HICON icon, bool big) {
    HICON previous = m_icons[big ? 1 : 0];
    m_icons[big ? 1 : 0] = icon;
    // One window icon serves the title bar and the taskbar; the big one
    // wins when both are set.
    const HICON shown = m_icons[1] ? m_icons[1] : m_icons[0];
    const QIcon* qicon = IconFromHandle(shown);
    setWindowIcon(qicon ? *qicon : QIcon());
    return previous;
}

void DialogWindow::PressDefaultButton() {
    // A focused push button takes Enter; otherwise the default button.
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->isEnabled()) {
        focused->click();
        return;
    }
    if (m_defaultButton && m_defaultButton->isVisible() && m_defaultButton->isEnabled()) {
        m_defaultButton->click();
        return;
    }
    if (!m_defaultButton)
        Notify(IDOK, BN_CLICKED, Qt::OtherFocusReason);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
        QDialog::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape: Notify(IDCANCEL, BN_CLICKED, Qt::OtherFocusReason); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: PressDefaultButton(); break;
    default: QDialog::keyPressEvent(event); return;
    }
    event->accept();
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close button is the system menu's Close: the owner decides.
    event->ignore();
    if (!m_ended && !m_owner.InModalState())
        m_owner.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    PopUpSystemMenu(event->globalPos());
    event->accept();
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    m_painting = true;
    m_owner.SendMessage(WM_PAINT);
    m_painting = false;
}

} // namespace platform::classlib

// CWnd over a QWidget: binding objects to widgets, finding a dialog's
// controls, text, visibility, focus and the window's modal state.
#include "platform/classlib/qt/dialog_controls.h"
#include "platform/classlib/qt/dialog_window.h"
#include "platform/classlib/qt/modal_input_guard.h"
#include "platform/classlib/qt/widget_text.h"
#include "platform/classlib/wnd.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <unordered_map>

using platform::classlib::DialogWindow;

namespace {

// The objects bound to each widget, most recent last. When a widget goes
// away its objects are unbound, so none keeps a dangling pointer.
std::unordered_map<const QWidget*, std::vector<CWnd*>>& Bindings() {
    static std::unordered_map<const QWidget*, std::vector<CWnd*>> bindings;
    return bindings;
}

void Unbind(const QWidget* widget, CWnd* object) {
    auto it = Bindings().find(widget);
    if (it == Bindings().end())
        return;
    std::erase(it->second, object);
    if (it->second.empty())
        Bindings().erase(it);
}

CWnd* BoundObject(const QWidget* widget) {
    const auto it = Bindings().find(widget);
    return it == Bindings().end() ? nullptr : it->second.back();
}

// A wrapper of the class that matches the widget, for GetDlgItem.
std::unique_ptr<CWnd> WrapperFor(QWidget* widget) {
    std::unique_ptr<CWnd> wrapper;
    if (qobject_cast<QComboBox*>(widget))
        wrapper = std::make_unique<CComboBox>();
    else if (qobject_cast<QLineEdit*>(widget))
        wrapper = std::make_unique<CEdit>();
    else if (qobject_cast<QAbstractButton*>(widget))
        wrapper = std::make_unique<CButton>();
    else
        wrapper = std::make_unique<CWnd>();
    wrapper->Attach(widget);
    return wrapper;
}

QWidget* FindControl(const QWidget* parent, int id) {
    if (const auto* dialog = qobject_cast<const DialogWindow*>(parent))
        return dialog->Control(id);
    if (!parent)
        return nullptr;
    for (QWidget* child : parent->findChildren<QWidget*>())
        if (platform::classlib::ControlId(child) == id)
            return child;
    return nullptr;
}

} // namespace

CWnd::~CWnd() { Attach(nullptr); }

void CWnd::Attach(QWidget* widget) {
    if (m_pWidget == widget)
        return;
    if (m_pWidget)
        Unbind(m_pWidget, this);
    m_pWidget = widget;
    if (!widget)
        return;
    auto [it, first] = Bindings().try_emplace(widget);
    it->second.push_back(this);
    if (first) {
        QObject::connect(widget, &QObject::destroyed, [widget] {
            const auto found = Bindings().find(widget);
            if (found == Bindings().end())
                return;
            const std::vector<CWnd*> bound = std::move(found->second);
            Bindings().erase(found);
            for (CWnd* object : bound)
                object->Attach(nullptr);
        });
    }
}

CWnd* CWnd::GetDlgItem(int id) const {
    QWidget* control = FindControl(m_pWidget, id);
    if (!control)
        return nullptr;
    if (CWnd* bound = BoundObject(control))
        return bound;
    auto* dialog = dynamic_cast<CDialog*>(const_cast<CWnd*>(this));
    if (!dialog)
        return nullptr;
    auto& slot = dialog->m_tempControls[id];
    if (!slot || slot->GetWidget() != control)
        slot = WrapperFor(control);
    return slot.get();
}

int CWnd::GetDlgCtrlID() const { return platform::classlib::ControlId(m_pWidget); }

void CWnd::SetWindowText(const char16_t* text) {
    platform::classlib::SetWidgetText(m_pWidget, QString::fromStdU16String(text ? std::u16string(text) : u""));
}

void CWnd::GetWindowText(CString& text) const {
    text = CString(platform::classlib::WidgetText(m_pWidget).toStdU16String());
}

int CWnd::GetWindowTextLength() const {
    return static_cast<int>(platform::classlib::WidgetText(m_pWidget).size());
}

BOOL CWnd::ShowWindow(int cmdShow) {
    if (!m_pWidget)
        return FALSE;
    const BOOL wasVisible = m_pWidget->isVisible();
    m_pWidget->setVisible(cmdShow != SW_HIDE);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const { return m_pWidget && m_pWidget->isVisible(); }

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_pWidget)
        return FALSE;
    const BOOL wasDisabled = !m_pWidget->isEnabled();
    m_pWidget->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_pWidget && m_pWidget->isEnabled(); }

CWnd* CWnd::SetFocus() {
    QWidget* previous = QApplication::focusWidget();
    if (m_pWidget)
        m_pWidget->setFocus(Qt::OtherFocusReason);
    return previous ? BoundObject(previous) : nullptr;
}

BOOL CWnd::IsIconic() const { return m_pWidget && m_pWidget->isMinimized(); }

void CWnd::GetClientRect(LPRECT rect) const {
    if (!rect)
        return;
    *rect = RECT{0, 0, m_pWidget ? m_pWidget->width() : 0, m_pWidget ? m_pWidget->height() : 0};
}

void CWnd::UpdateWindow() {
    if (m_pWidget && m_pWidget->isVisible())
        m_pWidget->repaint();
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? 1 : 0, reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
    const auto* dialog = qobject_cast<const DialogWindow*>(m_pWidget);
    return dialog ? dialog->Icon(bigIcon) : nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
    auto* dialog = qobject_cast<DialogWindow*>(m_pWidget);
    if (!dialog)
        return nullptr;
    if (revert) {
        dialog->ResetSystemMenu();
        return nullptr;
    }
    return &dialog->SystemMenu();
}

void CWnd::BeginModalState() {
    if (++m_modalDepth == 1 && m_pWidget)
        new platform::classlib::ModalInputGuard(m_pWidget->window());
}

void CWnd::EndModalState() {
    if (m_modalDepth == 0 || --m_modalDepth > 0 || !m_pWidget)
        return;
    delete m_pWidget->window()->findChild<platform::classlib::ModalInputGuard*>(QString(),
                                                                                Qt::FindDirectChildrenOnly);
}

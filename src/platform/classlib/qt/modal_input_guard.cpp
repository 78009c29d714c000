#include "platform/classlib/qt/modal_input_guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>

#include <algorithm>
#include <array>

namespace platform::classlib {
namespace {

constexpr std::array kSwallowed = {
    QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::Wheel,
    QEvent::KeyPress,         QEvent::KeyRelease,         QEvent::Shortcut,            QEvent::ContextMenu,
    QEvent::TouchBegin,       QEvent::TouchUpdate,        QEvent::TouchEnd,            QEvent::TabletPress,
    QEvent::TabletRelease,    QEvent::DragEnter,          QEvent::DragMove,            QEvent::Drop,
    QEvent::InputMethod,
};

bool Swallowed(QEvent::Type type) {
    return std::find(kSwallowed.begin(), kSwallowed.end(), type) != kSwallowed.end();
}

QPalette LookingDisabled(QPalette palette) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        const QBrush disabled = palette.brush(QPalette::Disabled, r);
        palette.setBrush(QPalette::Active, r, disabled);
        palette.setBrush(QPalette::Inactive, r, disabled);
    }
    return palette;
}

} // namespace

ModalInputGuard::ModalInputGuard(QWidget* window) : QObject(window), m_window(window) {
    m_saved.push_back({window, std::nullopt,
                       window->testAttribute(Qt::WA_SetCursor) ? std::optional(window->cursor()) : std::nullopt});
    window->setCursor(Qt::BusyCursor);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        const bool dimmed = qobject_cast<QAbstractButton*>(child) || qobject_cast<QComboBox*>(child);
        const bool ownCursor = child->testAttribute(Qt::WA_SetCursor);
        if (!dimmed && !ownCursor)
            continue;
        SavedLook saved{child, std::nullopt, std::nullopt};
        if (dimmed) {
            if (child->testAttribute(Qt::WA_SetPalette))
                saved.palette = child->palette();
            child->setPalette(LookingDisabled(child->palette()));
        }
        if (ownCursor) {
            saved.cursor = child->cursor();
            child->setCursor(Qt::BusyCursor);
        }
        m_saved.push_back(std::move(saved));
    }
    qApp->installEventFilter(this);
}

ModalInputGuard::~ModalInputGuard() {
    qApp->removeEventFilter(this);
    for (SavedLook& saved : m_saved) {
        QWidget* widget = saved.widget;
        if (!widget)
            continue;
        if (widget != m_window && (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget)))
            widget->setPalette(saved.palette.value_or(QPalette()));
        if (saved.cursor)
            widget->setCursor(*saved.cursor);
        else if (widget == m_window)
            widget->unsetCursor();
    }
}

bool ModalInputGuard::Guards(QObject* watched) const {
    for (QObject* object = watched; object; object = object->parent()) {
        if (auto* widget = qobject_cast<QWidget*>(object))
            return widget->window() == m_window;
    }
    return false;
}

bool ModalInputGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride && Guards(watched)) {
        // Claimed so that no shortcut fires; the key press that follows is
        // swallowed below.
        event->accept();
        return true;
    }
    if (type == QEvent::Close && watched == m_window) {
        event->ignore();
        return true;
    }
    if (Swallowed(type) && Guards(watched)) {
        event->accept();
        return true;
    }
    return false;
}

} // namespace platform::classlib

#include "platform/classlib/qt/widget_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <array>

namespace platform::classlib {
namespace {

template <typename W>
bool Is(const QWidget* widget) {
    return qobject_cast<const W*>(widget) != nullptr;
}

struct TextAccess {
    bool (*matches)(const QWidget*);
    QString (*get)(const QWidget*);
    void (*set)(QWidget*, const QString&);
};

// The first row whose widget type matches serves; the last row takes any
// widget and reads its window title.
constexpr std::array kTextAccess = {
    TextAccess{Is<QLineEdit>, [](const QWidget* w) { return static_cast<const QLineEdit*>(w)->text(); },
               [](QWidget* w, const QString& t) { static_cast<QLineEdit*>(w)->setText(t); }},
    TextAccess{Is<QComboBox>, [](const QWidget* w) { return static_cast<const QComboBox*>(w)->currentText(); },
               [](QWidget* w, const QString& t) {
                   auto* combo = static_cast<QComboBox*>(w);
                   if (combo->isEditable())
                       combo->setEditText(t);
               }},
    TextAccess{Is<QAbstractButton>, [](const QWidget* w) { return static_cast<const QAbstractButton*>(w)->text(); },
               [](QWidget* w, const QString& t) { static_cast<QAbstractButton*>(w)->setText(t); }},
    TextAccess{Is<QLabel>, [](const QWidget* w) { return static_cast<const QLabel*>(w)->text(); },
               [](QWidget* w, const QString& t) { static_cast<QLabel*>(w)->setText(t); }},
    TextAccess{Is<QGroupBox>, [](const QWidget* w) { return static_cast<const QGroupBox*>(w)->title(); },
               [](QWidget* w, const QString& t) { static_cast<QGroupBox*>(w)->setTitle(t); }},
    TextAccess{[](const QWidget*) { return true; }, [](const QWidget* w) { return w->windowTitle(); },
               [](QWidget* w, const QString& t) { w->setWindowTitle(t); }},
};

const TextAccess& AccessFor(const QWidget* widget) {
    for (const TextAccess& access : kTextAccess)
        if (access.matches(widget))
            return access;
    return kTextAccess.back();
}

} // namespace

QString WidgetText(const QWidget* widget) { return widget ? AccessFor(widget).get(widget) : QString(); }

void SetWidgetText(QWidget* widget, const QString& text) {
    if (widget)
        AccessFor(widget).set(widget, text);
}

} // namespace platform::classlib

// Holds off the operator's input to one window while a long operation lets
// that window handle its messages: clicks, keys, the wheel, the context menu
// and closing are swallowed; painting and moving go on. The window's
// buttons and lists look disabled (without being disabled, so that the
// focus stays where it is) and a busy cursor shows over it. Other windows,
// such as message boxes opened meanwhile, are not affected.
#pragma once

#include <QCursor>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

namespace platform::classlib {

class ModalInputGuard : public QObject {
    Q_OBJECT
public:
    // Guards window (a top-level widget) until the guard is destroyed; the
    // guard is a child of the window.
    explicit ModalInputGuard(QWidget* window);
    ~ModalInputGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SavedLook {
        QPointer<QWidget> widget;
        std::optional<QPalette> palette;  // nothing: the widget inherited its palette
        std::optional<QCursor> cursor;    // nothing: the widget inherited its cursor
    };
    bool Guards(QObject* watched) const;

    QWidget* m_window;
    std::vector<SavedLook> m_saved;
};

} // namespace platform::classlib

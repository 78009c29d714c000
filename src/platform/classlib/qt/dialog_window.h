// The Qt side of a dialog: a real top-level window built from a dialog
// template, whose controls' notifications, keys, close button, system menu
// and paint events reach the owning CDialog as window messages.
#pragma once

#include "platform/classlib/qt/dialog_font.h"
#include "platform/resources/resources.h"
#include "platform/wintypes.h"

#include <QDialog>

#include <map>
#include <memory>
#include <vector>

class CDialog;
class CMenu;
class QEventLoop;
class QPushButton;

namespace platform::classlib {

class DialogWindow : public QDialog {
    Q_OBJECT
public:
    DialogWindow(CDialog& owner, const resources::DialogTemplate& dialogTemplate);
    ~DialogWindow() override;

    QWidget* Control(int id) const;
    const DialogBaseUnits& BaseUnits() const { return m_units; }

    // Sends WM_COMMAND for a control's notification to the owner, unless
    // notifications are held (a data exchange is running), the owner is in
    // its modal state, or the dialog has ended. The loss of the focus is
    // reported once the focus has settled, and only when it moved to
    // another place in this window.
    void Notify(int id, UINT code, Qt::FocusReason reason);
    // While a hold is alive, control notifications are dropped.
    class NotificationHold {
    public:
        explicit NotificationHold(DialogWindow* window);
        ~NotificationHold();
        NotificationHold(const NotificationHold&) = delete;
        NotificationHold& operator=(const NotificationHold&) = delete;

    private:
        DialogWindow* m_window;
    };

    // Shows the window and handles events until End; returns End's result.
    int RunModal();
    void End(int result);
    bool Ended() const { return m_ended; }
    int Result() const { return m_result; }

    // Gives the focus to the first visible, enabled control with a tab stop.
    void FocusFirstTabStop();

    CMenu& SystemMenu() { return *m_systemMenu; }
    void ResetSystemMenu();
    void PopUpSystemMenu(const QPoint& globalPos);

    bool IsPainting() const { return m_painting; }

    HICON Icon(bool big) const { return m_icons[big ? 1 : 0]; }
    HICON SetIcon(HICON icon, bool big);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls(const resources::DialogTemplate& dialogTemplate);
    void SendCommand(int id, UINT code);
    void PressDefaultButton();

    CDialog& m_owner;
    DialogBaseUnits m_units;
    std::map<int, QWidget*> m_controls;
    std::vector<QWidget*> m_tabStops;
    QPushButton* m_defaultButton = nullptr;
    std::unique_ptr<CMenu> m_systemMenu;
    QEventLoop* m_loop = nullptr;
    int m_holds = 0;
    bool m_ended = false;
    int m_result = 0;
    bool m_painting = false;
    HICON m_icons[2] = {nullptr, nullptr};
};

} // namespace platform::classlib

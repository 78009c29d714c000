// The system side of a dialog on Windows: the real dialog window built by the
// system's dialog manager from a template of the resource section, and its
// dialog procedure, which routes every message through the owning CDialog's
// message map before the system's default handling.
#pragma once

#include "platform/classlib/wnd.h"

#include <memory>
#include <vector>

namespace platform::classlib {

class DialogWindow {
public:
    explicit DialogWindow(CDialog& owner) : m_owner(owner) {}
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Runs the dialog modally over owner until EndDialog; returns its result,
    // or -1 when the template cannot be loaded or the window not made.
    INT_PTR RunModal(UINT templateId, HWND owner);
    // Builds the window without a modal run; null when that fails.
    HWND CreateModeless(UINT templateId, HWND owner);

    // Ends the run (or hides a modeless dialog) with result.
    void End(int result);

    // While held, the controls' notifications are dropped (see
    // notification_hold.h); so are they once the dialog has ended or while
    // its owner is in its modal state.
    void Hold() { ++m_holds; }
    void Release() { --m_holds; }

    CMenu* SystemMenu(bool revert);

    static DialogWindow* Of(HWND hwnd);

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool DropsCommand(WPARAM wParam, LPARAM lParam) const;
    // The template's bytes as the dialog manager takes them; the window is
    // kept hidden in a headless session.
    const void* Template(UINT templateId);

    CDialog& m_owner;
    HWND m_hWnd = nullptr;
    int m_holds = 0;
    bool m_ended = false;
    std::unique_ptr<CMenu> m_systemMenu;
    std::vector<DWORD> m_hiddenTemplate;  // DWORD-aligned, as the dialog manager needs
};

// Whether a headless session is alive: dialogs are then never shown.
bool IsHeadless();

// Unbinds every object bound to window or to one of its child windows
// (wnd.cpp); called as a dialog's window goes away.
void UnbindWindowTree(HWND window);

} // namespace platform::classlib

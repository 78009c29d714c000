// Running the dialogs without a screen: the command line's fusing run builds
// the main dialog, never shows it, and presses its buttons by program. While
// a session is alive, dialogs are built and work as usual but no window ever
// appears, and the window system's notes about its own set-up stay off the
// standard streams.
#pragma once

#include <memory>

namespace platform::classlib {

class HeadlessSession {
public:
    HeadlessSession();
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

private:
    struct WindowSystem;
    std::unique_ptr<WindowSystem> m_windowSystem;
};

} // namespace platform::classlib

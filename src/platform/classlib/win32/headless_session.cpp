// A headless session on Windows: dialogs are built from templates whose
// visible style is taken away, so the window system never shows them.
#include "platform/classlib/headless.h"

#include "platform/classlib/win32/dialog_window.h"

namespace platform::classlib {

namespace {
int sessions = 0;
}

struct HeadlessSession::WindowSystem {};

HeadlessSession::HeadlessSession() : m_windowSystem(std::make_unique<WindowSystem>()) { ++sessions; }

HeadlessSession::~HeadlessSession() { --sessions; }

bool IsHeadless() { return sessions > 0; }

} // namespace platform::classlib

// A headless session on Linux: Qt's offscreen platform (unless another one
// is asked for) and the one application object the widgets need.
#include "platform/classlib/headless.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace platform::classlib {

namespace {

// Standard error carries the command line's own lines; the toolkit's notes
// about its set-up (no runtime folder, no fonts) would mix in with them.
// Only its serious complaints get through.
void KeepToolkitNotesOffTheLines(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "strovane fuse: %s\n", text.toLocal8Bit().constData());
}

} // namespace

struct HeadlessSession::WindowSystem {
    int argc = 1;
    char name[9] = "strovane";
    char* argv[2] = {name, nullptr};
    QApplication application{argc, argv};
};

HeadlessSession::HeadlessSession() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(KeepToolkitNotesOffTheLines);
    m_windowSystem = std::make_unique<WindowSystem>();
}

HeadlessSession::~HeadlessSession() {
    m_windowSystem.reset();
    qInstallMessageHandler(nullptr);
}

} // namespace platform::classlib

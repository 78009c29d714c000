// CDialog: a window built from a dialog template, run modally or created
// modeless, with the default handling of OK, Cancel and system commands.
#include "platform/classlib/dialog_list_items.h"
#include "platform/classlib/qt/control_ops.h"
#include "platform/classlib/qt/dialog_window.h"
#include "platform/classlib/wnd.h"
#include "platform/resources/resources.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

using platform::classlib::DialogWindow;
namespace resources = platform::resources;

namespace {

constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_RESTORE = 0xF120;

std::optional<resources::DialogTemplate> LoadTemplate(UINT id) {
    const auto bytes = resources::Find(resources::ResId::Of(resources::RT_DIALOG), resources::ResId::Of(static_cast<WORD>(id)));
    return bytes ? resources::ParseDialog(*bytes) : std::nullopt;
}

// The 8-bit texts of the initial data are Windows-1252; the list items use
// only its ASCII part, which maps one to one.
// The window for a template, placed over its parent (or the screen) and
// kept above that parent's window.
std::unique_ptr<DialogWindow> MakeWindow(CDialog& owner, const resources::DialogTemplate& dialogTemplate,
                                         const CWnd* parent) {
    auto window = std::make_unique<DialogWindow>(owner, dialogTemplate);
    const QWidget* parentWindow = parent && parent->GetWidget() ? parent->GetWidget()->window() : nullptr;
    if (parentWindow && parentWindow->windowHandle()) {
        window->winId();
        window->windowHandle()->setTransientParent(parentWindow->windowHandle());
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = parentWindow ? parentWindow->frameGeometry() : screen ? screen->availableGeometry() : QRect();
    if (!area.isEmpty())
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    return window;
}

} // namespace

CDialog::CDialog(UINT idTemplate, CWnd* parent) : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    m_tempControls.clear();
    Attach(nullptr);
}

BOOL CDialog::Create(UINT idTemplate, CWnd* parent) {
    if (m_window && m_window->isVisible())
        return FALSE;
    m_nIDTemplate = idTemplate;
    m_pParentWnd = parent;
    const auto dialogTemplate = LoadTemplate(m_nIDTemplate);
    if (!dialogTemplate)
        return FALSE;
    m_tempControls.clear();
    m_window.reset();
    m_window = MakeWindow(*this, *dialogTemplate, m_pParentWnd);
    Attach(m_window.get());
    const BOOL focusFirst = OnInitDialog();
    if ((dialogTemplate->style & WS_VISIBLE) && !m_window->Ended()) {
        m_window->show();
        if (focusFirst)
            m_window->FocusFirstTabStop();
    }
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    if (m_window && m_window->isVisible())
        return -1;
    const auto dialogTemplate = LoadTemplate(m_nIDTemplate);
    if (!dialogTemplate)
        return -1;
    m_tempControls.clear();
    m_window.reset();
    m_window = MakeWindow(*this, *dialogTemplate, m_pParentWnd);
    Attach(m_window.get());
    m_window->setWindowModality(Qt::ApplicationModal);

    const BOOL focusFirst = OnInitDialog();
    if (!m_window->Ended()) {
        m_window->show();
        if (focusFirst)
            m_window->FocusFirstTabStop();
        m_window->activateWindow();
    }
    const int result = m_window->RunModal();

    // The window goes when the run ends; the members bound to its
    // controls are unbound with it.
    m_tempControls.clear();
    Attach(nullptr);
    m_window.reset();
    return result;
}

void CDialog::EndDialog(int result) {
    if (m_window)
        m_window->End(result);
}

// The toolkit has painted the dialog's background and controls already.
void CDialog::OnPaint() {}

void CDialog::OnSysCommand(UINT id, LPARAM) {
    QWidget* window = m_pWidget;
    if (!window)
        return;
    switch (id & 0xFFF0) {
    case SC_CLOSE: SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); break;
    case SC_MOVE:
        if (window->windowHandle())
            window->windowHandle()->startSystemMove();
        break;
    case SC_MINIMIZE: window->showMinimized(); break;
    case SC_RESTORE: window->showNormal(); break;
    default: break;
    }
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace platform::classlib {

void AddInitialListItem(CDialog& dialog, int controlId, const std::u16string& text) {
    if (CWnd* control = dialog.GetDlgItem(controlId))
        ComboAddString(control->GetWidget(), QString::fromStdU16String(text));
}

} // namespace platform::classlib

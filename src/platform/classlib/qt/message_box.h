// Message boxes: the test hook when one is set, else a real QMessageBox with
// the buttons and icon of the MB_ style.
#pragma once

#include "platform/wintypes.h"

#include <string>

class QWidget;

namespace platform::classlib {

// Runs a modal box over owner (or the active window when owner is null) and
// returns the button it ended with (IDOK, IDCANCEL).
int RunMessageBox(QWidget* owner, const std::u16string& text, const std::u16string& caption, UINT style);

// The window a box or file dialog without an explicit owner belongs to.
QWidget* DefaultOwner();

} // namespace platform::classlib

// What every file dialog does with the class library's arguments, and the
// system's own dialog behind it.
#pragma once

#include "platform/classlib/wnd.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform::classlib {

// Adds "." + defExt to a path whose file name has no '.'. An Open dialog
// keeps the bare name when that file exists and the extended one does not.
std::u16string WithDefaultExtension(const std::u16string& path, std::u16string_view defExt, bool openDialog);

// Shows the system's Open or Save As dialog for request over parent (null:
// the window the system chooses); the chosen full path, default extension
// applied, or nothing when the operator cancels.
std::optional<std::u16string> RunSystemFileDialog(const CFileDialog& request, CWnd* parent);

} // namespace platform::classlib

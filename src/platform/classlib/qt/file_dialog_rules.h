// What the file dialog does with the class library's arguments: the
// "description|pattern|...||" filter list as Qt name filters, and the default
// extension added to a chosen name that has none.
#pragma once

#include <QStringList>

#include <string>
#include <string_view>

namespace platform::classlib {

// Each description keeps its own text; its patterns (';'-separated, "*.*"
// meaning every file) follow in parentheses, where Qt reads them. The list
// ends at an empty description or pattern, or at the end of the text.
QStringList ToQtNameFilters(std::u16string_view filter);

// Adds "." + defExt to a path whose file name has no '.'. An Open dialog
// keeps the bare name when that file exists and the extended one does not.
std::u16string WithDefaultExtension(const std::u16string& path, std::u16string_view defExt, bool openDialog);

} // namespace platform::classlib

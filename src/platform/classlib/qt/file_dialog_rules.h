// The class library's "description|pattern|...||" filter list as Qt name
// filters.
#pragma once

#include <QStringList>

#include <string>
#include <string_view>

namespace platform::classlib {

// Each description keeps its own text; its patterns (';'-separated, "*.*"
// meaning every file) follow in parentheses, where Qt reads them. The list
// ends at an empty description or pattern, or at the end of the text.
QStringList ToQtNameFilters(std::u16string_view filter);

} // namespace platform::classlib

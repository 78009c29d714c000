// Operations on the widgets behind list, edit and button wrappers, shared by
// the wrapper classes and by the messages a window answers by number.
#pragma once

#include <QString>

class QWidget;

namespace platform::classlib {

int ComboCurSel(const QWidget* widget);            // -1 when nothing is selected
int ComboSetCurSel(QWidget* widget, int index);    // -1 or out of range clears; returns -1 then
int ComboAddString(QWidget* widget, const QString& text);  // kept in order when the list is sorted
void EditSetSel(QWidget* widget, int start, int end);      // 0, -1 selects all; -1 removes the selection

} // namespace platform::classlib

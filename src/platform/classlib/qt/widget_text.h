// The text of a window, whatever widget backs it: an edit's contents, a
// list's edit field, a button's or label's text, a frame's title, a
// top-level window's caption.
#pragma once

#include <QString>

class QWidget;

namespace platform::classlib {

QString WidgetText(const QWidget* widget);
void SetWidgetText(QWidget* widget, const QString& text);

} // namespace platform::classlib

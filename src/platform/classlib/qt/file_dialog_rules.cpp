#include "platform/classlib/qt/file_dialog_rules.h"


namespace platform::classlib {
namespace {

QString QtPatterns(const QString& windowsPatterns) {
    QStringList patterns;
    for (const QString& raw : windowsPatterns.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = raw.trimmed();
        if (!pattern.isEmpty())
            patterns << (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
    }
    return patterns.join(u' ');
}

} // namespace

QStringList ToQtNameFilters(std::u16string_view filter) {
    const QStringList parts = QString::fromStdU16String(std::u16string(filter)).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() || parts[i + 1].isEmpty())
            break;
        filters << parts[i] + QStringLiteral(" (") + QtPatterns(parts[i + 1]) + u')';
    }
    return filters;
}

} // namespace platform::classlib

#include "study/PersonName.h"

QString DisplayName(const QString& last, const QString& first, const QString& middle)
{
    QString name = last;
    if (!first.isEmpty()) {
        if (!name.isEmpty())
            name += QStringLiteral(", ");
        name += first;
    }
    if (!middle.isEmpty())
        name += QLatin1Char(' ') + middle;
    return name;
}

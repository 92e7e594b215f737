#include "platform/ReportSystemError.h"

// std
#include <cstdio>
#include <cstring>

Q_LOGGING_CATEGORY(lcOrvaneError, "orvane.error")

QByteArray ReportSystemError(DWORD dwError, const char* pszWhere)
{
    char buffer[1024] = {};
    const char* where = pszWhere ? pszWhere : "";
    const char* text = dwError != 0 ? strerrordesc_np(int(dwError)) : nullptr;
    if (text)
        std::snprintf(buffer, sizeof buffer, "%s from %s", text, where);
    else
        std::snprintf(buffer, sizeof buffer, "from %s", where);
    qCWarning(lcOrvaneError, "%s", buffer);
    return QByteArray(buffer);
}

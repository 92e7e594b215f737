#pragma once
// The one error reporter every catch-all block calls.
//
// Convention: a handler's protected region ends in
//     catch (...) { ReportSystemError(GetLastError(), "CClass::Method"); }
// and execution goes on behind it; nothing is rolled back and no exception leaves a handler,
// a slot or a thread body.

// Qt
#include <QLoggingCategory>

// Orvane
#include "platform/LastError.h"
#include "platform/WinTypes.h"

Q_DECLARE_LOGGING_CATEGORY(lcOrvaneError)

/// Formats "%s from %s" with the system's text for `dwError` (strerrordesc_np) and `pszWhere`,
/// at most 1023 characters, and writes the line to standard error under the "orvane.error"
/// category. With a code of 0, or one without a system text, the line is "from <where>".
/// Returns the line written. Thread safe.
QByteArray ReportSystemError(DWORD dwError, const char* pszWhere);

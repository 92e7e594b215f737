#pragma once
// Person names as the viewer shows them.

// Qt
#include <QString>

/// The display name from the components of Patient's Name: last; ", " (when there is text
/// before it) and first when first is not empty; " " and middle when middle is not empty.
QString DisplayName(const QString& last, const QString& first, const QString& middle);

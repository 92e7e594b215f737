#pragma once
// Copies a file into a folder under a new name, atomically.

// Qt
#include <QString>

/// Copies `source` to `folder` + `name`: written to a temporary name in `folder`, synced,
/// then renamed over any earlier file of that name (whatever its permissions).
/// Returns false, leaving no partial file, when any step fails. Thread safe.
bool CopyFileReplacing(const QString& source, const QString& folder, const QString& name);

#pragma once
// The per-user private temporary folder: $XDG_RUNTIME_DIR/orvane, else <temp>/orvane-<uid>.

// Qt
#include <QString>

/// Creates (mode 0700) or checks the private folder and returns its path with a trailing "/".
/// Returns an empty string when the folder is a symlink, not a folder, belongs to another
/// user or can't be made. Thread safe.
QString PrivateTempFolder();

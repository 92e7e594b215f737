#pragma once
// The registry profile, kept as a QSettings INI file (organization "NORDAXIS",
// application "Orvane"). Values are read and written only when asked for.

// Qt
#include <QString>
#include <QStringList>

namespace Profile {

/// An integer value, or `fallback` when absent or not a number. UI thread only.
int GetProfileInt(const QString& section, const QString& entry, int fallback);
/// Writes an integer value. UI thread only.
void WriteProfileInt(const QString& section, const QString& entry, int value);
/// A string value, or `fallback` when absent. UI thread only.
QString GetProfileString(const QString& section, const QString& entry, const QString& fallback = {});
/// Writes a string value. UI thread only.
void WriteProfileString(const QString& section, const QString& entry, const QString& value);

/// Reads the recent-file list ("Recent File List", "File1".."FileN"): up to `count` names.
QStringList LoadRecentFileList(int count);
/// Writes the non-empty entries of the list and removes the others; writes nothing when
/// the list is empty and no entries are stored.
void SaveRecentFileList(const QStringList& files, int count);

/// Path of the INI file, for tests and messages.
QString FilePath();

} // namespace Profile

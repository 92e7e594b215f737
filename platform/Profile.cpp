#include "platform/Profile.h"

// Qt
#include <QSettings>

namespace {

QSettings Settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("NORDAXIS"), QStringLiteral("Orvane"));
}

QString Key(const QString& section, const QString& entry)
{
    return section + QLatin1Char('/') + entry;
}

const QString kRecent = QStringLiteral("Recent File List");

} // namespace

namespace Profile {

int GetProfileInt(const QString& section, const QString& entry, int fallback)
{
    bool ok = false;
    const int v = Settings().value(Key(section, entry)).toInt(&ok);
    return ok ? v : fallback;
}

void WriteProfileInt(const QString& section, const QString& entry, int value)
{
    Settings().setValue(Key(section, entry), value);
}

QString GetProfileString(const QString& section, const QString& entry, const QString& fallback)
{
    return Settings().value(Key(section, entry), fallback).toString();
}

void WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    Settings().setValue(Key(section, entry), value);
}

QStringList LoadRecentFileList(int count)
{
    QStringList files;
    QSettings s = Settings();
    for (int i = 1; i <= count; ++i) {
        const QString v = s.value(Key(kRecent, QStringLiteral("File%1").arg(i))).toString();
        if (!v.isEmpty())
            files << v;
    }
    return files;
}

void SaveRecentFileList(const QStringList& files, int count)
{
    QSettings s = Settings();
    bool any = false;
    for (int i = 1; i <= count; ++i)
        any = any || s.contains(Key(kRecent, QStringLiteral("File%1").arg(i)));
    if (files.isEmpty() && !any)
        return;
    for (int i = 1; i <= count; ++i) {
        const QString key = Key(kRecent, QStringLiteral("File%1").arg(i));
        if (i <= files.size() && !files[i - 1].isEmpty())
            s.setValue(key, files[i - 1]);
        else
            s.remove(key);
    }
}

QString FilePath()
{
    return Settings().fileName();
}

} // namespace Profile

#include "platform/PrivateFolder.h"

// Qt
#include <QDir>
#include <QFile>

// POSIX
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsOwnPrivateFolder(const QByteArray& path)
{
    struct stat st{};
    if (lstat(path.constData(), &st) != 0)
        return false;
    if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode))
        return false;
    if (st.st_uid != geteuid())
        return false;
    // Tighten a folder we own that others can read
    if ((st.st_mode & 077) != 0 && chmod(path.constData(), 0700) != 0)
        return false;
    return true;
}

} // namespace

QString PrivateTempFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QString base;
    if (!runtime.isEmpty())
        base = QString::fromLocal8Bit(runtime) + QStringLiteral("/orvane");
    else
        base = QDir::tempPath() + QStringLiteral("/orvane-") + QString::number(geteuid());
    const QByteArray path = QFile::encodeName(base);

    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    if (!IsOwnPrivateFolder(path))
        return {};
    return base + QLatin1Char('/');
}

#include "platform/PathResolver.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>

// POSIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Fold(QString name)
{
    if (name.endsWith(QLatin1String(";1")))
        name.chop(2);
    return name.toCaseFolded();
}

// The folder part of a path made as base + "/" + components; "/" for a file in the root
QString FolderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

PathResolver::~PathResolver()
{
    CloseFolder();
}

void PathResolver::Clear()
{
    m_listings.clear();
    m_realBases.clear();
    m_realFolders.clear();
    m_lastFolder.clear();
    CloseFolder();
}

void PathResolver::CloseFolder()
{
    if (m_nFolderFd >= 0)
        ::close(m_nFolderFd);
    m_nFolderFd = -1;
    m_openFolder.clear();
}

bool PathResolver::IsSafeComponent(const QString& component)
{
    if (component.isEmpty() || component == QLatin1String(".") || component == QLatin1String(".."))
        return false;
    return !component.contains(QLatin1Char('/')) && !component.contains(QChar(0));
}

bool PathResolver::IsInsideFolder(const QString& realPath, const QString& realFolder)
{
    if (realFolder.isEmpty() || realPath.isEmpty())
        return false;
    if (realPath == realFolder)
        return true;
    // "/media/cd2" is not inside "/media/cd": the folder is compared with its "/"
    const QString prefix = realFolder.endsWith(QLatin1Char('/')) ? realFolder : realFolder + QLatin1Char('/');
    return realPath.startsWith(prefix);
}

QString PathResolver::Resolve(const QString& base, const QStringList& components)
{
    if (components.isEmpty())
        return {};
    for (const QString& c : components)
        if (!IsSafeComponent(c))
            return {};

    qsizetype size = base.size();
    for (const QString& c : components)
        size += 1 + c.size();
    QString exact;
    exact.reserve(size);
    exact += base;
    for (const QString& c : components) {
        exact += QLatin1Char('/');
        exact += c;
    }
    bool inside = false;
    if (IsFileInsideBase(base, exact, inside))
        return inside ? exact : QString();

    QString path = base;
    for (const QString& c : components) {
        const QString entry = FindEntry(path, c);
        if (entry.isEmpty())
            return {};
        path += QLatin1Char('/') + entry;
    }
    return IsFileInsideBase(base, path, inside) && inside ? path : QString();
}

bool PathResolver::IsFileInsideBase(const QString& base, const QString& path, bool& inside)
{
    // One lstat: a regular file that is no link needs only its folder's real path. The images
    // of a series mostly share their folder with the one before: that folder is kept open, so
    // that the system looks up only the file's own name
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    struct stat st;
    int status = -1;
    if (slash > 0 && m_nFolderFd >= 0 && QStringView(path).left(slash) == m_openFolder) {
        status = ::fstatat(m_nFolderFd, QFile::encodeName(path.mid(slash + 1)).constData(), &st, AT_SYMLINK_NOFOLLOW);
    } else {
        status = ::lstat(QFile::encodeName(path).constData(), &st);
        if (slash > 0) {
            CloseFolder();
            m_nFolderFd = ::open(QFile::encodeName(path.left(slash)).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (m_nFolderFd >= 0)
                m_openFolder = path.left(slash);
        }
    }
    if (status != 0)
        return false;
    if (S_ISREG(st.st_mode)) {
        if (slash > 0 && !m_lastFolder.isEmpty() && QStringView(path).left(slash) == m_lastFolder && m_lastBase == base) {
            inside = m_bLastInside;
            return true;
        }
        inside = InsideBase(base, FolderOf(path), false);
        if (slash > 0) {
            m_lastFolder = path.left(slash);
            m_lastBase = base;
            m_bLastInside = inside;
        }
        return true;
    }
    if (!S_ISLNK(st.st_mode))
        return false; // a folder, a device, a FIFO or a socket is no file
    // A link is followed to its end, which must be a regular file
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty() || ::stat(QFile::encodeName(target).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    inside = InsideBase(base, target, true);
    return true;
}

const QString& PathResolver::RealBase(const QString& base)
{
    auto it = m_realBases.find(base);
    if (it == m_realBases.end())
        it = m_realBases.insert(base, QFileInfo(base.isEmpty() ? QStringLiteral("/") : base).canonicalFilePath());
    return *it;
}

bool PathResolver::InsideBase(const QString& base, const QString& path, bool bRealFile)
{
    if (bRealFile)
        return IsInsideFolder(path, RealBase(base));
    // Each folder's real path is found once; the files in it are then checked by themselves
    auto it = m_realFolders.find(path);
    if (it == m_realFolders.end())
        it = m_realFolders.insert(path, QFileInfo(path).canonicalFilePath());
    return IsInsideFolder(*it, RealBase(base));
}

QString PathResolver::FindEntry(const QString& folder, const QString& component)
{
    auto it = m_listings.find(folder);
    if (it == m_listings.end()) {
        QHash<QString, QString> names;
        // An empty base is the root folder, as a program in "/" finds "/DICOMDIR"
        const QString listed = folder.isEmpty() ? QStringLiteral("/") : folder;
        const QStringList entries = QDir(listed).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& e : entries)
            names.insert(Fold(e), e); // later duplicates in another case lose: any match will do
        it = m_listings.insert(folder, names);
    }
    return it->value(Fold(component));
}

QString ResolveCaseInsensitive(const QString& base, const QStringList& components)
{
    PathResolver resolver;
    return resolver.Resolve(base, components);
}

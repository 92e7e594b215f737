#pragma once
// Finds files of a file set whatever the case of their names on disk: CD mounts often show
// lower-case names or an ISO 9660 ";1" version suffix.

// Qt
#include <QHash>
#include <QString>
#include <QStringList>

/// Resolves relative paths below one folder. Keeps a cache of the folder listings it read,
/// so many look-ups in one large folder stay linear, and keeps the folder of the last file
/// open. Not thread safe: one per thread.
class PathResolver
{
public:
    /// True for a component that may be used: not empty, not "." or "..", no "/" and no NUL.
    static bool IsSafeComponent(const QString& component);

    /// The existing regular file `base` + "/" + the components joined with "/": the exact path
    /// first, then each component matched case-insensitively (an entry's ";1" suffix ignored).
    /// Empty when any component is unsafe or nothing matches. `base` itself is taken as it is.
    /// Symbolic links are followed, but the file they end at must be a regular file inside the
    /// real folder of `base`: a link out of the file set, to a device or to a FIFO is missing.
    /// The real path of each folder is found once; then only the file itself is looked at.
    QString Resolve(const QString& base, const QStringList& components);

    /// True when `realPath` is `realFolder` or lies below it (both real paths).
    static bool IsInsideFolder(const QString& realPath, const QString& realFolder);

    PathResolver() = default;
    ~PathResolver();
    PathResolver(const PathResolver&) = delete;
    PathResolver& operator=(const PathResolver&) = delete;

    /// Forgets the folder listings and real paths read so far.
    void Clear();

private:
    QString FindEntry(const QString& folder, const QString& component);
    const QString& RealBase(const QString& base);
    /// False when `path` is no file (missing, a folder, a device, a FIFO, a dangling link);
    /// otherwise `inside` says whether the file lies inside the real folder of `base`.
    bool IsFileInsideBase(const QString& base, const QString& path, bool& inside);
    /// `path` is the real path of a file (`bRealFile`) or a folder of the file set as named:
    /// true when it lies inside the real folder of `base`.
    bool InsideBase(const QString& base, const QString& path, bool bRealFile);
    QHash<QString, QHash<QString, QString>> m_listings; // folder -> folded name -> real name
    QHash<QString, QString> m_realBases;                // base -> its real path
    QHash<QString, QString> m_realFolders;              // folder of a file -> its real path
    QString m_lastFolder;                               // the folder checked last, its base and result
    QString m_lastBase;
    bool m_bLastInside = false;
    QString m_openFolder;                               // the folder of the last file looked at, kept open
    int m_nFolderFd = -1;
    void CloseFolder();
};

/// One-off resolution with a fresh resolver.
QString ResolveCaseInsensitive(const QString& base, const QStringList& components);

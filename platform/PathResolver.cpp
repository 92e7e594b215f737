#include "platform/PathResolver.h"

// Qt
#include <QDir>
#include <QFileInfo>

namespace {

QString Fold(QString name)
{
    if (name.endsWith(QLatin1String(";1")))
        name.chop(2);
    return name.toCaseFolded();
}

} // namespace

bool PathResolver::IsSafeComponent(const QString& component)
{
    if (component.isEmpty() || component == QLatin1String(".") || component == QLatin1String(".."))
        return false;
    return !component.contains(QLatin1Char('/')) && !component.contains(QChar(0));
}

QString PathResolver::Resolve(const QString& base, const QStringList& components)
{
    if (components.isEmpty())
        return {};
    for (const QString& c : components)
        if (!IsSafeComponent(c))
            return {};

    QString exact = base;
    for (const QString& c : components)
        exact += QLatin1Char('/') + c;
    if (QFileInfo(exact).isFile())
        return InsideBase(base, exact) ? exact : QString();

    QString path = base;
    for (const QString& c : components) {
        const QString entry = FindEntry(path, c);
        if (entry.isEmpty())
            return {};
        path += QLatin1Char('/') + entry;
    }
    return QFileInfo(path).isFile() && InsideBase(base, path) ? path : QString();
}

bool PathResolver::InsideBase(const QString& base, const QString& path)
{
    // Links are followed to their end: it must be a regular file below the base's real folder
    auto it = m_realBases.find(base);
    if (it == m_realBases.end())
        it = m_realBases.insert(base, QFileInfo(base.isEmpty() ? QStringLiteral("/") : base).canonicalFilePath());
    const QString& realBase = *it;
    if (realBase.isEmpty())
        return false;
    const QFileInfo target(QFileInfo(path).canonicalFilePath());
    if (target.filePath().isEmpty() || !target.isFile())
        return false;
    const QString prefix = realBase.endsWith(QLatin1Char('/')) ? realBase : realBase + QLatin1Char('/');
    return target.filePath().startsWith(prefix);
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

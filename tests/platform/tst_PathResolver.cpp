// Qt
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Orvane
#include "platform/PathResolver.h"

namespace {

void Touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class tst_PathResolver : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void resolves_data();
    void resolves();
    void rejectsUnsafeComponents_data();
    void rejectsUnsafeComponents();
    void findsRootFolderForEmptyBase();
    void seesFilesAddedAfterClear();

private:
    QTemporaryDir m_dir;
};

void tst_PathResolver::initTestCase()
{
    QVERIFY(m_dir.isValid());
    Touch(m_dir.filePath("DICOMDIR"));
    Touch(m_dir.filePath("images/ct/img0001"));
    Touch(m_dir.filePath("SERIES;1/FILE;1"));
    Touch(m_dir.filePath("Mixed/Case.dcm"));
    QDir().mkpath(m_dir.filePath("folder/IMG2"));
}

void tst_PathResolver::resolves_data()
{
    QTest::addColumn<QStringList>("components");
    QTest::addColumn<QString>("expected"); // relative to the base; empty for none
    QTest::newRow("exact") << QStringList{"DICOMDIR"} << "DICOMDIR";
    QTest::newRow("upper-case record, lower-case disk") << QStringList{"IMAGES", "CT", "IMG0001"} << "images/ct/img0001";
    QTest::newRow("version suffix on disk") << QStringList{"SERIES", "FILE"} << "SERIES;1/FILE;1";
    QTest::newRow("mixed case") << QStringList{"MIXED", "CASE.DCM"} << "Mixed/Case.dcm";
    QTest::newRow("missing") << QStringList{"IMAGES", "CT", "IMG0002"} << "";
    QTest::newRow("a folder is no file") << QStringList{"FOLDER", "IMG2"} << "";
    QTest::newRow("no components") << QStringList{} << "";
}

void tst_PathResolver::resolves()
{
    QFETCH(QStringList, components);
    QFETCH(QString, expected);
    PathResolver resolver;
    const QString found = resolver.Resolve(m_dir.path(), components);
    QCOMPARE(found, expected.isEmpty() ? QString() : m_dir.path() + "/" + expected);
}

void tst_PathResolver::rejectsUnsafeComponents_data()
{
    QTest::addColumn<QStringList>("components");
    QTest::newRow("dot dot") << QStringList{"..", QFileInfo(m_dir.path()).fileName(), "DICOMDIR"};
    QTest::newRow("dot") << QStringList{".", "DICOMDIR"};
    QTest::newRow("empty") << QStringList{"", "DICOMDIR"};
    QTest::newRow("slash") << QStringList{"images/ct", "img0001"};
    QTest::newRow("nul") << QStringList{QString("DICOMDIR") + QChar(0)};
}

void tst_PathResolver::rejectsUnsafeComponents()
{
    QFETCH(QStringList, components);
    QVERIFY(ResolveCaseInsensitive(m_dir.path(), components).isEmpty());
}

void tst_PathResolver::findsRootFolderForEmptyBase()
{
    // A program in the root folder uses "/" + name; only check the lookup doesn't use "."
    const QString cwdFile = "orvane-resolver-probe";
    Touch(m_dir.filePath(cwdFile));
    const QString old = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    const QString found = ResolveCaseInsensitive(QString(), {cwdFile.toUpper()});
    QDir::setCurrent(old);
    QVERIFY(found.isEmpty());
}

void tst_PathResolver::seesFilesAddedAfterClear()
{
    PathResolver resolver;
    QVERIFY(resolver.Resolve(m_dir.path(), {"IMAGES", "CT", "IMG0003"}).isEmpty());
    Touch(m_dir.filePath("images/ct/img0003"));
    resolver.Clear();
    QCOMPARE(resolver.Resolve(m_dir.path(), {"IMAGES", "CT", "IMG0003"}), m_dir.path() + "/images/ct/img0003");
}

QTEST_MAIN(tst_PathResolver)
#include "tst_PathResolver.moc"

// Qt
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Orvane
#include "platform/PathResolver.h"

// POSIX
#include <sys/stat.h>

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
    void followsLinksOnlyInsideTheSet_data();
    void followsLinksOnlyInsideTheSet();

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

void tst_PathResolver::followsLinksOnlyInsideTheSet_data()
{
    // A file set "set" beside a folder "outside"; the set reached also through a link "cd"
    const QString set = m_dir.filePath("links/set");
    Touch(set + "/IMAGES/REAL");
    Touch(m_dir.filePath("links/outside/SECRET"));
    QDir().mkpath(set + "/SUB");
    QVERIFY(QFile::link("../../outside/SECRET", set + "/IMAGES/LINK1"));
    QVERIFY(QFile::link("/etc", set + "/ETC"));
    QVERIFY(QFile::link("REAL", set + "/IMAGES/LINK2"));
    QVERIFY(QFile::link(set + "/IMAGES/REAL", set + "/IMAGES/ABSOLUTE"));
    QVERIFY(QFile::link("../IMAGES", set + "/SUB/IMG"));
    QVERIFY(QFile::link("..", set + "/UP"));
    QVERIFY(QFile::link("/dev/zero", set + "/IMAGES/DEVICE"));
    QVERIFY(QFile::link("NOWHERE", set + "/IMAGES/DANGLING"));
    QVERIFY(QFile::link("set", m_dir.filePath("links/cd")));
    QCOMPARE(mkfifo(QFile::encodeName(set + "/IMAGES/FIFO").constData(), 0600), 0);
    QVERIFY(QFile::link("FIFO", set + "/IMAGES/TOFIFO"));
    // A sibling whose name starts with the set's: "set2" is not inside "set"
    Touch(m_dir.filePath("links/set2/IMAGES/OTHER"));
    QVERIFY(QFile::link("../set2", set + "/SIB"));
    QVERIFY(QFile::link("../../set2/IMAGES/OTHER", set + "/IMAGES/TOSIB"));

    QTest::addColumn<QString>("base");
    QTest::addColumn<QStringList>("components");
    QTest::addColumn<QString>("expected"); // relative to the base; empty for none
    const QString cd = m_dir.filePath("links/cd");
    QTest::newRow("plain file") << set << QStringList{"IMAGES", "REAL"} << "IMAGES/REAL";
    QTest::newRow("link out of the set") << set << QStringList{"IMAGES", "LINK1"} << "";
    QTest::newRow("link out, case-insensitive") << set << QStringList{"images", "link1"} << "";
    QTest::newRow("folder link to /etc") << set << QStringList{"ETC", "passwd"} << "";
    QTest::newRow("folder link up and out") << set << QStringList{"UP", "outside", "SECRET"} << "";
    QTest::newRow("relative link inside") << set << QStringList{"IMAGES", "LINK2"} << "IMAGES/LINK2";
    QTest::newRow("absolute link inside") << set << QStringList{"IMAGES", "ABSOLUTE"} << "IMAGES/ABSOLUTE";
    QTest::newRow("folder link inside") << set << QStringList{"SUB", "IMG", "REAL"} << "SUB/IMG/REAL";
    QTest::newRow("link to a device") << set << QStringList{"IMAGES", "DEVICE"} << "";
    QTest::newRow("fifo") << set << QStringList{"IMAGES", "FIFO"} << "";
    QTest::newRow("link to a fifo") << set << QStringList{"IMAGES", "TOFIFO"} << "";
    QTest::newRow("dangling link") << set << QStringList{"IMAGES", "DANGLING"} << "";
    QTest::newRow("folder link to a sibling named like the set") << set << QStringList{"SIB", "IMAGES", "OTHER"} << "";
    QTest::newRow("file link to a sibling named like the set") << set << QStringList{"IMAGES", "TOSIB"} << "";
    QTest::newRow("sibling named like the set, case-insensitive") << set << QStringList{"sib", "images", "other"} << "";
    QTest::newRow("set reached through a link") << cd << QStringList{"IMAGES", "REAL"} << "IMAGES/REAL";
    QTest::newRow("through a link, link inside") << cd << QStringList{"images", "link2"} << "IMAGES/LINK2";
    QTest::newRow("through a link, link out") << cd << QStringList{"IMAGES", "LINK1"} << "";
}

void tst_PathResolver::followsLinksOnlyInsideTheSet()
{
    QFETCH(QString, base);
    QFETCH(QStringList, components);
    QFETCH(QString, expected);
    PathResolver resolver;
    QCOMPARE(resolver.Resolve(base, components), expected.isEmpty() ? QString() : base + "/" + expected);
}

QTEST_MAIN(tst_PathResolver)
#include "tst_PathResolver.moc"

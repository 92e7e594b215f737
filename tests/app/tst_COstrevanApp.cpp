// Qt
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Orvane
#include "app/COstrevanApp.h"
#include "platform/CMultiDocTemplate.h"
#include "platform/InstanceLock.h"
#include "platform/MessageNotifier.h"
#include "platform/PrivateFolder.h"
#include "platform/Profile.h"
#include "app/CMainFrame.h"
#include "study/CStudyList.h"

namespace {

void Write(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_COstrevanApp : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void derivesFileSetFolder_data();
    void derivesFileSetFolder();
    void stopsWithoutDicomDir();
    void secondInstanceLeavesFirstUntouched();
    void startsAndReplacesStaleCopy();
    void findsLowerCaseDicomDir();
    void readsOriginalWhenNoCopyCanBeMade();
    void startsReadingTheDicomDirBeforeTheMainFrameShows();

private:
    QString MakeFileSet(const QString& dicomDirName, const QByteArray& content);

    std::unique_ptr<QTemporaryDir> m_root;
    QList<ShownMessage> m_shown;
};

void tst_COstrevanApp::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QDir().mkpath(m_root->filePath("run"));
    QDir().mkpath(m_root->filePath("config"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_root->filePath("run")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_root->filePath("config")));
    m_shown.clear();
    SetMessageNotifier([this](const ShownMessage& m) {
        m_shown << m;
        return int(IDOK);
    });
}

void tst_COstrevanApp::cleanup()
{
    SetMessageNotifier({});
}

QString tst_COstrevanApp::MakeFileSet(const QString& dicomDirName, const QByteArray& content)
{
    const QString set = m_root->filePath("cd");
    if (!dicomDirName.isEmpty())
        Write(set + "/" + dicomDirName, content);
    QDir().mkpath(set + "/PROG");
    return set + "/PROG/orvane";
}

void tst_COstrevanApp::derivesFileSetFolder_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("folder");
    QTest::newRow("one level below a folder") << "/media/cd/prog/orvane" << "/media/cd";
    QTest::newRow("deeper") << "/d/set1/prog/orvane" << "/d/set1";
    QTest::newRow("one level below the root") << "/prog/orvane" << "";
    QTest::newRow("in the root") << "/orvane" << "";
    QTest::newRow("doubled separators") << "/cd//prog//orvane" << "/cd";
}

void tst_COstrevanApp::derivesFileSetFolder()
{
    QFETCH(QString, program);
    QFETCH(QString, folder);
    QCOMPARE(MediaFolderFromProgramPath(program), folder);
}

void tst_COstrevanApp::stopsWithoutDicomDir()
{
    const QString program = MakeFileSet(QString(), QByteArray());
    COstrevanApp app;
    QCOMPARE(app.InitInstance(program), FALSE);
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].text, QString("DICOMDIR file not found...\nClosing the application"));
    QCOMPARE(m_shown[0].caption, QString("Perlisk Orvane"));
    QCOMPARE(m_shown[0].flags, unsigned(MB_OK | MB_ICONINFORMATION));
    app.ExitInstance();
    QVERIFY(!QFile::exists(PrivateTempFolder() + "dicomdir"));
    QVERIFY(!QFile::exists(Profile::FilePath()));
    QVERIFY(!app.m_pMainWnd);
}

void tst_COstrevanApp::secondInstanceLeavesFirstUntouched()
{
    const QString program = MakeFileSet("DICOMDIR", "set");
    const QString lockPath = PrivateTempFolder() + "OrvaneMutex.lock";
    InstanceLock first;
    QVERIFY(first.Acquire(lockPath));

    COstrevanApp second;
    QCOMPARE(second.InitInstance(program), FALSE);
    QCOMPARE(m_shown.size(), 1);
    QCOMPARE(m_shown[0].text, QString("Another Copy of Orvane is already running"));
    QCOMPARE(m_shown[0].caption, QString("Perlisk Orvane"));
    QCOMPARE(m_shown[0].flags, unsigned(MB_SYSTEMMODAL | MB_ICONINFORMATION));
    second.ExitInstance();

    QVERIFY(first.IsHeld());
    InstanceLock probe;
    QVERIFY(!probe.Acquire(lockPath)); // the first copy still holds it
    QVERIFY(!QFile::exists(PrivateTempFolder() + "dicomdir"));
}

void tst_COstrevanApp::startsAndReplacesStaleCopy()
{
    const QByteArray content("DICM file set index");
    const QString program = MakeFileSet("DICOMDIR", content);
    const QString copy = PrivateTempFolder() + "dicomdir";
    Write(copy, "an older, longer copy of another file set");
    QFile::setPermissions(copy, QFileDevice::ReadOwner);

    QCOMPARE(theApp.InitInstance(program), TRUE);
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(Read(copy), content);
    QCOMPARE(theApp.m_strDicomDirPath, copy);
    QCOMPARE(theApp.m_strMediaFolder, m_root->filePath("cd"));
    QCOMPARE(theApp.m_strTempFolder, PrivateTempFolder());
    QCOMPARE(theApp.m_strTitle, QString("Perlisk Orvane - 1.3.1.2"));
    QCOMPARE(theApp.m_bImagesLoaded, BYTE(0));
    QCOMPARE(theApp.m_nLayoutMode, 0);
    QCOMPARE(theApp.m_bShowLoadingText, BYTE(1));
    QCOMPARE(theApp.m_bEmptyViewText, BYTE(1));
    QCOMPARE(theApp.m_nMagnifierZoom, 20);
    QCOMPARE(theApp.m_nMagnifierSize, 400);
    QCOMPARE(theApp.m_nMagnifierOption, 1);
    QVERIFY(theApp.m_pMainWnd);
    QVERIFY(theApp.m_pStudyListDlg);
    QVERIFY(theApp.m_pDocTemplate);
    QCOMPARE(theApp.m_pDocTemplate->GetDocuments().size(), size_t(1));
    QVERIFY(theApp.m_hMutex.IsHeld());

    theApp.ExitInstance();
    QVERIFY(!theApp.m_pMainWnd);
    QVERIFY(!theApp.m_pStudyListDlg);
    QVERIFY(!theApp.m_hMutex.IsHeld());
    QVERIFY(QFile::exists(copy)); // the copy stays
}

namespace {

// Records, when the main frame is first shown, whether the Study List was reading already
class ShowWatcher : public QObject
{
public:
    bool bShown = false;
    bool bReading = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !bShown && watched == static_cast<QObject*>(theApp.m_pMainWnd)) {
            bShown = true;
            bReading = theApp.m_pStudyListDlg && !theApp.m_pStudyListDlg->m_strDicomdirPath.isEmpty();
        }
        return false;
    }
};

} // namespace

void tst_COstrevanApp::startsReadingTheDicomDirBeforeTheMainFrameShows()
{
    const QString program = MakeFileSet("DICOMDIR", "DICM file set index");
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    QCOMPARE(theApp.InitInstance(program), TRUE);
    qApp->removeEventFilter(&watcher);
    QVERIFY(watcher.bShown);
    QVERIFY(watcher.bReading);
    QCOMPARE(theApp.m_pStudyListDlg->m_strDicomdirPath, theApp.m_strDicomDirPath);
    theApp.ExitInstance();
}

void tst_COstrevanApp::findsLowerCaseDicomDir()
{
    const QString program = MakeFileSet("dicomdir", "lower-case mount");
    COstrevanApp app;
    QCOMPARE(app.InitInstance(program), TRUE);
    QCOMPARE(Read(app.m_strDicomDirPath), QByteArray("lower-case mount"));
    app.ExitInstance();
}

void tst_COstrevanApp::readsOriginalWhenNoCopyCanBeMade()
{
    const QString program = MakeFileSet("DICOMDIR", "original");
    // A private folder that is a symlink is refused: no copy, no stale copy either
    QTemporaryDir elsewhere;
    Write(elsewhere.filePath("dicomdir"), "stale");
    QVERIFY(QFile::link(elsewhere.path(), m_root->filePath("run/orvane")));
    COstrevanApp app;
    QCOMPARE(app.InitInstance(program), TRUE);
    QCOMPARE(app.m_strDicomDirPath, m_root->filePath("cd/DICOMDIR"));
    QCOMPARE(Read(elsewhere.filePath("dicomdir")), QByteArray("stale"));
    app.ExitInstance();
}

QTEST_MAIN(tst_COstrevanApp)
#include "tst_COstrevanApp.moc"

// The private folder, the instance lock and the atomic copy: the files start-up makes.

// Qt
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// POSIX
#include <sys/stat.h>
#include <unistd.h>

// Orvane
#include "platform/FileCopy.h"
#include "platform/InstanceLock.h"
#include "platform/PrivateFolder.h"

namespace {

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

} // namespace

class tst_PrivateFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void createsPrivateFolderUnderRuntimeDir();
    void tightensLooseFolder();
    void refusesSymlinkedFolder();
    void fallsBackToTempWithUid();
    void lockIsExclusiveUntilReleased();
    void failedLockHoldsNothing();
    void copyReplacesReadOnlyStaleCopy();
    void failedCopyLeavesNoPartialFile();
    void lockReplacesAFileItCannotOpen_data();
    void lockReplacesAFileItCannotOpen();
    void lockThatCannotBeTakenIsNoOtherHolder();
    void readOnlyLockFileStillLocks();
    void copiesEveryByteOfALargeFile();
    void blockedTargetFailsAndLeavesNoTemporaryFile();

private:
    QTemporaryDir m_runtime;
};

void tst_PrivateFiles::init()
{
    QVERIFY(m_runtime.isValid());
    QDir(m_runtime.filePath("orvane")).removeRecursively();
    QFile::remove(m_runtime.filePath("orvane"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
}

void tst_PrivateFiles::createsPrivateFolderUnderRuntimeDir()
{
    const QString folder = PrivateTempFolder();
    QCOMPARE(folder, m_runtime.path() + "/orvane/");
    struct stat st{};
    QCOMPARE(stat(QFile::encodeName(folder).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0700);
    QCOMPARE(PrivateTempFolder(), folder); // stable on the second call
}

void tst_PrivateFiles::tightensLooseFolder()
{
    QVERIFY(QDir().mkpath(m_runtime.filePath("orvane")));
    chmod(QFile::encodeName(m_runtime.filePath("orvane")).constData(), 0777);
    QVERIFY(!PrivateTempFolder().isEmpty());
    struct stat st{};
    stat(QFile::encodeName(m_runtime.filePath("orvane")).constData(), &st);
    QCOMPARE(int(st.st_mode & 0777), 0700);
}

void tst_PrivateFiles::refusesSymlinkedFolder()
{
    QTemporaryDir elsewhere;
    QVERIFY(QFile::link(elsewhere.path(), m_runtime.filePath("orvane")));
    QVERIFY(PrivateTempFolder().isEmpty());
}

void tst_PrivateFiles::fallsBackToTempWithUid()
{
    qunsetenv("XDG_RUNTIME_DIR");
    const QString folder = PrivateTempFolder();
    QCOMPARE(folder, QDir::tempPath() + "/orvane-" + QString::number(geteuid()) + "/");
}

void tst_PrivateFiles::lockIsExclusiveUntilReleased()
{
    const QString path = PrivateTempFolder() + "OrvaneMutex.lock";
    InstanceLock first;
    QVERIFY(first.Acquire(path));
    {
        InstanceLock second;
        QVERIFY(!second.Acquire(path));
        QVERIFY(!second.IsHeld());
        second.Release(); // must not touch the first holder's lock
    }
    InstanceLock third;
    QVERIFY(!third.Acquire(path)); // still held by the first
    first.Release();
    QVERIFY(third.Acquire(path));
}

void tst_PrivateFiles::failedLockHoldsNothing()
{
    InstanceLock lock;
    QVERIFY(!lock.Acquire(m_runtime.filePath("no/such/folder/lock")));
    QVERIFY(!lock.IsHeld());
}

void tst_PrivateFiles::copyReplacesReadOnlyStaleCopy()
{
    const QString folder = PrivateTempFolder();
    const QString source = m_runtime.filePath("DICOMDIR");
    Write(source, QByteArray("new file set\0with a nul", 23));
    Write(folder + "dicomdir", "stale copy of another file set, longer than the new one");
    QFile::setPermissions(folder + "dicomdir", QFileDevice::ReadOwner);
    QVERIFY(CopyFileReplacing(source, folder, "dicomdir"));
    QCOMPARE(Read(folder + "dicomdir"), Read(source));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"dicomdir"});
}

void tst_PrivateFiles::failedCopyLeavesNoPartialFile()
{
    const QString folder = PrivateTempFolder();
    QVERIFY(!CopyFileReplacing(m_runtime.filePath("missing"), folder, "dicomdir"));
    QVERIFY(!CopyFileReplacing(m_runtime.filePath("missing"), m_runtime.filePath("no-folder"), "dicomdir"));
    QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
}

void tst_PrivateFiles::lockReplacesAFileItCannotOpen_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("dangling link") << "dangling";
    QTest::newRow("link to a file elsewhere") << "link";
    QTest::newRow("link loop") << "loop";
}

void tst_PrivateFiles::lockReplacesAFileItCannotOpen()
{
    QFETCH(QString, what);
    const QString folder = PrivateTempFolder();
    const QString path = folder + "OrvaneMutex.lock";
    const QString elsewhere = m_runtime.filePath("elsewhere");
    Write(elsewhere, "not the lock");
    if (what == "dangling")
        QVERIFY(QFile::link(m_runtime.filePath("nothing-here"), path));
    else if (what == "link")
        QVERIFY(QFile::link(elsewhere, path));
    else
        QVERIFY(QFile::link(path, path));

    InstanceLock lock;
    QVERIFY(lock.Acquire(path));
    QVERIFY(lock.IsHeld());
    QVERIFY(!lock.IsHeldElsewhere());
    QVERIFY(!QFileInfo(path).isSymLink());
    QCOMPARE(Read(elsewhere), QByteArray("not the lock")); // the link's target is left alone
    // The new file is a real lock
    InstanceLock second;
    QVERIFY(!second.Acquire(path));
    QVERIFY(second.IsHeldElsewhere());
}

void tst_PrivateFiles::lockThatCannotBeTakenIsNoOtherHolder()
{
    // A non-empty folder where the lock file should be: it can be neither opened nor replaced
    const QString path = PrivateTempFolder() + "OrvaneMutex.lock";
    QVERIFY(QDir().mkpath(path + "/inside"));
    InstanceLock lock;
    QVERIFY(!lock.Acquire(path));
    QVERIFY(!lock.IsHeld());
    QVERIFY(!lock.IsHeldElsewhere());
    QVERIFY(lock.LastError() != 0);
    QVERIFY(QFileInfo(path + "/inside").isDir());

    InstanceLock nowhere;
    QVERIFY(!nowhere.Acquire(m_runtime.filePath("no/such/folder/lock")));
    QVERIFY(!nowhere.IsHeldElsewhere());
    QCOMPARE(nowhere.LastError(), ENOENT);
}

void tst_PrivateFiles::readOnlyLockFileStillLocks()
{
    // A lock file left read-only is not replaced: a holder's lock on it must keep counting
    const QString path = PrivateTempFolder() + "OrvaneMutex.lock";
    Write(path, QByteArray());
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    InstanceLock first;
    QVERIFY(first.Acquire(path));
    InstanceLock second;
    QVERIFY(!second.Acquire(path));
    QVERIFY(second.IsHeldElsewhere());
}

void tst_PrivateFiles::copiesEveryByteOfALargeFile()
{
    // Larger than one read, with a length that is no whole number of them
    const QString folder = PrivateTempFolder();
    const QString source = m_runtime.filePath("DICOMDIR");
    QByteArray data(200 * 1024 + 7, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char((i * 131 + i / 4099) & 0xFF);
    Write(source, data);
    QVERIFY(CopyFileReplacing(source, folder, "dicomdir"));
    const QByteArray copy = Read(folder + "dicomdir");
    QCOMPARE(copy.size(), data.size());
    QVERIFY(copy == data);
}

void tst_PrivateFiles::blockedTargetFailsAndLeavesNoTemporaryFile()
{
    const QString folder = PrivateTempFolder();
    const QString source = m_runtime.filePath("DICOMDIR");
    Write(source, "a file set index");
    QVERIFY(QDir().mkpath(folder + "dicomdir/blocking"));
    QVERIFY(!CopyFileReplacing(source, folder, "dicomdir"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), QStringList{"dicomdir"});
    QVERIFY(QFileInfo(folder + "dicomdir/blocking").isDir());
}

QTEST_MAIN(tst_PrivateFiles)
#include "tst_PrivateFiles.moc"

// Qt
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// Orvane
#include "platform/Profile.h"

class tst_Profile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void storesUnderNordaxisOrvane();
    void readsDefaultsWhenAbsent();
    void roundTripsValues();
    void emptyRecentListWritesNothing();
    void recentListKeepsFourEntries();

private:
    QTemporaryDir m_config;
};

void tst_Profile::init()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    QFile::remove(Profile::FilePath());
}

void tst_Profile::storesUnderNordaxisOrvane()
{
    QCOMPARE(Profile::FilePath(), m_config.path() + "/NORDAXIS/Orvane.ini");
}

void tst_Profile::readsDefaultsWhenAbsent()
{
    QCOMPARE(Profile::GetProfileInt("Settings", "X", -5), -5);
    QCOMPARE(Profile::GetProfileString("Settings", "Name", "none"), QString("none"));
    QVERIFY(!QFile::exists(Profile::FilePath()));
}

void tst_Profile::roundTripsValues()
{
    Profile::WriteProfileInt("Settings", "X", 120);
    Profile::WriteProfileString("Settings", "Y", "not a number");
    QCOMPARE(Profile::GetProfileInt("Settings", "X", 0), 120);
    QCOMPARE(Profile::GetProfileInt("Settings", "Y", 7), 7);
}

void tst_Profile::emptyRecentListWritesNothing()
{
    Profile::SaveRecentFileList({}, 4);
    QVERIFY(!QFile::exists(Profile::FilePath()));
}

void tst_Profile::recentListKeepsFourEntries()
{
    Profile::SaveRecentFileList({"/a", "/b", "/c", "/d", "/e"}, 4);
    QCOMPARE(Profile::LoadRecentFileList(4), (QStringList{"/a", "/b", "/c", "/d"}));
    Profile::SaveRecentFileList({"/z"}, 4);
    QCOMPARE(Profile::LoadRecentFileList(4), QStringList{"/z"});
}

QTEST_MAIN(tst_Profile)
#include "tst_Profile.moc"

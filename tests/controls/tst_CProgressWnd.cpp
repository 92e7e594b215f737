// Qt
#include <QLabel>
#include <QProgressBar>
#include <QSettings>
#include <QtTest>

// Orvane
#include "controls/CProgressWnd.h"
#include "platform/MonitorProvider.h"
#include "platform/Profile.h"

namespace {

void ClearSettings()
{
    QSettings(QSettings::IniFormat, QSettings::UserScope, "NORDAXIS", "Orvane").remove("Settings");
}

} // namespace

class tst_CProgressWnd : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void choosesPosition_data();
    void choosesPosition();
    void placesWindowFromProfile_data();
    void placesWindowFromProfile();
    void stepsAndClampsPositions();
    void doesNothingWithoutWindow();
    void disablesOnlyTheMainWindow();
    void deletingReenablesAfterWindowWentFirst();
    void savesPositionWhenEndingWithItsWindow();
    void showsTextOfAnyLength();

private:
    QWidget* m_pMain = nullptr;
    MonitorRectProvider m_oldProvider;
};

void tst_CProgressWnd::init()
{
    ClearSettings();
    m_oldProvider = SetMonitorRectProvider([] { return QRect(0, 0, 1280, 1024); });
    m_pMain = new QWidget;
    m_pMain->resize(1280, 1024);
    m_pMain->show();
}

void tst_CProgressWnd::cleanup()
{
    delete m_pMain;
    m_pMain = nullptr;
    SetMonitorRectProvider(std::move(m_oldProvider));
    ClearSettings();
}

void tst_CProgressWnd::choosesPosition_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRect>("screen");
    const QRect first(0, 0, 1280, 1024);
    const QPoint centre((1280 - 300) / 2, (1024 - 80) / 2);
    QTest::newRow("remembered") << 100 << 200 << QPoint(100, 200) << first;
    QTest::newRow("origin") << 0 << 0 << QPoint(0, 0) << first;
    QTest::newRow("last pixel") << 1279 << 1023 << QPoint(1279, 1023) << first;
    QTest::newRow("none stored") << -1 << -1 << centre << first;
    QTest::newRow("x negative") << -5 << 10 << centre << first;
    QTest::newRow("y negative") << 10 << -5 << centre << first;
    QTest::newRow("x off the screen") << 1280 << 10 << centre << first;
    QTest::newRow("y off the screen") << 10 << 1024 << centre << first;
    // Centred on the screen itself, wherever its origin lies
    QTest::newRow("screen right of the first") << -1 << -1 << QPoint(1280 + (1024 - 300) / 2, 100 + (768 - 80) / 2)
                                               << QRect(1280, 100, 1024, 768);
    QTest::newRow("screen left of the first") << -1 << -1 << QPoint(-1600 + (1600 - 300) / 2, -200 + (1200 - 80) / 2)
                                              << QRect(-1600, -200, 1600, 1200);
}

void tst_CProgressWnd::choosesPosition()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QPoint, at);
    QFETCH(QRect, screen);
    QCOMPARE(ProgressWindowPosition(x, y, QSize(300, 80), screen), at);
}

void tst_CProgressWnd::placesWindowFromProfile_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("centred");
    QTest::newRow("on the screen") << true << 120 << 340 << false;
    QTest::newRow("off the screen") << true << 5000 << 340 << true;
    QTest::newRow("negative") << true << -20 << 340 << true;
    QTest::newRow("nothing stored") << false << 0 << 0 << true;
}

void tst_CProgressWnd::placesWindowFromProfile()
{
    QFETCH(bool, stored);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, centred);
    if (stored) {
        Profile::WriteProfileInt("Settings", "X", x);
        Profile::WriteProfileInt("Settings", "Y", y);
    }
    CProgressWnd progress;
    QVERIFY(progress.OpenModal("Perlisk Orvane", FALSE, m_pMain));
    QWidget* window = progress.GetSafeHwnd();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Perlisk Orvane"));
    QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
    const QPoint expected = centred ? ProgressWindowPosition(-1, -1, window->size(), QRect(0, 0, 1280, 1024)) : QPoint(x, y);
    QCOMPARE(window->pos(), expected);
    progress.DestroyWindow();
}

void tst_CProgressWnd::stepsAndClampsPositions()
{
    CProgressWnd progress;
    QVERIFY(progress.OpenModal("Perlisk Orvane", FALSE, m_pMain));
    progress.SetText("Loading Images. Please Wait...........");
    progress.SetRange(0, 100, 50);
    QCOMPARE(progress.StepIt(), 0);
    QCOMPARE(progress.m_wndProgress->value(), 50);
    QCOMPARE(progress.StepIt(), 50);
    QCOMPARE(progress.m_wndProgress->value(), 100);
    QCOMPARE(progress.StepIt(), 100);
    QCOMPARE(progress.m_wndProgress->value(), 100); // held at the top of the range
    QCOMPARE(progress.m_nPos, 100);
    QCOMPARE(progress.SetPos(-30), 100);
    QCOMPARE(progress.m_wndProgress->value(), 0);
    QCOMPARE(progress.SetPos(70), 0);
    QCOMPARE(progress.SetPos(1000), 70);
    QCOMPARE(progress.m_nPos, 100);
    // A hidden window shows again when the bar moves
    progress.GetSafeHwnd()->hide();
    progress.SetPos(10);
    QVERIFY(progress.GetSafeHwnd()->isVisible());
}

void tst_CProgressWnd::doesNothingWithoutWindow()
{
    CProgressWnd progress;
    progress.SetText("%d", 5);
    progress.SetRange(0, 10, 5);
    QCOMPARE(progress.m_nStep, 1);
    QCOMPARE(progress.SetPos(7), 0);
    QCOMPARE(progress.StepIt(), 0);
    QCOMPARE(progress.GetSafeHwnd(), nullptr);
    QVERIFY(m_pMain->isEnabled());
}

void tst_CProgressWnd::disablesOnlyTheMainWindow()
{
    CProgressWnd progress;
    QVERIFY(progress.OpenModal("Perlisk Orvane", TRUE, m_pMain));
    QVERIFY(progress.m_bModal);
    QCOMPARE(progress.m_pWndDisabled.data(), static_cast<QWidget*>(m_pMain));
    QVERIFY(!m_pMain->isEnabled());
    QVERIFY(progress.GetSafeHwnd()->isEnabled());
    QCOMPARE(progress.GetSafeHwnd()->parentWidget(), static_cast<QWidget*>(m_pMain));

    progress.DestroyWindow();
    QVERIFY(m_pMain->isEnabled());
    QVERIFY(!progress.m_bModal);
    QCOMPARE(progress.GetSafeHwnd(), nullptr);
    // Destroyed first: nothing saved
    QCOMPARE(Profile::GetProfileInt("Settings", "X", -1), -1);
}

void tst_CProgressWnd::deletingReenablesAfterWindowWentFirst()
{
    auto* progress = new CProgressWnd;
    QVERIFY(progress->OpenModal("Perlisk Orvane", FALSE, m_pMain));
    delete progress->GetSafeHwnd(); // the window goes another way
    QVERIFY(!m_pMain->isEnabled());
    delete progress;
    QVERIFY(m_pMain->isEnabled());
    QCOMPARE(Profile::GetProfileInt("Settings", "X", -1), -1);
}

void tst_CProgressWnd::savesPositionWhenEndingWithItsWindow()
{
    auto* progress = new CProgressWnd;
    QVERIFY(progress->OpenModal("Perlisk Orvane", FALSE, m_pMain));
    progress->GetSafeHwnd()->move(50, 60);
    delete progress;
    QVERIFY(m_pMain->isEnabled());
    QCOMPARE(Profile::GetProfileInt("Settings", "X", -1), 50);
    QCOMPARE(Profile::GetProfileInt("Settings", "Y", -1), 60);
}

void tst_CProgressWnd::showsTextOfAnyLength()
{
    CProgressWnd progress;
    QVERIFY(progress.OpenModal("Perlisk Orvane", FALSE, m_pMain));
    const QByteArray longText(2000, 'x');
    progress.SetText("%s", longText.constData());
    QCOMPARE(progress.GetText().size(), 2000);
    progress.SetText("Loading %d of %d", 3, 12);
    QCOMPARE(progress.GetText(), QString("Loading 3 of 12"));
    // One line tall, the bar below it, inside the window
    const QRect text = progress.m_wndText->geometry();
    const QRect bar = progress.m_wndProgress->geometry();
    QCOMPARE(text.topLeft(), QPoint(10, 10));
    QCOMPARE(text.width(), 300);
    QCOMPARE(bar.left(), 10);
    QVERIFY(bar.top() > text.bottom() + 10);
    QVERIFY(progress.GetSafeHwnd()->rect().contains(bar));
    QCOMPARE(progress.GetSafeHwnd()->width(), 320);
}

QTEST_MAIN(tst_CProgressWnd)
#include "tst_CProgressWnd.moc"

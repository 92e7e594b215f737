// The magnifier settings: the tables between settings and radios, the sheet's pages, and what
// OK and Cancel do to the magnifier and the application.

// Qt
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

// std
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "viewer/CImageWnd.h"
#include "viewer/CPropMagn.h"

class tst_CPropMagn : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sizeTable_data();
    void sizeTable();
    void zoomTable_data();
    void zoomTable();
    void sheetHasThreePagesOfRadios();
    void opensWithTheMagnifiersValues_data();
    void opensWithTheMagnifiersValues();
    void okGivesTheChoiceToMagnifierAndApplication();
    void cancelChangesNothing();

private:
    static QStringList Texts(const CMagnPage& page);
    static int Checked(const CMagnPage& page);

    std::unique_ptr<QWidget> m_window;
    QWidget* m_view = nullptr;
};

void tst_CPropMagn::init()
{
    theApp.m_nMagnifierSize = 400;
    theApp.m_nMagnifierZoom = 20;
    theApp.m_nMagnifierOption = 0;
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 300);
    m_view = new QWidget(m_window.get());
    m_view->setGeometry(10, 10, 300, 200);
    m_window->show();
}

void tst_CPropMagn::cleanup()
{
    m_window.reset();
}

QStringList tst_CPropMagn::Texts(const CMagnPage& page)
{
    QStringList texts;
    for (const QRadioButton* radio : page.m_radios)
        texts << radio->text();
    return texts;
}

int tst_CPropMagn::Checked(const CMagnPage& page)
{
    for (size_t i = 0; i < page.m_radios.size(); ++i)
        if (page.m_radios[i]->isChecked())
            return int(i);
    return -1;
}

void tst_CPropMagn::sizeTable_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("back"); // the size the radio gives
    for (int i = 0; i < 6; ++i)
        QTest::addRow("%d", 100 * (i + 1)) << 100 * (i + 1) << i << 100 * (i + 1);
    QTest::newRow("other size") << 450 << 0 << 100;
    QTest::newRow("zero") << 0 << 0 << 100;
}

void tst_CPropMagn::sizeTable()
{
    QFETCH(int, size);
    QFETCH(int, radio);
    QFETCH(int, back);
    QCOMPARE(MagnifierSizeRadio(size), radio);
    QCOMPARE(MagnifierSizeFromRadio(radio), back);
    QCOMPARE(MagnifierSizeFromRadio(-1), 100);
    QCOMPARE(MagnifierSizeFromRadio(6), 100);
}

void tst_CPropMagn::zoomTable_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("back");
    QTest::newRow("18") << 18 << 0 << 18;
    QTest::newRow("20, the start value") << 20 << 1 << 20;
    QTest::newRow("25") << 25 << 2 << 25;
    QTest::newRow("30") << 30 << 3 << 30;
    QTest::newRow("other zoom") << 40 << 1 << 20;
    QTest::newRow("zero") << 0 << 1 << 20;
}

void tst_CPropMagn::zoomTable()
{
    QFETCH(int, zoom);
    QFETCH(int, radio);
    QFETCH(int, back);
    QCOMPARE(MagnifierZoomRadio(zoom), radio);
    QCOMPARE(MagnifierZoomFromRadio(radio), back);
    QCOMPARE(MagnifierZoomFromRadio(-1), 18);
    QCOMPARE(MagnifierZoomFromRadio(4), 18);
}

void tst_CPropMagn::sheetHasThreePagesOfRadios()
{
    CPropMagn sheet("Magnifying Glass Properties", m_window.get(), 1);
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Magnifying Glass Properties"));
    QVERIFY(sheet.isWindow());
    QCOMPARE(sheet.m_tabs->count(), 3);
    QCOMPARE(sheet.m_tabs->tabText(0), QStringLiteral("Size"));
    QCOMPARE(sheet.m_tabs->tabText(1), QStringLiteral("Zoom"));
    QCOMPARE(sheet.m_tabs->tabText(2), QStringLiteral("Shape"));
    QCOMPARE(sheet.m_tabs->currentWidget(), &sheet.m_pageZoom);
    QCOMPARE(Texts(sheet.m_pageSize), QStringList({"100", "200", "300", "400", "500", "600"}));
    // The zoom labels are not the zoom values
    QCOMPARE(Texts(sheet.m_pageZoom), QStringList({"100", "120", "150", "180"}));
    QCOMPARE(Texts(sheet.m_pageShape), QStringList({"Rectangular", "Round"}));
    QCOMPARE(sheet.m_pageSize.m_radios[3]->objectName(), QStringLiteral("1006"));
    QCOMPARE(sheet.m_pageShape.m_group->objectName(), QStringLiteral("1068"));
    QCOMPARE(sheet.m_pageSize.m_nTemplateId, 164);
    QCOMPARE(sheet.m_pageZoom.m_nTemplateId, 165);
    QCOMPARE(sheet.m_pageShape.m_nTemplateId, 163);
    // OK and Cancel, no Apply
    QStringList buttons;
    for (const QPushButton* button : sheet.findChildren<QPushButton*>())
        buttons << button->text();
    buttons.sort();
    QCOMPARE(buttons, QStringList({"Cancel", "OK"}));
    QCOMPARE(sheet.font().family(), QStringLiteral("Liberation Sans"));
}

void tst_CPropMagn::opensWithTheMagnifiersValues_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("shapeRadio");
    QTest::addColumn<int>("sizeRadio");
    QTest::addColumn<int>("zoomRadio");
    QTest::newRow("start values") << 0 << 400 << 20 << 0 << 3 << 1;
    QTest::newRow("round 600 at 18") << 1 << 600 << 18 << 1 << 5 << 0;
    QTest::newRow("100 at 30") << 0 << 100 << 30 << 0 << 0 << 3;
    QTest::newRow("other size and zoom") << 0 << 450 << 22 << 0 << 0 << 1;
    QTest::newRow("other shape checks none") << 5 << 200 << 25 << -1 << 1 << 2;
}

void tst_CPropMagn::opensWithTheMagnifiersValues()
{
    QFETCH(int, shape);
    QFETCH(int, size);
    QFETCH(int, zoom);
    CImageWnd::GetMagnifierWindow(m_view)->SetMagnifierSettings(shape, size, zoom, 0);
    QPointer<CPropMagn> sheet = CPropMagn::OpenMagnifierSettings(m_view);
    QVERIFY(sheet->isVisible());
    QTEST(Checked(sheet->m_pageShape), "shapeRadio");
    QTEST(Checked(sheet->m_pageSize), "sizeRadio");
    QTEST(Checked(sheet->m_pageZoom), "zoomRadio");
    sheet->reject();
    QTRY_VERIFY(sheet.isNull());
}

void tst_CPropMagn::okGivesTheChoiceToMagnifierAndApplication()
{
    // No magnifier yet: the sheet makes it, and the shape chosen holds for the first lens
    QVERIFY(g_wndMagnifier.isNull());
    QPointer<CPropMagn> sheet = CPropMagn::OpenMagnifierSettings(m_view);
    QVERIFY(g_wndMagnifier);
    QVERIFY(g_wndMagnifier->isHidden());
    QCOMPARE(sheet->parentWidget(), m_window.get());
    QCOMPARE(sheet->windowModality(), Qt::ApplicationModal);
    sheet->m_pageShape.m_radios[1]->click();   // "Round"
    sheet->m_pageSize.m_radios[4]->click();    // "500"
    sheet->m_pageZoom.m_radios[2]->click();    // "150": zoom 25
    QTest::mouseClick(sheet->m_btnOK, Qt::LeftButton);
    QTRY_VERIFY(sheet.isNull());

    int shape = 0;
    int size = 0;
    int zoom = 0;
    g_wndMagnifier->GetMagnifierSettings(&shape, &size, &zoom);
    QCOMPARE(shape, 1);
    QCOMPARE(size, 500);
    QCOMPARE(zoom, 25);
    QCOMPARE(g_wndMagnifier->m_nOption, 1);
    QCOMPARE(theApp.m_nMagnifierSize, 500);
    QCOMPARE(theApp.m_nMagnifierZoom, 25);
    QCOMPARE(theApp.m_nMagnifierOption, 1);
    // The next placement over a view keeps the choice
    g_wndMagnifier->InitMembers(m_view);
    QCOMPARE(g_wndMagnifier->m_nShape, 1);
    QCOMPARE(g_wndMagnifier->m_nSize, 500);
}

void tst_CPropMagn::cancelChangesNothing()
{
    CImageWnd* magnifier = CImageWnd::GetMagnifierWindow(m_view);
    magnifier->SetMagnifierSettings(0, 300, 30, 2);
    QPointer<CPropMagn> sheet = CPropMagn::OpenMagnifierSettings(m_view);
    sheet->m_pageShape.m_radios[1]->click();
    sheet->m_pageSize.m_radios[0]->click();
    sheet->m_pageZoom.m_radios[0]->click();
    QTest::mouseClick(sheet->m_btnCancel, Qt::LeftButton);
    QTRY_VERIFY(sheet.isNull());
    int shape = -1;
    int size = 0;
    int zoom = 0;
    magnifier->GetMagnifierSettings(&shape, &size, &zoom);
    QCOMPARE(shape, 0);
    QCOMPARE(size, 300);
    QCOMPARE(zoom, 30);
    QCOMPARE(magnifier->m_nOption, 2);
    QCOMPARE(theApp.m_nMagnifierSize, 300);
    QCOMPARE(theApp.m_nMagnifierZoom, 30);
    QCOMPARE(theApp.m_nMagnifierOption, 2);
}

QTEST_MAIN(tst_CPropMagn)
#include "tst_CPropMagn.moc"

// The window presets of the right-button menu: the presets per modality and bit depth, the
// "Default" text, the ids a preset command may carry, and the values read from a text; the
// menu resource built from its table.

// Qt
#include <QAction>
#include <QMenu>
#include <QtTest>

// Orvane
#include "res/resource.h"
#include "viewer/ContextMenuResource.h"
#include "viewer/WindowPresets.h"

using namespace WindowPresets;

class tst_WindowPresets : public QObject
{
    Q_OBJECT
private slots:
    void presetsByModalityAndBits_data();
    void presetsByModalityAndBits();
    void ctPresetsInOrder();
    void parsesPresetTexts_data();
    void parsesPresetTexts();
    void defaultTextTruncates_data();
    void defaultTextTruncates();
    void acceptsOnlyTheOpenMenusIds_data();
    void acceptsOnlyTheOpenMenusIds();
    void menuResourceLayout();
};

void tst_WindowPresets::presetsByModalityAndBits_data()
{
    QTest::addColumn<QString>("modality");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QStringList>("texts");
    const QStringList none;
    QTest::newRow("CT 8") << "CT" << 8 << none;
    QTest::newRow("ct 16 lower case") << "ct" << 16 << none;
    QTest::newRow("MR 16") << "MR" << 16 << QStringList{"Brain(70,50)"};
    QTest::newRow("MR 8") << "MR" << 8 << none;
    QTest::newRow("US 8") << "US" << 8
                          << QStringList{"Med Contrast(160,70)", "Low Contrast(190,80)", "High Contrast(120,60)"};
    QTest::newRow("US 16") << "US" << 16 << none;
    QTest::newRow("CR 16") << "CR" << 16 << none;
    QTest::newRow("XA 8") << "XA" << 8 << none;
    QTest::newRow("empty") << "" << 16 << none;
}

void tst_WindowPresets::presetsByModalityAndBits()
{
    QFETCH(QString, modality);
    QFETCH(int, bits);
    QFETCH(QStringList, texts);
    QCOMPARE(PresetTexts(modality, bits), texts);
}

void tst_WindowPresets::ctPresetsInOrder()
{
    const QStringList expected{"Abdomen/Pelvis(350,40)", "Bone(2500,480)",      "Brain(80,40)",
                               "Cerebrum(350,50)",       "Chest(350,40)",       "Head && Neck(350,90)",
                               "Liver(150,50)",          "Lungs(1500,-600)",    "Mediastinum(300,50)",
                               "Pelvis(400,40)",         "PoseriorFossa(250,80)"};
    QCOMPARE(PresetTexts("CT", 16), expected);
}

void tst_WindowPresets::parsesPresetTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("centre");
    QTest::newRow("lungs") << "Lungs(1500,-600)" << true << 1500 << -600;
    QTest::newRow("ampersand") << "Head && Neck(350,90)" << true << 350 << 90;
    QTest::newRow("default negative width") << "Default(-20,40)" << true << -20 << 40;
    QTest::newRow("slash in the name") << "Abdomen/Pelvis(350,40)" << true << 350 << 40;
    QTest::newRow("spaces before the numbers") << "Brain( 80, 40)" << true << 80 << 40;
    QTest::newRow("rest after the number ignored") << "X(350.9,40.7)" << true << 350 << 40;
    QTest::newRow("no numbers") << "X(,)" << true << 0 << 0;
    QTest::newRow("plain Default") << "Default" << false << 0 << 0;
    QTest::newRow("no comma") << "X(350)" << false << 0 << 0;
    QTest::newRow("no closing bracket") << "X(350,40" << false << 0 << 0;
    QTest::newRow("comma before the bracket") << "A,B(350)" << false << 0 << 0;
    QTest::newRow("empty") << "" << false << 0 << 0;
    QTest::newRow("huge clamped") << "X(99999999999,-99999999999)" << true << INT_MAX << INT_MIN;
}

void tst_WindowPresets::parsesPresetTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, parsed);
    QFETCH(int, width);
    QFETCH(int, centre);
    const std::optional<Window> window = Parse(text);
    QCOMPARE(window.has_value(), parsed);
    if (parsed)
        QCOMPARE(*window, (Window{width, centre}));
}

void tst_WindowPresets::defaultTextTruncates_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("centre");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 400.0 << 40.0 << "Default(400,40)";
    QTest::newRow("toward zero") << 399.9 << -40.9 << "Default(399,-40)";
    QTest::newRow("negative") << -20.0 << 40.0 << "Default(-20,40)";
    QTest::newRow("not a number") << qQNaN() << qInf() << "Default(0,0)";
    QTest::newRow("too large") << 1e12 << -1e12 << QString::asprintf("Default(%d,%d)", INT_MAX, INT_MIN);
}

void tst_WindowPresets::defaultTextTruncates()
{
    QFETCH(double, width);
    QFETCH(double, centre);
    QFETCH(QString, text);
    QCOMPARE(DefaultText(width, centre), text);
    // The item's text reads back as the window it shows
    if (std::isfinite(width) && std::isfinite(centre) && std::fabs(width) < 1e6)
        QCOMPARE(*Parse(text), (Window{int(width), int(centre)}));
}

void tst_WindowPresets::acceptsOnlyTheOpenMenusIds_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("default, menu closed") << ID_WINDOW_PRESET_DEFAULT << 0 << true;
    QTest::newRow("base itself") << ID_WINDOW_PRESET_BASE << ID_WINDOW_PRESET_BASE + 11 << false;
    QTest::newRow("first preset") << ID_WINDOW_PRESET_BASE + 1 << ID_WINDOW_PRESET_BASE + 11 << true;
    QTest::newRow("last preset") << ID_WINDOW_PRESET_BASE + 11 << ID_WINDOW_PRESET_BASE + 11 << true;
    QTest::newRow("past the last") << ID_WINDOW_PRESET_BASE + 12 << ID_WINDOW_PRESET_BASE + 11 << false;
    QTest::newRow("preset, menu closed") << ID_WINDOW_PRESET_BASE + 1 << 0 << false;
    QTest::newRow("show/hide") << ID_SHOWHIDE_HEADERINFO << ID_WINDOW_PRESET_BASE + 11 << false;
}

void tst_WindowPresets::acceptsOnlyTheOpenMenusIds()
{
    QFETCH(int, id);
    QFETCH(int, last);
    QFETCH(bool, accepted);
    QCOMPARE(IsPresetCommand(id, last), accepted);
}

void tst_WindowPresets::menuResourceLayout()
{
    using namespace ContextMenuResource;
    QCOMPARE(LoadMenu(IDR_CONTEXT_MENU + 1).get(), nullptr);
    const std::unique_ptr<QMenu> menu = LoadMenu(IDR_CONTEXT_MENU);
    QVERIFY(menu);
    QMenu* tools = GetSubMenu(menu.get(), 0);
    QVERIFY(tools);
    QCOMPARE(tools->title(), QStringLiteral("Tools"));
    const QList<QAction*> items = tools->actions();
    QCOMPARE(items.size(), 7);
    QCOMPARE(items[0]->text(), QStringLiteral("Window Width/Level Presets"));
    QVERIFY(items[0]->menu());
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QStringLiteral("Show/Hide"));
    QVERIFY(items[3]->isSeparator());
    QCOMPARE(items[4]->text(), QStringLiteral("DICOM Information"));
    QCOMPARE(CommandId(items[4]), ID_DICOM_INFORMATION);
    QVERIFY(items[5]->isSeparator());
    QCOMPARE(items[6]->text(), QStringLiteral("Magnifier Settings"));
    QCOMPARE(CommandId(items[6]), ID_MAGNIFIER_SETTINGS);

    const QList<QAction*> presets = GetSubMenu(tools, 0)->actions();
    QCOMPARE(presets.size(), 1);
    QCOMPARE(presets[0]->text(), QStringLiteral("Default"));
    QCOMPARE(CommandId(presets[0]), ID_WINDOW_PRESET_DEFAULT);
    const QList<QAction*> showHide = GetSubMenu(tools, 2)->actions();
    QCOMPARE(showHide.size(), 3);
    QCOMPARE(showHide[0]->text(), QStringLiteral("Header Informations"));
    QCOMPARE(CommandId(showHide[0]), ID_SHOWHIDE_HEADERINFO);
    QVERIFY(showHide[1]->isSeparator());
    QCOMPARE(showHide[2]->text(), QStringLiteral("Annotations"));
    QCOMPARE(CommandId(showHide[2]), ID_SHOWHIDE_ANNOTATIONS);

    // Lookups by command go into the popups
    QCOMPARE(FindCommand(menu.get(), ID_SHOWHIDE_ANNOTATIONS), showHide[2]);
    QCOMPARE(GetMenuString(menu.get(), ID_WINDOW_PRESET_DEFAULT), QStringLiteral("Default"));
    QCOMPARE(GetMenuString(menu.get(), 12345), QString());
    QCOMPARE(CommandId(items[0]), 0); // a popup carries no command
}

QTEST_MAIN(tst_WindowPresets)
#include "tst_WindowPresets.moc"

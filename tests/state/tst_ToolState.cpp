// The exclusion rule of the tool state and the buttons it checks.

// Qt
#include <QtTest>

// Orvane
#include "state/ToolState.h"

namespace {

// The state as one line, for readable comparisons
QString State()
{
    return QStringLiteral("wl=%1 zoom=%2 mag=%3 pan=%4 erase=%5 probe=%6 shape=%7 active=%8")
        .arg(g_bWindowLevelMode)
        .arg(g_bZoomMode)
        .arg(g_bMagnifierMode)
        .arg(g_bPanMode)
        .arg(g_bEraseMode)
        .arg(g_bProbeMode)
        .arg(m_nDrawShape)
        .arg(g_bToolActive);
}

const QString kDefault = QStringLiteral("wl=1 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=0 active=1");
const QString kNothing = QStringLiteral("wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=0 active=0");

void Apply(const QString& step)
{
    if (step == "wl")
        ToggleToolMode(ToolMode::WindowLevel);
    else if (step == "zoom")
        ToggleToolMode(ToolMode::Zoom);
    else if (step == "mag")
        ToggleToolMode(ToolMode::Magnifier);
    else if (step == "pan")
        ToggleToolMode(ToolMode::Pan);
    else if (step == "erase")
        ToggleToolMode(ToolMode::Erase);
    else if (step == "probe")
        ToggleToolMode(ToolMode::Probe);
    else if (step == "linear")
        ToggleDrawingTool(LINELENGTH);
    else if (step == "angle")
        ToggleDrawingTool(LINEANGLE);
    else if (step == "ellipse")
        ToggleDrawingTool(ELLIPSE);
    else if (step == "fallback")
        FallBackToDefaultTool();
    else
        QFAIL(qPrintable("unknown step " + step));
}

} // namespace

class tst_ToolState : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        ClearToolState();
        SetDefaultToolState();
    }

    void startsWithEverythingOff()
    {
        ClearToolState();
        QCOMPARE(State(), kNothing);
        QVERIFY(!IsAnyToolOn());
    }

    void selectingOneToolClearsTheOthers_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("state");
        QTest::newRow("default") << QStringList{} << kDefault;
        QTest::newRow("zoom") << QStringList{"zoom"} << "wl=0 zoom=1 mag=0 pan=0 erase=0 probe=0 shape=0 active=1";
        QTest::newRow("zoom twice leaves nothing on") << QStringList{"zoom", "zoom"} << kNothing;
        QTest::newRow("zoom twice falls back") << QStringList{"zoom", "zoom", "fallback"} << kDefault;
        QTest::newRow("zoom then pan") << QStringList{"zoom", "pan"} << "wl=0 zoom=0 mag=0 pan=1 erase=0 probe=0 shape=0 active=1";
        QTest::newRow("pan twice falls back") << QStringList{"pan", "pan", "fallback"} << kDefault;
        QTest::newRow("magnifier then zoom") << QStringList{"mag", "zoom"} << "wl=0 zoom=1 mag=0 pan=0 erase=0 probe=0 shape=0 active=1";
        QTest::newRow("probe selects its drawing tool") << QStringList{"probe"}
                                                        << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=1 shape=10015 active=1";
        QTest::newRow("probe twice") << QStringList{"probe", "probe"} << kNothing;
        QTest::newRow("window/level off") << QStringList{"wl"} << kNothing;
        QTest::newRow("window/level off falls back") << QStringList{"wl", "fallback"} << kDefault;
        QTest::newRow("linear from zoom") << QStringList{"zoom", "linear"}
                                          << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=10010 active=1";
        QTest::newRow("linear twice") << QStringList{"linear", "linear"} << kNothing;
        QTest::newRow("ellipse then angle") << QStringList{"ellipse", "angle"}
                                            << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=10013 active=1";
        QTest::newRow("probe then ellipse") << QStringList{"probe", "ellipse"}
                                            << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=10003 active=1";
        QTest::newRow("zoom after the probe") << QStringList{"probe", "zoom"}
                                              << "wl=0 zoom=1 mag=0 pan=0 erase=0 probe=0 shape=0 active=1";
        // The eraser leaves the active flag as it found it
        QTest::newRow("eraser") << QStringList{"erase"} << "wl=0 zoom=0 mag=0 pan=0 erase=1 probe=0 shape=0 active=1";
        QTest::newRow("eraser off stays on no tool") << QStringList{"erase", "erase"}
                                                     << "wl=0 zoom=0 mag=0 pan=0 erase=0 probe=0 shape=0 active=1";
        QTest::newRow("a tool that is on is kept by the fallback") << QStringList{"pan", "fallback"}
                                                                   << "wl=0 zoom=0 mag=0 pan=1 erase=0 probe=0 shape=0 active=1";
    }

    void selectingOneToolClearsTheOthers()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, state);
        for (const QString& step : steps)
            Apply(step);
        QCOMPARE(State(), state);
    }

    void buttonsMirrorTheTools_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("checked");
        QTest::newRow("default") << QStringList{} << QList<int>{TB_WINDOWLEVEL};
        QTest::newRow("magnifier") << QStringList{"mag"} << QList<int>{TB_MAGNIFY};
        QTest::newRow("zoom") << QStringList{"zoom"} << QList<int>{TB_ZOOM};
        QTest::newRow("pan") << QStringList{"pan"} << QList<int>{TB_PAN};
        QTest::newRow("probe") << QStringList{"probe"} << QList<int>{TB_PROBE};
        QTest::newRow("linear") << QStringList{"linear"} << QList<int>{TB_LINEAR};
        QTest::newRow("angle") << QStringList{"angle"} << QList<int>{TB_LINEANGLE};
        QTest::newRow("ellipse") << QStringList{"ellipse"} << QList<int>{TB_ELLIPSE};
        // The panels' tools have no button of their own on the bar
        QTest::newRow("eraser") << QStringList{"erase"} << QList<int>{};
        QTest::newRow("nothing on") << QStringList{"zoom", "zoom"} << QList<int>{};
    }

    void buttonsMirrorTheTools()
    {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, checked);
        for (const QString& step : steps)
            Apply(step);
        QList<int> actual;
        for (int i = 0; i < TB_TOOL_BUTTONS; ++i)
            if (IsToolButtonChecked(i))
                actual << i;
        QCOMPARE(actual, checked);
    }

    void arrowAndTextToolsCheckNoButton()
    {
        ToggleDrawingTool(LINEARROW);
        QCOMPARE(m_nDrawShape, int(LINEARROW));
        ToggleDrawingTool(TEXTOUT);
        QCOMPARE(m_nDrawShape, int(TEXTOUT));
        for (int i = 0; i < TB_TOOL_BUTTONS; ++i)
            QVERIFY2(!IsToolButtonChecked(i), qPrintable(QString::number(i)));
    }
};

QTEST_GUILESS_MAIN(tst_ToolState)
#include "tst_ToolState.moc"

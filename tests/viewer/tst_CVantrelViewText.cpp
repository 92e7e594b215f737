// The in-place text entry driven by mouse and key events in the main window: the edit over the
// dragged box (multi-line, see-through, red text, thin border), Escape, the closings that make
// the text shape (another text press, another pane, a tool-bar click, the thumbnail column's
// call), the empty text, the view going away, and the image key and points of the shape.

// Qt
#include <QAction>
#include <QFontInfo>
#include <QPainter>
#include <QScopeGuard>
#include <QtTest>

// std
#include <algorithm>
#include <memory>

// Orvane
#include "annotation/CQtFontMetrics.h"
#include "annotation/CShapeCanvas.h"
#include "annotation/CShapeText.h"
#include "app/COstrevanApp.h"
#include "controls/CImageButton.h"
#include "platform/Gdi.h"
#include "res/resource.h"
#include "study/CSeriesInfo.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ShownStudy.h"
#include "toolpanes/CToolView.h"
#include "state/ToolState.h"
#include "toolpanes/ToolStateDisplay.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CShapeTextEdit.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
void Press(QWidget* w, QPoint p)
{
    Send(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
}
void Release(QWidget* w, QPoint p)
{
    Send(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}
void Drag(QWidget* w, QPoint from, QPoint to)
{
    Press(w, from);
    Send(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Release(w, to);
}
void Click(QWidget* w, QPoint p)
{
    Press(w, p);
    Release(w, p);
}

void SelectTool(int shape)
{
    ClearToolModes();
    m_nDrawShape = shape;
    g_bToolActive = 1;
    SyncToolButtons();
}

// A canvas as the pane paints its shapes on (its RGB32 buffer), keeping the font and text of
// every line written
class RecordingCanvas : public CShapeCanvas
{
public:
    RecordingCanvas(QPainter& painter, QImage* buffer, const IShapeFontMetrics& metrics)
        : CShapeCanvas(painter, buffer, metrics)
    {
    }
    void TextOut(int x, int y, const QString& text) override
    {
        written << qMakePair(GetFont(), text);
        CShapeCanvas::TextOut(x, y, text);
    }
    QList<QPair<QFont, QString>> written;
};

CShapeTextEdit* EditOf(const CVantrelView* view)
{
    return qobject_cast<CShapeTextEdit*>(view->m_pTextEdit.data());
}

// Types "abc", Enter, "de" into the edit
void TypeTwoLines(QWidget* edit)
{
    QTest::keyClicks(edit, QStringLiteral("abc"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("de"));
}

bool Near(CDoublePoint a, CDoublePoint b)
{
    return qAbs(a.x - b.x) < 1e-6 && qAbs(a.y - b.y) < 1e-6;
}

QString Text(CDoublePoint p)
{
    return QStringLiteral("(%1, %2)").arg(p.x).arg(p.y);
}

#define COMPARE_POINT(actual, expected) \
    QVERIFY2(Near(actual, expected), qPrintable(Text(actual) + " != " + Text(expected)))

bool IsRed(QRgb c)
{
    return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90;
}

ImageRecipe SmallCt()
{
    ImageRecipe recipe = Preset(ImagePreset::Ct);
    recipe.columns = 64;
    recipe.rows = 48;
    return recipe;
}

// How the entry is ended in the closing table
enum class Closing { TextPress, OtherPane, ToolBarClick, ThumbnailCall };

} // namespace

Q_DECLARE_METATYPE(Closing)

class tst_CVantrelViewText : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_codecs = std::make_unique<DicomCodecs>();
        QVERIFY(m_dir.isValid());
    }
    void init() { ClearToolState(); }

    void theEditOverTheBox();
    void closingsMakeTheTextShape_data();
    void closingsMakeTheTextShape();
    void escapeCancelsAndFreesTheWaitingShape();
    void emptyTextIsAShape();
    void completesOnceWhateverHasTheFocus();
    void keepsTheKeyOfTheImageItWasOpenedOn();
    void viewGoingAwayMakesNoShape();
    void textTurnsBackWithTheImage();
    void typedTextKeepsItsFontWhenTheEntryCloses();

private:
    bool ShowSmallCt(ShownStudy& shown, int images = 1)
    {
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        for (int i = 0; i < images; ++i)
            if (!shown.Study().AddImage(series, SmallCt()))
                return false;
        return shown.Show();
    }
    // Two images of one series side by side (image layout 1 x 2)
    bool ShowTwoPanes(ShownStudy& shown)
    {
        CSeriesInfo* series = shown.Study().AddSeries("CT");
        for (int i = 0; i < 2; ++i)
            if (!shown.Study().AddImage(series, SmallCt()))
                return false;
        if (!shown.Show(2))
            return false;
        shown.Grid()->OnCommand(ID_FRAME_LAYOUT1X2);
        CVantrelView* right = shown.Grid()->GetPane(0, 1);
        return right && QTest::qWaitFor([&] { return right->isVisible() && right->m_pDisplayImage; });
    }
    // Zoom 2, pan offset (40, 30): client (60, 50) is image (10, 10), (100, 110) is (30, 40)
    static void ZoomAndPan(CVantrelView* view)
    {
        view->m_fZoom = 2.0f;
        view->SetZoomScrollSizes(view->GetZoomedImageSize());
        view->m_ptPanOffset = QPoint(40, 30);
    }
    // A point inside the picture of `view`, at fractions of its displayed extent
    static QPoint At(const CVantrelView* view, double fx, double fy)
    {
        const QRect image(view->m_ptPanOffset, view->GetTotalDeviceSize());
        return QPoint(image.left() + int(fx * image.width()), image.top() + int(fy * image.height()));
    }

    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

// The edit lies over the dragged box with the focus; the image shows through it, its border is
// thin and grey, the typed text red, and Enter starts a second line
void tst_CVantrelViewText::theEditOverTheBox()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    ZoomAndPan(view);
    SelectTool(TEXTOUT);
    view->repaint();
    const QImage before = view->grab().toImage();
    // Dragged up and to the left: the edit covers the same box
    Drag(view, QPoint(100, 110), QPoint(60, 50));
    CShapeTextEdit* edit = EditOf(view);
    QVERIFY(edit && edit->IsOpen() && edit->isVisible());
    QCOMPARE(edit->parentWidget(), view);
    QCOMPARE(edit->geometry(), QRect(60, 50, 40, 60));
    QCOMPARE(QApplication::focusWidget(), edit);
    QVERIFY(!view->m_bTextStarted);
    QVERIFY(dynamic_cast<CShapeText*>(view->m_pDrawingShape));
    QVERIFY(shown.Grid()->m_arrShapes.empty());

    const QImage open = view->grab().toImage();
    // The frame line in the border colour
    const QRgb border = Gdi::ColorFromRef(0x646464).rgb();
    QCOMPARE(open.pixel(60, 80) & 0xFFFFFF, border & 0xFFFFFF);
    QCOMPARE(open.pixel(99, 80) & 0xFFFFFF, border & 0xFFFFFF);
    QCOMPARE(open.pixel(80, 50) & 0xFFFFFF, border & 0xFFFFFF);
    QCOMPARE(open.pixel(80, 109) & 0xFFFFFF, border & 0xFFFFFF);
    // Inside, the image as it was, but for the caret (it inverts what is under it)
    for (int y = 52; y < 108; ++y)
        for (int x = 62; x < 98; ++x)
            QVERIFY2(open.pixel(x, y) == before.pixel(x, y) || (open.pixel(x, y) & 0xFFFFFF) == (~before.pixel(x, y) & 0xFFFFFF),
                     qPrintable(QStringLiteral("%1, %2: %3 %4").arg(x).arg(y).arg(open.pixel(x, y), 0, 16).arg(before.pixel(x, y), 0, 16)));

    TypeTwoLines(edit);
    QCOMPARE(edit->toPlainText(), QStringLiteral("abc\nde"));
    const QImage typed = view->grab().toImage();
    if (const QByteArray out = qgetenv("ORVANE_TEST_OUTPUT"); !out.isEmpty())
        QVERIFY(typed.save(QString::fromLocal8Bit(out) + QStringLiteral("/text-edit-typed.png")));
    int red = 0;
    for (int y = 52; y < 108; ++y)
        for (int x = 62; x < 98; ++x)
            red += IsRed(typed.pixel(x, y)) && !IsRed(before.pixel(x, y)) ? 1 : 0;
    QVERIFY2(red > 10, qPrintable(QString::number(red)));
    // Outside the box nothing changed
    QCOMPARE(typed.copy(0, 0, view->width(), 49), before.copy(0, 0, view->width(), 49));
}

void tst_CVantrelViewText::closingsMakeTheTextShape_data()
{
    QTest::addColumn<Closing>("closing");
    QTest::newRow("another text press") << Closing::TextPress;
    QTest::newRow("another pane selected") << Closing::OtherPane;
    QTest::newRow("tool-bar click") << Closing::ToolBarClick;
    QTest::newRow("thumbnail column") << Closing::ThumbnailCall;
}

// Each closing appends one text shape of the left pane's image with the typed text and the
// box's image points; a text press only closes, the press after it starts the next box
void tst_CVantrelViewText::closingsMakeTheTextShape()
{
    QFETCH(Closing, closing);
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowTwoPanes(shown));
    CVantrelView* left = shown.Grid()->GetPane(0, 0);
    CVantrelView* right = shown.Grid()->GetPane(0, 1);
    ZoomAndPan(left);
    SelectTool(TEXTOUT);
    Drag(left, QPoint(60, 50), QPoint(100, 110));
    CShapeTextEdit* edit = EditOf(left);
    QVERIFY(edit && edit->IsOpen());
    TypeTwoLines(edit);
    const QString key = left->m_strImageKey;
    QVERIFY(!key.isEmpty() && key != right->m_strImageKey);

    switch (closing) {
    case Closing::TextPress:
        Press(left, QPoint(70, 60));
        // The press only completed the text
        QVERIFY(!left->m_bTextStarted);
        Release(left, QPoint(70, 60));
        break;
    case Closing::OtherPane:
        Click(right, At(right, 0.5, 0.5));
        QVERIFY(right->m_bSelected && !left->m_bSelected);
        break;
    case Closing::ToolBarClick:
        QTest::mouseClick(&shown.ToolBar()->m_btnZoom, Qt::LeftButton);
        QCoreApplication::processEvents();
        break;
    case Closing::ThumbnailCall:
        shown.Grid()->CloseTextEditsInAllViews();
        break;
    }
    QVERIFY(!edit->IsOpen() && !edit->isVisible());
    auto& shapes = shown.Grid()->m_arrShapes;
    QCOMPARE(shapes.size(), std::size_t(1));
    auto* text = dynamic_cast<CShapeText*>(shapes.front().get());
    QVERIFY(text);
    QCOMPARE(text->GetText(), QStringLiteral("abc\nde"));
    QCOMPARE(text->GetImageKey(), key);
    QCOMPARE(text->GetColor(), COLORREF(0x00FF00));
    COMPARE_POINT(text->GetStartPoint(), CDoublePoint(10.0, 10.0));
    COMPARE_POINT(text->GetEndPoint(), CDoublePoint(30.0, 40.0));
    COMPARE_POINT(text->GetOrigStartPoint(), CDoublePoint(10.0, 10.0));
    COMPARE_POINT(text->GetOrigEndPoint(), CDoublePoint(30.0, 40.0));
    QVERIFY(!left->m_pDrawingShape);

    if (closing == Closing::TextPress) {
        // The next press with the text tool starts a new box
        Drag(left, QPoint(120, 60), QPoint(150, 90));
        QVERIFY(EditOf(left) && EditOf(left) != edit && EditOf(left)->IsOpen());
        QCOMPARE(EditOf(left)->geometry(), QRect(120, 60, 30, 30));
        QCOMPARE(shapes.size(), std::size_t(1));
    }
}

// Escape closes the edit with no shape, frees the waiting shape, gives the keys back to the
// view, and is not taken by a shortcut of the window
void tst_CVantrelViewText::escapeCancelsAndFreesTheWaitingShape()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    QAction escape(QStringLiteral("Escape"));
    escape.setShortcut(Qt::Key_Escape);
    escape.setShortcutContext(Qt::ApplicationShortcut);
    int fired = 0;
    connect(&escape, &QAction::triggered, [&] { ++fired; });
    shown.Frame().Frame()->addAction(&escape);
    shown.Frame().Frame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.Frame().Frame()));

    SelectTool(TEXTOUT);
    Drag(view, At(view, 0.2, 0.2), At(view, 0.6, 0.6));
    CShapeTextEdit* edit = EditOf(view);
    QVERIFY(edit);
    QTest::keyClicks(edit, QStringLiteral("lost"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(fired, 0);
    QVERIFY(!edit->IsOpen() && !edit->isVisible());
    QCOMPARE(edit->m_bCancelled, 1);
    QVERIFY(!view->m_pDrawingShape);
    QVERIFY(!view->TakeDrawingShape());
    QCOMPARE(QApplication::focusWidget(), view);
    // Nothing comes of it later either, and the next press starts a box
    shown.Grid()->CloseTextEditsInAllViews();
    QVERIFY(shown.Grid()->m_arrShapes.empty());
    Press(view, At(view, 0.3, 0.3));
    QVERIFY(view->m_bTextStarted);
    Release(view, At(view, 0.5, 0.5));
    QVERIFY(EditOf(view) && EditOf(view)->IsOpen());
}

// A box opened and closed without typing makes a text shape with empty text
void tst_CVantrelViewText::emptyTextIsAShape()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    SelectTool(TEXTOUT);
    Drag(view, At(view, 0.2, 0.2), At(view, 0.6, 0.6));
    QVERIFY(EditOf(view));
    Press(view, At(view, 0.8, 0.8));
    Release(view, At(view, 0.8, 0.8));
    auto& shapes = shown.Grid()->m_arrShapes;
    QCOMPARE(shapes.size(), std::size_t(1));
    auto* text = dynamic_cast<CShapeText*>(shapes.front().get());
    QVERIFY(text);
    QVERIFY(text->GetText().isEmpty());
    QCOMPARE(text->GetImageKey(), view->m_strImageKey);
}

// Losing the focus leaves the edit open; the tool bar's press completes it once, and later
// closings add nothing
void tst_CVantrelViewText::completesOnceWhateverHasTheFocus()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowTwoPanes(shown));
    CVantrelView* left = shown.Grid()->GetPane(0, 0);
    CVantrelView* right = shown.Grid()->GetPane(0, 1);
    SelectTool(TEXTOUT);
    Drag(left, At(left, 0.2, 0.2), At(left, 0.6, 0.6));
    CShapeTextEdit* edit = EditOf(left);
    QVERIFY(edit);
    QTest::keyClicks(edit, QStringLiteral("once"));
    right->setFocus(Qt::MouseFocusReason);
    QCOMPARE(QApplication::focusWidget(), right);
    QVERIFY(edit->IsOpen() && edit->isVisible());
    QVERIFY(shown.Grid()->m_arrShapes.empty());
    // Focus back, then a tool-bar button taking it on its press
    edit->setFocus(Qt::MouseFocusReason);
    CImageButton* button = &shown.ToolBar()->m_btnZoom;
    button->setFocusPolicy(Qt::ClickFocus);
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
    auto& shapes = shown.Grid()->m_arrShapes;
    QCOMPARE(shapes.size(), std::size_t(1));
    QCOMPARE(static_cast<CShapeText*>(shapes.front().get())->GetText(), QStringLiteral("once"));
    QTest::mouseClick(&shown.ToolBar()->m_btnPan, Qt::LeftButton);
    shown.Grid()->CloseTextEditsInAllViews();
    left->CloseTextEdit();
    // A closed edit reads nothing back any more
    edit->setPlainText(QStringLiteral("later"));
    edit->Close();
    QCOMPARE(edit->m_strText, QStringLiteral("once"));
    QCoreApplication::processEvents();
    QCOMPARE(shapes.size(), std::size_t(1));
    QCOMPARE(static_cast<CShapeText*>(shapes.front().get())->GetText(), QStringLiteral("once"));
}

// Paging the view while the edit is open: the text stays with the image the box was drawn on
void tst_CVantrelViewText::keepsTheKeyOfTheImageItWasOpenedOn()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown, 2));
    CVantrelView* view = shown.View();
    SelectTool(TEXTOUT);
    Drag(view, At(view, 0.2, 0.2), At(view, 0.6, 0.6));
    QVERIFY(EditOf(view));
    QTest::keyClicks(EditOf(view), QStringLiteral("first"));
    const QString first = view->m_strImageKey;
    view->m_pImage = shown.Study().m_pStudy->m_lstSeries.front()->m_lstImages.back().get();
    view->LoadImageIntoViewPort(FALSE);
    QVERIFY(view->m_strImageKey != first);
    view->CloseTextEdit();
    auto& shapes = shown.Grid()->m_arrShapes;
    QCOMPARE(shapes.size(), std::size_t(1));
    QCOMPARE(shapes.front()->GetImageKey(), first);
}

// A grid rebuild deletes the panes: the open entry makes no shape
void tst_CVantrelViewText::viewGoingAwayMakesNoShape()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowTwoPanes(shown));
    CVantrelView* left = shown.Grid()->GetPane(0, 0);
    SelectTool(TEXTOUT);
    Drag(left, At(left, 0.2, 0.2), At(left, 0.6, 0.6));
    QPointer<CShapeTextEdit> edit = EditOf(left);
    QVERIFY(edit);
    QTest::keyClicks(edit, QStringLiteral("gone"));
    QPointer<CVantrelView> gone = left;
    shown.Grid()->OnCommand(ID_FRAME_LAYOUT2X2);
    QTRY_VERIFY(!gone);
    QVERIFY(!edit);
    QVERIFY(shown.Grid()->m_arrShapes.empty());
    // The new panes take new entries
    CVantrelView* pane = shown.Grid()->GetPane(0, 0);
    QVERIFY(pane);
    QTRY_VERIFY(pane->isVisible() && pane->m_pDisplayImage);
    Drag(pane, At(pane, 0.2, 0.2), At(pane, 0.6, 0.6));
    QVERIFY(EditOf(pane) && EditOf(pane)->IsOpen());
}

// A text typed over a turned view is stored so that the reset turns it back with the image
void tst_CVantrelViewText::textTurnsBackWithTheImage()
{
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    view->ComposeOrientation(ID_IMAGE_ROTATERIGHT);
    view->RenderWithWindowLevel(400, 40);
    ZoomAndPan(view);
    SelectTool(TEXTOUT);
    Drag(view, QPoint(60, 50), QPoint(100, 130));
    QTest::keyClicks(EditOf(view), QStringLiteral("turned"));
    QTest::mouseClick(&shown.ToolBar()->m_btnReset, Qt::LeftButton);
    QCoreApplication::processEvents();
    auto& shapes = shown.Grid()->m_arrShapes;
    QCOMPARE(shapes.size(), std::size_t(1));
    const CShapeCollection* text = shapes.front().get();
    // Saved in the unturned 64 x 48 image: (x, y) shown turned clockwise is (y, 48 - x)
    COMPARE_POINT(text->GetOrigStartPoint(), CDoublePoint(10.0, 38.0));
    COMPARE_POINT(text->GetOrigEndPoint(), CDoublePoint(50.0, 18.0));
    // And the reset brought its box back there
    const CDoublePoint a = text->GetStartPoint(), b = text->GetEndPoint();
    COMPARE_POINT(CDoublePoint(std::min(a.x, b.x), std::min(a.y, b.y)), CDoublePoint(10.0, 18.0));
    COMPARE_POINT(CDoublePoint(std::max(a.x, b.x), std::max(a.y, b.y)), CDoublePoint(50.0, 38.0));
}

// The text is typed in the face and size the text shape then shows it in
void tst_CVantrelViewText::typedTextKeepsItsFontWhenTheEntryCloses()
{
    // An application font unlike the overlay's, as a desktop may give
    const QFont previous = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    const auto restore = qScopeGuard([&] { QApplication::setFont(previous); });
    ShownStudy shown(m_dir.path());
    QVERIFY(ShowSmallCt(shown));
    CVantrelView* view = shown.View();
    SelectTool(TEXTOUT);
    Drag(view, At(view, 0.2, 0.2), At(view, 0.8, 0.6));
    CShapeTextEdit* edit = EditOf(view);
    QVERIFY(edit && edit->IsOpen());
    QTest::keyClicks(edit, QStringLiteral("Note"));
    const QFont typed = edit->font();
    // The next text press ends the entry
    Click(view, At(view, 0.5, 0.9));
    QCOMPARE(shown.Grid()->m_arrShapes.size(), std::size_t(1));
    CShapeCollection* shape = shown.Grid()->m_arrShapes.front().get();

    QImage buffer(view->size(), QImage::Format_RGB32);
    buffer.fill(Qt::black);
    QPainter painter(&buffer);
    const CQtFontMetrics metrics;
    RecordingCanvas canvas(painter, &buffer, metrics);
    canvas.SetViewportOrg(view->m_ptPanOffset.x(), view->m_ptPanOffset.y());
    shape->SetViewExtent(view->GetTotalDeviceSize().width(), view->GetTotalDeviceSize().height());
    shape->Draw(&canvas, 0, view->m_fZoom);
    painter.end();
    QCOMPARE(canvas.written.size(), 1);
    QCOMPARE(canvas.written.front().second, QStringLiteral("Note"));
    const QFont drawn = canvas.written.front().first;
    QCOMPARE(QFontInfo(typed).family(), QFontInfo(drawn).family());
    QCOMPARE(QFontInfo(typed).pixelSize(), QFontInfo(drawn).pixelSize());
    QCOMPARE(QFontInfo(typed).bold(), QFontInfo(drawn).bold());
    QCOMPARE(QFontMetrics(typed).horizontalAdvance(QStringLiteral("Note")),
             QFontMetrics(drawn).horizontalAdvance(QStringLiteral("Note")));
    QCOMPARE(QFontMetrics(typed).height(), QFontMetrics(drawn).height());
}

QTEST_MAIN(tst_CVantrelViewText)
#include "tst_CVantrelViewText.moc"

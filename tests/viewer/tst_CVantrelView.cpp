// Qt
#include <QPainter>
#include <QtTest>

// std
#include <algorithm>
#include <climits>
#include <memory>

// Orvane
#include "annotation/CShapeLine.h"
#include "app/COstrevanApp.h"
#include "platform/CxImage.h"
#include "res/resource.h"
#include "study/CxImageDCM.h"
#include "study/DicomCodecs.h"
#include "tests/viewer/ViewerTestStudy.h"
#include "state/ToolState.h"
#include "tools/fixtures/FixtureCommon.h"
#include "tools/fixtures/ImageFixtures.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"

using namespace Fixtures;

Q_DECLARE_METATYPE(Fixtures::ImageRecipe)

namespace {

ImageRecipe Small(ImagePreset preset, int columns = 64, int rows = 48)
{
    ImageRecipe recipe = Preset(preset);
    recipe.columns = columns;
    recipe.rows = rows;
    if (recipe.frames > 1)
        recipe.frames = 4;
    return recipe;
}

bool IsGreen(QRgb rgb)
{
    return qRed(rgb) == 0 && qGreen(rgb) == 255 && qBlue(rgb) == 0;
}

int CountIf(const QImage& image, const QRect& area, bool (*test)(QRgb))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y)))
                ++n;
    return n;
}

bool NotBlack(QRgb rgb)
{
    return (rgb & 0xFFFFFF) != 0;
}

// A view of its own document (owned by the view), shown at `size`
std::unique_ptr<CVantrelView> NewView(QSize size)
{
    auto* document = new CVantrelDoc;
    auto view = std::make_unique<CVantrelView>(document);
    document->setParent(view.get());
    view->resize(size);
    view->show();
    return view;
}

void GiveImage(CVantrelView& view, ViewerTestStudy& study, CImageInfo* image)
{
    view.m_pPatient = study.m_pPatient;
    view.m_pStudy = study.m_pStudy;
    view.m_pSeries = image ? image->m_pSeries : nullptr;
    view.m_pImage = image;
    if (image)
        view.GetDocument()->OnOpenDocument(image->m_strFilePath);
}

// Loads, fits and centres as a refit does
void ShowImage(CVantrelView& view, ViewerTestStudy& study, CImageInfo* image)
{
    GiveImage(view, study, image);
    view.LoadImageIntoViewPort(FALSE);
    view.InitialiseImageData(TRUE);
    view.SetZoomScrollSizes(view.GetZoomedImageSize());
    view.CenterImageInView();
}

// The file rendered at (width, centre) by a DICOM object of its own; null when it can't be
std::unique_ptr<CxImage> ReferenceRender(const QString& path, int width, int centre)
{
    CxImageDCM reference;
    QList<CxImage*> images;
    if (reference.LoadDCM(QFile::encodeName(path).constData(), &images, FALSE) != 1)
        return nullptr;
    qDeleteAll(images);
    return std::unique_ptr<CxImage>(reference.WindowLevelling(width, centre));
}

} // namespace

class tst_CVantrelView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void loadsImageIntoDocument();
    void keyFollowsEveryLoad();
    void failedLoadShowsNothingAndKeepsDragFactor();
    void doesNothingWithoutImageRecord();
    void fitsToPane_data();
    void fitsToPane();
    void rendersWidthZeroAsOne();
    void keepsOrientationThroughRenders();
    void sharesTheDocumentPictureUntilItChangesPixels();

    void readsProbeValue_data();
    void readsProbeValue();
    void readsProbeValueThroughTurns_data();
    void readsProbeValueThroughTurns();
    void readsProbeValueOfShownFrame();

    void reducesLargeImageWhileHeld();
    void neverReducesAnEightHundredSide();
    void oneBitImageKeepsBothLevelsAfterPressAndRelease();
    void storedWidthZeroShowsTheValueRangeWindow();
    void rendersWindowPastTheIntRange();
    void showsWhyAnImageHasNoPicture_data();
    void showsWhyAnImageHasNoPicture();

    void fillsOverlayTexts_data();
    void fillsOverlayTexts();
    void hidesTheCornerTextsWithTheHeaderSwitch();
    void drawsScalesFromBothSpacings();
    void drawsNoScales_data();
    void drawsNoScales();
    void paintsLoadingTextOnlyWithBothFlags_data();
    void paintsLoadingTextOnlyWithBothFlags();
    void paintsBlankPane();
    void framesSelectedPaneGreen_data();
    void framesSelectedPaneGreen();
    void paintsImageAtItsExtent();

private:
    std::unique_ptr<DicomCodecs> m_codecs;
    QTemporaryDir m_dir;
};

void tst_CVantrelView::initTestCase()
{
    m_codecs = std::make_unique<DicomCodecs>();
    QVERIFY(m_dir.isValid());
}

void tst_CVantrelView::init()
{
    ClearToolState();
    theApp.m_bEmptyViewText = 0;
    theApp.m_bShowLoadingText = 0;
    theApp.m_nLayoutMode = 0;
    theApp.m_astrSeriesKeys.clear();
}

void tst_CVantrelView::loadsImageIntoDocument()
{
    ViewerTestStudy study(m_dir.path());
    CSeriesInfo* series = study.AddSeries("CT");
    ImageRecipe recipe = Small(ImagePreset::Ct, 160, 150);
    CImageInfo* image = study.AddImage(series, recipe);
    QVERIFY(image);
    auto view = NewView(QSize(300, 200));
    GiveImage(*view, study, image);
    view->LoadImageIntoViewPort(FALSE);

    CVantrelDoc* doc = view->GetDocument();
    QCOMPARE(doc->m_arrImages.size(), std::size_t(1));
    QCOMPARE(view->m_strImageKey, image->m_strSOPInstanceUID);
    QCOMPARE(doc->m_fWindowWidth, 400.0f);
    QCOMPARE(doc->m_fWindowCenter, 40.0f);
    QCOMPARE(doc->m_fDefaultWindowWidth, 400.0f);
    QCOMPARE(view->m_fWindowLevelFactor, 3.0f); // 160 + 150 pixels
    // 0.7 mm per pixel along both axes
    QVERIFY(qAbs(view->m_dPixelsPerCm - 1.0 / 0.07) < 1e-9);
    QVERIFY(qAbs(view->m_dPixelsPerCmY - 1.0 / 0.07) < 1e-9);
    // Nothing shown yet: the caller takes the image
    view->InitialiseImageData(TRUE);
    QVERIFY(view->m_pDisplayImage);
    QCOMPARE(view->m_pDisplayImage->GetWidth(), DWORD(160));
    QCOMPARE(view->m_strWindowWidthText, QStringLiteral("WW = 400"));
    QCOMPARE(view->m_strWindowLevelText, QStringLiteral("WL = 40"));
}

void tst_CVantrelView::keyFollowsEveryLoad()
{
    ViewerTestStudy study(m_dir.path());
    CSeriesInfo* series = study.AddSeries("CT");
    CImageInfo* large = study.AddImage(series, Small(ImagePreset::Ct, 1024, 1024));
    CImageInfo* small = study.AddImage(series, Small(ImagePreset::Ct));
    QVERIFY(large && small);
    auto view = NewView(QSize(400, 400));
    ShowImage(*view, study, large);
    QCOMPARE(view->m_strImageKey, large->m_strSOPInstanceUID);
    view->UseReducedImage();
    QVERIFY(view->m_dReducedScale > 1.0);

    // The next image brings its own key, shown unreduced
    GiveImage(*view, study, small);
    view->LoadImageIntoViewPort(FALSE);
    QCOMPARE(view->m_strImageKey, small->m_strSOPInstanceUID);
    QCOMPARE(view->m_dReducedScale, 1.0);
    QVERIFY(!view->IsReducedImageShown());

    // A file without its own SOP Instance UID keeps the record's
    ImageRecipe keyless = Small(ImagePreset::Ct);
    keyless.extra.push_back(Attribute{0x0008, 0x0018, ""});
    CImageInfo* noKey = study.AddImage(series, keyless);
    QVERIFY(noKey);
    GiveImage(*view, study, noKey);
    view->LoadImageIntoViewPort(FALSE);
    QCOMPARE(view->m_strImageKey, noKey->m_strSOPInstanceUID);
}

void tst_CVantrelView::failedLoadShowsNothingAndKeepsDragFactor()
{
    ViewerTestStudy study(m_dir.path());
    CSeriesInfo* series = study.AddSeries("CT");
    CImageInfo* good = study.AddImage(series, Small(ImagePreset::Ct, 700, 600));
    const QString broken = m_dir.filePath("not-dicom.dcm");
    QCOMPARE(WriteNotDicom(broken), QString());
    CImageInfo* bad = study.AddRecord(series, broken, "1.2.3.4");
    auto view = NewView(QSize(300, 200));
    ShowImage(*view, study, good);
    QCOMPARE(view->m_fWindowLevelFactor, 10.0f);

    GiveImage(*view, study, bad);
    view->LoadImageIntoViewPort(FALSE);
    QCOMPARE(view->m_fWindowLevelFactor, 10.0f);
    QVERIFY(view->GetDocument()->m_arrImages.empty());
    QCOMPARE(view->GetDocument()->m_fWindowWidth, 400.0f); // the old values stay
    // The previous picture is not shown under this image's name
    view->SetSelectImage();
    QVERIFY(!view->m_pDisplayImage || !view->m_pDisplayImage->IsValid());
    view->InitialiseImageData(TRUE);
    QVERIFY(!view->m_pDisplayImage);
    const QImage shown = view->grab().toImage();
    QCOMPARE(CountIf(shown, QRect(40, 40, 220, 120), [](QRgb rgb) { return NotBlack(rgb) && !IsGreen(rgb); }), 0);
}

void tst_CVantrelView::doesNothingWithoutImageRecord()
{
    auto view = NewView(QSize(300, 200));
    view->LoadImageIntoViewPort(FALSE);
    QVERIFY(!view->m_pDicomImage);
    view->UseReducedImage();
    view->RestoreFullImage();
    view->UpdatePixelScale();
    QCOMPARE(view->m_dPixelsPerCm, 0.0);
    QCOMPARE(view->m_dReducedScale, 1.0);
    QVERIFY(view->GetDocument()->m_arrImages.empty());
    QCOMPARE(view->GetPixelValue(CDoublePoint(1.0, 1.0)), 0.0);
}

void tst_CVantrelView::fitsToPane_data()
{
    QTest::addColumn<QSize>("pane");
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<float>("zoom");
    // The image is 200 x 100, the client 300 x 300
    QTest::newRow("client size") << QSize(0, 0) << false << 1.5f;
    QTest::newRow("pane size") << QSize(100, 400) << false << 0.5f;
    QTest::newRow("shown full screen once") << QSize(100, 400) << true << 1.5f;
}

void tst_CVantrelView::fitsToPane()
{
    QFETCH(QSize, pane);
    QFETCH(bool, fullScreen);
    QFETCH(float, zoom);
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), Small(ImagePreset::Ct, 200, 100));
    auto view = NewView(QSize(300, 300));
    view->m_sizePane = pane;
    view->m_bFullScreen = fullScreen ? 1 : 0;
    ShowImage(*view, study, image);
    QCOMPARE(view->m_fZoom, zoom);
    QVERIFY(qAbs(view->m_dZoomStep - 0.1) < 1e-9); // 30 / (200 + 100)

    // An empty bitmap fits at zoom 0
    auto empty = NewView(QSize(300, 300));
    empty->FitImageToWindow();
    QCOMPARE(empty->m_fZoom, 0.0f);
}

void tst_CVantrelView::rendersWidthZeroAsOne()
{
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), Small(ImagePreset::Ct));
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    view->RenderWithWindowLevel(0, 40);
    const std::unique_ptr<CxImage> expected = ReferenceRender(image->m_strFilePath, 1, 40);
    QVERIFY(expected);
    QCOMPARE(view->m_pDisplayImage->GetQImage(), expected->GetQImage());
}

void tst_CVantrelView::keepsOrientationThroughRenders()
{
    // Every new render is shown in the view's orientation, once
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), Small(ImagePreset::Ct, 40, 30));
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    const QImage plain = view->m_pDisplayImage->GetQImage();
    view->ComposeOrientation(ID_IMAGE_ROTATERIGHT);
    view->ComposeOrientation(ID_IMAGE_MIRROR);
    view->m_bNegative = 1;
    view->RenderWithWindowLevel(400, 40);
    view->ApplyViewTransforms(); // a second call for the same render changes nothing
    QImage expected = plain.transformed(QTransform().rotate(90)).mirrored(true, false);
    expected.invertPixels();
    QCOMPARE(view->m_pDisplayImage->GetQImage(), expected);
    view->SetSelectImage();
    QCOMPARE(view->m_pDisplayImage->GetQImage(), expected);
}

void tst_CVantrelView::sharesTheDocumentPictureUntilItChangesPixels()
{
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), Small(ImagePreset::Ct, 41, 30));
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    const CxImage* document = view->GetDocument()->GetCurrentImage();
    QVERIFY(document);
    const QImage loaded = document->GetQImage().copy();
    // One picture behind the pane as loaded
    QCOMPARE(view->m_pDisplayImage->GetQImage().constBits(), document->GetQImage().constBits());

    // A window renders into a picture of the view's own; the document keeps the load's
    view->RenderWithWindowLevel(1000, 200);
    QVERIFY(view->m_pDisplayImage->GetQImage().constBits() != document->GetQImage().constBits());
    QCOMPARE(view->m_pDisplayImage->GetQImage(), ReferenceRender(image->m_strFilePath, 1000, 200)->GetQImage());
    QCOMPARE(document->GetQImage(), loaded);
    const qint64 own = view->m_pDisplayImage->GetQImage().cacheKey() >> 32;
    view->RenderWithWindowLevel(400, 40); // and the next one into the same picture
    QCOMPARE(view->m_pDisplayImage->GetQImage().cacheKey() >> 32, own);
    QCOMPARE(view->m_pDisplayImage->GetQImage(), loaded);

    // Back to the document's picture; an inversion copies it first
    QVERIFY(view->ResetViewImage());
    QCOMPARE(view->m_pDisplayImage->GetQImage().constBits(), document->GetQImage().constBits());
    view->m_bNegative = 1;
    view->SetSelectImage();
    QImage inverted = loaded;
    inverted.invertPixels();
    QCOMPARE(view->m_pDisplayImage->GetQImage(), inverted);
    QCOMPARE(document->GetQImage(), loaded);
}

void tst_CVantrelView::readsProbeValue_data()
{
    QTest::addColumn<ImageRecipe>("recipe");
    QTest::addColumn<double>("intercept");
    QTest::newRow("CT signed, rescaled") << Small(ImagePreset::Ct, 31, 17) << -1024.0;
    QTest::newRow("MR unsigned") << Small(ImagePreset::Mr, 31, 17) << 0.0;
    QTest::newRow("8 bits") << Small(ImagePreset::Grey8, 31, 17) << 0.0;
    ImageRecipe ct12 = Small(ImagePreset::Ct, 31, 17);
    ct12.bitsStored = 12;
    ct12.minStored = -2048;
    ct12.maxStored = 2047;
    QTest::newRow("CT 12 of 16 bits") << ct12 << -1024.0;
}

void tst_CVantrelView::readsProbeValue()
{
    QFETCH(ImageRecipe, recipe);
    QFETCH(double, intercept);
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries(QString::fromStdString(recipe.modality)), recipe);
    QVERIFY(image);
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    const QPoint points[] = {{0, 0}, {30, 16}, {15, 8}, {7, 12}};
    for (const QPoint& p : points)
        QCOMPARE(view->GetPixelValue(CDoublePoint(p.x() + 0.7, p.y() + 0.2)), StoredValue(recipe, 0, p.x(), p.y()) + intercept);
    QCOMPARE(view->GetPixelValue(CDoublePoint(31.0, 0.0)), 0.0);
    QCOMPARE(view->GetPixelValue(CDoublePoint(0.0, 17.0)), 0.0);
    QCOMPARE(view->GetPixelValue(CDoublePoint(-1.0, 3.0)), 0.0);
    QCOMPARE(view->GetPixelValue(CDoublePoint(-0.5, 3.0)), StoredValue(recipe, 0, 0, 3) + intercept); // truncated toward zero
}

void tst_CVantrelView::readsProbeValueThroughTurns_data()
{
    QTest::addColumn<QString>("operations");
    QTest::newRow("turned right") << "R";
    QTest::newRow("mirrored") << "M";
    QTest::newRow("flipped then turned left") << "FL";
    QTest::newRow("turned then mirrored") << "RM";
}

void tst_CVantrelView::readsProbeValueThroughTurns()
{
    QFETCH(QString, operations);
    const ImageRecipe recipe = Small(ImagePreset::Ct, 31, 17);
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), recipe);
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    for (QChar c : operations)
        view->ComposeOrientation(c == 'R' ? ID_IMAGE_ROTATERIGHT : c == 'L' ? ID_IMAGE_ROTATELEFT
                                 : c == 'M' ? ID_IMAGE_MIRROR : ID_IMAGE_FLIP);
    view->RenderWithWindowLevel(400, 40);
    const ViewOrientation o = view->GetOrientation();
    const QSize shown(int(view->m_pDisplayImage->GetWidth()), int(view->m_pDisplayImage->GetHeight()));
    QCOMPARE(shown, Orientation::DisplayedSize(o, QSize(31, 17)));
    for (int y = 0; y < shown.height(); y += 3)
        for (int x = 0; x < shown.width(); x += 4) {
            const QPoint s = Orientation::SourcePixel(o, QPoint(x, y), QSize(31, 17));
            QCOMPARE(view->GetPixelValue(CDoublePoint(x + 0.5, y + 0.5)), StoredValue(recipe, 0, s.x(), s.y()) - 1024.0);
        }
}

void tst_CVantrelView::readsProbeValueOfShownFrame()
{
    const ImageRecipe recipe = Small(ImagePreset::MultiFrameGrey, 20, 10);
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("XA"), recipe);
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    QCOMPARE(view->GetPixelValue(CDoublePoint(5.0, 5.0)), double(StoredValue(recipe, 0, 5, 5)));
    CxImage frame;
    view->m_pDicomImage->GetCxImageByPos(&frame, 3);
    QCOMPARE(view->GetPixelValue(CDoublePoint(5.0, 5.0)), double(StoredValue(recipe, 3, 5, 5)));
    QVERIFY(StoredValue(recipe, 3, 5, 5) != StoredValue(recipe, 0, 5, 5));
    // Loading at the last frame counts it as the shown frame
    view->LoadImageIntoViewPort(TRUE);
    QCOMPARE(view->m_nCurrentFrame, 3);
    QCOMPARE(view->GetPixelValue(CDoublePoint(2.0, 7.0)), double(StoredValue(recipe, 3, 2, 7)));
}

void tst_CVantrelView::reducesLargeImageWhileHeld()
{
    const ImageRecipe recipe = Small(ImagePreset::Ct, 1024, 1024);
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), recipe);
    CMyFrameWnd grid; // holds the shapes
    auto view = NewView(QSize(400, 400));
    ShowImage(*view, study, image);
    // A window over the whole ramp, so that every part of the picture differs
    view->GetDocument()->m_fWindowWidth = 5000.0f;
    view->GetDocument()->m_fWindowCenter = -524.0f;
    view->ComposeOrientation(ID_IMAGE_MIRROR);
    view->RenderWithWindowLevel(5000, -524);
    QCOMPARE(view->m_fZoom, 400.0f / 1024);
    const QSize extent = view->GetTotalDeviceSize();
    const QImage fullShown = view->m_pDisplayImage->GetQImage();

    // A vertical red line at image column 512: screen column 200
    const CDoublePoint start(512.5, 100.0), end(512.5, 900.0);
    const COLORREF red = RGB(255, 0, 0);
    const int width = 1;
    grid.m_arrShapes.push_back(std::make_unique<CShapeLine>(&start, &end, &red, &width));
    grid.m_arrShapes.back()->SetImageKey(view->m_strImageKey);
    // Drawn on the mirrored view: saved in the unturned image
    grid.m_arrShapes.back()->StoreOriginalPoints(0, FALSE, TRUE, extent.width(), extent.height(), view->m_fZoom);
    const auto redColumn = [&] {
        const QImage shot = view->grab().toImage();
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, 200) == qRgb(255, 0, 0))
                return x;
        return -1;
    };
    QCOMPARE(redColumn(), 200);

    view->UseReducedImage();
    QVERIFY(view->IsReducedImageShown());
    QVERIFY(qAbs(view->m_dReducedScale - 1024 / 600.0) < 1e-9);
    QCOMPARE(view->m_pDisplayImage->GetWidth(), DWORD(600));
    QCOMPARE(view->GetTotalDeviceSize(), extent);
    QCOMPARE(view->m_fZoom, 400.0f / 600);
    QCOMPARE(view->GetShapeZoom(), 400.0f / 1024);
    QCOMPARE(view->m_pWorkImage->GetBpp(), DWORD(24));
    // The shape keeps its points and stays where it was on the screen
    QCOMPARE(grid.m_arrShapes.back()->GetStartPoint().x, 512.5);
    QCOMPARE(redColumn(), 200);
    // Still mirrored: the reduced picture follows the full one
    const QImage reducedShown = view->m_pDisplayImage->GetQImage();
    QVERIFY(qAbs(qGray(reducedShown.pixel(60, 300)) - qGray(fullShown.pixel(102, 512))) <= 2);
    QVERIFY(qAbs(qGray(reducedShown.pixel(540, 300)) - qGray(fullShown.pixel(921, 512))) <= 2);
    QVERIFY(qAbs(qGray(reducedShown.pixel(60, 300)) - qGray(reducedShown.pixel(540, 300))) > 20);
    // The probe reads the full image in its own pixels: shown column 512 of the mirrored image
    // is column 1023 - 512
    QCOMPARE(view->GetPixelValue(CDoublePoint(512.0, 300.0)), StoredValue(recipe, 0, 511, 300) - 1024.0);

    // A second press while reduced changes nothing; after a release it reuses the copy
    DicomImage* reduced = view->m_pDicomImage->m_pReducedDicomImage;
    view->UseReducedImage();
    QCOMPARE(view->m_pDicomImage->m_pReducedDicomImage, reduced);
    view->RestoreFullImage();
    QVERIFY(!view->IsReducedImageShown());
    QCOMPARE(view->m_dReducedScale, 1.0);
    QCOMPARE(view->m_fZoom, 400.0f / 1024);
    QCOMPARE(view->m_pDisplayImage->GetQImage(), fullShown);
    QCOMPARE(view->m_pWorkImage->GetQImage().pixel(0, 0) & 0xFFFFFF, 0u);
    QCOMPARE(redColumn(), 200);
    view->UseReducedImage();
    QCOMPARE(view->m_pDicomImage->m_pReducedDicomImage, reduced);
    QVERIFY(view->IsReducedImageShown());
    view->RestoreFullImage();
}

void tst_CVantrelView::neverReducesAnEightHundredSide()
{
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), Small(ImagePreset::Ct, 800, 900));
    auto view = NewView(QSize(400, 400));
    ShowImage(*view, study, image);
    view->UseReducedImage();
    QVERIFY(!view->IsReducedImageShown());
    QCOMPARE(view->m_dReducedScale, 1.0);
    QCOMPARE(view->m_pWorkImage->GetWidth(), DWORD(800));
    view->RestoreFullImage();
    QCOMPARE(view->m_pDisplayImage->GetWidth(), DWORD(800));
}

void tst_CVantrelView::oneBitImageKeepsBothLevelsAfterPressAndRelease()
{
    // A segmentation: 1 bit, window 0.5 / 1 (one level black, the other white)
    ImageRecipe recipe = Small(ImagePreset::Grey8, 40, 30);
    recipe.bitsAllocated = 1;
    recipe.bitsStored = 1;
    recipe.minStored = 0;
    recipe.maxStored = 1;
    recipe.windowCenter = "0.5";
    recipe.windowWidth = "1";
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("SEG"), recipe);
    QVERIFY(image);
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    QCOMPARE(view->GetDocument()->m_fWindowWidth, 1.0f);
    QCOMPARE(view->GetDocument()->m_fWindowCenter, 0.5f);
    const auto showsLevels = [&](const char* when) {
        const QImage& shown = view->m_pDisplayImage->GetQImage();
        int levels[2] = {0, 0};
        for (int y = 0; y < recipe.rows; ++y)
            for (int x = 0; x < recipe.columns; ++x) {
                const int stored = StoredValue(recipe, 0, x, y);
                ++levels[stored];
                if (qGray(shown.pixel(x, y)) != stored * 255) {
                    qWarning("%s: (%d, %d) stored %d shows %d", when, x, y, stored, qGray(shown.pixel(x, y)));
                    return false;
                }
            }
        return levels[0] > 0 && levels[1] > 0;
    };
    QVERIFY(showsLevels("loaded"));
    // What a press and a release over the view run (the re-render at the document's window)
    view->UseReducedImage();
    view->RestoreFullImage();
    QVERIFY(showsLevels("after the release"));
}

void tst_CVantrelView::storedWidthZeroShowsTheValueRangeWindow()
{
    ImageRecipe recipe = Small(ImagePreset::Mr);
    recipe.bitsStored = 12;
    recipe.minStored = 100;
    recipe.maxStored = 3100;
    recipe.windowCenter = "0";
    recipe.windowWidth = "0";
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("MR"), recipe);
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    QCOMPARE(view->GetDocument()->m_fWindowWidth, 3000.0f);
    QCOMPARE(view->GetDocument()->m_fWindowCenter, 1600.0f);
    QCOMPARE(view->m_strWindowWidthText, QStringLiteral("WW = 3000"));
    QCOMPARE(view->m_strWindowLevelText, QStringLiteral("WL = 1600"));
    // Not a flat grey: the ramp runs from black to white
    const QImage& shown = view->m_pDisplayImage->GetQImage();
    int darkest = 255;
    int lightest = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            darkest = std::min(darkest, qGray(shown.pixel(x, y)));
            lightest = std::max(lightest, qGray(shown.pixel(x, y)));
        }
    QCOMPARE(darkest, 0);
    QCOMPARE(lightest, 255);
}

void tst_CVantrelView::rendersWindowPastTheIntRange()
{
    // Values in the hundreds of billions after the rescale; a window wider than an int holds
    ImageRecipe recipe = Small(ImagePreset::Mr);
    recipe.rescaleSlope = 250000000.5;
    recipe.windowCenter = "5e11";
    recipe.windowWidth = "1e12";
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("MR"), recipe);
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    QCOMPARE(view->GetDocument()->m_fWindowWidth, 1e12f);
    QCOMPARE(view->m_strWindowWidthText, QStringLiteral("WW = 2147483647"));
    view->UseReducedImage();
    view->RestoreFullImage();
    // Rendered at the nearest window whole numbers hold, not at a wrapped one
    QVERIFY(view->m_pDisplayImage && view->m_pDisplayImage->IsValid());
    const std::unique_ptr<CxImage> expected = ReferenceRender(image->m_strFilePath, INT_MAX, INT_MAX);
    QVERIFY(expected);
    QCOMPARE(view->m_pDisplayImage->GetQImage(), expected->GetQImage());
    QCOMPARE(qGray(expected->GetQImage().pixel(0, 0)), 0); // the lowest values stay black
}

void tst_CVantrelView::showsWhyAnImageHasNoPicture_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("failure");
    QTest::newRow("JPEG 2000") << "jpeg-2000" << "JPEG 2000 images are not shown";
    QTest::newRow("JPEG-LS") << "jpeg-ls" << "JPEG-LS images are not shown";
    QTest::newRow("JPEG processes 3 and 5") << "jpeg-3-5" << "JPEG Extended (processes 3 and 5) images are not shown";
    QTest::newRow("damaged pixel data") << "truncated" << "The pixel data could not be read";
}

void tst_CVantrelView::showsWhyAnImageHasNoPicture()
{
    QFETCH(QString, kind);
    QFETCH(QString, failure);
    const ImageRecipe recipe = Small(ImagePreset::Ct, 100, 50);
    ViewerTestStudy study(m_dir.path());
    CSeriesInfo* series = study.AddSeries("CT");
    CImageInfo* image = nullptr;
    if (kind == "truncated") {
        const QString path = m_dir.filePath(QStringLiteral("truncated-view.dcm"));
        QCOMPARE(WriteTruncated(recipe, path), QString());
        image = study.AddRecord(series, path, "1.2.3.4.5");
    } else {
        image = study.AddImage(series, recipe, kind == "jpeg-2000" ? Syntax::Jpeg2000 : kind == "jpeg-ls" ? Syntax::JpegLs
                                                                                                           : Syntax::JpegExtended35);
    }
    QVERIFY(image);
    auto view = NewView(QSize(400, 400));
    ShowImage(*view, study, image);
    view->DrawImageInfoOverlay();

    QVERIFY(!view->HasPicture());
    QCOMPARE(view->NoPictureText(), failure);
    // The patient and study texts stay; no window is named
    QCOMPARE(view->m_strPatientName, QStringLiteral("Phantom, Anna Maria"));
    QCOMPARE(view->m_strSeriesText, QStringLiteral("Series  1/1"));
    QCOMPARE(view->m_strImageText, QStringLiteral("Image  1/1"));
    QCOMPARE(view->m_strModality, QStringLiteral("CT"));
    QVERIFY(view->m_strWindowWidthText.isEmpty());
    QVERIFY(view->m_strWindowLevelText.isEmpty());
    // No pixel tools
    g_bProbeMode = 1;
    QVERIFY(!view->IsProbeAvailable());
    QCOMPARE(view->GetPixelValue(CDoublePoint(10.0, 10.0)), 0.0);
    view->UseReducedImage();
    view->RestoreFullImage();
    view->RenderWithWindowLevel(400, 40);
    QVERIFY(!view->HasPicture());

    // The line is drawn in the middle; no scales (a CT image of 16 bits would have them)
    const QImage shot = view->grab().toImage();
    QVERIFY(CountIf(shot, QRect(2, 180, 396, 40), IsGreen) > 0);
    QCOMPARE(CountIf(shot, QRect(20, 110, 30, 60), IsGreen), 0);
    QCOMPARE(CountIf(shot, QRect(110, 20, 180, 30), IsGreen), 0);
    QVERIFY(CountIf(shot, QRect(2, 2, 190, 40), IsGreen) > 0); // "Pat Name : ..."
}

void tst_CVantrelView::fillsOverlayTexts_data()
{
    QTest::addColumn<QString>("contentDate");
    QTest::addColumn<QString>("contentTime");
    QTest::addColumn<QString>("dateTime");
    QTest::newRow("no content date: the study's") << "" << "" << "05-03-2024 14:30:00";
    QTest::newRow("own content date") << "20240306" << "091500" << "06-03-2024 09:15:00";
    QTest::newRow("own content date, older forms") << "2024.03.06" << "09:15" << "06-03-2024 09:15:00";
}

void tst_CVantrelView::fillsOverlayTexts()
{
    QFETCH(QString, contentDate);
    QFETCH(QString, contentTime);
    QFETCH(QString, dateTime);
    ViewerTestStudy study(m_dir.path());
    CSeriesInfo* first = study.AddSeries("CT");
    CSeriesInfo* second = study.AddSeries("CT");
    study.AddImage(first, Small(ImagePreset::Ct));
    ImageRecipe recipe = Small(ImagePreset::Ct);
    recipe.patientName = "";
    recipe.patientSex = "";
    recipe.contentDate = contentDate.toStdString();
    recipe.contentTime = contentTime.toStdString();
    recipe.studyDate = "20240305";
    recipe.studyTime = "143000.25";
    recipe.accessionNumber = "ACC9";
    study.AddImage(second, Small(ImagePreset::Ct));
    CImageInfo* image = study.AddImage(second, recipe);
    auto view = NewView(QSize(300, 300));
    ShowImage(*view, study, image);
    view->DrawImageInfoOverlay();
    QCOMPARE(view->m_strPatientName, QStringLiteral("Data Unavailable"));
    QCOMPARE(view->m_strSex, QStringLiteral("Data Unavailable"));
    QCOMPARE(view->m_strDateTime, dateTime);
    QCOMPARE(view->m_strStudyText, QStringLiteral("Study : 1"));
    QCOMPARE(view->m_strSeriesText, QStringLiteral("Series  2/2"));
    QCOMPARE(view->m_strImageText, QStringLiteral("Image  2/2"));
    QCOMPARE(view->m_strFrameText, QStringLiteral("Frame: 1/1"));
    QCOMPARE(view->m_strAccessionNo, QStringLiteral("ACC9"));
    QCOMPARE(view->m_strModality, QStringLiteral("CT"));
    QCOMPARE(view->m_bPixelSpacingKnown, BYTE(1));
}

void tst_CVantrelView::hidesTheCornerTextsWithTheHeaderSwitch()
{
    // An 8-bit image draws no scales; fitted into the middle band, it leaves the corners black
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("OT"), Small(ImagePreset::Grey8, 100, 50));
    auto view = NewView(QSize(400, 400));
    ShowImage(*view, study, image);
    view->DrawImageInfoOverlay();
    view->m_bSelected = 0;
    QCOMPARE(view->m_ptPanOffset, QPoint(0, 100));
    const QRect corners[] = {QRect(2, 2, 190, 95), QRect(208, 2, 190, 95), QRect(2, 303, 190, 95), QRect(208, 303, 190, 95)};
    g_bHeaderInfoHidden = 0;
    const QImage shown = view->grab().toImage();
    g_bHeaderInfoHidden = 1;
    const QImage hidden = view->grab().toImage();
    for (const QRect& corner : corners) {
        QVERIFY(CountIf(shown, corner, IsGreen) > 0);
        QCOMPARE(CountIf(hidden, corner, NotBlack), 0);
    }
    // The picture stays
    QCOMPARE(hidden.copy(QRect(0, 100, 400, 200)), shown.copy(QRect(0, 100, 400, 200)));
}

void tst_CVantrelView::drawsScalesFromBothSpacings()
{
    // Rows 0.5 mm apart, columns 0.25 mm: 20 pixels per centimetre down, 40 across
    ImageRecipe recipe = Small(ImagePreset::Ct, 200, 150);
    recipe.pixelSpacing = "0.5\\0.25";
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), recipe);
    auto view = NewView(QSize(400, 400));
    ShowImage(*view, study, image);
    view->DrawImageInfoOverlay();
    view->m_fZoom = 1.0f;
    view->SetZoomScrollSizes(QSize(200, 150));
    view->m_ptPanOffset = QPoint(100, 100);
    g_bHeaderInfoHidden = 1;
    const QImage shot = view->grab().toImage();
    // Vertical ticks every 20 pixels from y = 100, horizontal every 40 from x = 100
    QVERIFY(IsGreen(shot.pixel(30, 120)));
    QVERIFY(IsGreen(shot.pixel(30, 140)));
    QVERIFY(!IsGreen(shot.pixel(30, 130)));
    QVERIFY(IsGreen(shot.pixel(140, 30)));
    QVERIFY(!IsGreen(shot.pixel(120, 30)));
    QVERIFY(IsGreen(shot.pixel(25, 200)));
    QVERIFY(IsGreen(shot.pixel(200, 25)));

    // Turned a quarter, the axes exchange their spacings
    view->ComposeOrientation(ID_IMAGE_ROTATERIGHT);
    const QImage turned = view->grab().toImage();
    QVERIFY(IsGreen(turned.pixel(30, 140)));
    QVERIFY(!IsGreen(turned.pixel(30, 120)));
    QVERIFY(IsGreen(turned.pixel(120, 30)));
    QVERIFY(IsGreen(turned.pixel(140, 30)));
}

void tst_CVantrelView::drawsNoScales_data()
{
    QTest::addColumn<ImageRecipe>("recipe");
    QTest::addColumn<bool>("scales");
    QTest::newRow("CT") << Small(ImagePreset::Ct, 50, 40) << true;
    QTest::newRow("XA") << Small(ImagePreset::MultiFrameGrey, 50, 40) << false;
    ImageRecipe xa16 = Small(ImagePreset::Ct, 50, 40);
    xa16.modality = "XA";
    QTest::newRow("XA 16 bits") << xa16 << false;
    ImageRecipe none = Small(ImagePreset::Ct, 50, 40);
    none.modality = "";
    QTest::newRow("no modality") << none << false;
    QTest::newRow("8 bits") << Small(ImagePreset::Grey8, 50, 40) << false;
}

void tst_CVantrelView::drawsNoScales()
{
    QFETCH(ImageRecipe, recipe);
    QFETCH(bool, scales);
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries(QString::fromStdString(recipe.modality)), recipe);
    auto view = NewView(QSize(400, 400));
    ShowImage(*view, study, image);
    view->DrawImageInfoOverlay();
    const QImage shot = view->grab().toImage();
    QCOMPARE(CountIf(shot, QRect(20, 110, 30, 180), IsGreen) > 0, scales);
    QCOMPARE(CountIf(shot, QRect(110, 20, 180, 30), IsGreen) > 0, scales);
}

void tst_CVantrelView::paintsLoadingTextOnlyWithBothFlags_data()
{
    QTest::addColumn<bool>("emptyViewText");
    QTest::addColumn<bool>("showLoadingText");
    QTest::newRow("both") << true << true;
    QTest::newRow("empty view text only") << true << false;
    QTest::newRow("loading text only") << false << true;
    QTest::newRow("neither") << false << false;
}

void tst_CVantrelView::paintsLoadingTextOnlyWithBothFlags()
{
    QFETCH(bool, emptyViewText);
    QFETCH(bool, showLoadingText);
    theApp.m_bEmptyViewText = emptyViewText;
    theApp.m_bShowLoadingText = showLoadingText;
    auto view = NewView(QSize(500, 200));
    const QImage shot = view->grab().toImage();
    // Something is drawn in the middle line, and only there
    const int drawn = CountIf(shot, QRect(0, 0, 500, 200), NotBlack);
    const int middle = CountIf(shot, QRect(0, 80, 500, 40), NotBlack);
    QCOMPARE(drawn > 0, emptyViewText && showLoadingText);
    QCOMPARE(middle, drawn);
}

void tst_CVantrelView::paintsBlankPane()
{
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), Small(ImagePreset::Ct));
    auto view = NewView(QSize(120, 80));
    ShowImage(*view, study, image);
    view->CreateBlankViewPort();
    QVERIFY(!view->m_pImage && !view->m_pSeries && !view->m_pStudy && !view->m_pDisplayImage);
    const QImage shot = view->grab().toImage();
    QCOMPARE(shot.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(shot.pixel(119, 79), qRgb(255, 255, 255));
    QCOMPARE(shot.pixel(60, 79), qRgb(255, 255, 255));
    QCOMPARE(CountIf(shot, QRect(1, 1, 118, 78), NotBlack), 0);
}

void tst_CVantrelView::framesSelectedPaneGreen_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QSize>("pane");
    QTest::addColumn<int>("bottomLine");
    QTest::newRow("selected") << true << QSize(0, 0) << 198;
    QTest::newRow("not selected") << false << QSize(0, 0) << 198;
    QTest::newRow("grid pane") << true << QSize(300, 200) << 199;
}

void tst_CVantrelView::framesSelectedPaneGreen()
{
    QFETCH(bool, selected);
    QFETCH(QSize, pane);
    QFETCH(int, bottomLine);
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), Small(ImagePreset::Ct));
    auto view = NewView(QSize(300, 200));
    view->m_sizePane = pane;
    ShowImage(*view, study, image);
    view->m_bSelected = selected ? 1 : 0;
    g_bHeaderInfoHidden = 1;
    const QImage shot = view->grab().toImage();
    const QRgb frame = selected ? qRgb(0, 255, 0) : qRgb(255, 255, 255);
    QCOMPARE(shot.pixel(0, 100), frame);
    QCOMPARE(shot.pixel(299, 100), frame);
    QCOMPARE(shot.pixel(150, 0), frame);
    QCOMPARE(shot.pixel(150, bottomLine), frame);
}

void tst_CVantrelView::paintsImageAtItsExtent()
{
    ViewerTestStudy study(m_dir.path());
    CImageInfo* image = study.AddImage(study.AddSeries("CT"), Small(ImagePreset::Ct, 100, 50));
    auto view = NewView(QSize(400, 400));
    ShowImage(*view, study, image);
    // Fitted: 4 screen pixels per image pixel, centred vertically
    QCOMPARE(view->m_fZoom, 4.0f);
    QCOMPARE(view->m_ptPanOffset, QPoint(0, 100));
    g_bHeaderInfoHidden = 1;
    const QImage shot = view->grab().toImage();
    const QImage& bitmap = view->m_pDisplayImage->GetQImage();
    for (const QPoint image : {QPoint(10, 10), QPoint(60, 30), QPoint(95, 45)}) {
        const QPoint screen(image.x() * 4 + 2, 100 + image.y() * 4 + 2);
        QCOMPARE(qGray(shot.pixel(screen)), qGray(bitmap.pixel(image)));
    }
    QCOMPARE(shot.pixel(200, 50) & 0xFFFFFF, 0u); // above the image
}

QTEST_MAIN(tst_CVantrelView)
#include "tst_CVantrelView.moc"

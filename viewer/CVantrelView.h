#pragma once
// One viewport: a pane of the viewport grid that shows one DICOM image or frame with its
// overlay texts, centimetre scales and the annotation shapes of that image, and that keeps the
// state of everything the user does in it (tools, zoom and pan, window, orientation, cine,
// text entry). The source is split by concern: CVantrelView.cpp (life cycle, fitting,
// rendering, orientation), CVantrelViewLoad.cpp (loading an image), CVantrelViewPaint.cpp
// (the drawing pipeline and the overlay), CVantrelViewMouse.cpp (pointer input and drawing
// with the mouse), CVantrelViewOperations.cpp (reset and the operations repeated in the other
// panes), CVantrelViewMagnifier.cpp (the magnifier's press, moves and release).

// Qt
#include <QBasicTimer>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

// std
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Orvane
#include "annotation/CDoublePoint.h"
#include "annotation/CShapeCollection.h"
#include "platform/CFont.h"
#include "platform/WinTypes.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CZoomView.h"
#include "viewer/CineEngine.h"
#include "viewer/ViewOrientation.h"

class CImageInfo;
class CineNewControls;
class CMyFrameWnd;
class CPatientInfo;
class CSeriesInfo;
class CShapeCanvas;
class CStudyInfo;
class CVantrelDoc;
class CxImage;
class CxImageDCM;
class QMenu;
class QPainter;
struct ViewPaintCache;

/// One viewport. Coordinates: "client" means widget pixels of the pane; "image pixels" are
/// pixels of the displayed bitmap (the rendered frame, turned and flipped as the view shows
/// it); the displayed extent (the zoomed bitmap on screen) is the zoom view's total size,
/// placed at m_ptPanOffset. UI thread only.
class CVantrelView : public CZoomView
{
    Q_OBJECT
public:
    /// A view of `pDocument` (borrowed; the grid frame decides who owns it, normally the view
    /// through the object tree). Creating a view resets nothing of another view.
    explicit CVantrelView(CVantrelDoc* pDocument = nullptr, QWidget* parent = nullptr);
    /// Stops a cine thread, releases the DICOM object and the bitmaps.
    ~CVantrelView() override;

    CVantrelDoc* GetDocument() const { return m_pDocument; }
    /// The grid frame this view is a pane of (theApp's), or null.
    static CMyFrameWnd* GetGridFrame();

    // --- Life cycle, fitting and rendering (CVantrelView.cpp) ------------------------------

    /// The first update: empties the document's title, sets the extent to 100 x 100, takes the
    /// document's bitmap and, when there is one, posts the refit (which fits, centres and shows
    /// the view) and reads the image key. A view without a displayed bitmap (a blank pane)
    /// stays visible.
    void OnInitialUpdate();
    /// Copies the document's current bitmap into the displayed bitmap (made when missing) and
    /// brings it into the view's orientation. Nothing when the document has no bitmap.
    void SetSelectImage();
    /// Sets the displayed bitmap to `bitmap` (a new render of this view's image), sharing its
    /// pixels until the view changes them, and brings it into the view's orientation. Every new render goes through this,
    /// SetSelectImage or RenderWithWindowLevel.
    void SetDisplayedBitmap(const CxImage& bitmap);
    /// The displayed extent (client pixels); nothing unless both sides are positive.
    void SetZoomScrollSizes(QSize size);
    /// Fits the displayed bitmap into the pane (m_sizePane when set and the view was never
    /// shown full screen, else the client size) and recomputes the zoom step.
    void FitImageToWindow();
    /// Renders the DICOM object at (width, centre) (a width of 0 becomes 1) into the
    /// displayed bitmap, in the view's orientation, and repaints the pane.
    void RenderWithWindowLevel(int nWidth, int nCentre);
    /// Frees the displayed and the working bitmap; the grid frame calls it before a rebuild.
    void DeleteUnwantedObjects();
    /// Lays the magnifier overlay, hidden and with the application's lens settings, over this
    /// view when the overlay exists (it is made on first use).
    void CreateMagnifierWindow();
    /// The refit message: fits, centres, shows and repaints the view. Returns 1.
    long OnRefitView(unsigned long wParam, long lParam);
    /// Posts the refit to this view (it runs from the event loop).
    void PostRefitView();
    /// Centres the displayed extent in the client area.
    void CenterImageInView();
    /// m_dZoomStep from the displayed bitmap's size.
    void UpdateZoomStep();
    /// The displayed bitmap's size times the zoom, truncated.
    QSize GetZoomedImageSize() const;
    /// Brings the displayed bitmap into the view's state, once per new render: inverted when
    /// m_bNegative, then the orientation (mirror, flip, turn). A second call for the same
    /// render does nothing.
    void ApplyViewTransforms();
    /// The view's orientation (the normal form held in m_bMirror, m_bFlip, m_nRotationAngle).
    ViewOrientation GetOrientation() const;
    /// Adds one image command (ID_IMAGE_MIRROR, ID_IMAGE_FLIP, ID_IMAGE_ROTATERIGHT,
    /// ID_IMAGE_ROTATELEFT) after the view's turns and flips; the operations of the tool panels
    /// call it instead of toggling the flags. The displayed bitmap is not touched.
    void ComposeOrientation(int nImageCommand);
    /// Repaints the pane; with bErase the next paint first runs the background erase.
    void Invalidate(BOOL bErase = TRUE);
    /// The background erase of one paint: fills the pane black once after m_bEraseBackground
    /// was set. Returns TRUE.
    BOOL OnEraseBkgnd(QPainter* pDC);

    // --- Loading an image (CVantrelViewLoad.cpp) -------------------------------------------

    /// Opens m_pImage's file into a new DICOM object and renders its first frame (the last
    /// with bAtLastFrame) into the document; copies the file's window into the document and
    /// sets the image key, the shown frame, the drag factor and the pixel scale. A file that
    /// can't be shown leaves the document without bitmap and the pane without picture.
    void LoadImageIntoViewPort(BOOL bAtLastFrame);
    /// One file opened for a view apart from it: the DICOM object, the bitmaps it rendered
    /// (owned until attached) and what LoadDCM returned.
    struct DecodedImage
    {
        std::unique_ptr<CxImageDCM> pDicom;
        std::vector<CxImage*> bitmaps;
        int nLoaded = 0;
        DecodedImage();
        ~DecodedImage();
    };
    /// Opens `path` into a new DICOM object and renders its first frame (the last with
    /// bAtLastFrame). Touches no widget or record: any thread may call it.
    static std::unique_ptr<DecodedImage> DecodeImage(const QString& path, BOOL bAtLastFrame);
    /// Decodes every path side by side, one task per path on at most the number of cores;
    /// the results come in the order of the paths. UI thread, which waits for them.
    static std::vector<std::unique_ptr<DecodedImage>> DecodeImages(const QStringList& paths, BOOL bAtLastFrame);
    /// The UI thread's part of LoadImageIntoViewPort: takes `decoded` (of m_pImage's file) as
    /// the view's DICOM object and the document's bitmaps, as a load does.
    void AttachDecodedImage(std::unique_ptr<DecodedImage> decoded);
    /// Takes the document's bitmap as the view's image after a load: key, window, overlay,
    /// displayed bitmap, and with bFit the fit and centring. Without a bitmap the view keeps
    /// no displayed bitmap.
    void InitialiseImageData(BOOL bFit);
    /// Turns the pane into an empty one (black with a white frame).
    void CreateBlankViewPort();
    /// TRUE while the thumbnail column's run is loading.
    BOOL CheckLoading();
    /// Deletes the DICOM object.
    void ReleaseDicomImage();
    /// While a button is held over an image whose sides both exceed 800 pixels: renders from
    /// a reduced copy (made once per file) at the same displayed extent. Always refreshes the
    /// 24-bit working copy. Shapes keep their points and are drawn at the full image's zoom.
    void UseReducedImage();
    /// Back to the full rendering on release; clears the working copy.
    void RestoreFullImage();
    /// Recomputes the pixels per centimetre of the displayed bitmap along both image axes.
    void UpdatePixelScale();
    /// The value of the pixel under `pt` (pixels of the full image as displayed, as shapes
    /// hold them, also while the reduced one is shown): the turns and flips undone, of the
    /// frame shown, after the modality transformation. 0.0 outside the image.
    double GetPixelValue(const CDoublePoint& pt);
    /// The probe tool is on and the image is CT or MR.
    BOOL IsProbeAvailable() const;
    /// The shown file's Pixel Spacing (row spacing first), for new measuring shapes.
    void GetPixelSpacing(double spacing[2]);
    /// The zoom at which shapes (whose points are pixels of the full displayed image) are
    /// drawn: m_fZoom, or while the reduced image is shown the zoom of the full image at the
    /// same extent.
    float GetShapeZoom() const;
    /// The reduced rendering is shown.
    bool IsReducedImageShown() const;
    /// The view shows a picture: its document holds a rendered bitmap. An image that could
    /// not be shown (a refused compression, damaged pixels) has none: tools that work on
    /// pixels (probe, window/level, the reduced rendering, thumbnails) leave it alone.
    bool HasPicture() const;
    /// Why the view's image shows no picture, as the one line the pane shows in its centre;
    /// empty when it shows one or the pane is empty.
    QString NoPictureText() const;

    // --- Drawing pipeline and overlay (CVantrelViewPaint.cpp) ------------------------------

    /// Paints the whole pane onto `pDC`: image, the shapes of this image, scales, the rubber
    /// band, the pane frame and the corner texts. Straight onto `pDC`, unless shapes or the
    /// rubber band are drawn (they read the pixels beneath): then through a back buffer.
    void DrawImageAndEmbedShape(QPainter* pDC);
    /// The corner texts.
    void DrawPatientOverlay(CShapeCanvas* pDC);
    /// Fills the overlay texts from the shown image and its records; draws nothing.
    void DrawImageInfoOverlay();
    /// "WW = %d" and "WL = %d" from the document's current window.
    void DrawWindowLevelText();
    /// The two centimetre scales.
    void DrawReferenceLine(CShapeCanvas* pDC);
    /// The rubber band of the current drawing tool (drawn by the mouse tools).
    void DrawShapeOnMouseMove(CShapeCanvas* pDC);
    QString GetImageKey() const { return m_strImageKey; }
    /// Marks this view as the selected viewport (and no other pane of the grid).
    void SelectCurrentView();
    /// Marks series `nIndex` in the thumbnail column.
    void SelectThumbnail(int nIndex);
    /// Client point (pan offset already subtracted) to image pixels, truncated / exact.
    QPoint ClientToImagePoint(QPoint point) const;
    CDoublePoint ClientToImagePoint(const CDoublePoint& point) const;
    /// Repaints the bands a smaller image leaves after a change of the view; only when
    /// m_bViewAdjusted is set, which it clears.
    void ClearImageMargins();
    /// Completes the text entry open in this view, as closing its edit does; nothing when none is open.
    void CloseTextEdit();

    // --- Pointer input and drawing with the mouse (CVantrelViewMouse.cpp) ------------------
    // Points are client positions of the pane; nFlags are the MK_ flags of the buttons and keys
    // held, as the events carry them.

    /// A left press: selects the pane (and its thumbnail), starts the stroke of the current
    /// tool, erases, or hands the press to the magnifier.
    void OnLButtonDown(UINT nFlags, QPoint point);
    /// A move, with or without a button: window/level, zoom and pan drags and the rubber band
    /// of the drawing tools, each only while the left button is held (the angle's second arm
    /// and the magnifier take moves without a button).
    void OnMouseMove(UINT nFlags, QPoint point);
    /// A left release: ends the stroke; a drawing tool makes its shape. A release without a
    /// press (the second one of a double click) makes nothing.
    void OnLButtonUp(UINT nFlags, QPoint point);
    /// The click timer (1031) started by every press: fires once and repaints the pane.
    void OnTimer(UINT nIDEvent);
    /// One zoom step of a zoom drag about the image's centre: in with the pointer moving up
    /// (at least 10 pixels' worth), out with it moving down, never narrower than 150 pixels.
    void DragZoomIn(const QPoint& current, const QPoint& last);
    void DragZoomOut(const QPoint& current, const QPoint& last);
    /// The pointer of the tool state: the arrow unless the left button holds a stroke here.
    void UpdateToolCursor();
    /// The index of this view's entry in theApp.m_astrSeriesKeys (its image's for XA, else
    /// its series' first image's), or -1: the thumbnail of what the view shows.
    int GetThumbnailIndex() const;
    /// A client point to image pixels of the shapes: (point - pan offset + scroll position)
    /// divided by GetShapeZoom(), so also right while the reduced image is shown.
    CDoublePoint ClientToShapePoint(const CDoublePoint& point) const;
    /// Every view forgets `pShape` as the shape it is drawing (a half-drawn Cobb angle ends).
    /// Whoever removes a shape from the grid frame's array calls it before deleting the shape.
    static void ForgetDrawingShape(const CShapeCollection* pShape);
    /// Drops a half-drawn angle or Cobb angle (with the Cobb angle's first line); with
    /// `bAlways` clear only one whose tool is no longer the drawing tool, or an angle begun on
    /// an image the view no longer shows (a loop moves on without a new load). The pane takes
    /// presses again.
    void DropUnfinishedAngles(bool bAlways);
    /// Hands over the shape being drawn when the view owns it (the text shape waiting for its
    /// text), leaving m_pDrawingShape null; null when the view owns none.
    std::unique_ptr<CShapeCollection> TakeDrawingShape();

    // --- The magnifier's side of the view (CVantrelViewMagnifier.cpp) ---------------------

    /// A press in magnifier mode: the magnifier overlay (made on first use) is laid over this
    /// view with fresh settings and takes the press (client point) with the view's picture.
    virtual void OnMagnifierPress(UINT nFlags, QPoint point);
    /// Every move in magnifier mode, with or without a button (the lens follows a held button;
    /// a move without it ends a stroke whose release was lost).
    virtual void OnMagnifierMove(UINT nFlags, QPoint point);
    /// The release that ends a magnifier press.
    virtual void OnMagnifierRelease(UINT nFlags, QPoint point);
    /// Hides the magnifier window (the tools other than the magnifier hide the lens).
    virtual void HideMagnifierWindow();
    // Opening the in-place text entry (CVantrelViewText.cpp).
    /// Opens the text edit over `box` (client pixels) for the text shape waiting in
    /// m_pDrawingShape, with the view's text font; the edit's end appends the shape.
    virtual void OpenTextEdit(const QRect& box);

    // --- Reset and the operations repeated in the other panes (CVantrelViewOperations.cpp) --
    // Repeated only while the grid shows consecutive images of one series (m_bSeriesLayout
    // clear) and a grid was laid out; every other pane that exists takes the operation.

    /// Back to the picture as loaded: zoom fitted, no pan, not inverted, unturned, the
    /// document's bitmap shown again and the shapes of the image at their original points.
    /// FALSE, changing only zoom, pan and orientation, when the document has no bitmap.
    BOOL ResetViewImage();
    /// The other panes take this view's zoom, keeping their centres.
    void ZoomImagesInOtherViewPort();
    /// The other panes take this view's pan offset.
    void PanImageInOtherViewPort();
    /// The other panes take this view's document window and render with it.
    void ApplyWW_WLInOtherViewPort();
    /// The other panes are reset as by ResetViewImage, their default window back when their
    /// view was adjusted.
    void ResetImagesInOtherViewPort();

    // --- In-place text entry (CVantrelViewText.cpp) ----------------------------------------

    /// The end of the entry (the edit tells its view when it closes): unless it was cancelled,
    /// the waiting text shape takes the edit's text and the key of the image the box was
    /// opened on and is appended to the grid frame's shapes; a cancelled entry frees it.
    /// Returns 0.
    long OnTextEditComplete(unsigned long wParam, long lParam);
    /// An edit is open in this view.
    bool IsTextEditOpen() const;
    // --- Image commands, their repetition, the shapes in the view's orientation ------------
    // (CVantrelViewImageOps.cpp)

    /// Applies g_nLastImageCommand (ID_IMAGE_MIRROR, ID_IMAGE_ROTATERIGHT, ID_IMAGE_FLIP,
    /// ID_IMAGE_NEGATIVE, ID_IMAGE_ROTATELEFT) to the displayed bitmap only; a turn also has the
    /// next paint fill the pane black first. Nothing without a displayed bitmap. The caller
    /// changes the view's state (TakeImageCommand does both).
    void ApplyImageOperation();
    /// One image command on this view: the orientation composed with it (or the inversion
    /// toggled), the displayed bitmap brought along, the extent from the bitmap and the zoom,
    /// and after a turn of a view the user did not zoom or pan the fit and the centring; the
    /// pane is repainted. Sets g_nLastImageCommand.
    void TakeImageCommand(int nImageCommand);
    /// The other panes take g_nLastImageCommand (a turn either way), the mirror, the flip and
    /// the inversion. Repeated only while the grid shows consecutive images of one series, in
    /// every other pane: an empty one keeps the state for the image it shows next.
    void RotateRightImagesInOtherViewPort();
    void FlipImagesInOtherViewPort();
    void FlipVImagesInOtherViewPort();
    void InvertImagesInOtherViewPort();
    /// The panes an operation of this view is repeated in: none in series layout or before the
    /// first layout; otherwise every other pane (zoom, pan and window skip the empty panes and
    /// those that play a loop).
    std::vector<CVantrelView*> PanesForRepetition() const;
    /// Keypad plus and minus: one zoom step of 2 x m_dZoomStep about the image's centre; out
    /// never narrower than 150 pixels, and after reaching that nothing until a zoom in.
    void ZoomInStep();
    void ZoomOutStep();
    /// Removes every shape of the shown image from the grid frame's array; TRUE when at least
    /// one went. The panes are repainted; the caller repaints this view.
    BOOL DeleteAllShapeControls();
    /// Repaints every pane of the grid (not the single view: its caller repaints it).
    void InvalidateAllViewPorts();
    /// Brings a shape of this view's image into the view's orientation: its points re-derived
    /// from its saved copies (the points in the unturned image). Every use of a shape's points
    /// in a view (drawing, hit tests, storing new saved copies) comes after this call, so a
    /// shape covers the same image pixels whatever the orientation of the view showing it.
    void OrientShape(CShapeCollection& shape) const;

    // --- Keyboard and wheel paging (CVantrelViewPaging.cpp) --------------------------------

    /// A key (VK_ code): Escape ends a half-drawn Cobb angle, keypad plus and minus zoom, Up
    /// and Down page the selected view, F11 full screen; then the selected view is refreshed.
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    /// One wheel step (negative: towards the user, next): pages the selected view. TRUE.
    BOOL OnMouseWheel(UINT nFlags, short zDelta, QPoint pt);
    /// One paging step of pView through frames, images and series of its study, with wrapping
    /// into the next or previous series (back lands on the last frame).
    void Series_MultiView_Up_Down(CVantrelView* pView, BOOL bDown);
    /// One paging step of the grid in image layout: a page of images of one series, then the
    /// next or previous series (back to its last page; partial pages blank); multi-frame
    /// images page their frames in pView.
    void Image_MultiView_Up_Down(CVantrelView* pView, BOOL bDown);
    /// The refresh after a key or a wheel step on the selected view: image key, window values,
    /// a refit when the bitmap's size changed, the series window, the overlay texts.
    void RefreshAfterPaging(CVantrelView* pSelected, QSize before);


    // --- The right-button menu (CVantrelViewMenu.cpp) --------------------------------------

    /// A right press: nothing; the menu opens on the release.
    void OnRButtonDown(UINT nFlags, QPoint point);
    /// A right release at `point` (client pixels): builds the menu (BuildContextMenu), shows
    /// its "Tools" popup there and, once it has closed, carries out the chosen command.
    void OnRButtonUp(UINT nFlags, QPoint point);
    /// Builds m_menuContext afresh: the presets for the image (m_nNextPresetId the last id
    /// handed out), the check marks of the chosen preset and of the two show/hide switches, the
    /// items that act on the image disabled while this pane's cine runs. Returns the "Tools"
    /// popup (owned by m_menuContext), or null when no menu is shown (images not loaded yet,
    /// or the left button holds a stroke).
    QMenu* BuildContextMenu();
    /// Renames the presets popup's first item "Default(%d,%d)" with the file's window.
    void AddDefault_WWL_Value_OnRightMenu(QMenu* pPresets);
    /// Appends the presets of the image's modality and Bits Allocated to `pPresets`.
    void AddStandard_WWL_Presets_OnRightMenu(QMenu* pPresets);
    /// A command chosen from the menu: a preset of the open menu (checked from now on; the
    /// menu goes), the show/hide switches, the two dialogs. FALSE for another command.
    BOOL OnContextCommand(int nId);
    /// Applies the window of a preset text ("Lungs(1500,-600)") to the document, the series
    /// and, in an image layout, the other panes; a text without values changes nothing.
    void ApplyWindowLevelPreset(const QString& text);
    /// Toggle g_bHeaderInfoHidden / g_bAnnotationsHidden and repaint every pane.
    void OnShowHideHeaderInfo();
    void OnShowHideAnnotations();
    /// The DICOM Information dialog of the shown file, application-modal; returns at once.
    void OnDicomInformation();
    /// The magnifier settings sheet; returns at once (CPropMagn::OpenMagnifierSettings).
    void OnMagnifierSettings();

    // --- Full screen (CVantrelViewFullScreen.cpp) ----------------------------------------

    /// Full screen on: the thumbnail column shrinks to nothing, the main frame covers the
    /// monitor, this pane alone fills the grid and is fitted to it. Off: the column comes back
    /// and every pane of the grid gets an equal share, fitted and centred (panes without a
    /// picture keep their zoom). In a single view only the column and the fit change.
    void ToggleFullScreen();
    /// The F11 key: this view the only selected pane and the grid's active view, full screen
    /// toggled, the pane repainted.
    void OnFullScreenKey();

    // --- Cine playback (CVantrelViewCine.cpp) ---------------------------------------------
    // A loop plays the frames of a multi-frame image, else the images of the series, on a
    // worker of its own (CineLoop) that decodes with its own image objects and hands each frame
    // to this view by a queued call tagged with the run number. UI thread only.

    /// The cine bar's slider for the shown image: range 1 to 45, position 1000 / the frame
    /// interval (the maximum raised to it when above), the rate label. Nothing without an
    /// image or with an interval of 0.
    void SetCineFrameRate();
    /// Starts a loop (from index 0) or resumes a paused one. A single-frame image alone in its
    /// series leaves the view stopped. Marks the source as cycling.
    void RunDCMCine();
    /// Pauses at a frame boundary; the view's own image object is brought to the frame shown
    /// and the mark is cleared. TRUE.
    BOOL PauseCine();
    /// Stops and joins the loop; the view's own image object is at the frame shown and the
    /// mark is cleared. TRUE.
    BOOL StopCine();
    /// Whether the view's source (its multi-frame image, else its series) carries the mark of
    /// a running loop. FALSE without a DICOM object.
    BOOL IsCineRunningOnSource() const;
    /// Frames per second of the loop (at least 1), taken at once by a running loop.
    void SetCineRate(int nRate);
    int GetCineRate() const { return m_nCineRate; }
    /// The index (frame or image) the loop shows next, modulo the count.
    void SeekCine(int nIndex);
    /// A frame of run `nRun` from the worker (queued); frames of another run, or that come
    /// while the view is not running, are dropped.
    void OnCineFrame(int nRun, int nIndex, const QImage& frame);
    /// The worker of run `nRun` ended by itself: the view leaves the cine state. After a read
    /// error at index `nFailedIndex` the view shows that frame (or image) without a picture and
    /// says why, as a refused image does; the indexes before it page as before.
    void OnCineEnded(int nRun, bool bFailed, int nFailedIndex = -1);
    /// The loop plays frames of one image (TRUE) or images of the series.
    bool IsFrameCine() const { return m_bFrameCine; }
    /// The cine bar while it exists (a child of the main window), or null.
    CineNewControls* GetCineBar() const;
    /// Frames shown and slots dropped by the current (or last) run.
    long long GetCineFramesShown() const { return m_nCineFramesShown; }
    long long GetCineFramesDropped() const;

    std::unique_ptr<CineLoop> m_pCineLoop;       ///< the loop, made on first use
    int m_nCineRun = 0;                    ///< run number of the current loop; stale frames are dropped
    int m_nCineRate = 30;                  ///< frames per second of the loop
    int m_nCineShown = 0;                  ///< index the loop showed last
    long long m_nCineFramesShown = 0;      ///< frames shown since the loop started
    bool m_bFrameCine = false;             ///< the loop plays frames (else images of the series)
    CImageInfo* m_pCineMarkedImage = nullptr;   ///< the record this view marked as cycling
    CSeriesInfo* m_pCineMarkedSeries = nullptr; ///< the series this view marked as cycling
    std::function<void(int, int)> m_fnCineWindow; ///< hands (width, centre) to the loop's source
    // --- Members (defaults as constructed) --------------------------------------------------

    // Cine playback
    struct CineThreadParam
    {
        CVantrelView* pView = nullptr;
    };
    int m_nCineState = 0;                  ///< 0 stopped, 1 running, 2 paused
    int m_nCurrentFrame = 0;               ///< frame shown, from 0 ("Frame: %d/%d" shows it + 1)
    QPointer<QWidget> m_wndCineControls;   ///< the embedded cine bar while it is shown (a child)
    std::atomic<bool> m_hCineDoneEvent{false}; ///< set when a cine loop ended
    std::unique_ptr<CineThreadParam> m_pCineThreadParam;
    double m_dPixelsPerCm = 0.0;           ///< bitmap pixels per cm along the unturned image's x (columns); zoom not included
    double m_dPixelsPerCmY = 0.0;          ///< the same along its y (rows)
    CDoublePoint m_ptStart;                ///< first point of the shape being drawn
    CDoublePoint m_ptEnd;                  ///< second point
    CDoublePoint m_ptThird;                ///< third point (second arm, start of a Cobb angle's second line)
    CDoublePoint m_ptFourth;               ///< fourth point
    CDoublePoint m_ptDragLast;             ///< pointer at the last drag step, or the pan anchor
    double m_dReducedScale = 1.0;          ///< reduction of the reduced image; 1.0 when not reduced
    std::unique_ptr<CxImageDCM> m_pDicomImage; ///< the shown file, a new one per load
    std::vector<CxImage*> m_arrDicomBitmaps; ///< borrowed bitmaps, emptied with the DICOM object
    BYTE m_bLButtonDown = 0;               ///< the left button went down here and was not released
    CPatientInfo* m_pPatient = nullptr;    ///< records of the shown image, borrowed from the Study List
    CStudyInfo* m_pStudy = nullptr;
    CSeriesInfo* m_pSeries = nullptr;
    CImageInfo* m_pImage = nullptr;        ///< null marks an empty pane
    UINT m_nPressFlags = 0;                ///< key flags of the last press
    QPoint m_ptPress;                      ///< client position of the last press
    BYTE m_bPixelSpacingKnown = 0;         ///< the shown image has a pixel spacing
    BYTE m_bFullScreen = 0;                ///< shown alone over the grid (full screen)
    QString m_strFrameText;
    QString m_strPatientName;
    QString m_strPatientID;
    QString m_strBirthDate;
    QString m_strSex;
    QString m_strStudyText;
    QString m_strSeriesText;
    QString m_strImageText;
    QString m_strAccessionNo;
    QString m_strStudyDescription;
    QString m_strDateTime;
    QString m_strInstitutionName;
    QString m_strWindowWidthText;
    QString m_strWindowLevelText;
    QString m_strSeriesDescription;
    QString m_strModality;                 ///< modality of the shown image
    QString m_strReferringPhysician;
    float m_fWindowLevelFactor = 1.0f;     ///< window units per pointer pixel of a window drag
    CFont* m_pTextFont = nullptr;          ///< font of the overlay and measurement texts (&m_fontText)
    COLORREF m_crTextColor = 0x00FF00;     ///< overlay text colour
    COLORREF m_crShapeColor = 0x00FF00;    ///< colour of new shapes
    CDoublePoint m_ptMove;                 ///< pointer while a shape is drawn
    CDoublePoint m_ptFirstLineEnd;         ///< end of a Cobb angle's first line
    CDoublePoint m_ptCobbMove;             ///< pointer during a Cobb angle's second drag; (0, 0) not moved
    int m_nAngleClicks = 0;                ///< 1 after an angle's first arm
    const CImageInfo* m_pAngleImage = nullptr; ///< the image that first arm was drawn on (compared only)
    int m_nCobbStage = 0;                  ///< 1 after a Cobb angle's first line
    QPoint m_ptPanBase;                    ///< the pan offset negated, recorded by every paint
    QSize m_sizePane{0, 0};                ///< pane size from the grid; used for fitting when set
    BYTE m_bInitialRefit = 0;              ///< the first refit takes the focus
    BYTE m_bViewAdjusted = 0;              ///< zoom, pan or window changed by the user
    QString m_strImageKey;                 ///< SOP Instance UID of the shown image
    float m_fZoom = 1.0f;                  ///< display zoom: screen pixels per bitmap pixel
    std::unique_ptr<CxImage> m_pDisplayImage; ///< the displayed bitmap (rendered, then transformed)
    std::unique_ptr<CxImage> m_pWorkImage; ///< 24-bit copy of it while a button is held
    int m_bZoomPanChanged = 0;             ///< the user zoomed or panned this pane
    int m_bMinZoomReached = 0;             ///< a zoom-out drag reached the minimum width
    int m_bEraseBackground = 1;            ///< the next erase paints the pane black, once
    int m_bTextStarted = 0;                ///< a text box is being dragged
    int m_bCineRunning = 0;                ///< a cine loop runs; tools are ignored
    DWORD m_dwCineThreadId = 0;
    CShapeCollection* m_pDrawingShape = nullptr; ///< shape under construction
    double m_dZoomStep = 0.03;             ///< zoom change per pointer pixel (times 0.5) of a zoom drag
    BYTE m_bNegative = 0;                  ///< shown inverted
    /// The orientation in normal form: the unturned image mirrored (m_bMirror), then flipped
    /// (m_bFlip), then turned clockwise by m_nRotationAngle degrees. Changed through
    /// ComposeOrientation; every new render is brought into it.
    BYTE m_bMirror = 0;
    BYTE m_bFlip = 0;
    int m_nRotationAngle = 0;
    RECT m_rcFirstClient{};                ///< client rectangle recorded by the first refit
    BYTE m_bSelected = 0;                  ///< the selected viewport of the grid
    int m_nCheckedPresetId = 0;            ///< window preset chosen last
    int m_nNextPresetId = 0;               ///< last preset id of the open menu; 0 when none is open
    std::unique_ptr<QMenu> m_menuContext;  ///< the right-button menu
    CFont m_fontText;                      ///< the overlay font ("MS Sans Serif")
    QPointer<QWidget> m_pTextEdit;         ///< the in-place text edit (a CShapeTextEdit child); kept hidden after its entry ended

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // Keys and the wheel, and the panels a move or press in the view closes (CVantrelViewPaging.cpp)
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Pointer input (CVantrelViewMouse.cpp)
    bool IsInImage(const CDoublePoint& point) const;
    void SetUpShapePoints(QPoint point);
    void WindowLevelDrag(QPoint point);
    void ZoomDragStep(QPoint point, QPoint last);
    void DrawOnMouseMove(UINT nFlags, QPoint point);
    void DropDrawingShape();
    void MakeShapeOnRelease();
    void CompleteAngle();
    void CompleteCobbAngle();
    void EraseShapeAt(QPoint point);
    void SelectPane();
    void RegisterShape(std::unique_ptr<CShapeCollection> pShape);
    void StoreShapeOriginalPoints(CShapeCollection& shape) const;
    void GiveSpacing(CShapeCollection& shape);
    CShapeCollection* CobbAngleInArray() const;
    QSize ShapeExtent() const;
    // `f` for each pane an operation of this view is repeated in, until it returns false;
    // a failure is reported as `pszWhere`
    void ForEachOtherPane(const char* pszWhere, const std::function<bool(CVantrelView*)>& f);

    std::unique_ptr<CShapeCollection> m_pOwnedShape; // m_pDrawingShape while the view owns it
    QBasicTimer m_clickTimer;                          // timer 1031
    void StopCineThread();
    void SetCineMark();
    void ClearCineMark();
    void SettleAfterCine();
    void PaintEmptyPane(QPainter& dc, bool withLoadingText);
    QSize DisplayedSize() const;
    QSize FullDisplayedSize() const;
    // Reset of a pane whose loop plays: state, zoom and pan, and the frame shown unturned
    void ResetPlayingView();

    QPointer<CVantrelDoc> m_pDocument;
    bool m_bErasePending = false;          // the next paint runs the background erase
    bool m_bTransformsApplied = false;     // the displayed bitmap is in the view's state
    bool m_bBlankPane = false;             // made empty by CreateBlankViewPort
    ViewPaintCache& PaintCache();
    std::shared_ptr<ViewPaintCache> m_pPaintCache; // what a paint keeps for the next (buffers, text layout)
    int m_nWheelDelta = 0;                 // wheel units not yet turned into a step
    // Paging helpers (CVantrelViewPaging.cpp)
    void ShowPagedImage(CImageInfo* pImage, CSeriesInfo* pSeries, BOOL bAtLastFrame);
    void ShowPagedFrame(BOOL bDown);
    void BlankPagedPane();
};

#pragma once
// The viewport grid frame above the tool bar: one image view, or a static splitter of up to four
// by four views, each with its own document, rebuilt by the layout commands in series layout
// (one series per pane) or image layout (consecutive images of one series). It owns the one
// array of the annotation shapes of every image, which survives every rebuild. The source is
// split: CMyFrameWnd.cpp (life cycle, commands, pane walks), CMyFrameWndLayout.cpp (the single
// view, the two grid rebuilds, loading a series).

// Qt
#include <QPointer>
#include <QString>
#include <QWidget>

// std
#include <memory>
#include <vector>

// Orvane
#include "platform/WinTypes.h"

class CFrameSplitterWnd;
class CImageInfo;
class CPatientInfo;
class CSeriesInfo;
class CShapeCollection;
class CStudyInfo;
class CVantrelDoc;
class CVantrelView;

/// The viewport grid frame. theApp.m_pViewGridFrame points to it while it lives. A pane owns
/// the documents the frame makes for it; the document template's first document belongs to the
/// child frame and is only emptied when its pane goes. UI thread only.
class CMyFrameWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CMyFrameWnd(QWidget* parent = nullptr);
    /// Deletes the panes with their documents, then every shape.
    ~CMyFrameWnd() override;

    /// Makes the first view, of `pDocument` (the template's first document; a new one of the
    /// frame's own when null), as the frame's single pane, selected and active. TRUE.
    BOOL OnCreateClient(CVantrelDoc* pDocument);

    /// A layout command (ID_FRAME_SINGLELAYOUT, ID_FRAME_LAYOUT1X2 ... ID_FRAME_LAYOUT4X4), as
    /// the layout panel and the picker send them. FALSE for any other id.
    BOOL OnCommand(int nID);
    /// Back to one view, unless one view is shown already.
    void OnFrameSinglelayout();
    /// The grid commands: nothing when that grid is recorded already; otherwise the grid is
    /// recorded and, in series layout (theApp.m_nLayoutMode 1) or image layout (2), built.
    void OnFrameLayout1x2();
    void OnFrameLayout1x3();
    void OnFrameLayout1x4();
    void OnFrameLayout2x1();
    void OnFrameLayout2x2();
    void OnFrameLayout2x3();
    void OnFrameLayout2x4();
    void OnFrameLayout3x1();
    void OnFrameLayout3x2();
    void OnFrameLayout3x3();
    void OnFrameLayout3x4();
    void OnFrameLayout4x1();
    void OnFrameLayout4x2();
    void OnFrameLayout4x3();
    void OnFrameLayout4x4();

    /// One view showing, after a new study, the first series key; otherwise the image the
    /// active view showed, at its zoom. Without a key or records the pane is blank. `pDoc`
    /// (normally null) is the document to show it in.
    void DisplaySingleFrame(CVantrelDoc* pDoc);
    /// Series layout: m_nRows x m_nCols new panes, pane i showing entry i of
    /// theApp.m_astrSeriesKeys, surplus panes blank.
    void RebuildSplitter();
    /// Image layout: pane i shows image i of the active view's series, surplus panes blank.
    void RebuildSplitterForImageLayout();
    /// Shows the series of the image whose file path is `key`: in the single view its image,
    /// in a grid its images from the first on (surplus panes blank).
    void LoadSeriesIntoViews(const QString& key);
    /// Shows the image whose file path is `key` (a series' first image) in `pView` alone,
    /// fitted and centred, and makes `pView` the selected viewport (CMyFrameWndThumbnail.cpp).
    /// Nothing without a view; a key of no image leaves the view as it was.
    void LoadKeyIntoView(CVantrelView* pView, const QString& key);

    /// The selected viewport: the single view when one is shown, else the first pane in
    /// row-major order that is selected; null when none.
    CVantrelView* GetSelectedView() const;
    /// Ends the in-place text entry of every view.
    void CloseTextEditsInAllViews();
    /// In a grid, repaints the panes showing the image with key `key` (every pane for an empty
    /// key); with one view nothing (the caller repaints it).
    void InvalidateViewsOfImage(const QString& key);
    /// Row and column of a pane; FALSE (outputs unchanged) when it is none.
    BOOL FindPane(const QWidget* pView, int* pRow, int* pCol) const;
    /// Frees the bitmaps of every pane before a rebuild.
    void DestroyViewsPointers();
    /// Stops and joins the cine loop of every pane (and the single view), clearing their marks;
    /// called before anything frees the pictures or records they show.
    void StopCineInAllViews();

    /// Shows `view`'s image at the window chosen for its series (a presentation state's, or
    /// the one the user set last), when one was chosen: the document's current window becomes
    /// it and the picture is rendered at it. Nothing otherwise. The overlay is left to the caller.
    static void ShowSeriesWindow(CVantrelView* view);

    /// The frame's active view, or null.
    CVantrelView* GetActiveView() const;
    void SetActiveView(CVantrelView* pView);
    /// The single view, or null while a grid is shown.
    CVantrelView* GetSingleView() const;
    /// The panes the splitter has, row by row (empty for the single view).
    std::vector<CVantrelView*> GetPanes() const;
    /// The pane at (row, col) of the splitter, or null.
    CVantrelView* GetPane(int row, int col) const;
    /// Rows and columns of panes that exist (0 for the single view), whatever is recorded.
    int GetPaneRows() const;
    int GetPaneColumns() const;
    /// Places the single view or the splitter over the whole frame.
    void RecalcLayout();

    CFrameSplitterWnd* m_pSplitter = nullptr; ///< the grid, owned; a fresh one at every rebuild
    int m_nCols = -1;           ///< grid columns recorded; 0 after DisplaySingleFrame
    int m_nRows = -1;           ///< grid rows recorded; 0 after DisplaySingleFrame
    int m_nPrevRows = -1;       ///< rows before the last layout change
    int m_nPrevCols = -1;       ///< columns before the last layout change
    /// Every annotation and measurement shape of every image of the study, owned. Views append
    /// finished shapes; drawing, turning and erasing act on those whose key is the image's.
    std::vector<std::unique_ptr<CShapeCollection>> m_arrShapes;
    BYTE m_bSeriesLayout = 1;   ///< the grid shows series (set) or consecutive images (clear)

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Records
    {
        CPatientInfo* pPatient = nullptr;
        CStudyInfo* pStudy = nullptr;
        CSeriesInfo* pSeries = nullptr;
        CImageInfo* pImage = nullptr;
    };
    static Records FindRecords(const QString& key);
    static void GiveRecords(CVantrelView* view, const Records& records);
    /// The last steps of a rebuilt pane that took an image: first update, erase, overlay texts.
    static void ShowLoadedPane(CVantrelView* view);
    void OnGridCommand(int nRows, int nCols);
    CVantrelDoc* NewDocument();
    CVantrelView* NewView(CVantrelDoc* document, QWidget* parent);
    void DestroyAllViews(bool bNewSplitter = true);
    void RemoveDocumentsFromTemplate();
    void FinishRebuild(bool imageLayout);
    /// Fills the panes of a rebuilt grid in `order`: the images of `loading` are decoded side
    /// by side and attached in pane order, `blank` panes lie past the images, any other pane
    /// names an image without records.
    void FillPanes(const std::vector<CVantrelView*>& order, const std::vector<CVantrelView*>& loading,
                   const std::vector<CVantrelView*>& blank, bool imageLayout);

    QPointer<CVantrelView> m_pSingleView;
    QPointer<CVantrelView> m_pActiveView;
};

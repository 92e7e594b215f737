#pragma once
// The frame of the system's one document, filling the main frame's client area: a thumbnail
// column on the left and, on the right, the viewport grid frame above the tool bar, in two
// thin splitters whose bars cannot be moved. Pane sizes follow the recorded monitor.

// Qt
#include <QWidget>

// Orvane
#include "controls/CThinSplitterWnd.h"
#include "platform/WinTypes.h"

class CDocument;
class CMyFrameWnd;
class CThumbNailLeft;
class CToolView;
class IThumbnailRun;
class IThumbnailSelection;

/// The child frame. The panes exist from a successful Create on and are never replaced.
/// UI thread only.
class CChildFrmView : public QWidget
{
    Q_OBJECT
public:
    explicit CChildFrmView(QWidget* parent = nullptr);
    ~CChildFrmView() override;

    /// Builds the panes for `document` (OnCreateClient) and shows the frame over its parent.
    /// False, with no pane left behind, when any pane can't be built.
    bool Create(CDocument* document);

    /// Shows (TRUE) or shrinks to nothing (FALSE) the thumbnail column, sizes the panes again
    /// from theApp.m_rcMonitor, sets theApp.m_nViewAreaWidth and has the tool bar lay its
    /// buttons out again.
    void ToggleThumbnailPane(BOOL bShow);

    /// Outer pane (0, 0), inner pane (0, 0) and inner pane (1, 0); null before Create.
    CThumbNailLeft* GetThumbnailPane() const;
    CMyFrameWnd* GetViewGridFrame() const;
    CToolView* GetToolView() const;
    /// The thumbnail pane's run control; null before Create.
    IThumbnailRun* GetThumbnailRun() const;
    /// The thumbnail column's selection, or null when the column does not mark series.
    IThumbnailSelection* GetThumbnailSelection() const;
    /// The document the frame was created for.
    CDocument* GetActiveDocument() const { return m_pDocument; }

    CThinSplitterWnd m_wndOuterSplitter; ///< 1 x 2: thumbnails, and the inner splitter
    CThinSplitterWnd m_wndInnerSplitter; ///< 2 x 1 in outer pane (0, 1): grid frame, tool bar

protected:
    enum class PaneKind { Thumbnails, ViewGrid, ToolBar };
    /// Makes one pane with `parent`; null when it can't be made.
    virtual QWidget* CreatePane(PaneKind kind, QWidget* parent);
    /// Stores the pane sizes in theApp and builds the splitters and panes.
    virtual BOOL OnCreateClient(CDocument* document);

    void resizeEvent(QResizeEvent* event) override;

private:
    void DestroyPanes();

    CDocument* m_pDocument = nullptr;
};

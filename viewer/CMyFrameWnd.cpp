// CMyFrameWnd: life cycle, the layout commands and the walks over the panes.

#include "viewer/CMyFrameWnd.h"

// Qt
#include <QPainter>

// Orvane
#include "annotation/CShapeCollection.h"
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"
#include "platform/CMultiDocTemplate.h"
#include "res/resource.h"
#include "study/CPatientList.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyList.h"
#include "viewer/CFrameSplitterWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/GridGeometry.h"
#include "viewer/RenderWindow.h"

CMyFrameWnd::CMyFrameWnd(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_pSplitter = new CFrameSplitterWnd(this);
    m_pSplitter->hide();
    theApp.m_pViewGridFrame = this;
}

CMyFrameWnd::~CMyFrameWnd()
{
    try {
        // The views go before the shapes they draw
        DestroyAllViews(false);
        m_arrShapes.clear();
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::~CMyFrameWnd()");
    }
    if (theApp.m_pViewGridFrame == this)
        theApp.m_pViewGridFrame = nullptr;
}

BOOL CMyFrameWnd::OnCreateClient(CVantrelDoc* pDocument)
{
    theApp.m_pViewGridFrame = this;
    // The template's document belongs to the child frame; one made here to its pane
    CVantrelView* view = pDocument ? new CVantrelView(pDocument, this) : NewView(NewDocument(), this);
    m_pSingleView = view;
    SetActiveView(view);
    view->m_bSelected = 1;
    RecalcLayout();
    view->show();
    view->OnInitialUpdate();
    return TRUE;
}

CVantrelDoc* CMyFrameWnd::NewDocument()
{
    if (theApp.m_pDocTemplate)
        if (auto* document = qobject_cast<CVantrelDoc*>(theApp.m_pDocTemplate->CreateNewDocument()))
            return document;
    return new CVantrelDoc;
}

CVantrelView* CMyFrameWnd::NewView(CVantrelDoc* document, QWidget* parent)
{
    auto* view = new CVantrelView(document, parent);
    // A document nobody holds yet belongs to its pane
    if (document && !document->parent())
        document->setParent(view);
    return view;
}

void CMyFrameWnd::DestroyAllViews(bool bNewSplitter)
{
    std::vector<CVantrelView*> views = GetPanes();
    if (m_pSingleView)
        views.push_back(m_pSingleView);
    for (CVantrelView* view : views) {
        QPointer<CVantrelDoc> document = view->GetDocument();
        delete view;
        // A document its pane did not own (the template's first) stays, empty
        if (document)
            document->ClearImageArray();
    }
    m_pSingleView = nullptr;
    m_pActiveView = nullptr;
    delete m_pSplitter;
    m_pSplitter = nullptr;
    if (bNewSplitter) {
        // A fresh splitter, not yet created
        m_pSplitter = new CFrameSplitterWnd(this);
        m_pSplitter->hide();
    }
}

void CMyFrameWnd::RemoveDocumentsFromTemplate()
{
    if (!theApp.m_pDocTemplate)
        return;
    const std::vector<CDocument*> documents = theApp.m_pDocTemplate->GetDocuments();
    for (CDocument* document : documents)
        if (qobject_cast<CVantrelDoc*>(document))
            theApp.m_pDocTemplate->RemoveDocument(document);
}

CMyFrameWnd::Records CMyFrameWnd::FindRecords(const QString& key)
{
    Records r;
    if (!key.isEmpty() && theApp.m_pStudyListDlg)
        theApp.m_pStudyListDlg->m_patientList.FindImage(key, r.pPatient, r.pStudy, r.pSeries, r.pImage);
    return r;
}

void CMyFrameWnd::GiveRecords(CVantrelView* view, const Records& records)
{
    view->m_pPatient = records.pPatient;
    view->m_pStudy = records.pStudy;
    view->m_pSeries = records.pSeries;
    view->m_pImage = records.pImage;
}

void CMyFrameWnd::ShowSeriesWindow(CVantrelView* view)
{
    if (!view || !view->m_pSeries || !view->m_pSeries->IsWindowChanged() || !view->m_pDicomImage || !view->HasPicture())
        return;
    CVantrelDoc* document = view->GetDocument();
    if (!document)
        return;
    view->m_pSeries->GetWindow(&document->m_fWindowWidth, &document->m_fWindowCenter);
    const RenderWindow window = ToRenderWindow(document->m_fWindowWidth, document->m_fWindowCenter);
    view->RenderWithWindowLevel(window.nWidth, window.nCentre);
}

void CMyFrameWnd::ShowLoadedPane(CVantrelView* view)
{
    view->m_bCineRunning = FALSE;
    view->OnInitialUpdate();
    ShowSeriesWindow(view);
    view->m_bEraseBackground = 1;
    view->Invalidate(TRUE);
    view->DrawImageInfoOverlay();
}

CVantrelView* CMyFrameWnd::GetActiveView() const
{
    return m_pActiveView.data();
}

CVantrelView* CMyFrameWnd::GetSingleView() const
{
    return m_pSingleView.data();
}

void CMyFrameWnd::SetActiveView(CVantrelView* pView)
{
    m_pActiveView = pView;
    if (m_pSplitter)
        m_pSplitter->SetActivePane(pView && pView->parentWidget() == m_pSplitter ? pView : nullptr);
}

BOOL CMyFrameWnd::OnCommand(int nID)
{
    if (nID == ID_FRAME_SINGLELAYOUT) {
        OnFrameSinglelayout();
        return TRUE;
    }
    if (const auto grid = GridGeometry::GridOfCommand(nID)) {
        OnGridCommand(grid->nRows, grid->nCols);
        return TRUE;
    }
    return FALSE;
}

void CMyFrameWnd::OnFrameSinglelayout()
{
    try {
        if (m_nRows <= 0 && m_nCols <= 0)
            return;
        DisplaySingleFrame(nullptr);
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::OnFrameSinglelayout");
    }
}

void CMyFrameWnd::OnGridCommand(int nRows, int nCols)
{
    if (m_nRows == nRows && m_nCols == nCols)
        return;
    m_nPrevRows = m_nRows;
    m_nPrevCols = m_nCols;
    m_nRows = nRows;
    m_nCols = nCols;
    if (theApp.m_nLayoutMode == 1)
        RebuildSplitter();
    else if (theApp.m_nLayoutMode == 2)
        RebuildSplitterForImageLayout();
}

void CMyFrameWnd::OnFrameLayout1x2() { OnGridCommand(1, 2); }
void CMyFrameWnd::OnFrameLayout1x3() { OnGridCommand(1, 3); }
void CMyFrameWnd::OnFrameLayout1x4() { OnGridCommand(1, 4); }
void CMyFrameWnd::OnFrameLayout2x1() { OnGridCommand(2, 1); }
void CMyFrameWnd::OnFrameLayout2x2() { OnGridCommand(2, 2); }
void CMyFrameWnd::OnFrameLayout2x3() { OnGridCommand(2, 3); }
void CMyFrameWnd::OnFrameLayout2x4() { OnGridCommand(2, 4); }
void CMyFrameWnd::OnFrameLayout3x1() { OnGridCommand(3, 1); }
void CMyFrameWnd::OnFrameLayout3x2() { OnGridCommand(3, 2); }
void CMyFrameWnd::OnFrameLayout3x3() { OnGridCommand(3, 3); }
void CMyFrameWnd::OnFrameLayout3x4() { OnGridCommand(3, 4); }
void CMyFrameWnd::OnFrameLayout4x1() { OnGridCommand(4, 1); }
void CMyFrameWnd::OnFrameLayout4x2() { OnGridCommand(4, 2); }
void CMyFrameWnd::OnFrameLayout4x3() { OnGridCommand(4, 3); }
void CMyFrameWnd::OnFrameLayout4x4() { OnGridCommand(4, 4); }

int CMyFrameWnd::GetPaneRows() const
{
    return m_pSplitter ? m_pSplitter->GetRowCount() : 0;
}

int CMyFrameWnd::GetPaneColumns() const
{
    return m_pSplitter ? m_pSplitter->GetColumnCount() : 0;
}

CVantrelView* CMyFrameWnd::GetPane(int row, int col) const
{
    return m_pSplitter ? qobject_cast<CVantrelView*>(m_pSplitter->GetPane(row, col)) : nullptr;
}

std::vector<CVantrelView*> CMyFrameWnd::GetPanes() const
{
    // The panes the splitter has, never the recorded grid (study layout records one it
    // does not build)
    std::vector<CVantrelView*> panes;
    for (int r = 0; r < GetPaneRows(); ++r)
        for (int c = 0; c < GetPaneColumns(); ++c)
            if (CVantrelView* view = GetPane(r, c))
                panes.push_back(view);
    return panes;
}

CVantrelView* CMyFrameWnd::GetSelectedView() const
{
    if (m_pSingleView)
        return m_pSingleView;
    for (CVantrelView* view : GetPanes())
        if (view->m_bSelected)
            return view;
    return nullptr;
}

void CMyFrameWnd::CloseTextEditsInAllViews()
{
    try {
        if (m_pSingleView)
            m_pSingleView->CloseTextEdit();
        for (CVantrelView* view : GetPanes())
            view->CloseTextEdit();
    } catch (...) {
    }
}

void CMyFrameWnd::InvalidateViewsOfImage(const QString& key)
{
    try {
        for (CVantrelView* view : GetPanes())
            if (key.isEmpty() || view->m_strImageKey == key)
                view->Invalidate(TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::InvalidateViewsOfImage");
    }
}

BOOL CMyFrameWnd::FindPane(const QWidget* pView, int* pRow, int* pCol) const
{
    for (int r = 0; r < GetPaneRows(); ++r)
        for (int c = 0; c < GetPaneColumns(); ++c)
            if (pView && m_pSplitter->GetPane(r, c) == pView) {
                if (pRow)
                    *pRow = r;
                if (pCol)
                    *pCol = c;
                return TRUE;
            }
    return FALSE;
}

void CMyFrameWnd::DestroyViewsPointers()
{
    try {
        for (CVantrelView* view : GetPanes())
            view->DeleteUnwantedObjects();
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::DestroyViewsPointers");
    }
}

void CMyFrameWnd::RecalcLayout()
{
    if (m_pSingleView)
        m_pSingleView->setGeometry(rect());
    if (m_pSplitter && m_pSplitter->GetRowCount() > 0) {
        m_pSplitter->setGeometry(rect());
        m_pSplitter->RecalcLayout();
    }
}

void CMyFrameWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
}

void CMyFrameWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecalcLayout();
}

void CMyFrameWnd::StopCineInAllViews()
{
    try {
        std::vector<CVantrelView*> views = GetPanes();
        if (m_pSingleView)
            views.push_back(m_pSingleView);
        for (CVantrelView* view : views)
            if (view)
                view->StopCine();
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::StopCineInAllViews");
    }
}

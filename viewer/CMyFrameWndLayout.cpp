// CMyFrameWnd: the single view, the series and image layouts, and loading a series into the
// panes.

#include "viewer/CMyFrameWnd.h"

// Orvane
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"
#include "platform/CMultiDocTemplate.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyInfo.h"
#include "study/CxImageDCM.h"
#include "viewer/CFrameSplitterWnd.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"
#include "viewer/GridGeometry.h"

// std
#include <algorithm>
#include <memory>
#include <vector>

void CMyFrameWnd::DisplaySingleFrame(CVantrelDoc* pDoc)
{
    try {
        // No loop may go on over pictures and records about to be freed
        StopCineInAllViews();
        m_nPrevRows = m_nRows;
        m_nPrevCols = m_nCols;
        m_nRows = m_nCols = 0;
        hide();

        // What the active view showed, unless a new study starts from its first series
        CVantrelView* active = GetActiveView();
        const float zoom = active ? active->m_fZoom : 1.0f;
        Records remembered;
        if (theApp.m_bNewStudyLoaded) {
            theApp.m_bNewStudyLoaded = 0;
        } else if (active) {
            remembered = Records{active->m_pPatient, active->m_pStudy, active->m_pSeries, active->m_pImage};
        }

        // The active view's document lives on while its view goes
        QPointer<CVantrelDoc> oldDocument = active ? active->GetDocument() : nullptr;
        if (oldDocument && oldDocument->parent() == active)
            oldDocument->setParent(nullptr);
        DestroyAllViews();

        const QString key = theApp.GetSeriesKey(0);
        CVantrelDoc* document = pDoc;
        if (!theApp.m_astrSeriesKeys.isEmpty() && oldDocument && !oldDocument->m_strFilePath.isEmpty()
            && oldDocument->m_strFilePath == key)
            document = oldDocument;
        if (!document)
            document = NewDocument();
        if (oldDocument && oldDocument != document && !oldDocument->parent())
            delete oldDocument.data();

        CVantrelView* view = NewView(document, this);
        m_pSingleView = view;
        SetActiveView(view);
        GiveRecords(view, remembered.pImage ? remembered : FindRecords(key));
        // The document names the image its view shows
        document->OnOpenDocument(view->m_pImage ? view->m_pImage->m_strFilePath : key);

        if (view->m_pImage) {
            view->LoadImageIntoViewPort(FALSE);
        } else {
            view->CreateBlankViewPort();
        }
        view->m_fZoom = zoom;
        view->m_bEraseBackground = 0;
        view->m_bSelected = TRUE;
        view->m_sizePane = QSize(0, 0);
        view->DrawImageInfoOverlay();
        RecalcLayout();
        view->show();
        view->OnInitialUpdate();
        // A window chosen for the series (a presentation state's) is what the view shows
        ShowSeriesWindow(view);
        view->DrawImageInfoOverlay();
        show();
        RecalcLayout();
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::DisplaySingleFrame");
    }
}

void CMyFrameWnd::FinishRebuild(bool imageLayout)
{
    m_pSplitter->setGeometry(rect());
    m_pSplitter->RecalcLayout();
    CVantrelView* first = GetPane(0, 0);
    if (first) {
        first->setFocus(Qt::OtherFocusReason);
        SetActiveView(first);
        if (!imageLayout) {
            first->m_bEraseBackground = 1;
            first->Invalidate(TRUE);
        }
    }
    show();
}

void CMyFrameWnd::RebuildSplitter()
{
    try {
        // No loop may go on over pictures and records about to be freed
        StopCineInAllViews();
        hide();
        DestroyViewsPointers();
        const QSize client = size();

        CVantrelView* active = GetActiveView();
        if (!active)
            active = GetPane(0, 0);
        COLORREF textColour = 0x00FF00;
        COLORREF shapeColour = 0x00FF00;
        CPatientInfo* patient = nullptr;
        CStudyInfo* study = nullptr;
        if (active) {
            textColour = active->m_crTextColor;
            shapeColour = active->m_crShapeColor;
            patient = active->m_pPatient;
            study = active->m_pStudy;
            if (active->GetDocument())
                active->GetDocument()->ClearImageArray();
        }
        DestroyAllViews();
        RemoveDocumentsFromTemplate();
        m_bSeriesLayout = 1;

        if (!m_pSplitter->CreateStatic(this, m_nRows, m_nCols, AFX_IDW_PANE_FIRST)) {
            show();
            return;
        }
        const QSize pane = GridGeometry::PaneSize(client, GridGeometry::Grid{m_nRows, m_nCols});
        for (int r = 0; r < m_nRows; ++r)
            m_pSplitter->SetRowInfo(r, pane.height(), 0);
        for (int c = 0; c < m_nCols; ++c)
            m_pSplitter->SetColumnInfo(c, pane.width(), 0);
        m_pSplitter->setGeometry(rect());

        // The panes first, then their images decoded side by side, attached in pane order
        std::vector<CVantrelView*> loading;
        std::vector<CVantrelView*> blank;
        std::vector<CVantrelView*> order;
        qsizetype s = 0;
        bool created = true;
        for (int r = 0; r < m_nRows && created; ++r) {
            for (int c = 0; c < m_nCols; ++c) {
                CVantrelDoc* document = NewDocument();
                CVantrelView* view = NewView(document, m_pSplitter);
                if (!m_pSplitter->CreateView(r, c, view)) {
                    delete view;
                    created = false;
                    break;
                }
                if (r == 0 && c == 0)
                    view->m_bSelected = 1;
                view->m_crTextColor = textColour;
                view->m_crShapeColor = shapeColour;
                view->m_sizePane = pane;
                order.push_back(view);
                if (s < theApp.m_astrSeriesKeys.size()) {
                    const QString path = theApp.m_astrSeriesKeys[s++];
                    document->OnOpenDocument(path);
                    Records records{patient, study, nullptr, nullptr};
                    if (study)
                        study->FindImage(path, records.pSeries, records.pImage);
                    else
                        records = FindRecords(path); // a view that never had a study
                    GiveRecords(view, records);
                    if (view->m_pImage)
                        loading.push_back(view);
                } else {
                    blank.push_back(view);
                }
            }
        }
        FillPanes(order, loading, blank, false);
        FinishRebuild(false);
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::RebuildSplitter");
        // The frame is shown again whatever failed
        FinishRebuild(false);
    }
}

void CMyFrameWnd::FillPanes(const std::vector<CVantrelView*>& order, const std::vector<CVantrelView*>& loading,
                            const std::vector<CVantrelView*>& blank, bool imageLayout)
{
    QStringList paths;
    for (CVantrelView* view : loading)
        paths << view->m_pImage->m_strFilePath;
    std::vector<std::unique_ptr<CVantrelView::DecodedImage>> decoded = CVantrelView::DecodeImages(paths, FALSE);
    std::size_t next = 0;
    for (CVantrelView* view : order) {
        if (next < loading.size() && loading[next] == view) {
            view->AttachDecodedImage(std::move(decoded[next++]));
            ShowLoadedPane(view);
        } else if (std::find(blank.begin(), blank.end(), view) != blank.end()) {
            // A pane past the images
            view->CreateBlankViewPort();
            view->OnInitialUpdate();
            if (imageLayout)
                view->Invalidate(TRUE);
        } else {
            // An image without records
            view->CreateBlankViewPort();
            ShowLoadedPane(view);
        }
    }
}

void CMyFrameWnd::RebuildSplitterForImageLayout()
{
    try {
        // No loop may go on over pictures and records about to be freed
        StopCineInAllViews();
        hide();
        DestroyViewsPointers();

        CVantrelView* active = GetActiveView();
        if (!active)
            active = GetPane(0, 0);
        COLORREF textColour = 0x00FF00;
        COLORREF shapeColour = 0x00FF00;
        Records remembered;
        if (active) {
            textColour = active->m_crTextColor;
            shapeColour = active->m_crShapeColor;
            remembered = Records{active->m_pPatient, active->m_pStudy, active->m_pSeries, nullptr};
            if (active->GetDocument())
                active->GetDocument()->ClearImageArray();
        }
        if (!remembered.pPatient) {
            remembered = FindRecords(theApp.GetSeriesKey(0));
            remembered.pImage = nullptr;
        }
        DestroyAllViews();
        RemoveDocumentsFromTemplate();
        m_bSeriesLayout = 0;

        if (!m_pSplitter->CreateStatic(this, m_nRows, m_nCols, AFX_IDW_PANE_FIRST)) {
            show();
            return;
        }
        const QSize pane = GridGeometry::PaneSize(QSize(theApp.m_nViewAreaWidth, theApp.m_nViewAreaHeight),
                                                  GridGeometry::Grid{m_nRows, m_nCols});
        for (int r = 0; r < m_nRows; ++r)
            m_pSplitter->SetRowInfo(r, pane.height(), 0);
        for (int c = 0; c < m_nCols; ++c)
            m_pSplitter->SetColumnInfo(c, pane.width(), 0);
        m_pSplitter->setGeometry(rect());

        CSeriesInfo* series = remembered.pSeries;
        const int count = series ? series->GetImageCount() : 0;
        std::vector<CVantrelView*> loading;
        std::vector<CVantrelView*> blank;
        std::vector<CVantrelView*> order;
        bool created = true;
        int i = 0;
        for (int r = 0; r < m_nRows && created; ++r) {
            for (int c = 0; c < m_nCols; ++c, ++i) {
                CVantrelDoc* document = NewDocument();
                CVantrelView* view = NewView(document, m_pSplitter);
                if (!m_pSplitter->CreateView(r, c, view)) {
                    delete view;
                    created = false;
                    break;
                }
                if (r == 0 && c == 0) {
                    view->m_bSelected = 1;
                    SetActiveView(view);
                }
                view->m_crTextColor = textColour;
                view->m_crShapeColor = shapeColour;
                view->m_sizePane = pane;
                order.push_back(view);
                CImageInfo* image = i < count ? series->GetImageAt(i) : nullptr;
                if (image) {
                    document->OnOpenDocument(image->m_strFilePath);
                    GiveRecords(view, Records{remembered.pPatient, remembered.pStudy, series, image});
                    loading.push_back(view);
                } else {
                    blank.push_back(view);
                }
            }
        }
        FillPanes(order, loading, blank, true);
        if (!created) {
            show();
            return;
        }
        FinishRebuild(true);
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::RebuildSplitterForImageLayout");
    }
}

void CMyFrameWnd::LoadSeriesIntoViews(const QString& key)
{
    try {
        // No loop may go on over pictures and records about to be freed
        StopCineInAllViews();
        CVantrelView* view = GetSelectedView();
        if (!view)
            view = GetActiveView();
        const Records records = FindRecords(key);
        if (!records.pImage || !records.pSeries)
            return; // a key of no image of the study shows nothing new

        if (GetPaneRows() == 0) {
            if (!view || (view->m_pDicomImage && view->m_pDicomImage->GetFilePath() == key))
                return;
            GiveRecords(view, records);
            if (view->GetDocument())
                view->GetDocument()->m_strFilePath = key;
            view->LoadImageIntoViewPort(FALSE);
            view->InitialiseImageData(TRUE);
            ShowSeriesWindow(view);
            view->OnRefitView(0, 0);
            view->DrawImageInfoOverlay();
            view->Invalidate(TRUE);
            return;
        }

        CSeriesInfo* series = records.pSeries;
        if (!view || series->GetImageCount() == 0)
            return;
        // The panes' images decoded side by side, attached in pane order
        const std::vector<CVantrelView*> panes = GetPanes();
        QStringList paths;
        for (std::size_t p = 0; p < panes.size(); ++p)
            if (CImageInfo* image = series->GetImageAt(int(p)))
                paths << image->m_strFilePath;
        std::vector<std::unique_ptr<CVantrelView::DecodedImage>> decoded = CVantrelView::DecodeImages(paths, FALSE);
        int i = 0;
        std::size_t next = 0;
        for (CVantrelView* pane : panes) {
            CImageInfo* image = series->GetImageAt(i++);
            if (image) {
                GiveRecords(pane, Records{records.pPatient, records.pStudy, series, image});
                pane->AttachDecodedImage(next < decoded.size() ? std::move(decoded[next++]) : nullptr);
                if (pane->GetDocument())
                    pane->GetDocument()->m_strFilePath = image->m_strFilePath;
                pane->InitialiseImageData(TRUE);
                ShowSeriesWindow(pane);
                pane->OnRefitView(0, 0);
                pane->m_bMouseDown = FALSE;
                pane->DrawImageInfoOverlay();
                pane->Invalidate(TRUE);
            } else {
                pane->CreateBlankViewPort();
                pane->m_bMouseDown = FALSE;
                pane->Invalidate(TRUE);
                pane->OnInitialUpdate();
            }
        }
    } catch (...) {
    }
}

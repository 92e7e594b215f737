// CMyFrameWnd: one thumbnail's series into one pane.

#include "viewer/CMyFrameWnd.h"

// Orvane
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/CVantrelView.h"

void CMyFrameWnd::LoadKeyIntoView(CVantrelView* pView, const QString& key)
{
    try {
        if (!pView)
            return;
        const Records records = FindRecords(key);
        if (!records.pImage)
            return;
        pView->m_bSelected = 1;
        GiveRecords(pView, records);
        if (pView->GetDocument())
            pView->GetDocument()->m_strFilePath = key;
        pView->LoadImageIntoViewPort(FALSE);
        // Without a picture the pane still names the image and says why it shows none
        pView->InitialiseImageData(TRUE);
        ShowSeriesWindow(pView);
        pView->DrawImageInfoOverlay();
        if (pView->HasPicture()) {
            pView->ApplyViewTransforms();
            pView->SetZoomScrollSizes(pView->GetZoomedImageSize());
            pView->CenterImageInView();
        }
        pView->m_bEraseBackground = 1;
        pView->m_bMouseDown = FALSE;
        pView->SelectCurrentView();
        pView->Invalidate(TRUE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CMyFrameWnd::LoadKeyIntoView");
    }
}

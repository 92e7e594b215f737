// CVantrelView: what a thumbnail drop or double-click asks of the view before it loads.

#include "viewer/CVantrelView.h"

// Orvane
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"
#include "study/CSeriesInfo.h"
#include "study/CxImageDCM.h"

void CVantrelView::StopCineBeforeLoad()
{
    try {
        if (m_nCineState == 0 && !m_bCineRunning && !m_hCineThread.joinable())
            return;
        // The loop reads the image and series records: it ends before they change
        StopCineThread();
        m_nCineState = 0;
        m_bCineRunning = 0;
        if (m_pDicomImage)
            m_pDicomImage->SetCineRunning(FALSE);
        if (m_pSeries)
            m_pSeries->SetCineRunning(FALSE);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::StopCineBeforeLoad");
    }
}

#include "viewer/CMyFrameWnd.h"

// Orvane
#include "core/COstrevanApp.h"

CMyFrameWnd::CMyFrameWnd(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    theApp.m_pViewGridFrame = this;
}

CMyFrameWnd::~CMyFrameWnd()
{
    if (theApp.m_pViewGridFrame == this)
        theApp.m_pViewGridFrame = nullptr;
}

void CMyFrameWnd::DisplaySingleFrame(CVantrelDoc*)
{
    m_nPrevRows = m_nRows;
    m_nPrevCols = m_nCols;
    m_nRows = m_nCols = 0;
}

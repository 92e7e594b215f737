#include "toolpanes/CThumbNailLeft.h"

// Orvane
#include "app/COstrevanApp.h"

CThumbNailLeft::CThumbNailLeft(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
}

CThumbNailLeft::~CThumbNailLeft() = default;

void CThumbNailLeft::OnInitialUpdate()
{
    theApp.m_bThumbThreadRunning = 0;
}
